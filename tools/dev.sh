#!/usr/bin/env bash
# Sets up a Debian 12 machine for Quillet, builds it, and runs it or its tests.
#   tools/dev.sh run    install what is missing, build, start the program
#   tools/dev.sh test   install what is missing, build, run every test (also under sanitizers)
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
    cmake ninja-build g++ googletest libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev libcurl4-openssl-dev libjpeg62-turbo-dev libpng-dev libgif-dev
    fonts-ipafont-gothic xvfb
    libmicrohttpd-dev libsqlite3-dev libsodium-dev python3-aiosmtpd
    chromium chromium-driver python3-selenium
    openbox xdotool x11-utils x11-xserver-utils python3-pil
)

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

configure() {  # configure <folder> [cmake options...]
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

build() {  # build <folder> [cmake options...]: everything, tests included
    configure "$@"
    cmake --build "$1"
}

# Only what running needs: the program, its codec library, the shipped content and the
# screenshot taker for a machine without a display.
build_program() {
    configure build
    cmake --build build --target quillet HlvJpg quillet_content xshot
}

# Without a display: the program on a virtual X display, a screenshot of it, and the end.
run_virtual() {
    local n=99 shot="$PWD/build/quillet-screenshot.png"
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    echo "No display: starting Quillet on the virtual display :$n (Xvfb, 1024 x 768)."
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    local xvfb=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    DISPLAY=":$n" build/quillet/quillet "$@" &
    local prog=$!
    local rc=0
    DISPLAY=":$n" build/tools/xshot/xshot "$shot" || rc=$?
    kill "$prog" 2>/dev/null || true
    wait "$prog" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    if [ $rc -eq 0 ]; then
        echo "Screenshot of the program's window: $shot"
    else
        echo "The program did not show a window." >&2
    fi
    return $rc
}

case "${1:-}" in
    run)
        install_missing
        build_program
        shift
        if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
            exec build/quillet/quillet "$@"
        fi
        run_virtual "$@"
        ;;
    test)
        install_missing
        build build
        QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j2
        echo "== the same tests under AddressSanitizer and UndefinedBehaviorSanitizer"
        build build-asan -DQUILLET_SANITIZE=ON -DQUILLET_BENCH=OFF
        QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
            LSAN_OPTIONS=suppressions="$PWD/tools/lsan.supp" \
            ctest --test-dir build-asan --output-on-failure -j2
        ;;
    *)
        echo "usage: $0 run|test" >&2
        exit 2
        ;;
esac
