#!/usr/bin/env bash
# How play feels at the game's real frame rate: a held arrow key scrolls by
# held time, a click made straight after the button bar builds under the
# pointer, the Query Tool and the finances window open, and after a midnight
# the finances show the rent the funds gained. Screenshots of both windows
# are left in the work directory.
set -u
binary="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"

e2e_play_in_copy

camera_x() {  # the camera's x as the D key prints it
    local before
    before=$(grep -c "^camera x:" out)
    xdotool key d
    for _ in $(seq 50); do
        [ "$(grep -c "^camera x:" out)" -gt "$before" ] && break
        sleep 0.1
    done
    grep "^camera x:" out | tail -n 1 | sed 's/camera x: \(-*[0-9]*\),.*/\1/'
}

e2e_start_game "$binary"
xdotool key n
e2e_wait_for_output "state change successful: MAP" || fail "N did not start a game"
xdotool mousemove 400 300
sleep 0.3

start=$(camera_x)
xdotool keydown Right
sleep 1
xdotool keyup Right
sleep 0.2
moved=$((start - $(camera_x)))
[ "$moved" -ge 100 ] && [ "$moved" -le 600 ] || fail "one second of the right arrow moved the view $moved pixels"
pass "one second of a held arrow key scrolled $moved pixels"
xdotool key Left   # a tap scrolls a few pixels at most; the view stays about where it was
sleep 0.2
# Back to about where it started, so the cells below stay in the window
# however far a busy machine let the held key scroll.
xdotool keydown Left
sleep 1
xdotool keyup Left
sleep 0.2
x0=$(camera_x)
cell_px() { echo $((x0 + ($1 - $2) * 64)); }
click_cell_at() { move_twice_and_click "$1" "$2" "$E2E_CELL_PAUSE"; }

xdotool key space  # paused while building
xdotool mousemove "$(cell_px 3 3)" "$(cell_y 3 3)"
sleep 0.2
xdotool mousemove 180 16            # over the bar: the cursor hides at (3, 3)
sleep 0.2
xdotool mousemove "$(cell_px 6 6)" "$(cell_y 6 6)" click 1
sleep 0.3
click_button 2
sleep 0.4
python3 - save.txt <<'PY' || fail "the click straight after the bar did not build under the pointer"
import sys
tiles = [tuple(map(int, l.split())) for l in open(sys.argv[1]).read().split("\n")[3:3 + 4000]]
assert tiles[6 * 20 + 6][0] == 2, f"(6,6) is {tiles[6 * 20 + 6]}"
assert tiles[3 * 20 + 3][0] != 2, f"(3,3), where the cursor stood, is {tiles[3 * 20 + 3]}"
PY
pass "a click straight after the button bar built under the pointer"

for y in 5 6 7; do click_cell_at "$(cell_px 5 "$y")" "$(cell_y 5 "$y")"; done
click_button 6
click_cell_at "$(cell_px 5 5)" "$(cell_y 5 5)"
click_button 8
click_cell_at "$(cell_px 5 7)" "$(cell_y 5 7)"
click_button 14                     # Query Tool
click_cell_at "$(cell_px 5 7)" "$(cell_y 5 7)"
e2e_wait_for_output "  Borders the lobby's walkable area" 30 || fail "the Query Tool did not describe the room"
import -window root "$E2E_DIR/query.png"
pass "the Query Tool described the Single Room ($(grep -c '^Query Tool:' out) queries)"
xdotool key Escape
sleep 0.2

click_button 2
sleep 0.4
funds_before=$(head -n 1 save.txt)
xdotool key space                   # time runs again
xdotool keydown ctrl                # an hour a step: past midnight at once
sleep 1.2
xdotool keyup ctrl
sleep 0.3
click_button 2
sleep 0.4
gained=$(python3 -c "import sys; print('%.0f' % (float(open('save.txt').readline()) - float(sys.argv[1])))" "$funds_before")
[ "$gained" -gt 0 ] || fail "no rent arrived at midnight"
click_button 13                     # Show Finances
e2e_wait_for_output "Finances:" 30 || fail "the finances window did not open"
sleep 0.3
grep -qF "  Rent of the last 14 days: \$$gained, today \$$gained" out ||
    fail "the finances do not show the \$$gained the funds gained: $(grep 'Rent of the last' out)"
import -window root "$E2E_DIR/finances.png"
pass "after midnight the finances show the \$$gained of rent the funds gained"

! grep -q "Unknown event code" err || fail "the console says: $(cat err)"
pass "no unknown event code on the console"
e2e_press Escape

# Full screen: a window as large as the screen holds the game, laid out for
# the screen's size; the bar's buttons still answer under the pointer.
screen_sized_window_shown() { e2e_window_fills_screen 1024x768; }
windowed() { ! screen_sized_window_shown; }
windowed || fail "a screen-sized window before full screen"
e2e_press F11
e2e_wait_until 5 screen_sized_window_shown || fail "F11 did not make the window the size of the screen"
e2e_wait_for_output "Full screen" 20 || fail "no word of full screen on standard output"
finances_before=$(grep -c "^Finances:" out)
move_twice_and_click $((13 * 32 + 16)) 15 0.4  # the bar, along the screen's top edge
[ "$(grep -c "^Finances:" out)" -gt "$finances_before" ] || fail "the finances button did not answer in full screen"
import -window root "$E2E_DIR/fullscreen.png"
e2e_press Escape
e2e_press F11
e2e_wait_until 5 windowed || fail "F11 again did not go back to the window"
e2e_wait_for_output "Window" 20 || fail "no word of the window on standard output"
pass "F11 switched to full screen, where the bar still answered, and back"

xdotool key shift+Escape
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || fail "exit status $E2E_STATUS"

e2e_start_game "$binary" -fullscreen
e2e_wait_until 5 screen_sized_window_shown || fail "-fullscreen did not start in full screen"
e2e_press Escape
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || fail "exit status $E2E_STATUS after -fullscreen"
pass "-fullscreen starts in full screen"
