#!/usr/bin/env bash
# Runs every end-to-end script against the binary given as $1, two at a time
# (E2E_JOBS to change that): each has its own X server and work directory,
# and most of their time is spent waiting for the game, so two share the
# machine's two cores well. The longest start first; each script's output is
# shown whole when it ends. The frame-cost script measures processor time,
# so it runs last and alone, and not at all with E2E_FRAME_COST=off (the
# sanitizer build).
set -u
binary="$1"
here="$(dirname "$0")"
jobs="${E2E_JOBS:-2}"
logs="$(mktemp -d /tmp/zentrova-e2e-logs-XXXXXX)"
trap 'rm -rf "$logs"' EXIT

# Roughly longest first, so that the two lanes end together.
order=(living hostile saves install nothing_lost screen feel gameplay startup)
scripts=()
for name in "${order[@]}"; do
    [ -e "$here/e2e_$name.sh" ] && scripts+=("$here/e2e_$name.sh")
done
alone="$here/e2e_frame_cost.sh"
for script in "$here"/e2e_*.sh; do
    [ "$script" = "$alone" ] && continue
    case " ${scripts[*]} " in *" $script "*) ;; *) scripts+=("$script") ;; esac
done

status=0
running=()  # pids
declare -A nameOf
finish_one() {
    local pid
    wait -n -p pid "${running[@]}"
    local rc=$?
    local name="${nameOf[$pid]}"
    echo "== $name"
    cat "$logs/$name.log"
    if [ "$rc" != 0 ]; then
        echo "FAILED: $name"
        status=1
    fi
    local kept=()
    for other in "${running[@]}"; do [ "$other" != "$pid" ] && kept+=("$other"); done
    running=("${kept[@]+"${kept[@]}"}")
}
for script in "${scripts[@]}"; do
    [ "${#running[@]}" -ge "$jobs" ] && finish_one
    name="$(basename "$script")"
    bash "$script" "$binary" >"$logs/$name.log" 2>&1 &
    nameOf[$!]="$name"
    running+=("$!")
done
while [ "${#running[@]}" -gt 0 ]; do finish_one; done
if [ "${E2E_FRAME_COST:-on}" = off ]; then
    echo "== $(basename "$alone") not run: E2E_FRAME_COST=off"
elif [ -e "$alone" ]; then
    bash "$alone" "$binary" >"$logs/$(basename "$alone").log" 2>&1 &
    nameOf[$!]="$(basename "$alone")"
    running+=("$!")
    finish_one
fi
exit $status
