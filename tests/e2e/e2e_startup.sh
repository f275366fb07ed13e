#!/usr/bin/env bash
# Runs the real game under a private virtual X server: start-up on the main
# menu, the frame-rate caption, leaving the menu, the three ways of ending,
# a settings file that is short of elements, and the icon conversion.
# Usage: e2e_startup.sh path/to/zentrova
set -u

if [ $# -lt 1 ] || [ ! -x "$1" ]; then
    echo "usage: $0 path/to/zentrova" >&2
    exit 2
fi
binary="$(readlink -f "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
source "$here/lib.sh"

e2e_start_x
work="$E2E_DIR"
# The game plays in a copy of its data: leaving the tower autosaves where it runs.
mkdir "$work/game"
cp -r "$root/assets" "$root/config.xml" "$work/game/"
cd "$work/game" || exit 2
echo "using display $DISPLAY"

find_window() {
    window="$(xdotool search --name '^Zentrova--FPS: [0-9]+$' 2>/dev/null | head -n 1)"
    [ -n "$window" ]
}

# --- start, caption, screenshot, N, Shift+Escape -----------------------------
check "the game starts on the main menu"
e2e_start_game "$binary"
grep -q '^state change successful' "$work/out" && fail "the first screen must come without a state change line"

check "the caption reads 'Zentrova--FPS: N' about two seconds after the menu appeared"
e2e_wait_until 8 find_window || fail "no window captioned 'Zentrova--FPS: N' (got: $(xdotool search --name Zentrova getwindowname %@ 2>/dev/null))"
caption="$(xdotool getwindowname "$window")"
[[ "$caption" =~ ^Zentrova--FPS:\ [0-9]+$ ]] || fail "caption is '$caption'"
echo "  caption: $caption"

check "the menu is drawn (screenshot not all black)"
import -window root "$work/shot.png" || fail "could not take a screenshot"
mean="$(convert "$work/shot.png" -format '%[fx:mean]' info:)"
awk -v m="$mean" 'BEGIN { exit !(m > 0.01) }' || fail "the screenshot is black (mean $mean)"
echo "  mean brightness $mean"

check "pressing N leaves the menu for the tower"
e2e_press n
e2e_wait_until 10 e2e_said "state change successful: MAP" || fail "no 'state change successful: MAP' after N"

check "Shift+Escape on the tower ends the game cleanly"
e2e_shift_escape
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || fail "exit status $E2E_STATUS after Shift+Escape"
[ "$(e2e_count_lines "OMG, EXIT PROGRAM!")" -eq 1 ] || fail "'OMG, EXIT PROGRAM!' should be written exactly once"
e2e_said "Cleaning up" || fail "no 'Cleaning up' at shut-down"

# --- Escape on the menu ---------------------------------------------------------
check "Escape on the menu ends the game with status 0"
e2e_start_game "$binary"
e2e_wait_until 8 find_window || fail "no menu window"
e2e_press Escape
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || fail "exit status $E2E_STATUS after Escape"
[ "$(e2e_count_lines "OMG, EXIT PROGRAM!")" -eq 1 ] || fail "'OMG, EXIT PROGRAM!' should be written exactly once"
e2e_said "Cleaning up" || fail "no 'Cleaning up' after Escape"

# --- SIGTERM ---------------------------------------------------------------------
check "SIGTERM ends a running game cleanly with status 0"
e2e_start_game "$binary"
sleep 0.5
kill -TERM "$E2E_GAME_PID"
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || fail "exit status $E2E_STATUS after SIGTERM"
e2e_said "Cleaning up" || fail "no 'Cleaning up' after SIGTERM"

# --- a settings file with two elements -------------------------------------------
check "a settings file of two elements names the three missing ones and fails with 255"
mkdir "$work/config"
printf '<?xml version="1.0" ?>\n<window width="800" height="600" />\n<sound effects="off" music="off" />\n' \
    >"$work/config/short.xml"
"$binary" -config "$work/config/short.xml" >"$work/out" 2>"$work/err"
status=$?
[ "$status" -eq 255 ] || fail "exit status $status, expected 255"
printf '%s' "Error finding <required> element in settings.xml" \
    "Error finding <plugins> element in settings.xml" \
    "Error finding <background> element in settings.xml" \
    "Failed to load settings from config.xml, exiting" >"$work/expected_err"
cmp -s "$work/expected_err" "$work/err" || fail "stderr was '$(cat "$work/err")'"
printf 'something went horribly wrong\n' >"$work/expected_out"
cmp -s "$work/expected_out" "$work/out" || fail "stdout was '$(cat "$work/out")'"

# --- icon conversion ---------------------------------------------------------------
convert_icon() {
    (cd "$work/icons" && "$binary" -iconconvert "$1" >"$work/out" 2>"$work/err")
    status=$?
    [ "$status" -eq 0 ] || fail "-iconconvert $1 ended with status $status"
    [ -s "$work/out" ] && fail "-iconconvert $1 wrote to stdout: $(cat "$work/out")"
    [ -f "$work/icons/icon_result.txt" ] || fail "-iconconvert $1 wrote no icon_result.txt"
}

expect_icon() {  # path size base64
    printf 'Icon filename: %s\nIcon file size: %d bytes.\nConverted file size: %d bytes.\nConverted file information (copy this into the xml):\n\n<icon>%s</icon>' \
        "$1" "$2" "${#3}" "$3" >"$work/expected_icon"
    cmp -s "$work/expected_icon" "$work/icons/icon_result.txt" ||
        fail "icon_result.txt for $1 differs: $(head -c 300 "$work/icons/icon_result.txt")"
}

mkdir "$work/icons"
: >"$work/icons/zero.bin"
printf 'abc' >"$work/icons/three.bin"
printf 'abcd' >"$work/icons/four.bin"

check "-iconconvert of an empty file reports the encoding error"
convert_icon zero.bin
printf 'Icon filename: zero.bin\nIcon file size: 0 bytes.\nThere was an error in the encoding allocation.\n' \
    >"$work/expected_icon"
cmp -s "$work/expected_icon" "$work/icons/icon_result.txt" ||
    fail "icon_result.txt for an empty file: $(cat "$work/icons/icon_result.txt")"

check "-iconconvert of 3 and 4 bytes gives 4 and 8 characters"
convert_icon three.bin
expect_icon three.bin 3 "YWJj"
convert_icon four.bin
expect_icon four.bin 4 "YWJjZA=="

check "-iconconvert of assets/icons/office.png matches base64 -w0"
office="$root/assets/icons/office.png"
convert_icon "$office"
expect_icon "$office" "$(stat -c %s "$office")" "$(base64 -w0 "$office")"

echo "all start-up checks passed"
exit 0
