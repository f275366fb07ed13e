# Shared helpers for the end-to-end scripts: a private X server, the game
# under it and its output, the keyboard, and the pointer arithmetic of the
# tower screen. A script sources this file and calls e2e_start_x; its files
# go in $E2E_DIR, which is removed when the script ends (kept after a failure).

E2E_REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
E2E_DIR=""
E2E_XVFB_PID=""
E2E_GAME_PID=""
E2E_WINDOW=""
E2E_STATUS=""
E2E_KEEP=""

check() { echo "check: $*"; }
pass() { echo "ok: $*"; }

fail() {
    echo "FAIL: $*" >&2
    if [ -n "$E2E_XVFB_PID" ] && ! kill -0 "$E2E_XVFB_PID" 2>/dev/null; then
        echo "(the X server on $DISPLAY is gone)" >&2
    fi
    local log
    for log in out err; do
        if [ -s "$E2E_DIR/$log" ]; then
            echo "--- game std$log:" >&2
            tail -n 15 "$E2E_DIR/$log" | tail -c 2000 >&2
            echo >&2
        fi
    done
    if [ -n "$E2E_DIR" ]; then
        echo "(files of the run kept in $E2E_DIR)" >&2
        E2E_KEEP=1
    fi
    exit 1
}

e2e_cleanup() {
    if [ -n "$E2E_GAME_PID" ]; then
        kill -KILL "$E2E_GAME_PID" 2>/dev/null
        wait "$E2E_GAME_PID" 2>/dev/null
    fi
    if [ -n "$E2E_XVFB_PID" ]; then
        kill "$E2E_XVFB_PID" 2>/dev/null
        wait "$E2E_XVFB_PID" 2>/dev/null
    fi
    E2E_GAME_PID=""
    E2E_XVFB_PID=""
    [ -n "$E2E_DIR" ] && [ -z "$E2E_KEEP" ] && rm -rf "$E2E_DIR"
}

