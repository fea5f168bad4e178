#!/usr/bin/env bash
# Runs a test program on a virtual X display of its own: the tests that need what only a real
# display server shows (what reached the screen, fonts on the screen).
#   on_xvfb.sh [--wm openbox] PROGRAM [ARGS...]
# With --wm the display gets that window manager first, as every desktop has one; the program
# learns its name from QUILLET_WM. Exits 77 (skipped) when the window manager is not installed.
set -u
wm=""
if [ "${1:-}" = --wm ]; then
    wm=$2
    shift 2
    command -v "$wm" >/dev/null || { echo "$wm is not installed: skipped"; exit 77; }
fi
n=120
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
wmpid=""
if [ -n "$wm" ]; then
    DISPLAY=":$n" "$wm" >/dev/null 2>&1 &
    wmpid=$!
    # A window manager announces itself on the root window once it manages the screen.
    for _ in $(seq 100); do
        DISPLAY=":$n" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        sleep 0.05
    done
fi
# LeakSanitizer's stop-the-world at exit fails now and then beside the X connection's threads
# (a fatal error, not a leak); leaks are checked by the offscreen suites.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" DISPLAY=":$n" QT_QPA_PLATFORM=xcb \
    QUILLET_WM="$wm" "$@"
rc=$?
[ -n "$wmpid" ] && kill "$wmpid" 2>/dev/null && wait "$wmpid" 2>/dev/null
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit $rc
