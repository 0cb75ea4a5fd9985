#!/usr/bin/env bash
# Installs the game as its package lays it out, starts it as a player would, ends it as a session
# does, and holds it to Debian's and freedesktop's checkers (77: skipped, a checker is missing).
# usage: install_test.sh cmake= cpack= build= data= program= gamedata= launcherdir= datadir=
#        mandir= sizes="<icon sizes>" hardened=ON|OFF   (folders relative to the prefix)
set -uo pipefail
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
for arg; do printf -v "${arg%%=*}" '%s' "${arg#*=}"; done # a missing one fails at its use
s=$(mktemp -d "${TMPDIR:-/tmp}/zorvo-install.XXXXXX") && trap 'rm -rf "$s"' EXIT
p=$s/prefix failures=0 missing=()
fail() { echo "FAIL: $*" && failures=$((failures + 1)); }
"$cmake" --install "$build" --prefix "$p" --component game &>"$s/log" || { cat "$s/log"; exit 1; }

desktop=$datadir/applications/zorvo.desktop
metainfo=$datadir/metainfo/example.zorvo.Zorvo.metainfo.xml
expected=("$program/zorvo" "$launcherdir/zorvo" "$desktop" "$metainfo" "$mandir/man6/zorvo.6.gz"
    "$datadir"/doc/zorvo/{copyright,changelog.Debian.gz} "$datadir/lintian/overrides/zorvo")
for size in $sizes; do expected+=("$datadir/icons/hicolor/${size}x$size/apps/zorvo.png"); done
while IFS= read -r -d '' f; do # files where the data lies, the same bytes through the program
    f=${f#"$data"/} && expected+=("$gamedata/$f")
    [[ -f $p/$gamedata/$f && ! -L $p/$gamedata/$f ]] || fail "$gamedata/$f is no file"
    cmp -s "$data/$f" "$p/$program/$f" || fail "$program/$f is missing or differs from data/"
done < <(find "$data" -type f -print0)
link() { # relative, so the tree may be unpacked under any root
    [[ -L $p/$1 && $(readlink "$p/$1") != /* && $p/$1 -ef $p/$2 ]] || fail "$1: no link to $2"; }
link "$launcherdir/zorvo" "$program/zorvo"
for e in "$data"/*; do
    e=${e##*/} && expected+=("$program/$e") && link "$program/$e" "$gamedata/$e"
done
(cd "$p" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort >"$s/installed")
diff <(printf '%s\n' "${expected[@]}" | sort) "$s/installed" >"$s/log" || fail "$(cat "$s/log")"
keys='Type=Application|Name=Zorvo|Exec=zorvo|Icon=zorvo|Terminal=false|Categories=Game;CardGame;'
(($(grep -cxE "$keys|Name\[zh_CN\]=.+" "$p/$desktop") == 7)) || fail "zorvo.desktop lacks a key"

# From elsewhere, by the menu entry's Exec line with the launcher's folder on the PATH (as
# /usr/games is on a player's), and unpacked into a folder named in GBK, it finds its pictures
# and sounds and paints; asked to end, as at logout, it ends the ordinary way, saving settings.
odd=$s/$(printf 'zorvo-\xd3\xce\xcf\xb7') && cp -rL "$p/$program" "$odd" && mkdir "$s/elsewhere"
for run in "PATH=$p/$launcherdir:$PATH $(sed -n 's/^Exec=//p' "$p/$desktop")" "$odd/zorvo"; do
    rm -rf "$s/config" "$s/out"
    (cd "$s/elsewhere" && exec env QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
        ZORVO_REPORT_FIRST_PAINT=1 XDG_CONFIG_HOME="$s/config" $run >"$s/out" 2>&1) &
    while kill -0 $! 2>/dev/null && ! grep -qsx painted "$s/out"; do sleep 0.1; done
    kill -TERM $! 2>/dev/null
    wait $! || fail "$run ended with status $? at SIGTERM"
    grep -qx painted "$s/out" || fail "$run did not paint: $(cat "$s/out")"
    grep -q '^Version=' "$s/config/Varnel.conf" 2>/dev/null || fail "$run saved no settings"
done
# A save that cannot be made, at a signal: one line on stderr and the status 1.
: >"$s/file"
(exec env QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy ZORVO_REPORT_FIRST_PAINT=1 \
    XDG_CONFIG_HOME="$s/file" "$odd/zorvo" >"$s/out" 2>"$s/err") &
while kill -0 $! 2>/dev/null && ! grep -qsx painted "$s/out"; do sleep 0.1; done
kill -TERM $! 2>/dev/null
wait $!
status=$? && grep -qx "zorvo: 不能保存文件 $s/file/Varnel.conf 原因：.*" "$s/err" && ((status == 1)) ||
    fail "a failed save at SIGTERM: status $status, $(cat "$s/err")"

have() { command -v "$1" >/dev/null || { missing+=("$1") && false; }; }
# Read from outside as a screen reader reads it, over the desktop's accessibility bus: the
# table's thirteen named places and the menus.
here=$(dirname "$0")
"$here/with-screen-reader-bus.sh" bash -c 'XDG_CONFIG_HOME="$1" SDL_AUDIODRIVER=dummy "$2" &
    /usr/bin/python3 "$3" 60; rc=$?; kill -TERM $! && wait $!; exit $rc' \
    bash "$s/config" "$p/$program/zorvo" "$here/atspi_walk.py" >"$s/atspi" 2>&1
case $? in
0) grep -E '^ *(list|list item|menu bar): ' "$s/atspi" ;;
77) missing+=("$(sed -n 's/^SKIPPED: //p' "$s/atspi")") ;;
*) fail "the accessibility bus does not show the game: $(cat "$s/atspi")" ;;
esac
! have desktop-file-validate || desktop-file-validate "$p/$desktop" || fail "invalid $desktop"
! have appstreamcli || appstreamcli validate --no-net "$p/$metainfo" || fail "$metainfo is invalid"
if have dpkg-deb && have lintian; then # the package as `--target package` builds it
    "$cpack" --config "$build/CPackConfig.cmake" -B "$s/deb" &>"$s/log" || fail "$(cat "$s/log")"
    lintian --fail-on error,warning --display-info "$s"/deb/zorvo_*.deb 2>&1 | tee "$s/lintian"
    ((PIPESTATUS[0] == 0)) || fail "lintian finds errors or warnings"
    # Only hints, but they mean lost stripping or hardening (which sanitizer builds go without).
    tags='binary-has-unneeded-section' && [[ ${hardened:-ON} != ON ]] || tags+='|hardening-[a-z-]+'
    ! grep -qE " ($tags) " "$s/lintian" || fail "the program lost its stripping or hardening"
fi
((failures == 0)) || { echo "$failures check(s) failed" && exit 1; }
((${#missing[@]} == 0)) || { echo "SKIPPED: ${missing[*]} not installed"; exit 77; }
echo "install layout and package ok"
