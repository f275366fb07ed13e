# Shared helpers for the end-to-end scripts: a private X server, the game
# under it, and the pointer arithmetic of the tower screen.

E2E_DISPLAY=""
E2E_XVFB_PID=""
E2E_GAME_PID=""
E2E_DIR=""

fail() {
    echo "FAIL: $*" >&2
    e2e_cleanup
    exit 1
}

pass() { echo "ok: $*"; }

e2e_start_x() {  # [screen size]
    local size="${1:-1024x768x24}"
    E2E_DIR="$(mktemp -d /tmp/zentrova-e2e-XXXXXX)"
    for number in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] && continue
        Xvfb ":$number" -screen 0 "$size" -nolisten tcp -noreset >"$E2E_DIR/xvfb.log" 2>&1 &
        E2E_XVFB_PID=$!
        # Ready when a client can talk to it, not merely when the socket exists.
        for _ in $(seq 50); do
            DISPLAY=":$number" xdotool getdisplaygeometry >/dev/null 2>&1 && break
            sleep 0.1
        done
        if kill -0 "$E2E_XVFB_PID" 2>/dev/null; then
            E2E_DISPLAY=":$number"
            export DISPLAY="$E2E_DISPLAY"
            return 0
        fi
    done
    fail "could not start Xvfb"
}

e2e_cleanup() {
    [ -n "$E2E_GAME_PID" ] && kill "$E2E_GAME_PID" 2>/dev/null
    [ -n "$E2E_XVFB_PID" ] && kill "$E2E_XVFB_PID" 2>/dev/null
    E2E_GAME_PID=""
    E2E_XVFB_PID=""
}

# Starts the game in the current directory; output goes to $E2E_DIR/out and err.
e2e_start_game() {  # binary [arguments...]
    local binary="$1"
    shift
    SDL_AUDIODRIVER=dummy "$binary" "$@" >"$E2E_DIR/out" 2>"$E2E_DIR/err" &
    E2E_GAME_PID=$!
    e2e_wait_for_output "everything started correctly" || fail "the game did not start: $(cat "$E2E_DIR/err")"
    for _ in $(seq 50); do
        xdotool search --name "Zentrova" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "no game window appeared"
}

e2e_wait_for_output() {  # text [tries of 0.1 s]
    local tries="${2:-100}"
    for _ in $(seq "$tries"); do
        grep -qF -- "$1" "$E2E_DIR/out" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

# Waits (up to 10 s) for the game to end; its exit status lands in E2E_STATUS.
E2E_STATUS=""
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

click_button() {  # slot
    move_twice_and_click $(($1 * 32 + 16)) 15 "$E2E_BUTTON_PAUSE"
}

# Shift+Escape, which ends the game from the tower screen. The game reads
# Shift from the keyboard state when it handles Escape, so Shift is held over
# a few frames as a hand would hold it; the pointer goes onto the window
# first, because without a window manager the keyboard follows it.
e2e_shift_escape() {
    local window
    window="$(xdotool search --name Zentrova 2>/dev/null | head -n 1)"
    [ -n "$window" ] && xdotool mousemove --window "$window" 5 5
    xdotool keydown shift
    sleep 0.3
    xdotool key Escape
    sleep 0.3
    xdotool keyup shift
}
