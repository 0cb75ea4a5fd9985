#!/usr/bin/env bash
# Runs a command where a screen reader would listen: on a session bus of its own with the
# desktop's accessibility bus started on it, on a virtual display, with Qt's bridge switched
# on (77: skipped, a tool is missing).
#   tests/with-screen-reader-bus.sh <program> [arguments...]
set -euo pipefail
for tool in dbus-run-session dbus-send Xvfb; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool not installed" && exit 77; }
done
# Asking the bus for its address starts its launcher, which Qt waits to see before it speaks.
# Xvfb picks a free display itself and names it once it is ready, so runs side by side never
# race for one.
exec dbus-run-session -- bash -c '
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null || { echo "SKIPPED: no accessibility bus (at-spi2-core)" && exit 77; }
    exec {ready}< <(exec Xvfb -displayfd 1 -nolisten tcp -screen 0 1280x1024x24 2>/dev/null)
    xvfb=$!
    read -r -u "$ready" display || { echo "Xvfb did not start" && exit 1; }
    status=0
    DISPLAY=:$display QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@" || status=$?
    kill "$xvfb"
    exit $status' bash "$@"
