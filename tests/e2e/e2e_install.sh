#!/usr/bin/env bash
# The game as a player gets it: `cmake --install` into a scratch prefix and
# the layout it gives; the installed game started from an empty directory
# with a scratch HOME, which plays, saves into ~/.local/share/zentrova and
# leaves the working directory alone; the .deb that CPack makes, its contents
# and dependencies, what lintian says of it, and its program run from the
# unpacked tree; the start-up
# failures of an installed game; and starts on an X server that resets
# whenever its last client leaves.
# Usage: e2e_install.sh path/to/zentrova (inside its CMake build tree)
set -u
binary="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
source "$here/lib.sh"

build="$(dirname "$binary")"
while [ ! -f "$build/CMakeCache.txt" ]; do
    [ "$build" = / ] && { echo "FAIL: $binary is not in a CMake build tree" >&2; exit 1; }
    build="$(dirname "$build")"
done

# A display number that nothing uses.
free_display() {
    local n
    for n in $(seq 300 399); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { echo "$n"; return 0; }
    done
    return 1
}

resetting_xvfb=""
cleanup() {
    e2e_cleanup
    [ -n "$resetting_xvfb" ] && kill "$resetting_xvfb" 2>/dev/null
    resetting_xvfb=""
}

e2e_start_x
trap cleanup EXIT
work="$E2E_DIR"
unset XDG_DATA_HOME SDL_VIDEODRIVER

# ---- the installed tree ---------------------------------------------------------
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || fail "cmake --install: $(tail -5 "$work/install.log")"
for file in bin/zentrova share/zentrova/config.xml share/applications/org.zentrova.Zentrova.desktop \
    share/metainfo/org.zentrova.Zentrova.metainfo.xml share/man/man6/zentrova.6.gz \
    share/doc/zentrova/copyright share/doc/zentrova/changelog.gz; do
    [ -s "$prefix/$file" ] || fail "the install lacks $file"
done
[ -x "$prefix/bin/zentrova" ] || fail "bin/zentrova is not executable"
[ ! -e "$prefix/games" ] || fail "cmake --install made games/, which only the .deb has"
# The same page always compresses to the same bytes: no name, no time stamp.
gzip -9n -c "$repo/zentrova.6" | cmp -s - "$prefix/share/man/man6/zentrova.6.gz" ||
    fail "share/man/man6/zentrova.6.gz is not zentrova.6 at gzip -9n"
diff -r --exclude=icons "$repo/assets" "$prefix/share/zentrova/assets" >/dev/null ||
    fail "share/zentrova/assets differs from assets/"