# Polls a command every tenth of a second until it succeeds.
e2e_wait_until() {  # seconds command...
    local tenths=$(($1 * 10)) i
    shift
    for ((i = 0; i < tenths; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# A display number of our own, well away from the ones other tools pick
# first; -noreset, because a server that resets after each game refuses the
# next one for a moment. Ready when a client can talk to it, not merely when
# the socket exists.
e2e_start_x() {  # [screen size]
    local size="${1:-1024x768x24}" n tries i
    E2E_DIR="$(mktemp -d /tmp/zentrova-e2e-XXXXXX)"
    trap e2e_cleanup EXIT
    for ((n = 200 + RANDOM % 700, tries = 0; tries < 20; n++, tries++)); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 "$size" -nolisten tcp -noreset >"$E2E_DIR/xvfb.log" 2>&1 &
        E2E_XVFB_PID=$!
        export DISPLAY=":$n"
        for ((i = 0; i < 100; i++)); do
            kill -0 "$E2E_XVFB_PID" 2>/dev/null || break  # the number was taken after all
            xdotool getmouselocation >/dev/null 2>&1 && return 0
            sleep 0.1
        done
        kill "$E2E_XVFB_PID" 2>/dev/null
        wait "$E2E_XVFB_PID" 2>/dev/null
        E2E_XVFB_PID=""
    done
    fail "could not start Xvfb: $(cat "$E2E_DIR/xvfb.log")"
}

# Starts the game in the current directory, its output in $E2E_DIR/out and
# err, and waits for its line that start-up is over and for its window.
e2e_start_game() {  # binary [arguments...]
    local binary="$1"
    shift
    # The classic tower unless a script asks for the living one (E2E_LIFE=on).
    SDL_AUDIODRIVER=dummy "$binary" -life "${E2E_LIFE:-off}" "$@" >"$E2E_DIR/out" 2>"$E2E_DIR/err" &
    E2E_GAME_PID=$!
    e2e_wait_for_output "everything started correctly" || fail "the game did not report a correct start"
    e2e_wait_until 5 e2e_find_window || fail "no game window appeared"
}

e2e_find_window() {
    E2E_WINDOW="$(xdotool search --name Zentrova 2>/dev/null | head -n 1)"
    [ -n "$E2E_WINDOW" ]
}

# True while a viewable window covers the whole screen of this size (full screen).
e2e_window_fills_screen() {  # WIDTHxHEIGHT
    local id
    for id in $(xwininfo -root -tree | awk -v size=" $1+0+0 " 'index($0, size) {print $1}'); do
        xwininfo -id "$id" | grep -q "Map State: IsViewable" && return 0
    done
    return 1
}

e2e_said() { grep -qxF -- "$1" "$E2E_DIR/out"; }  # a whole line of standard output
e2e_count_lines() { grep -cxF -- "$1" "$E2E_DIR/out"; }

e2e_wait_for_output() {  # text [tries of 0.1 s]
    local tries="${2:-100}"
    for _ in $(seq "$tries"); do
        grep -qF -- "$1" "$E2E_DIR/out" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

# Waits (up to 10 s) for the game to end; its exit status lands in E2E_STATUS.
e2e_wait_exit() {
    for _ in $(seq 100); do
        kill -0 "$E2E_GAME_PID" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$E2E_GAME_PID" 2>/dev/null; then
        E2E_STATUS="still running"
        return
    fi
    wait "$E2E_GAME_PID"
    E2E_STATUS=$?
    E2E_GAME_PID=""
}

# Without a window manager the keyboard follows the pointer: it goes onto
# the game's window first.
e2e_point_at_game() {
    e2e_find_window && xdotool mousemove --window "$E2E_WINDOW" 5 5
    sleep 0.1
}

e2e_press() {  # key
    e2e_point_at_game
    xdotool key "$1"
}

# The tower screen reads Shift from the keyboard state when Escape arrives,
# so Shift goes down a few frames before Escape and comes up after it, as a
# hand would hold it.
e2e_shift_escape() {
    e2e_point_at_game
    xdotool keydown shift
    sleep 0.3
    xdotool key Escape
    sleep 0.3
    xdotool keyup shift
}

# Pointer position of the centre of cell (x, y) on the viewed storey z,
# with the tower screen's starting camera (384, 0).
cell_x() { echo $((384 + ($1 - $2) * 64)); }
cell_y() { echo $((($1 + $2) * 32 + 32 - 64 * ${3:-0})); }

# Pauses between the steps of a click; a slower game (under valgrind) sets longer ones.
E2E_MOVE_PAUSE="${E2E_MOVE_PAUSE:-0.05}"
E2E_CELL_PAUSE="${E2E_CELL_PAUSE:-0.1}"
E2E_BUTTON_PAUSE="${E2E_BUTTON_PAUSE:-0.2}"

# Two moves and a click; the second move lands on the target. The tower
# cursor follows the pointer one motion late after the bar.
move_twice_and_click() {  # x y pause-after
    xdotool mousemove "$1" "$(($2 + 1))"
    sleep "$E2E_MOVE_PAUSE"
    xdotool mousemove "$1" "$2"
    sleep "$E2E_MOVE_PAUSE"
    xdotool click 1
    sleep "$3"
}

click_cell() {  # x y [z]
    move_twice_and_click "$(cell_x "$1" "$2")" "$(cell_y "$1" "$2" "${3:-0}")" "$E2E_CELL_PAUSE"
}

# N in the menu starts a game, paused at once so that the clock stands still
# while the script builds.
e2e_new_game_paused() {
    xdotool key n
    e2e_wait_for_output "state change successful: MAP" || fail "N did not start a game"
    sleep 0.3
    xdotool key space
    sleep 0.1
}
click_button() {  # bar cell
    move_twice_and_click $(($1 * 32 + 16)) 15 "$E2E_BUTTON_PAUSE"
}

# Starts the X server and plays in a copy of the game's data in $E2E_DIR,
# so that the repository's save.txt stays untouched.
e2e_play_in_copy() {
    e2e_start_x
    cp -r "$E2E_REPO/assets" "$E2E_REPO/config.xml" "$E2E_DIR/"
    cd "$E2E_DIR" || fail "no work directory"
}
