#!/usr/bin/env bash
# Installs the package on a clean Debian 12 root, starts the game from its launcher on an
# X display and takes a screenshot, then purges it and checks that nothing of it is left.
# Needs root, debootstrap and the Debian mirror, so it is not part of the usual tests.
#
# usage: packaging/check-package.sh <zorvo_*.deb> [screenshot.png]
#   ZORVO_BASE_ROOT  a debootstrapped bookworm to copy; made there if missing
#                    (default /var/tmp/zorvo-bookworm-base)
#   ZORVO_DISPLAY    X display to start the game on (default :5), shared with the root
#                    through its socket; without one, Xvfb is installed in the root.
#   ZORVO_MIRROR     Debian mirror for debootstrap (default http://deb.debian.org/debian)
set -euo pipefail

deb=$(readlink -f "${1:?usage: check-package.sh <zorvo_*.deb> [screenshot.png]}")
shot=$(readlink -f "${2:-zorvo-clean-root.png}")
base=${ZORVO_BASE_ROOT:-/var/tmp/zorvo-bookworm-base}
display=${ZORVO_DISPLAY:-:5}
mirror=${ZORVO_MIRROR:-http://deb.debian.org/debian}

[[ $(id -u) -eq 0 ]] || { echo "check-package: run as root" >&2; exit 2; }
[[ -f $deb ]] || { echo "check-package: no such package $deb" >&2; exit 2; }

if [[ ! -x $base/usr/bin/apt-get ]]; then
    echo "== debootstrap bookworm into $base"
    debootstrap --variant=minbase bookworm "$base" "$mirror"
fi

# Each run starts from a fresh copy, so the base stays clean.
root=$(mktemp -d /tmp/zorvo-cleanroot.XXXXXX)
before=$(mktemp /tmp/zorvo-before.XXXXXX)
mounts=()
game_pid="" xvfb_pid=""
cleanup() {
    [[ -z $game_pid ]] || kill -KILL "$game_pid" 2>/dev/null || true
    [[ -z $xvfb_pid ]] || kill "$xvfb_pid" 2>/dev/null || true
    sleep 0.5
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount -l "${mounts[i]}" || true; done
    rm -rf --one-file-system "$root" "$before"
}
trap cleanup EXIT
bind() {
    mkdir -p "$root$2"
    mount "${@:3}" "$1" "$root$2"
    mounts+=("$root$2")
}
# The PATH a player's session gets from /etc/profile, games included.
root_env=(/usr/bin/env -i HOME=/root
    PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin:/usr/local/games:/usr/games
    LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive)
in_root() { chroot "$root" "${root_env[@]}" "$@"; }
# In the background, with $! the program's own process id rather than a subshell's.
in_root_bg() { (exec chroot "$root" "${root_env[@]}" "$@") & }
# Every path in the root, bar the kernel's and the scratch space.
all_paths() { in_root find / -xdev -not -path '/tmp/*' | sort; }

echo "== fresh root $root"
cp -a "$base/." "$root/"
cp /etc/resolv.conf "$root/etc/resolv.conf"
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d" # no services in a chroot
chmod +x "$root/usr/sbin/policy-rc.d"
bind proc /proc -t proc
bind /dev /dev --bind
bind /dev/pts /dev/pts --bind
all_paths >"$before"

echo "== apt-get install ./$(basename "$deb")"
cp "$deb" "$root/tmp/zorvo.deb"
chmod 644 "$root/tmp/zorvo.deb"
in_root apt-get update -qq
in_root apt-get install -y -q /tmp/zorvo.deb
owned=$(in_root dpkg-query -L zorvo)

echo "== which zorvo"
launcher=$(in_root which zorvo)
echo "$launcher -> $(in_root readlink -f "$launcher")"
[[ $launcher == /usr/games/zorvo ]]

number=${display#:}
if [[ -S /tmp/.X11-unix/X$number ]]; then
    bind /tmp/.X11-unix /tmp/.X11-unix --bind
    capture() { DISPLAY=$display import -window root "$1"; }
else
    echo "== no display $display here: Xvfb in the root"
    in_root apt-get install -y -q --no-install-recommends xvfb imagemagick
    in_root_bg Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp
    xvfb_pid=$!
    sleep 2
    capture() { in_root env DISPLAY="$display" import -window root /tmp/shot.png && cp "$root/tmp/shot.png" "$1"; }
fi

echo "== start it from its launcher in another folder, to its first paint"
out=$(in_root sh -c "cd /tmp && DISPLAY=$display SDL_AUDIODRIVER=dummy \
    ZORVO_QUIT_AFTER_FIRST_PAINT=1 timeout 60 zorvo" 2>&1) || { echo "$out"; exit 1; }
echo "$out"
grep -qx painted <<<"$out"

echo "== start it for a screenshot"
in_root_bg DISPLAY="$display" SDL_AUDIODRIVER=dummy zorvo >"$root/tmp/game.log" 2>&1
game_pid=$!
sleep 4
kill -0 "$game_pid" || { cat "$root/tmp/game.log"; echo "the game did not keep running"; exit 1; }
capture "$shot"
echo "screenshot: $shot"
if command -v xprop >/dev/null && [[ -z $xvfb_pid ]]; then
    # Our window among any others on the display: the one with the game's process id.
    for id in $(DISPLAY=$display xwininfo -root -tree | awk '/"Zorvo/ {print $1}'); do
        if DISPLAY=$display xprop -id "$id" _NET_WM_PID | grep -q "= $game_pid\$"; then
            DISPLAY=$display xprop -id "$id" WM_CLASS
            icon=$(DISPLAY=$display xprop -id "$id" _NET_WM_ICON)
            if [[ $icon == *"Icon ("* ]]; then echo "window $id carries the icon"; fi
        fi
    done
fi
kill -TERM "$game_pid"
for _ in $(seq 50); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$game_pid" 2>/dev/null; then
    echo "the game ignored SIGTERM"
    exit 1
fi
wait "$game_pid" 2>/dev/null || true
game_pid=""

echo "== apt-get remove --purge zorvo"
in_root apt-get remove --purge -y -q zorvo
rm -f "$root/tmp/zorvo.deb" "$root/tmp/game.log" "$root/tmp/shot.png"
left=0
while IFS= read -r path; do
    # Directories shared with other packages stay; everything else of ours must go.
    [[ -z $path || $path == /. ]] && continue
    if [[ -L $root$path || (-e $root$path && ! -d $root$path) ]]; then
        echo "left behind: $path"
        left=1
    fi
done <<<"$owned"
for path in $(in_root find / -xdev -iname '*zorvo*') /usr/lib/games/zorvo /usr/share/games/zorvo; do
    if [[ -e $root$path ]]; then
        echo "left behind: $path"
        left=1
    fi
done

# What the install added and the purge kept should be the dependencies, the caches their
# triggers build and the player's own settings. For the record, list the files no package
# owns, bar the package manager's state and the configuration the dependencies generate.
# (The lists name /lib for what lies in /usr/lib on a merged /usr.)
echo "== new files that no package owns, outside /etc, /var and the MIME database:"
cat "$root"/var/lib/dpkg/info/*.list | sed -E 'p; s#^/(bin|sbin|lib|lib64)/#/usr/\1/#' |
    sort -u >"$root/tmp/all-owned"
all_paths | comm -13 "$before" - | comm -23 - "$root/tmp/all-owned" |
    grep -v -E '^/(etc|var|run)/|^/usr/share/mime/' | while IFS= read -r path; do
    [[ -d $root$path ]] || echo "  $path"
done
((left == 0)) && echo "== clean: nothing of zorvo remains"
exit "$left"
