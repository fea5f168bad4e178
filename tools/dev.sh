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

build() {  # build <folder> [cmake options...]
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir"
}

case "${1:-}" in
    run)
        install_missing
        build build
        shift
        exec build/quillet/quillet "$@"
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
