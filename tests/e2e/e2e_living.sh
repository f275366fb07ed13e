#!/usr/bin/env bash
# The living tower from outside: a lobby, an elevator through three storeys,
# an office and a Single Room upstairs; through the night to the morning the
# workers come, ride the car and the Query Tool shows its figures; save, load
# and save again give the same file. Screenshots of the morning are left in
# the work directory.
set -u
binary="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"
E2E_LIFE=on

e2e_play_in_copy
e2e_start_game "$binary"
xdotool key n
e2e_wait_for_output "state change successful: MAP" || fail "N did not start a game"
sleep 0.3
xdotool key space   # paused while building
sleep 0.1
for x in 3 4 5 6; do for y in 3 4 5 6; do click_cell "$x" "$y"; done; done
click_button 6; click_cell 6 3; click_cell 6 4   # the lobby
click_button 7; click_cell 4 4                   # the elevator over (3..4, 3..4)
click_button 5
for z in 1 2; do
    xdotool key Page_Up; sleep 0.2
    for x in 3 4 5 6; do for y in 3 4 5 6; do click_cell "$x" "$y" "$z"; done; done
done
click_button 8; click_cell 3 6 2                 # a Single Room on storey 3
xdotool key Page_Down; sleep 0.2
click_button 10; click_cell 6 6 1                # an office on storey 2
xdotool key Page_Down; sleep 0.2
click_button 2; sleep 0.4
python3 - save.txt <<'PY' || fail "the tower was not built as planned"
import sys
text = open(sys.argv[1]).read()
rooms = text.split("\nrooms ")[1].split("\nkinds ")[0].split("\n")[1:]
kinds = sorted(r.split()[0] for r in rooms)
assert kinds == ["elevator", "hotel1", "lobby", "office"], kinds
shaft = next(r.split() for r in rooms if r.startswith("elevator "))
assert shaft[6] == "12", "the shaft should cover 12 cells, storeys 1 to 3: %s" % shaft[:8]
assert "\npeople 7\n" in text, "six workers and a guest"
PY
pass "a lobby, a shaft through three storeys, an office and a room: seven people belong to the tower"

xdotool key space                  # the evening and the night, an hour a step
xdotool keydown ctrl; sleep 1.8; xdotool keyup ctrl
click_button 14                    # the Query Tool, on the shaft's ground cell
found=""
for _ in $(seq 60); do
    click_cell 4 4
    sleep 0.3
    if grep -qE "^  Car .* with [1-8] of 8 aboard" out; then found=1; break; fi
    xdotool key Escape
    sleep 0.7
done
[ -n "$found" ] || fail "in the morning nobody was seen riding the car: $(grep -E '^  (Car|Serves|Average|No rides)' out | tail -n 4)"
import -window root "$E2E_DIR/riding.png"
grep -q "^  Serves storeys 1 to 3$" out || fail "the Query Tool did not say which storeys the shaft serves"
grep -qE "^  Average wait today [0-9.]+ min over [0-9]+ rides$" out || fail "the Query Tool gave no average wait"
pass "people ride the car in the morning: $(grep -E '^  Car .* aboard' out | tail -n 1 | sed 's/^ *//')"
xdotool key Escape
xdotool key Page_Up; sleep 1
import -window root "$E2E_DIR/storey2.png"

xdotool key space; sleep 0.2        # paused: the file must not change between the saves
click_button 2; sleep 0.4
cp save.txt saved-once.txt
grep -qE "^people 7$" saved-once.txt || fail "the save lacks the people"
click_button 3; sleep 0.3
xdotool mousemove $((400 - 74 + 10 + 50)) $((300 - 34 + 40 + 10)); sleep 0.1; xdotool click 1
e2e_wait_for_output "loading map floor" 30 || fail "Load Game did not load"
sleep 0.3
grep -q "start afresh" out && fail "the people did not come back from the save: $(grep afresh out)"
click_button 2; sleep 0.4
cmp -s saved-once.txt save.txt || fail "save, load, save changed the file: $(diff saved-once.txt save.txt | head -n 4)"
pass "save, load and save give the same file, people and cars included"

e2e_shift_escape
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || fail "exit status $E2E_STATUS after Shift+Escape"
