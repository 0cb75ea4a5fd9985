#!/usr/bin/env bash
# Installs the game into a scratch prefix and checks what a package would carry: the program
# with a link to every data entry beside it, the data itself, the launcher link, the menu entry,
# icons, manual page, metadata and documents, nothing else; starts it by its menu entry's Exec
# line from another folder and waits for its first paint; then builds the Debian package and
# holds it, the menu entry and the metadata to Debian's and freedesktop's checkers.
# usage: install_test.sh cmake=<cmake> cpack=<cpack> build=<build dir> data=<data dir>
#            program=<dir> gamedata=<dir> launcherdir=<dir> datadir=<dir> mandir=<dir>
#            sizes="<icon sizes>" hardened=ON|OFF     (folders relative to the prefix)
# Exits 77 (skipped) when everything it could check passed but a checker is not installed.
set -uo pipefail
for arg; do
    case ${arg%%=*} in
    cmake | cpack | build | data | program | gamedata | launcherdir | datadir | mandir | sizes | hardened)
        printf -v "${arg%%=*}" '%s' "${arg#*=}" ;;
    *) echo "install_test: unknown argument $arg" >&2 && exit 2 ;;
    esac
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/zorvo-install.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

if ! "$cmake" --install "$build" --prefix "$prefix" --component game >"$scratch/install.log" 2>&1; then
    cat "$scratch/install.log"
    echo "FAIL: cmake --install did not succeed"
    exit 1
fi

# The program, and its data byte for byte both where it lies and through the program's folder.
[[ -f $prefix/$program/zorvo && -x $prefix/$program/zorvo ]] || fail "no executable $program/zorvo"
doc=$datadir/doc/zorvo
metainfo=$datadir/metainfo/example.zorvo.Zorvo.metainfo.xml
expected=("$program/zorvo" "$launcherdir/zorvo" "$datadir/applications/zorvo.desktop" "$metainfo"
    "$doc/copyright" "$doc/changelog.Debian.gz" "$mandir/man6/zorvo.6.gz"
    "$datadir/lintian/overrides/zorvo")
