#!/usr/bin/env bash
# Installs the game into a scratch prefix and checks that it holds the program, its data (also
# through links beside it), the launcher link, menu entry, icons, manual, metadata and documents,
# nothing else; that it starts and paints as the menu starts it and from a folder named in GBK,
# and saves its settings at SIGTERM; and that Debian's and freedesktop's checkers accept it.
# usage: install_test.sh cmake= cpack= build= data= program= gamedata= launcherdir= datadir=
#        mandir= sizes="<icon sizes>" hardened=ON|OFF   (folders relative to the prefix)
# Exits 77 (skipped) when all it could check passed but a checker is not installed.
set -uo pipefail
for arg; do
    [[ $arg =~ ^(cmake|cpack|build|data|program|gamedata|launcherdir|datadir|mandir|sizes|hardened)= ]] ||
        { echo "install_test: unknown argument $arg" >&2 && exit 2; }
    printf -v "${arg%%=*}" '%s' "${arg#*=}"
done
s=$(mktemp -d "${TMPDIR:-/tmp}/zorvo-install.XXXXXX") && trap 'rm -rf "$s"' EXIT
p=$s/prefix failures=0 missing=()
fail() { echo "FAIL: $*" && failures=$((failures + 1)); }
"$cmake" --install "$build" --prefix "$p" --component game >"$s/log" 2>&1 || { cat "$s/log" && exit 1; }

desktop=$datadir/applications/zorvo.desktop metainfo=$datadir/metainfo/example.zorvo.Zorvo.metainfo.xml
expected=("$program/zorvo" "$launcherdir/zorvo" "$desktop" "$metainfo" "$datadir/doc/zorvo/copyright"
    "$datadir/doc/zorvo/changelog.Debian.gz" "$mandir/man6/zorvo.6.gz" "$datadir/lintian/overrides/zorvo")
[[ -x $p/$program/zorvo ]] || fail "$program/zorvo is not executable"
while IFS= read -r -d '' f; do # files where the data lies, the same bytes through the program's folder
    f=${f#"$data"/} && expected+=("$gamedata/$f")
    [[ -f $p/$gamedata/$f && ! -L $p/$gamedata/$f ]] || fail "$gamedata/$f is no file"
    cmp -s "$data/$f" "$p/$program/$f" || fail "$program/$f is missing or differs from data/"
done < <(find "$data" -type f -print0)
link() { # relative, so the tree may be unpacked under any root
    [[ -L $p/$1 && $(readlink "$p/$1") != /* && $(readlink -f "$p/$1") == "$(readlink -f "$p/$2")" ]] ||
        fail "$1 is no relative link to $2"
}
link "$launcherdir/zorvo" "$program/zorvo"
for e in "$data"/*; do expected+=("$program/${e##*/}") && link "$program/${e##*/}" "$gamedata/${e##*/}"; done
for line in Type=Application Name=Zorvo Exec=zorvo Icon=zorvo Terminal=false 'Categories=Game;CardGame;' \
    'Name\[zh_CN\]=.*'; do
    grep -qx "$line" "$p/$desktop" || fail "zorvo.desktop lacks $line"
done
for size in $sizes; do # PNG width and height are big-endian words at bytes 16 and 20
    icon=$datadir/icons/hicolor/${size}x$size/apps/zorvo.png && expected+=("$icon")
    [[ $(od -An -tu1 -j16 -N8 "$p/$icon" | awk '{print $3*256+$4 "x" $7*256+$8}') == "${size}x$size" ]] ||
        fail "$icon is missing or not ${size}x$size"
done
(cd "$p" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort | diff <(printf '%s\n' "${expected[@]}" | sort) -) >"$s/log" ||
    fail "installed files differ from the game's: $(cat "$s/log")"

# Started from elsewhere, by the menu entry's Exec line with the launcher's folder on the PATH as
# /usr/games is on a player's, and unpacked into a folder named in GBK: it finds its pictures and
# sounds and paints; asked to end, as at logout, it ends the ordinary way and saves its settings.
odd=$s/$(printf 'zorvo-\xd3\xce\xcf\xb7') && cp -rL "$p/$program" "$odd" && mkdir "$s/elsewhere"
for run in "PATH=$p/$launcherdir:$PATH $(sed -n 's/^Exec=//p' "$p/$desktop")" "$odd/zorvo"; do
    rm -rf "$s/config" "$s/out"
    (cd "$s/elsewhere" && exec env QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy ZORVO_REPORT_FIRST_PAINT=1 \
        XDG_CONFIG_HOME="$s/config" ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" $run >"$s/out" 2>&1) &
    while kill -0 $! 2>/dev/null && ! grep -qx painted "$s/out"; do sleep 0.1; done
    kill -TERM $! 2>/dev/null
    wait $! || fail "$run ended with status $? at SIGTERM"
    grep -qx painted "$s/out" || fail "$run did not paint: $(cat "$s/out")"
    grep -q '^Version=' "$s/config/Varnel.conf" 2>/dev/null || fail "$run did not save its settings"
done

have() { command -v "$1" >/dev/null || { missing+=("$1") && false; }; }
! have desktop-file-validate || desktop-file-validate "$p/$desktop" || fail "zorvo.desktop does not validate"
! have appstreamcli || appstreamcli validate --no-net "$p/$metainfo" || fail "$metainfo does not validate"
if have dpkg-deb && have lintian; then # the package as `--target package` builds it
    "$cpack" --config "$build/CPackConfig.cmake" -B "$s/package" >"$s/log" 2>&1 || fail "cpack: $(cat "$s/log")"
    deb=$(echo "$s"/package/zorvo_*.deb) && version=$(dpkg-deb -f "$deb" Version) && dpkg-deb -x "$deb" "$s/deb"
    zcat "$s/deb/usr/share/doc/zorvo/changelog.Debian.gz" | head -1 | grep -qF "zorvo ($version)" ||
        fail "changelog.Debian does not begin with $version"
    grep -q "<release version=\"${version%-*}\"" "$s/deb/usr/$metainfo" || fail "no metadata release ${version%-*}"
    lintian --fail-on error,warning --display-info "$deb" 2>&1 | tee "$s/lintian"
    ((PIPESTATUS[0] == 0)) || fail "lintian finds errors or warnings"
    # Hints, but they mean lost hardening (sanitizer builds go without) or stripping.
    tags='binary-has-unneeded-section' && [[ ${hardened:-ON} != ON ]] || tags+='|hardening-[a-z-]+'
    ! grep -qE " ($tags) " "$s/lintian" || fail "the program lacks the hardening or stripping of a package"
fi
((failures == 0)) || { echo "$failures check(s) failed" && exit 1; }
((${#missing[@]} == 0)) || { echo "SKIPPED: ${missing[*]} missing (tools/setup-deps installs them)" && exit 77; }
echo "install layout and package ok"
