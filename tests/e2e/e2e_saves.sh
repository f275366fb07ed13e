#!/usr/bin/env bash
# A saved tower comes back whole after the program ends: floors, a lobby, a
# Single Room, a Suite and an elevator over two storeys are saved, the game
# quits and starts again, Load Game brings them back, the loaded room cannot
# be built over, saving again gives the same file, and the rooms pay their
# rent at the next midnight. A save from before rooms were kept loads with
# every cell usable.
set -u
binary="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"

e2e_play_in_copy

quit() {
    xdotool keydown shift
    sleep 0.2
    xdotool key Escape
    sleep 0.2
    xdotool keyup shift
    e2e_wait_exit
    [ "$E2E_STATUS" = 0 ] || fail "exit status $E2E_STATUS after Shift+Escape"
}

load_from_menu() {
    e2e_start_game "$binary"
    xdotool key l
    e2e_wait_for_output "loading map floor" 50 || fail "L in the menu did not load the game"
    sleep 0.3
}

# --- build, save, quit ---
e2e_start_game "$binary"
e2e_new_game_paused
for x in 2 3 4 5 6 7; do
    for y in 2 3 4 5; do click_cell "$x" "$y"; done
done
click_button 6                  # lobby
click_cell 7 5
click_cell 7 4
click_button 8                  # Single Room
click_cell 2 2
click_button 9                  # Suite, two cells along x
click_cell 4 2
click_button 7                  # elevator, 2 x 2
click_cell 6 3
click_button 5                  # a floor over the shaft's corner grows it to storey 1
xdotool key Page_Up
sleep 0.2
click_cell 6 3 1
xdotool key Page_Down
sleep 0.2
xdotool key space               # time runs again: the car sets off
sleep 1.5
click_button 2
sleep 0.5
[ -s save.txt ] || fail "Save Game wrote no save.txt"
cp save.txt first.txt
python3 - first.txt <<'PY' || fail "the first save does not hold the rooms"
import sys
lines = open(sys.argv[1]).read().split("\n")
assert abs(float(lines[0]) - (5000 - 24 * 10 - 2 * 100 - 500 - 1200 - 2000 - 10)) < 1e-6, lines[0]
rest = lines[3 + 4000:]
assert rest[0] == "rooms 4", rest[0]
kinds = sorted(l.split()[0] for l in rest[1:5])
assert kinds == ["elevator", "hotel1", "hotel2", "lobby"], kinds
elevator = next(l.split() for l in rest[1:5] if l.startswith("elevator "))
assert elevator[1:4] == ["6", "3", "0"] and elevator[6] == "5", elevator[:7]
PY
pass "the save holds the lobby, the two rooms and the elevator over two storeys"
quit

# --- start again, load, check ---
load_from_menu
grep -q "skipped" out && fail "a room record was skipped: $(grep skipped out)"
click_button 8                  # a Single Room over the loaded one is refused
click_cell 2 2
click_button 2
sleep 0.5
python3 - first.txt save.txt <<'PY' || fail "saving the loaded tower gave another file"
import sys
def comparable(path):
    lines = open(path).read().split("\n")
    out = []
    for number, line in enumerate(lines):
        if number == 1:
            continue  # the clock ran on
        if line.startswith("elevator "):
            line = " ".join(line.split()[:-7])  # and so did the car,
        if number > 0 and lines[number - 1] == "shuttle 1":
            continue  # flipping the shuttle's next floor at each departure
        out.append(line)
    return out
first, second = comparable(sys.argv[1]), comparable(sys.argv[2])
assert first == second, [(a, b) for a, b in zip(first, second) if a != b][:3]
PY
pass "loaded after a restart, the tower saves as before: building over its room was refused"

funds_before=$(head -n 1 save.txt)
xdotool keydown ctrl            # an hour a step: past midnight at once
sleep 1.2
xdotool keyup ctrl
sleep 0.2
click_button 2
sleep 0.5
python3 - "$funds_before" save.txt <<'PY' || fail "no rent at midnight"
import sys
before, after = float(sys.argv[1]), float(open(sys.argv[2]).readline())
clock = open(sys.argv[2]).read().split("\n")[1].split()
assert clock[2] == "2", f"day {clock[2]}: the clock should have passed one midnight"
assert abs(after - before - (40 + 120)) < 1e-6, f"rent {after - before}, expected 160 on day 2"
PY
pass "the loaded Single Room and Suite paid 160 at the next midnight"

# --- undo ---
undo() {
    xdotool keydown ctrl key z keyup ctrl
    sleep 0.3
}
xdotool key space               # paused: no rent while we compare
sleep 0.2
click_button 2
sleep 0.5
cp save.txt before-undo.txt
click_button 5
click_cell 9 9                  # a floor, then undone
undo
click_button 12
click_cell 2 2                  # the Single Room bulldozed, then undone
undo
click_button 2
sleep 0.5
python3 - before-undo.txt save.txt <<'PY' || fail "undo did not put the tower back as it was"
import sys
before, after = (open(p).read().split("\n") for p in sys.argv[1:3])
assert before[0] == after[0], f"funds {before[0]} before, {after[0]} after undoing"
assert before[2:3 + 4000] == after[2:3 + 4000], "the tile records differ"
rooms = lambda lines: sorted(l for l in lines[3 + 4000:] if l.startswith(("hotel1 ", "hotel2 ", "lobby ")))
assert rooms(before) == rooms(after), f"{rooms(before)} before, {rooms(after)} after"
PY
pass "a floor built and undone, a room bulldozed and undone: funds, tiles and rooms as before"
quit

# --- a save from before rooms were kept ---
python3 - first.txt save.txt <<'PY'
import sys
lines = open(sys.argv[1]).read().split("\n")
open(sys.argv[2], "w").write("\n".join(lines[:3 + 4000]) + "\n")
PY
load_from_menu
click_button 2
sleep 0.5
python3 - save.txt <<'PY' || fail "a tile-only save left holes"
import sys
lines = open(sys.argv[1]).read().split("\n")
tiles = [tuple(map(int, l.split())) for l in lines[3:3 + 4000]]
for x, y in [(2, 2), (3, 2), (4, 2), (5, 2), (6, 3), (7, 4), (7, 5)]:
    kind, mask, flags = tiles[x * 20 + y]
    assert kind == 2 and flags & 4 and not flags & 128, f"({x},{y}) is {tiles[x * 20 + y]}"
assert lines[3 + 4000] == "rooms 0", lines[3 + 4000]
PY
pass "a tile-only save loads with every cell a room stood on open again"
quit
