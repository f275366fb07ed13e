#!/usr/bin/env bash
# What a second of play at -fps 60 costs the processor, the game's and the X
# server's, at 1920 x 1080: the full tower idle on storey 7 (nothing moves
# there but the clock), the same tower on the ground with its cars moving,
# and the living tower at its evening rush; each drawn whole every frame
# (-redraw all) and only where it changed. Prints the figures; nothing is
# asserted of them (speed is the benchmark's), only that the game ran and
# drew where it changed by default.
#
#   E2E_COST_SECONDS=4   how long each case is measured
set -u
binary="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"
seconds="${E2E_COST_SECONDS:-4}"

e2e_start_x 1920x1080x24
cp -r "$E2E_REPO/assets" "$E2E_REPO/config.xml" "$E2E_REPO/tests/data/towers/"*.txt "$E2E_DIR/"
cd "$E2E_DIR" || fail "no work directory"

hz=$(getconf CLK_TCK)
ticks_of() { awk '{print $14 + $15}' "/proc/$1/stat"; }  # user and system time, in clock ticks

# measure NAME LIFE SAVE STOREYS-UP REDRAW: one line of figures
measure() {
    E2E_LIFE="$2" e2e_start_game "$binary" -w 1920 -h 1080 -fps 60 -sounds off -music off -redraw "$5" -load "$3"
    e2e_wait_for_output "Game loaded from $3" 100 || fail "$1: -load $3 did not load it"
    # The pointer rests on the bar, where it moves no cursor.
    xdotool mousemove 5 5
    for _ in $(seq "$4"); do e2e_press Page_Up; done
    sleep 1.5
    local game0 x0 game1 x1 start end
    game0=$(ticks_of "$E2E_GAME_PID")
    x0=$(ticks_of "$E2E_XVFB_PID")
    start=$(date +%s%N)
    sleep "$seconds"
    game1=$(ticks_of "$E2E_GAME_PID")
    x1=$(ticks_of "$E2E_XVFB_PID")
    end=$(date +%s%N)
    awk -v g=$((game1 - game0)) -v x=$((x1 - x0)) -v hz="$hz" -v ns=$((end - start)) -v what="$1" -v redraw="$5" \
        'BEGIN { s = ns / 1e9; printf "cost: %-22s -redraw %-8s game %5.1f %%  X server %5.1f %%  together %5.1f %% of a core\n",
                 what, redraw, 100 * g / hz / s, 100 * x / hz / s, 100 * (g + x) / hz / s }'
    kill -TERM "$E2E_GAME_PID"
    e2e_wait_exit
}

check "processor time at -fps 60, 1920 x 1080, ${seconds} s a case"
for redraw in all changed; do
    measure "idle classic tower" off full-tower.txt 6 "$redraw"
    measure "classic, cars moving" off full-tower.txt 0 "$redraw"
    measure "living, evening rush" on living-evening.txt 0 "$redraw"
done
grep -q "Frames are drawn" out && fail "the game switched its painting unasked"
pass "the frame costs were measured"
