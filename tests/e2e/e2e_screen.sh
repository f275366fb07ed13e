#!/usr/bin/env bash
# Any screen, any evening: on a 1280 x 1024 screen with a window manager, a
# game started from a save file (-load) runs through two dawns with Ctrl
# held, autosaving at each, while F11 fills the screen with the game and a
# resize to 1000 x 700 brings the status line along the new bottom edge;
# quitting autosaves a third time, save.txt untouched. Then, without a window
# manager, -w 640 -h 480 -scale 2 gives a 1280 x 960 window that loads an
# autosave, where a click builds on the cell under the pointer, and quitting
# replaces the oldest autosave. Screenshots stay in the work directory.
set -u
binary="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"

e2e_start_x 1280x1024x24
cp -r "$E2E_REPO/assets" "$E2E_REPO/config.xml" "$E2E_DIR/"
cd "$E2E_DIR" || fail "no work directory"

border="srgb(52,124,178)"      # config.xml's interface colours
background="srgb(40,46,58)"
pixel() { convert "$1" -format "%[pixel:p{$2,$3}]" info:; }  # file x y

clock_of() { sed -n 2p "$1"; }  # a save's clock: minute hour day month year

# A tower of a few rooms at 05:00 of day 1; save.txt is the player's own and
# must come out of the evening as it went in.
{ head -n 1 "$E2E_REPO/tests/fuzz/corpus/save/rooms.txt"; echo "0 5 1 1 1"
  tail -n +3 "$E2E_REPO/tests/fuzz/corpus/save/rooms.txt"; } >start.txt
cp start.txt save.txt
saved="$(md5sum <save.txt)"

openbox >/dev/null 2>&1 &
openbox_pid=$!
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
e2e_wait_until 10 wm_ready || fail "the window manager did not start"
e2e_start_game "$binary" -load start.txt
e2e_wait_for_output "Game loaded from start.txt" 50 || fail "-load start.txt did not load it"
xdotool windowactivate --sync "$E2E_WINDOW"
xdotool keydown ctrl  # an hour a game minute
e2e_wait_for_output "Autosaved to autosave-1.txt" 50 || fail "no autosave at 06:00"
pass "-load started in the tower of start.txt, autosaved at 06:00"

xdotool key F11
e2e_wait_for_output "Full screen" 30 || fail "no word of full screen on standard output"
e2e_wait_until 5 e2e_window_fills_screen 1280x1024 || fail "F11 did not make the window the size of the screen"
sleep 0.5
import -window root fullscreen.png
[ "$(pixel fullscreen.png 0 1023)" = "$border" ] && [ "$(pixel fullscreen.png 1275 3)" = "$background" ] ||
    fail "full screen: the status line is not along the screen's bottom or the bar not across its top"
xdotool key F11
e2e_wait_for_output "Window" 30 || fail "no word of the window on standard output"
pass "F11: the game filled the 1280 x 1024 screen, bar at the top, status line at the bottom, and came back"

e2e_find_window
xdotool windowsize "$E2E_WINDOW" 1000 700
laid_out_again() {
    import -window "$E2E_WINDOW" resized.png 2>/dev/null &&
        [ "$(identify -format %wx%h resized.png)" = 1000x700 ] &&
        [ "$(pixel resized.png 0 699)" = "$border" ] && [ "$(pixel resized.png 6 680)" = "$background" ]
}
e2e_wait_until 5 laid_out_again || fail "after a resize to 1000 x 700 the status line is not along the bottom"
pass "a resize to 1000 x 700 laid the status line along the new bottom edge"

e2e_wait_for_output "Autosaved to autosave-2.txt" 400 || fail "no autosave at the next dawn"
xdotool keyup ctrl
e2e_shift_escape
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || fail "exit status $E2E_STATUS"
e2e_said "Autosaved to autosave-3.txt" || fail "quitting did not autosave"
[ "$(clock_of autosave-1.txt)" = "0 6 1 1 1" ] && [ "$(clock_of autosave-2.txt)" = "0 6 2 1 1" ] ||
    fail "the autosaves hold $(clock_of autosave-1.txt) and $(clock_of autosave-2.txt), not the two dawns"
[ "$(md5sum <save.txt)" = "$saved" ] || fail "save.txt changed"
[ ! -e autosave-1.txt.tmp ] && [ ! -e autosave-2.txt.tmp ] && [ ! -e autosave-3.txt.tmp ] ||
    fail "a temporary file was left beside the autosaves"
pass "two dawns and the quit gave autosave-1, -2 and -3; save.txt untouched"
kill "$openbox_pid" 2>/dev/null
wait "$openbox_pid" 2>/dev/null

# Scale 2, without a window manager to fit the window to the screen. The
# shipped config.xml sets a size, which -w and -h do not override.
sed 's/width="800" height="600"/width="0" height="0"/' config.xml >unsized.xml
e2e_start_game "$binary" -config unsized.xml -w 640 -h 480 -scale 2 -load autosave-2.txt
e2e_wait_for_output "Game loaded from autosave-2.txt" 50 || fail "-load of an autosave did not load it"
[ "$(xwininfo -id "$E2E_WINDOW" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}')" = 1280x960 ] ||
    fail "-w 640 -h 480 -scale 2 did not give a 1280 x 960 window"
# Cell (7, 3) on the ground, with the camera 16 pixels left of the middle of 640.
x=$((2 * (304 + (7 - 3) * 64))) y=$((2 * ((7 + 3) * 32 + 32)))
xdotool mousemove --window "$E2E_WINDOW" "$x" $((y + 2))
sleep 0.1
xdotool mousemove --window "$E2E_WINDOW" "$x" "$y" click 1
sleep 0.3
import -window root scaled.png
xdotool key shift+Escape
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || fail "exit status $E2E_STATUS at scale 2"
e2e_said "Autosaved to autosave-1.txt" || fail "the quit did not replace the oldest autosave, autosave-1.txt"
python3 - autosave-1.txt <<'PY' || fail "the click at scale 2 did not build on the cell under the pointer"
import sys
lines = open(sys.argv[1]).read().split("\n")
assert lines[1] .split()[2] == "2", f"the clock {lines[1]} is not day 2's"
tiles = [tuple(map(int, line.split())) for line in lines[3:3 + 4000]]
built = [(i // 20, i % 20) for i, tile in enumerate(tiles[:400]) if tile[0] == 2]
assert (7, 3) in built, f"ground floors at {built}"
PY
[ "$(md5sum <save.txt)" = "$saved" ] || fail "save.txt changed at scale 2"
pass "-w 640 -h 480 -scale 2: a 1280 x 960 window loaded autosave-2.txt, a click built under the pointer, the quit replaced autosave-1.txt"
