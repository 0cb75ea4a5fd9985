#!/usr/bin/env bash
# Runs a command on a display server of its own, stopped afterwards:
#   on-display.sh wayland COMMAND...   a headless weston, with Qt's Wayland plugin
#   on-display.sh x11 DPI COMMAND...   Xvfb with Xft.dpi set as a desktop sets it
set -euo pipefail
kind=$1 && shift
dir=$(mktemp -d) && chmod 700 "$dir"
server=
trap '[[ -n $server ]] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null; rm -rf "$dir"' EXIT
# Polls for what the server makes once it is ready; a fault waits 30 s, then fails.
ready() {
    for _ in $(seq 300); do
        [[ -s $1 || -S $1 ]] && return 0
        kill -0 "$server" 2>/dev/null || break
        sleep 0.1
    done
    echo "the display server did not start:" >&2 && cat "$dir/log" >&2 && return 1
}
case $kind in
wayland)
    export XDG_RUNTIME_DIR=$dir WAYLAND_DISPLAY=zorvo-test QT_QPA_PLATFORM=wayland
    weston --backend=headless-backend.so --socket=$WAYLAND_DISPLAY --idle-time=0 \
        --width=1920 --height=1080 >"$dir/log" 2>&1 &
    server=$! && ready "$dir/$WAYLAND_DISPLAY"
    ;;
x11)
    dpi=$1 && shift
    Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 3840x2160x24 3>"$dir/display" \
        >"$dir/log" 2>&1 &
    server=$! && ready "$dir/display"
    export DISPLAY=:$(cat "$dir/display") QT_QPA_PLATFORM=xcb
    echo "Xft.dpi: $dpi" | xrdb -merge
    ;;
*) echo "usage: $0 wayland|x11 DPI COMMAND..." >&2 && exit 2 ;;
esac
"$@"