for size in 48 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/zentrova.png"
    [ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG ${size}x${size}" ] || fail "no ${size} px PNG icon"
done
desktop-file-validate "$prefix/share/applications/org.zentrova.Zentrova.desktop" || fail "the desktop entry is not valid"
appstreamcli validate --no-net "$prefix/share/metainfo/org.zentrova.Zentrova.metainfo.xml" >"$work/appstream.log" 2>&1 ||
    fail "the AppStream metadata is not valid: $(cat "$work/appstream.log")"
pass "cmake --install: program, data, desktop entry, metadata, three icons, the manual page, changelog and copyright, all valid"

# ---- the .deb -------------------------------------------------------------------------
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(tail -5 "$work/cpack.log")"
deb="$(ls "$work"/deb/zentrova_*.deb 2>/dev/null | head -n 1)"
[ -n "$deb" ] || fail "cpack made no zentrova_*.deb"
dpkg-deb -c "$deb" | awk '{print $6}' >"$work/deb-files"
for file in ./usr/games/zentrova ./usr/share/zentrova/config.xml ./usr/share/zentrova/assets/tiles.png \
    ./usr/share/zentrova/assets/office.xml ./usr/share/applications/org.zentrova.Zentrova.desktop \
    ./usr/share/metainfo/org.zentrova.Zentrova.metainfo.xml ./usr/share/icons/hicolor/48x48/apps/zentrova.png \
    ./usr/share/man/man6/zentrova.6.gz ./usr/share/doc/zentrova/changelog.gz ./usr/share/doc/zentrova/copyright; do
    grep -qxF "$file" "$work/deb-files" || fail "the .deb lacks $file"
done
grep -q '^\./usr/bin/' "$work/deb-files" && fail "the .deb has the program in /usr/bin as well as /usr/games"
depends="$(dpkg-deb -f "$deb" Depends)"
for library in libsdl1.2debian libsdl-image1.2 libsdl-mixer1.2 libtinyxml2.6.2v5 libc6; do
    [[ ", $depends" == *", $library "* ]] || fail "the .deb does not depend on $library: $depends"
done
[ "$(dpkg-deb -f "$deb" Package Architecture)" = "Package: zentrova
Architecture: $(dpkg --print-architecture)" ] || fail "package name or architecture: $(dpkg-deb -f "$deb" Package Architecture)"
version="$(dpkg-parsechangelog -l "$repo/packaging/changelog" -S Version)"
[ "$version" = "$(dpkg-deb -f "$deb" Version)" ] ||
    fail "the changelog's last entry is $version, the package $(dpkg-deb -f "$deb" Version)"
pass "cpack -G DEB: $(basename "$deb") holds the tree under /usr and depends on $depends"

if command -v lintian >/dev/null; then
    lintian --pedantic --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1
    status=$?
    grep -E '^[EW]: ' "$work/lintian.log" && fail "lintian finds errors or warnings in the .deb"
    [ "$status" = 0 ] || fail "lintian ended with $status: $(cat "$work/lintian.log")"
    pass "lintian --pedantic: no error or warning"
else
    echo "skip: lintian is not installed, the .deb is not checked against Debian's policy"
fi

# ---- the installed game, played from an empty directory ---------------------------
mkdir "$work/empty" "$work/home"
export HOME="$work/home"
player="$HOME/.local/share/zentrova"
cd "$work/empty" || fail "no empty directory"
e2e_start_game "$prefix/bin/zentrova" -fps 60
cmp -s "$player/config.xml" "$repo/config.xml" || fail "the first start did not copy config.xml to $player"
e2e_wait_for_output "Data from $(realpath "$prefix/share/zentrova"), settings and save in $player" 1 ||
    fail "the game did not say where its files are: $(head -n 1 "$work/out")"

# The caption averages over whole seconds and is updated up to a frame after
# each, so with the cap it reads at most 60 and a frame or two; without it,
# hundreds.
sleep 2
caption=""
for _ in $(seq 60); do
    caption="$(xdotool search --name '^Zentrova--FPS: [0-9]+$' getwindowname 2>/dev/null | head -n 1)"
    [ -n "$caption" ] && break
    sleep 0.1
done
[[ "$caption" =~ ^Zentrova--FPS:\ ([0-9]+)$ ]] || fail "caption '$caption'"
rate="${BASH_REMATCH[1]}"
[ "$rate" -ge 1 ] && [ "$rate" -le 62 ] || fail "-fps 60 shows $rate frames a second"

xdotool key n
e2e_wait_for_output "state change successful: MAP" || fail "N did not start a game"
sleep 0.3
xdotool key space
click_cell 3 3
click_cell 3 4
click_button 2                  # save
sleep 0.5
e2e_shift_escape
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || fail "exit status $E2E_STATUS after Shift+Escape: $(tail -c 300 "$work/err")"
[ -s "$player/save.txt" ] || fail "no save.txt in $player"
python3 - "$player/save.txt" <<'PY' || fail "the save in $player does not hold the two floors"
import sys
lines = open(sys.argv[1]).read().split("\n")
assert abs(float(lines[0]) - (5000 - 2 * 10)) < 1e-6, lines[0]
tiles = [l.split() for l in lines[3:] if l.strip()]
assert tiles[3 * 20 + 3][0] == "2" and tiles[3 * 20 + 4][0] == "2", (tiles[63], tiles[64])
PY
[ -z "$(ls -A "$work/empty")" ] || fail "the game left files in the working directory: $(ls -A "$work/empty")"
pass "installed game from an empty directory: played at most $rate fps, saved into $player, working directory empty"

# ---- the .deb's program, unpacked elsewhere, loads that save ------------------------
dpkg-deb -x "$deb" "$work/unpacked"
e2e_start_game "$work/unpacked/usr/games/zentrova"
e2e_wait_for_output "Data from $(realpath "$work/unpacked/usr/share/zentrova")" 1 ||
    fail "the unpacked program did not find the data beside it: $(head -n 1 "$work/out")"
xdotool key l
e2e_wait_for_output "loading map floor" || fail "L did not load"
sleep 0.3
grep -q "LOAD ERROR" "$work/out" && fail "loading the player's save: $(grep "LOAD ERROR" "$work/out" | head -n 3)"
e2e_shift_escape
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || fail "exit status $E2E_STATUS after loading the player's save"
[ -z "$(ls -A "$work/empty")" ] || fail "the unpacked game left files in the working directory"
pass "the .deb's program, moved elsewhere, finds its data beside it and loads the player's save"

# ---- start-up failures of an installed game ----------------------------------------------
refused() {  # what expected-stderr-start command...
    local what="$1" expected="$2"
    shift 2
    "$@" >"$work/out" 2>"$work/err"
    local status=$?
    [ "$status" = 255 ] || fail "$what: exit status $status, expected 255"
    [[ "$(cat "$work/err")" == "$expected"* ]] || fail "$what: stderr '$(cat "$work/err")'"
    [ "$(tail -n 1 "$work/out")" = "something went horribly wrong" ] || fail "$what: stdout '$(cat "$work/out")'"
    pass "$what: \"$expected...\", exit 255"
}
: >"$work/a-file"
refused "a player's data directory that cannot be made" \
    "Cannot create the player's data directory $work/a-file/zentrova: Not a directory, exiting" \
    env XDG_DATA_HOME="$work/a-file" "$prefix/bin/zentrova"
install_prefix="$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")"
if [ ! -e "$install_prefix/share/zentrova/config.xml" ]; then
    mkdir -p "$work/lonely/bin"
    cp "$prefix/bin/zentrova" "$work/lonely/bin/"
    refused "a program without its data" "Cannot find the game's data: there is no config.xml in the working directory" \
        "$work/lonely/bin/zentrova"
fi
# Without a driver named, SDL would fall back to drawing in the terminal.
refused "a display that refuses, with no driver named" "SDL init failed, exiting" \
    env DISPLAY=":$(free_display)" "$prefix/bin/zentrova" -sounds off
[ -z "$(ls -A "$work/empty")" ] || fail "a failed start left files in the working directory"

# ---- an X server that resets whenever its last client leaves ---------------------------
# Without -noreset. Each start follows a client that connects and leaves (and
# the game before it has just left too), so it lands in a reset, when the
# server drops new connections or leaves them unanswered for a while.
number="$(free_display)" || fail "no free display number"
Xvfb ":$number" -screen 0 800x600x24 -nolisten tcp >"$work/xvfb-reset.log" 2>&1 &
resetting_xvfb=$!
export DISPLAY=":$number"
for _ in $(seq 50); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
done
starts=20
for start in $(seq "$starts"); do
    xdotool getdisplaygeometry >/dev/null 2>&1
    SDL_AUDIODRIVER=dummy "$prefix/bin/zentrova" -sounds off >"$work/out" 2>"$work/err" &
    E2E_GAME_PID=$!
    if ! e2e_wait_for_output "everything started correctly"; then
        e2e_wait_exit
        fail "start $start of $starts on a resetting X server: $E2E_STATUS, stderr '$(cat "$work/err")'"
    fi
    # A SIGTERM in the first moments after start-up can end the game with
    # the signal's status after its clean-up, so the game runs a little first.
    sleep 0.5
    kill -TERM "$E2E_GAME_PID"
    e2e_wait_exit
    [ "$E2E_STATUS" = 0 ] || fail "start $start on a resetting X server ended with $E2E_STATUS"
done
pass "$starts starts in a row on an X server that resets between them"
