#!/usr/bin/env bash
# Plays one scripted session of the real game under valgrind's memcheck in a
# private Xvfb: start, new game, build, save, load, exit to the menu, back to
# the tower, exit to the menu again and quit from there. Fails on any
# definite or indirect leak, or memory error, that the suppressions in
# tools/valgrind.supp (library-held memory only) do not explain.
#   usage: tools/valgrind.sh [path/to/zentrova]   (default build/zentrova)
# Too slow for CI: valgrind runs the game about fifty times slower.
set -u
repo="$(cd "$(dirname "$0")/.." && pwd)"
binary="$(realpath "${1:-$repo/build/zentrova}")"
# A game under valgrind runs many times slower: give every click time.
E2E_MOVE_PAUSE=0.5 E2E_CELL_PAUSE=1 E2E_BUTTON_PAUSE=1.5
source "$repo/tests/e2e/lib.sh"
E2E_KEEP=1  # the valgrind log stays for a look
command -v valgrind >/dev/null || { echo "needs valgrind: apt-get install valgrind" >&2; exit 2; }

e2e_start_x
cp -r "$repo/assets" "$repo/config.xml" "$E2E_DIR/"
cd "$E2E_DIR" || fail "no work directory"
log="$E2E_DIR/valgrind.log"

SDL_AUDIODRIVER=dummy valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=definite,indirect --suppressions="$repo/tools/valgrind.supp" \
    --gen-suppressions=all --num-callers=30 --log-file="$log" "$binary" >"$E2E_DIR/out" 2>"$E2E_DIR/err" &
E2E_GAME_PID=$!

step() {  # text to wait for, what
    e2e_wait_for_output "$1" 1200 || fail "$2: no \"$1\" within 120 s (valgrind log: $log)"
    sleep 1
}
point_at_game() {
    local window
    window="$(xdotool search --name Zentrova 2>/dev/null | head -n 1)"
    [ -n "$window" ] && xdotool mousemove --window "$window" 5 5
    sleep 0.5
}
click_at() {  # x y
    xdotool mousemove "$1" "$2"
    sleep 0.5
    xdotool click 1
    sleep 1.5
}

step "everything started correctly" "start"
point_at_game
xdotool key n
step "state change successful: MAP" "new game"
xdotool key space                       # paused: the build below costs no rent
for cell in "3 3" "3 4" "4 3" "4 4"; do click_cell $cell; done
click_button 6                     # lobby
click_cell 4 4
click_button 2                     # save
for _ in $(seq 60); do [ -s save.txt ] && break; sleep 0.5; done
[ -s save.txt ] || fail "save: no save.txt"
click_button 3                     # load, then the window's OK
click_at $((400 - 74 + 10 + 50)) $((300 - 30 + 60 + 22 - 50 + 14))
step "loading map floor" "load"
# Exit to the menu: the 28-column, two-line window puts OK here.
click_button 1
click_at $((400 - 122 + 10 + 50)) $((300 - 34 + 68 + 22 - 50 + 14))
step "state change successful: MENU" "exit to the menu"
point_at_game
xdotool key n
e2e_wait_for_output "state change successful: MAP" 1200 || fail "back to the tower"
sleep 1
click_button 1
click_at $((400 - 122 + 10 + 50)) $((300 - 34 + 68 + 22 - 50 + 14))
[ "$(grep -c "state change successful: MENU" "$E2E_DIR/out")" = 2 ] || sleep 3
[ "$(grep -c "state change successful: MENU" "$E2E_DIR/out")" = 2 ] || fail "second exit to the menu"
point_at_game
xdotool key Escape                      # quit from the menu, the game still alive
for _ in $(seq 600); do kill -0 "$E2E_GAME_PID" 2>/dev/null || break; sleep 0.5; done
kill -0 "$E2E_GAME_PID" 2>/dev/null && fail "the game did not end within 300 s of Escape"
wait "$E2E_GAME_PID"
status=$?
E2E_GAME_PID=""

echo "--- valgrind's summary (full log: $log)"
sed -n '/LEAK SUMMARY/,/suppressed:/p;/ERROR SUMMARY/p' "$log" | sed 's/^==[0-9]*== //'
definite=$(grep -o 'definitely lost: [0-9,]* bytes' "$log" | grep -o '[0-9,]* bytes' | tr -d ',' | cut -d' ' -f1)
indirect=$(grep -o 'indirectly lost: [0-9,]* bytes' "$log" | grep -o '[0-9,]* bytes' | tr -d ',' | cut -d' ' -f1)
errors=$(grep -o 'ERROR SUMMARY: [0-9]*' "$log" | grep -o '[0-9]*$')
[ "$status" = 0 ] || fail "exit status $status"
[ "${definite:-0}" = 0 ] && [ "${indirect:-0}" = 0 ] || fail "leaks: ${definite:-0} bytes definitely and ${indirect:-0} indirectly lost (see $log)"
[ "${errors:-0}" = 0 ] || fail "valgrind counted $errors errors (see $log)"
pass "no definite or indirect leaks, no memory errors, exit 0"
