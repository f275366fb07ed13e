#!/usr/bin/env bash
# The living tower from outside. A lobby, an elevator through three storeys,
# two offices beside the lobby, two Suites on storey 2 and an office on storey 3
# served by the car, and a Single Room on a floor island of storey 2 that no
# path reaches. Through the night to the morning the workers come and ride
# the car, and the Query Tool shows its figures; over the next days the
# tenants bring the first star, the Suites pay and the island's room never
# does (read from the ledger), the service view tints the rooms; save, load
# and save again give the same file. With E2E_SHOTS set, the screenshots go
# there too.
set -u
binary="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"
E2E_LIFE=on

shot() {  # name
    import -window root "$E2E_DIR/$1.png" || fail "no screenshot $1"
    [ -n "${E2E_SHOTS:-}" ] && cp "$E2E_DIR/$1.png" "$E2E_SHOTS/"
    return 0
}

# Load Game from the bar and the window's OK.
load_in_game() {
    click_button 3; sleep 0.3
    xdotool mousemove $((400 - 74 + 10 + 50)) $((300 - 34 + 40 + 10)); sleep 0.1; xdotool click 1
    e2e_wait_for_output "loading map floor" 30 || fail "Load Game did not load"
    sleep 0.3
}

e2e_play_in_copy
e2e_start_game "$binary"
e2e_new_game_paused
for x in 3 4 5 6 7 8; do for y in 3 4 5 6; do click_cell "$x" "$y"; done; done
click_button 6; click_cell 6 3; click_cell 6 4   # the lobby
click_button 7; click_cell 4 4                   # the elevator over (3..4, 3..4)
click_button 2; sleep 0.4
# More money than a new game has, for the rooms a star needs.
sed -i '1s/.*/20000.000000/' save.txt
load_in_game
click_button 10; click_cell 8 4; click_cell 8 6  # two offices beside the lobby
click_button 5
for z in 1 2; do
    xdotool key Page_Up; sleep 0.2
    for x in 3 4 5 6; do for y in 3 4 5 6; do click_cell "$x" "$y" "$z"; done; done
    [ "$z" = 1 ] && { click_cell 8 3 1; click_cell 8 4 1; }   # the island on storey 2
done
click_button 10; click_cell 6 6 2                # an office on storey 3
xdotool key Page_Down; sleep 0.2
click_button 9; click_cell 6 6 1; click_cell 6 5 1  # two Suites on storey 2
click_button 8; click_cell 8 3 1                 # a Single Room on the island
xdotool key Page_Down; sleep 0.2
click_button 2; sleep 0.4
python3 - save.txt <<'PY' || fail "the tower was not built as planned"
import sys
text = open(sys.argv[1]).read()
rooms = text.split("\nrooms ")[1].split("\nkinds ")[0].split("\n")[1:]
kinds = sorted(r.split()[0] for r in rooms)
assert kinds == ["elevator", "hotel1", "hotel2", "hotel2", "lobby", "office", "office", "office"], kinds
shaft = next(r.split() for r in rooms if r.startswith("elevator "))
assert shaft[6] == "12", "the shaft should cover 12 cells, storeys 1 to 3: %s" % shaft[:8]
assert "\npeople 23\n" in text, "eighteen workers and five guests"
PY
pass "a lobby, a shaft through three storeys, three offices, two Suites and an island's room: 23 people belong to the tower"

xdotool key space                  # the night, an hour a step
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
shot riding
grep -q "^  Serves storeys 1 to 3$" out || fail "the Query Tool did not say which storeys the shaft serves"
grep -qE "^  Average wait today [0-9.]+ min over [0-9]+ rides$" out || fail "the Query Tool gave no average wait"
pass "people ride the car in the morning: $(grep -E '^  Car .* aboard' out | tail -n 1 | sed 's/^ *//')"
xdotool key Escape

# Days on, until a Suite has paid (every other day, when it had guests the
# night before) or a week has gone by; each loop saves, so the ledger tells.
ledger_rents() {  # the rent of each day in save.txt's ledger, whole dollars
    python3 - save.txt <<'PY'
import sys
lines = open(sys.argv[1]).read().split("\n")
at = next(i for i, l in enumerate(lines) if l.startswith("ledger "))
print(" ".join(str(round(float(l.split()[1]))) for l in lines[at + 1:at + 1 + int(lines[at].split()[1])]))
PY
}
# The offices pay 900 a week, each Suite 120 every other day; the island's
# Single Room, had it paid, would add 40 a day.
suite_paid() {
    local rent
    for rent in $(ledger_rents); do ((rent % 900 == 120 || rent % 900 == 240)) && return 0; done
    return 1
}
for _ in $(seq 120); do
    xdotool keydown ctrl; sleep 1; xdotool keyup ctrl
    click_button 2; sleep 0.3
    suite_paid && break
    [ "$(sed -n 2p save.txt | cut -d' ' -f3)" -ge 8 ] && break
done
xdotool key space; sleep 0.2       # paused from here on
click_button 2; sleep 0.4
rents="$(ledger_rents)"
suite_paid || fail "no Suite ever paid: rent by day $rents"
for rent in $rents; do
    ((rent % 900 % 120 == 0)) || fail "rent the island's room may have paid: rent by day $rents"
done
pass "the Suites upstairs paid their 120 and the island's Single Room never paid: rent by day $rents ($(sed -n 2p save.txt))"
e2e_said "The tower has one star! Storeys up to 4 are open." || fail "the tenants brought no star: $(grep -i star out | tail -n 2)"
pass "the offices' and the Suites' tenants brought the first star"

click_button 14
xdotool key Page_Up; sleep 0.5
click_cell 8 3 1; sleep 0.3
grep -q "^  Not reachable: no floor leads to it from a shaft$" out || fail "the Query Tool did not say why the island's room is out of reach"
xdotool key Escape
click_cell 6 6 1; sleep 0.3
grep -q "^  Reachable from the lobby$" out || fail "the Query Tool did not call the Suite reachable"
xdotool key Escape; sleep 0.3
pass "the Query Tool names the island's room unreachable and the Suite reachable"
shot storey2
xdotool key s; sleep 0.5
shot service-view
changed=$(compare -metric AE "$E2E_DIR/storey2.png" "$E2E_DIR/service-view.png" null: 2>&1 | cut -d' ' -f1)
[ "${changed:-0}" -gt 2000 ] || fail "the service view tints nothing ($changed pixels changed)"
xdotool key s; sleep 0.3
pass "the service view tints the rooms ($changed pixels change)"

click_button 2; sleep 0.4
cp save.txt saved-once.txt
grep -qE "^people 23$" saved-once.txt || fail "the save lacks the people"
load_in_game
grep -q "start afresh" out && fail "the people did not come back from the save: $(grep afresh out)"
click_button 2; sleep 0.4
cmp -s saved-once.txt save.txt || fail "save, load, save changed the file: $(diff saved-once.txt save.txt | head -n 4)"
pass "save, load and save give the same file, people, cars and tenants included"

e2e_shift_escape
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || fail "exit status $E2E_STATUS after Shift+Escape"
