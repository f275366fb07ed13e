#!/usr/bin/env bash
# Builds the libFuzzer targets with clang-14 and runs each for SECONDS
# seconds (one target when TARGET is given), one after the other.
# New inputs collect in build-fuzz/corpus/<target> (the committed seeds in
# tests/fuzz/corpus stay as they are); a failing input is written to
# build-fuzz/artifacts/<target>/ and should be copied into
# tests/fuzz/regressions/<target>/ once fixed, so CI replays it.
# Extra libFuzzer options can be given in FUZZ_ARGS (say FUZZ_ARGS=-max_len=65536).
#   usage: tools/fuzz.sh SECONDS [base64|save|settings|room|font|life]
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$(pwd)"

seconds="${1:-}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]]; then
    echo "usage: $0 SECONDS [TARGET]" >&2
    exit 2
fi
all_targets=(base64 save settings room font life)
targets=("${all_targets[@]}")
[ -n "${2:-}" ] && targets=("$2")
for target in "${targets[@]}"; do
    [ -d "tests/fuzz/corpus/$target" ] || { echo "unknown target $target (one of ${all_targets[*]})" >&2; exit 2; }
done

for package in clang-14 libclang-rt-14-dev; do
    dpkg -s "$package" >/dev/null 2>&1 || { echo "needs $package: apt-get install clang-14 libclang-rt-14-dev" >&2; exit 2; }
done

build="$repo/build-fuzz"
CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -DZENTROVA_FUZZ=ON -DZENTROVA_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}" >/dev/null

status=0
for target in "${targets[@]}"; do
    mkdir -p "$build/corpus/$target" "$build/artifacts/$target" "$build/logs"
    log="$build/logs/$target.log"
    # The targets print the game's progress lines; -close_fd_mask=3 keeps them (and the loaders' error lines) out of the log.
    if SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$build/tests/fuzz/fuzz_$target" \
        -max_total_time="$seconds" -timeout=10 -close_fd_mask=3 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target/" ${FUZZ_ARGS:-} \
        "$build/corpus/$target" "$repo/tests/fuzz/corpus/$target" >"$log" 2>&1; then
        result=ok
    else
        result="FAILED (see $log and $build/artifacts/$target/)"
        status=1
    fi
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
    echo "$target: $result, $runs executions in ${seconds}s"
done
exit $status
