#!/usr/bin/env bash
# Runs a test program on a virtual X display of its own: the tests that need what only a real
# display server shows (what reached the screen, fonts on the screen).
set -u
n=120
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
# LeakSanitizer's stop-the-world at exit fails now and then beside the X connection's threads
# (a fatal error, not a leak); leaks are checked by the offscreen suites.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" DISPLAY=":$n" QT_QPA_PLATFORM=xcb "$@"
rc=$?
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit $rc