while IFS= read -r -d '' file; do
    rel=${file#"$data"/}
    expected+=("$gamedata/$rel")
    [[ -f $prefix/$gamedata/$rel && ! -L $prefix/$gamedata/$rel ]] || fail "$gamedata/$rel is no file"
    cmp -s "$file" "$prefix/$program/$rel" || fail "$program/$rel missing or differs from data/"
done < <(find "$data" -type f -print0)

# Links lead from the program's folder and the PATH; relative, so the tree can be unpacked
# under any root.
check_link() { # <link> <what it must lead to>
    if [[ -L $prefix/$1 ]]; then
        [[ $(readlink "$prefix/$1") != /* ]] || fail "$1 links to an absolute $(readlink "$prefix/$1")"
        [[ $(readlink -f "$prefix/$1") == "$(readlink -f "$prefix/$2")" ]] || fail "$1 does not lead to $2"
    else
        fail "no link $1"
    fi
}
check_link "$launcherdir/zorvo" "$program/zorvo"
for entry in "$data"/*; do
    entry=${entry##*/}
    expected+=("$program/$entry")
    check_link "$program/$entry" "$gamedata/$entry"
done
link=$prefix/$launcherdir/zorvo

desktop=$prefix/$datadir/applications/zorvo.desktop
if [[ -f $desktop ]]; then
    for line in Type=Application Name=Zorvo Exec=zorvo Icon=zorvo Terminal=false \
        'Categories=Game;CardGame;'; do
        grep -qxF "$line" "$desktop" || fail "zorvo.desktop lacks $line"
    done
    grep -q '^Name\[zh_CN\]=' "$desktop" || fail "zorvo.desktop has no Chinese name"
else
    fail "no $datadir/applications/zorvo.desktop"
fi

# PNG width and height are big-endian words at bytes 16 and 20.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $3*256+$4 "x" $7*256+$8}'; }
for size in $sizes; do
    icon=$datadir/icons/hicolor/${size}x${size}/apps/zorvo.png
    expected+=("$icon")
    if [[ -f $prefix/$icon ]]; then
        [[ $(png_size "$prefix/$icon") == "${size}x${size}" ]] ||
            fail "$icon is $(png_size "$prefix/$icon")"
    else
        fail "no $icon"
    fi
done

# All of that and nothing else: no tests, benchmarks or generator.
printf '%s\n' "${expected[@]}" | sort >"$scratch/expected"
(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort) >"$scratch/installed"
extra=$(comm -13 "$scratch/expected" "$scratch/installed")
[[ -z $extra ]] || fail "installed but not part of the game: $extra"
absent=$(comm -23 "$scratch/expected" "$scratch/installed")
[[ -z $absent ]] || fail "not installed: $absent"

# Started by the menu entry's Exec line from elsewhere, with the launcher's folder on the PATH
# as /usr/games is on a player's, it must still find its pictures and sounds: without them it
# stops at a message box and never paints.
read -ra exec_line < <(sed -n 's/^Exec=//p' "$desktop" 2>/dev/null)
[[ $(PATH="$prefix/$launcherdir:$PATH" command -v "${exec_line[0]:-none}") == "$link" ]] ||
    fail "Exec=${exec_line[*]} does not find $launcherdir/zorvo on the PATH"
mkdir -p "$scratch/elsewhere" "$scratch/config"
out=$(cd "$scratch/elsewhere" && env PATH="$prefix/$launcherdir:$PATH" QT_QPA_PLATFORM=offscreen \
    SDL_AUDIODRIVER=dummy ZORVO_QUIT_AFTER_FIRST_PAINT=1 XDG_CONFIG_HOME="$scratch/config" \
    ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" timeout 60 "${exec_line[@]}" 2>&1)
status=$?
grep -qx painted <<<"$out" || fail "launcher start did not paint (exit $status): $out"
[[ $status -eq 0 ]] || fail "launcher start exited with $status: $out"

# Unpacked into a folder whose name is not UTF-8 (here GBK, from an archive made elsewhere),
# it must still find every file through the name's own bytes.
odd=$scratch/$(printf 'zorvo-\xd3\xce\xcf\xb7')
cp -rL "$prefix/$program" "$odd" # as unpacked: files, not links
out=$(cd "$scratch/elsewhere" && env QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
    ZORVO_QUIT_AFTER_FIRST_PAINT=1 XDG_CONFIG_HOME="$scratch/config" \
    ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" timeout 60 "$odd/zorvo" 2>&1)
grep -qx painted <<<"$out" || fail "started from a folder named in GBK, it did not paint: $out"

# Asked to end, as a session does at logout, it must end rather than swallow the signal,
# and end the ordinary way: with the settings saved.
rm -rf "$scratch/config" && mkdir -p "$scratch/config"
(cd "$scratch/elsewhere" && exec env QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
    ZORVO_REPORT_FIRST_PAINT=1 XDG_CONFIG_HOME="$scratch/config" \
    ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" "$link" >"$scratch/started" 2>&1) &
game=$!
# Once the table is on the screen the game has loaded, however slowly this machine started it.
for _ in $(seq 1200); do # only a game that never paints waits this out
    grep -qx painted "$scratch/started" 2>/dev/null || ! kill -0 "$game" 2>/dev/null && break
    sleep 0.1
done
grep -qx painted "$scratch/started" || fail "the game did not paint: $(cat "$scratch/started")"
kill -TERM "$game" 2>/dev/null
for _ in $(seq 300); do # a generous limit: only a game that ignores the signal reaches it
    kill -0 "$game" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$game" 2>/dev/null; then
    fail "the game ignored SIGTERM"
    kill -KILL "$game"
fi
wait "$game" 2>/dev/null
grep -q '^Version=' "$scratch/config/Varnel.conf" 2>/dev/null || fail "the settings were not saved at SIGTERM"

# The checkers Debian and the desktops hold a package to. tools/setup-deps installs them; where
# one is missing its checks are skipped and the test says so rather than passing.
missing=()
have() { command -v "$1" >/dev/null || { missing+=("$1") && false; }; }
if have desktop-file-validate; then
    desktop-file-validate "$desktop" || fail "zorvo.desktop does not validate"
fi
if have appstreamcli; then
    appstreamcli validate --no-net "$prefix/$metainfo" ||
        fail "$metainfo does not validate"
fi

# The package, built from this tree as `--target package` builds it.
if have dpkg-deb && have lintian; then
    if "$cpack" --config "$build/CPackConfig.cmake" -B "$scratch/package" >"$scratch/cpack.log" 2>&1; then
        deb=$(echo "$scratch"/package/zorvo_*.deb)
        version=$(dpkg-deb -f "$deb" Version)
        # Each release names itself in the changelog and the metadata.
        dpkg-deb -x "$deb" "$scratch/unpacked"
        logged=$(zcat "$scratch/unpacked/usr/share/doc/zorvo/changelog.Debian.gz" |
            sed -n '1s/^zorvo (\([^)]*\)).*/\1/p')
        [[ $logged == "$version" ]] || fail "changelog.Debian names ${logged:-no version}, not $version"
        grep -q "<release version=\"${version%-*}\"" "$scratch/unpacked/usr/share/metainfo/"*.xml ||
            fail "the metadata has no release ${version%-*}"
        echo "== lintian $(basename "$deb")"
        lintian --fail-on error,warning --display-info "$deb" 2>&1 | tee "$scratch/lintian.log"
        ((PIPESTATUS[0] == 0)) || fail "lintian finds errors or warnings"
        # Only hints, but they mean the program lost its hardening or its stripping. Sanitizer
        # builds go without the hardening, so only their stripping counts.
        tags='binary-has-unneeded-section'
        [[ ${hardened:-ON} != ON ]] || tags+='|hardening-[a-z-]+'
        ! grep -qE " ($tags) " "$scratch/lintian.log" ||
            fail "the program is built without the hardening or stripping of Debian packages"
    else
        cat "$scratch/cpack.log"
        fail "cpack did not build the package"
    fi
fi

if ((failures)); then
    echo "$failures check(s) failed"
    exit 1
fi
if ((${#missing[@]})); then
    echo "SKIPPED: ${missing[*]} not installed (tools/setup-deps installs them); the rest passed"
    exit 77
fi
echo "install layout and package ok: $(wc -l <"$scratch/installed") files"
