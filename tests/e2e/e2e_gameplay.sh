#!/usr/bin/env bash
# Plays a short game through the real window, with the music on: floors, a
# lobby, a room, the bulldozer, save, load and Shift+Escape, and checks
# save.txt cell by cell.
set -u
binary="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"

e2e_play_in_copy

e2e_start_game "$binary"
grep -qxF "Loaded music assets/music.ogg" out || fail "the music did not load: $(cat err)"
pass "config.xml switches the music on and it loaded"
e2e_press n
e2e_wait_for_output "state change successful: MAP" || fail "N did not start a game"
sleep 0.3
e2e_press space     # paused: no rent and no clock while we build
sleep 0.1

for x in 2 3 4 5; do
    for y in 2 3 4 5; do click_cell "$x" "$y"; done
done
click_button 6                  # lobby
click_cell 5 5
click_cell 4 5
click_button 8                  # the 1 x 1 hotel room
click_cell 2 2
click_button 12                 # bulldozer
click_cell 2 2                  # takes the room away
click_cell 2 3                  # and a bare floor
click_button 2                  # save
sleep 0.5
[ -s save.txt ] || fail "Save Game wrote no save.txt"
cp save.txt first-save.txt

python3 - first-save.txt <<'PY' || fail "save.txt does not hold the expected tower"
import sys
lines = open(sys.argv[1]).read().split("\n")
funds = float(lines[0])
expected_funds = 5000 - 16 * 10 - 2 * 100 - 500 - 2 * 5
assert abs(funds - expected_funds) < 1e-6, f"funds {funds}, expected {expected_funds}"
assert lines[2].split() == ["10", "20", "20"], f"header {lines[2]}"
tiles = [tuple(map(int, l.split())) for l in lines[3:3 + 4000] if l.strip()]
assert len(tiles) == 4000, f"{len(tiles)} tile records"
def tile(x, y, z=0):
    return tiles[z * 400 + x * 20 + y]
# flags: 1 floor, 2 destructable, 4 buildable, 8 front wall, 16 back wall, 64 shadow, 128 hidden
assert tile(2, 2) == (2, 1, 31), f"(2,2) after its room went: {tile(2, 2)}"
assert tile(2, 3) == (1, 0, 6), f"(2,3) bulldozed floor: {tile(2, 3)}"
assert tile(3, 3) == (2, 11, 23), f"(3,3) beside the bulldozed floor: {tile(3, 3)}"
assert tile(4, 4) == (2, 15, 7), f"(4,4) inner floor: {tile(4, 4)}"
assert tile(5, 5) == (2, 6, 139), f"(5,5) lobby corner: {tile(5, 5)}"
assert tile(4, 5) == (2, 7, 139), f"(4,5) lobby edge: {tile(4, 5)}"
assert tile(3, 3, 1) == (3, 0, 4), f"(3,3,1) roof: {tile(3, 3, 1)}"
assert tile(2, 3, 1) == (0, 0, 0), f"(2,3,1) above the bulldozed floor: {tile(2, 3, 1)}"
assert tile(0, 0) == (0, 0, 4) and tile(1, 0) == (1, 0, 4), "untouched ground stripes"
PY
pass "save.txt holds funds, masks, walls, roofs and hidden tiles as built"

import -window root "$E2E_DIR/tower.png" || fail "no screenshot"
mean=$(convert "$E2E_DIR/tower.png" -format '%[fx:mean]' info:)
python3 -c "import sys; sys.exit(0 if float('$mean') > 0.05 else 1)" || fail "the tower screen looks empty (mean $mean)"
pass "the tower screen shows something (mean brightness $mean)"

click_button 5                  # back to floors, then change the tower
click_cell 7 7
click_button 3                  # load: answer the window's OK
sleep 0.3
# The window is 148 x 82 centred in 800 x 600: OK sits 10 px in, 40 px down.
xdotool mousemove $((400 - 74 + 10 + 50)) $((300 - 34 + 40 + 10))
sleep 0.1
xdotool click 1
e2e_wait_for_output "loading map floor" 30 || fail "the load window's OK did not load the game"
sleep 0.2
click_button 2
sleep 0.5
diff <(sed 2d first-save.txt) <(sed 2d save.txt) >/dev/null || fail "saving after a load differs from the first save"
pass "save, change, load, save gives the same file but for the clock"

e2e_shift_escape
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || fail "exit status $E2E_STATUS after Shift+Escape"
[ "$(grep -c 'OMG, EXIT PROGRAM!' out)" = 1 ] || fail "expected one exit line"
tail -n 1 out | grep -qx "Cleaning up" || fail "the last line is not Cleaning up"
pass "Shift+Escape ends the game cleanly"
