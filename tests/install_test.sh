#!/usr/bin/env bash
# Installs the game into a scratch prefix and checks what a package would carry: the program
# with every data file beside it, the launcher link, the menu entry and the icons, nothing
# else; then starts it through the launcher from another folder and waits for its first paint.
# usage: install_test.sh <cmake> <build-dir> <data-dir> <private-dir> <bin-dir> <data-root> "<icon sizes>"
set -uo pipefail
cmake=$1 build=$2 data=$3 private=$4 bindir=$5 datadir=$6 sizes=$7

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

# The program and its data, byte for byte.
[[ -f $prefix/$private/zorvo && -x $prefix/$private/zorvo ]] || fail "no executable $private/zorvo"
expected=("$private/zorvo" "$bindir/zorvo" "$datadir/applications/zorvo.desktop")
while IFS= read -r -d '' file; do
    rel=${file#"$data"/}
    expected+=("$private/$rel")
    cmp -s "$file" "$prefix/$private/$rel" || fail "$private/$rel missing or differs from data/"
done < <(find "$data" -type f -print0)

# The launcher: a relative link, so the tree can be unpacked under any root.
link=$prefix/$bindir/zorvo
if [[ -L $link ]]; then
    [[ $(readlink "$link") != /* ]] || fail "launcher link is absolute: $(readlink "$link")"
    [[ $(readlink -f "$link") == "$(readlink -f "$prefix/$private/zorvo")" ]] ||
        fail "launcher does not lead to $private/zorvo"
else
    fail "no launcher link $bindir/zorvo"
fi

desktop=$prefix/$datadir/applications/zorvo.desktop
if [[ -f $desktop ]]; then
    for line in Type=Application Name=Zorvo Exec=zorvo Icon=zorvo Terminal=false \
        'Categories=Game;CardGame;'; do
        grep -qxF "$line" "$desktop" || fail "zorvo.desktop lacks $line"
    done
    grep -q '^Name\[zh_CN\]=' "$desktop" || fail "zorvo.desktop has no Chinese name"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$desktop" || fail "zorvo.desktop does not validate"
    fi
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

# Nothing else: no tests, benchmarks or generator.
printf '%s\n' "${expected[@]}" | sort >"$scratch/expected"
(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort) >"$scratch/installed"
extra=$(comm -13 "$scratch/expected" "$scratch/installed")
[[ -z $extra ]] || fail "installed but not part of the game: $extra"

# Started through the launcher from elsewhere, it must still find its pictures and sounds:
# without them it stops at a message box and never paints.
mkdir -p "$scratch/elsewhere" "$scratch/config"
out=$(cd "$scratch/elsewhere" && env QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
    ZORVO_QUIT_AFTER_FIRST_PAINT=1 XDG_CONFIG_HOME="$scratch/config" \
    ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" timeout 60 "$link" 2>&1)
status=$?
grep -qx painted <<<"$out" || fail "launcher start did not paint (exit $status): $out"
[[ $status -eq 0 ]] || fail "launcher start exited with $status: $out"

# Unpacked into a folder whose name is not UTF-8 (here GBK, from an archive made elsewhere),
# it must still find every file through the name's own bytes.
odd=$scratch/$(printf 'zorvo-\xd3\xce\xcf\xb7')
cp -r "$prefix/$private" "$odd"
out=$(cd "$scratch/elsewhere" && env QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
    ZORVO_QUIT_AFTER_FIRST_PAINT=1 XDG_CONFIG_HOME="$scratch/config" \
    ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" timeout 60 "$odd/zorvo" 2>&1)
grep -qx painted <<<"$out" || fail "started from a folder named in GBK, it did not paint: $out"

# Asked to end, as a session does at logout, it must end rather than swallow the signal,
# and end the ordinary way: with the settings saved.
rm -rf "$scratch/config" && mkdir -p "$scratch/config"
(cd "$scratch/elsewhere" && exec env QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
    XDG_CONFIG_HOME="$scratch/config" ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" \
    "$link" >/dev/null 2>&1) &
game=$!
sleep 3 # past the first frame and the opening of the audio device
kill -TERM "$game" 2>/dev/null
for _ in $(seq 50); do
    kill -0 "$game" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$game" 2>/dev/null; then
    fail "the game ignored SIGTERM"
    kill -KILL "$game"
fi
wait "$game" 2>/dev/null
grep -q '^Version=' "$scratch/config/Varnel.conf" 2>/dev/null || fail "the settings were not saved at SIGTERM"

if ((failures)); then
    echo "$failures check(s) failed"
    exit 1
fi
echo "install layout ok: $(wc -l <"$scratch/installed") files"
