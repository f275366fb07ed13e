#!/usr/bin/env bash
# Nothing the player built is lost and nothing is gained for free: a tower is
# saved, then a folder, an empty file, a file cut after the clock, one with a
# bad grid line and one with a junk first line are each loaded from the game
# and refused, and the next save equals the first; a read-only save.txt
# survives a save byte for byte with its mode; a room built before a
# midnight and undone after it gives no money back.
set -u
binary="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"

e2e_play_in_copy

# Load Game from the bar and the window's OK; waits until the game has
# either read the file or refused it unread.
loads=0
load_in_game() {  # what
    click_button 3
    sleep 0.3
    # The window is 148 x 82 centred in 800 x 600: OK sits 10 px in, 40 px down.
    xdotool mousemove $((400 - 74 + 10 + 50)) $((300 - 34 + 40 + 10))
    sleep 0.1
    xdotool click 1
    loads=$((loads + 1))
    for _ in $(seq 50); do
        [ "$(grep -cE '^loading map floor$|was not read$' out)" -ge "$loads" ] && break
        sleep 0.1
    done
    [ "$(grep -cE '^loading map floor$|was not read$' out)" -ge "$loads" ] || fail "$1: the load never happened"
    sleep 0.2
}
save_in_game() {
    click_button 2
    sleep 0.4
}
funds() { head -n 1 "$1"; }

e2e_start_game "$binary"
e2e_new_game_paused
for x in 3 4 5; do for y in 3 4; do click_cell "$x" "$y"; done; done
click_button 6
click_cell 3 3
click_button 8
click_cell 5 4
save_in_game
[ -s save.txt ] || fail "Save Game wrote no save.txt"
cp save.txt first.txt
grep -q "^hotel1 5 4 0 " first.txt || fail "the first save lacks the Single Room"

clock_end=$(head -n 2 first.txt | wc -c)
bad_file() {  # what
    rm -rf save.txt
    case "$1" in
    "a folder") mkdir save.txt ;;
    "an empty file") : >save.txt ;;
    "a file cut after the clock") head -c "$clock_end" first.txt >save.txt ;;
    "a bad grid line") { head -n 2 first.txt; echo "10 20"; tail -n +4 first.txt; } >save.txt ;;
    "a junk first line") { echo "Tower of the week"; tail -n +2 first.txt; } >save.txt ;;
    esac
}
for what in "a folder" "an empty file" "a file cut after the clock" "a bad grid line" "a junk first line"; do
    bad_file "$what"
    before=$(wc -l <out)
    load_in_game "$what"
    said=$(tail -n +$((before + 1)) out | grep -vE '^loading map floor$' | paste -sd '|')
    rm -rf save.txt
    save_in_game
    diff <(sed 2d first.txt) <(sed 2d save.txt) >/dev/null || fail "$what: the tower changed after the refused load"
    pass "$what: refused (\"$said\"), and the next save equals the first"
done

chmod 444 save.txt
click_cell 6 3
save_in_game
cmp -s first.txt save.txt || fail "a read-only save.txt was replaced"
[ "$(stat -c %a save.txt)" = 444 ] || fail "a read-only save.txt changed its mode to $(stat -c %a save.txt)"
[ ! -e save.txt.tmp ] || fail "a temporary file was left beside save.txt"
pass "a read-only save.txt stays byte for byte, mode 444"
chmod 644 save.txt

# 23:00 on day 1: a Single Room built now earns $40 at midnight.
click_button 8
click_cell 3 4
save_in_game
built=$(funds save.txt)
xdotool key space   # time runs; Ctrl makes each step a whole hour
sleep 0.2
xdotool keydown ctrl
sleep 1.2
xdotool keyup ctrl
xdotool key space
sleep 0.3
save_in_game
paid=$(funds save.txt)
python3 -c "import sys; sys.exit(0 if float('$paid') > float('$built') else 1)" ||
    fail "no rent came in at midnight ($built, then $paid)"
xdotool keydown ctrl
xdotool key z
xdotool keyup ctrl
sleep 0.3
save_in_game
[ "$(funds save.txt)" = "$paid" ] || fail "undo after the midnight paid back: $paid, then $(funds save.txt)"
grep -q "^hotel1 3 4 0 " save.txt || fail "undo after the midnight took the room away"
pass "a room built before midnight and undone after: refused, no gain ($built, $paid after rent, $paid after undo)"

e2e_shift_escape
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || fail "exit status $E2E_STATUS after Shift+Escape"
