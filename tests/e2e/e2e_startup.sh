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
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root" || exit 2
work="$(mktemp -d /tmp/zentrova-startup-XXXXXX)"
xvfb_pid=""
game_pid=""
status=0

cleanup() {
    if [ -n "$game_pid" ]; then
        kill -KILL "$game_pid" 2>/dev/null
        wait "$game_pid" 2>/dev/null
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -n "$xvfb_pid" ] && ! kill -0 "$xvfb_pid" 2>/dev/null; then
        echo "(the X server on $DISPLAY is gone)" >&2
    fi
    for log in out err; do
        if [ -s "$work/$log" ]; then
            echo "--- game std$log:" >&2
            tail -n 15 "$work/$log" >&2
            echo >&2
        fi
    done
    exit 1
}

check() { echo "check: $*"; }

# In a sanitizer build, leaks inside the X and SDL libraries would turn a clean
# exit into a failure; our own leaks are still reported.
printf 'leak:libX11.so\nleak:libSDL-1.2.so\nleak:libasound.so\n' >"$work/lsan.supp"
export LSAN_OPTIONS="suppressions=$work/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

# wait_until SECONDS COMMAND...: polls every tenth of a second.
wait_until() {
    local tenths=$(($1 * 10))
    shift
    local i
    for ((i = 0; i < tenths; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

said() { grep -qxF "$1" "$work/out"; }
running() { kill -0 "$game_pid" 2>/dev/null; }
stopped() { ! running; }

start_game() {
    : >"$work/out"
    : >"$work/err"
    SDL_AUDIODRIVER=dummy "$binary" "$@" >"$work/out" 2>"$work/err" &
    game_pid=$!
    wait_until 10 said "everything started correctly" || fail "the game did not report a correct start"
}

# Waits for the game to end and leaves its exit status in $status.
finish_game() {
    wait_until 10 stopped || fail "the game did not end within 10 seconds"
    wait "$game_pid"
    status=$?
    game_pid=""
}

find_window() {
    window="$(xdotool search --name '^Zentrova--FPS: [0-9]+$' 2>/dev/null | head -n 1)"
    [ -n "$window" ]
}

press() {
    # Without a window manager the keyboard follows the pointer.
    xdotool mousemove --window "$window" 5 5
    xdotool key "$1"
}

count_lines() { grep -cxF "$1" "$work/out"; }

# --- a private X server -------------------------------------------------------
# A display number of our own, well away from the ones other tools pick first;
# -noreset, because a server that resets after each game refuses the next one for a moment.
start_xvfb() {
    local n
    for ((n = 200 + RANDOM % 700, tries = 0; tries < 20; n++, tries++)); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset 2>"$work/xvfb.log" &
        xvfb_pid=$!
        export DISPLAY=":$n"
        if wait_until 10 xvfb_ready; then
            return 0
        fi
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
        xvfb_pid=""
    done
    return 1
}
xvfb_ready() { kill -0 "$xvfb_pid" 2>/dev/null && xdotool getmouselocation >/dev/null 2>&1; }
start_xvfb || fail "could not start Xvfb: $(cat "$work/xvfb.log")"
echo "using display $DISPLAY"

# --- start, caption, screenshot, N, Shift+Escape -----------------------------
check "the game starts on the main menu"
start_game
grep -q '^state change successful' "$work/out" && fail "the first screen must come without a state change line"

check "the caption reads 'Zentrova--FPS: N' about two seconds after the menu appeared"
wait_until 8 find_window || fail "no window captioned 'Zentrova--FPS: N' (got: $(xdotool search --name Zentrova getwindowname %@ 2>/dev/null))"
caption="$(xdotool getwindowname "$window")"
[[ "$caption" =~ ^Zentrova--FPS:\ [0-9]+$ ]] || fail "caption is '$caption'"
echo "  caption: $caption"

check "the menu is drawn (screenshot not all black)"
import -window root "$work/shot.png" || fail "could not take a screenshot"
mean="$(convert "$work/shot.png" -format '%[fx:mean]' info:)"
awk -v m="$mean" 'BEGIN { exit !(m > 0.01) }' || fail "the screenshot is black (mean $mean)"
echo "  mean brightness $mean"

check "pressing N leaves the menu for the tower"
press n
wait_until 10 said "state change successful: MAP" || fail "no 'state change successful: MAP' after N"

check "Shift+Escape on the tower ends the game cleanly"
# The tower screen reads Shift from the keyboard state when Escape arrives, so
# Shift goes down in an earlier frame than Escape and comes up after it.
xdotool mousemove --window "$window" 5 5
xdotool keydown shift
sleep 0.3
xdotool key Escape
sleep 0.3
xdotool keyup shift
finish_game
[ "$status" -eq 0 ] || fail "exit status $status after Shift+Escape"
[ "$(count_lines "OMG, EXIT PROGRAM!")" -eq 1 ] || fail "'OMG, EXIT PROGRAM!' should be written exactly once"
said "Cleaning up" || fail "no 'Cleaning up' at shut-down"

# --- Escape on the menu ---------------------------------------------------------
check "Escape on the menu ends the game with status 0"
start_game
wait_until 8 find_window || fail "no menu window"
press Escape
finish_game
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
[ "$(count_lines "OMG, EXIT PROGRAM!")" -eq 1 ] || fail "'OMG, EXIT PROGRAM!' should be written exactly once"
said "Cleaning up" || fail "no 'Cleaning up' after Escape"

# --- SIGTERM ---------------------------------------------------------------------
check "SIGTERM ends a running game cleanly with status 0"
start_game
sleep 0.5
kill -TERM "$game_pid"
finish_game
[ "$status" -eq 0 ] || fail "exit status $status after SIGTERM"
said "Cleaning up" || fail "no 'Cleaning up' after SIGTERM"

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
