#!/usr/bin/env bash
# Builds and runs the frame benchmark (bench/): a table on standard output and
# the same figures as JSON in build-bench/results.json, or in the file named.
#
#   tools/bench.sh [RESULTS.json]
#   tools/bench.sh --capture    records the reference scene again in tests/data/frames,
#                               at 800x600 and 1920x1080, from the current drawing
#                               code; only for a change of look that is meant
#
# The scenes are drawn headless with the dummy video driver, in a scratch
# directory holding the settings file and a link to assets/, because a save
# writes save.txt where the game runs.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
mode=run
results="$root/build-bench/results.json"
if [ "${1:-}" = --capture ]; then
    mode=capture
elif [ -n "${1:-}" ]; then
    case "$1" in
    /*) results="$1" ;;
    *) results="$PWD/$1" ;;
    esac
fi

build="$root/build-bench"
cmake -S "$root" -B "$build" -DZENTROVA_BENCH=ON -DZENTROVA_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target zentrova zentrova_bench >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
ln -s "$root/assets" "$work/assets"
cp "$root/config.xml" "$work/config.xml"
cd "$work"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

if [ "$mode" = capture ]; then
    "$build/bench/zentrova_bench" --capture "$root/tests/data/frames"
    echo "reference frames written to tests/data/frames"
else
    "$build/bench/zentrova_bench" --json "$results" --binary "$build/zentrova" --references "$root/tests/data/frames"
    echo "JSON: $results"
fi
