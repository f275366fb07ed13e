#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine for Zentrova, builds it, and then either
# starts the game ("play") or runs every test ("test").
set -euo pipefail

mode="${1:-play}"
cd "$(dirname "$0")/.."

game_packages=(libsdl1.2-dev libsdl-image1.2-dev libsdl-mixer1.2-dev libtinyxml-dev libgtest-dev cmake g++ pkg-config)
test_packages=(xvfb xauth xdotool x11-utils openbox imagemagick python3 python3-pil sox dpkg-dev desktop-file-utils appstream lintian)

wanted=("${game_packages[@]}")
[ "$mode" = test ] && wanted+=("${test_packages[@]}")

missing=()
for package in "${wanted[@]}"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build() {  # directory, extra cmake arguments
    local dir="$1"
    shift
    cmake -S . -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j2
}

case "$mode" in
play)
    build build
    if [ -z "${DISPLAY:-}" ]; then
        echo "No display: run this from a desktop session (or set DISPLAY, e.g. under Xvfb)." >&2
        exit 1
    fi
    exec ./build/zentrova
    ;;
test)
    build build
    (cd build && ctest --output-on-failure -j2)
    # The same tests once more with the address and undefined-behaviour checkers.
    build build-asan -DZENTROVA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    (cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j2)
    ;;
*)
    echo "usage: $0 [play|test]" >&2
    exit 2
    ;;
esac
