#!/usr/bin/env bash
# Feeds the real binary damaged and hostile files: saved games loaded through
# the menu's Load Game, settings files given with -config, a damaged music
# file, and room definition files in a copy of assets/. Each must end with
# the game's own message, still running (or exiting with 0 or 255 where it
# should), and with no report from the address or undefined-behaviour checkers.
# Usage: e2e_hostile.sh path/to/zentrova
set -u
binary="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
source "$here/lib.sh"

e2e_start_x
work="$E2E_DIR"
cases=0

# Fails on anything the sanitizers reported during the last run.
check_sanitizers() {  # what
    if grep -qE "ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:" "$work/err"; then
        grep -E -m 5 -A 12 "ERROR: |runtime error:" "$work/err" >&2
        fail "$1: the sanitizers reported a fault (above)"
    fi
}

expect_err() {  # what text
    grep -qF -- "$2" "$work/err" || fail "$1: stderr lacks \"$2\": $(head -c 600 "$work/err")"
}
expect_out() {  # what text
    grep -qF -- "$2" "$work/out" || fail "$1: stdout lacks \"$2\""
}
refuse_out() {  # what text
    ! grep -qF -- "$2" "$work/out" || fail "$1: stdout has \"$2\" but should not"
}

# Ends a game on the tower screen with Shift+Escape and checks it left cleanly.
quit_tower() {  # what
    kill -0 "$E2E_GAME_PID" 2>/dev/null || fail "$1: the game is gone: $(tail -c 600 "$work/err")"
    e2e_shift_escape
    e2e_wait_exit
    check_sanitizers "$1"
    [ "$E2E_STATUS" = 0 ] || fail "$1: exit status $E2E_STATUS after Shift+Escape"
    tail -n 1 "$work/out" | grep -q "Cleaning up" || fail "$1: did not shut down through Cleaning up"
    cases=$((cases + 1))
}

# ---- saved games -----------------------------------------------------------
mkdir -p "$work/play"
cp -r "$repo/assets" "$repo/config.xml" "$work/play/"
cd "$work/play" || fail "no work directory"
good="$repo/tests/fuzz/corpus/save/save.txt"
size=$(stat -c %s "$good")
clock_start=$(($(head -n 1 "$good" | wc -c)))
clock_whole=$(($(head -n 2 "$good" | wc -c) - 1))  # up to the clock's last digit

# Starts the game, loads save.txt with the menu's L and waits for the load.
load_from_menu() {  # what
    e2e_start_game "$binary"
    e2e_press l
    e2e_wait_for_output "loading map floor" 100 || fail "$1: Load Game never reached the map loader"
    sleep 0.3
}

: >save.txt
load_from_menu "empty save.txt"
quit_tower "empty save.txt"
for line in "MONEY LOAD ERROR" "CLOCK LOAD ERROR" "save.txt has no grid line of three numbers after the clock" \
    "MAP LOAD ERROR"; do
    expect_out "empty save.txt" "$line"
done
pass "empty save.txt: money, clock and the grid reported, game still ran, exit 0"

for point in 1 $((clock_start - 1)) $clock_start $((clock_start + 3)) $((clock_start + 12)) 40 \
    $((size / 4)) $((size / 2)) $((size * 3 / 4)) $((size - 20)); do
    head -c "$point" "$good" >save.txt
    what="save.txt cut at byte $point of $size"
    load_from_menu "$what"
    quit_tower "$what"
    refuse_out "$what" "MONEY LOAD ERROR"
    # The clock fails when the file ends before its last field.
    if [ "$point" -lt "$clock_whole" ]; then expect_out "$what" "CLOCK LOAD ERROR"; else refuse_out "$what" "CLOCK LOAD ERROR"; fi
    grep -qE "TILE LOAD ERROR|has no grid line" "$work/out" || fail "$what: neither the grid nor a tile was reported"
    expect_out "$what" "MAP LOAD ERROR"  # and the tower as a whole refused
done
pass "save.txt cut at 10 points: each reported what was missing and was refused whole, game still ran, exit 0"

# Grids the tower cannot hold are refused as a whole.
for header in "1000000 20 20" "10 20 99999999999999999999" "10 -20 20" "0 0 0"; do
    { head -n 2 "$good"; echo "$header"; tail -n +4 "$good"; } >save.txt
    what="save.txt with extents $header"
    load_from_menu "$what"
    quit_tower "$what"
    expect_out "$what" "save.txt describes a"
    expect_out "$what" "MAP LOAD ERROR"
done
pass "huge, negative and zero extents: refused with MAP LOAD ERROR, game still ran, exit 0"

# Text where numbers belong is no grid: the load is refused whole.
{ head -n 2 "$good"; echo "ten twenty twenty"; tail -n +4 "$good"; } >save.txt
load_from_menu "non-numeric extents"
quit_tower "non-numeric extents"
expect_out "non-numeric extents" "MAP LOAD ERROR"
printf 'plenty of money\nhalf past noon on a Tuesday\nthe tower is tall\nFLOOR LOBBY HOTEL\n' >save.txt
load_from_menu "text instead of numbers"
quit_tower "text instead of numbers"
expect_out "text instead of numbers" "MONEY LOAD ERROR"
expect_out "text instead of numbers" "MAP LOAD ERROR"
printf 'nan\n1 23 1 1 1\n10 20 20\n' >save.txt
load_from_menu "funds of nan"
quit_tower "funds of nan"
expect_out "funds of nan" "MONEY LOAD ERROR"
pass "non-numeric extents, text instead of numbers and nan funds: reported and refused, exit 0"

# The rooms after the tile records: cut short, crafted, or without their marker.
rooms_save="$repo/tests/fuzz/corpus/save/rooms.txt"
tiles_end=$(head -n 4003 "$rooms_save" | wc -c)
rooms_size=$(stat -c %s "$rooms_save")
for point in $((tiles_end + 9)) $((tiles_end + 40)) $((tiles_end + 120)) $((rooms_size - 3)); do
    head -c "$point" "$rooms_save" >save.txt
    what="rooms cut at byte $point of $rooms_size"
    load_from_menu "$what"
    quit_tower "$what"
    refuse_out "$what" "MAP LOAD ERROR"
done
pass "room records cut short at 4 points: loaded what was whole, game still ran, exit 0"

hostile_rooms() {  # what expected-line records...
    local what="$1" expected="$2"
    shift 2
    { head -n 4003 "$rooms_save"; printf '%s\n' "$@"; } >save.txt
    load_from_menu "$what"
    quit_tower "$what"
    expect_out "$what" "$expected"
}
hostile_rooms "two rooms on one cell" "room record 2 skipped: it covers a cell another room covers" \
    "rooms 2" "hotel1 3 2 0 0 1 1 3 2 0" "hotel2 3 2 0 0 1 1 3 2 0"
hostile_rooms "unknown kinds, a bare cell, huge and negative numbers" \
    "room record 4 skipped: it lies outside the grid" "rooms 99999999" "castle 3 2 0 0 1 1 3 2 0" \
    "hotel1 9 9 0 0 1 1 9 9 0" "hotel1 3 2 0 0 99999999999 1 3 2 0" "hotel1 -7 2 0 0 1 1 -7 2 0"
hostile_rooms "a car far off its shaft" "the car of the elevator at 6 4 0 starts again from its lowest floor" \
    "rooms 1" "elevator 6 4 0 0 1 4 5 3 0 5 4 0 6 3 0 6 4 0 30000 -9 1 1 1 -5 7"
hostile_rooms "records without their marker" "a line outside any section was passed over" \
    "hotel1 3 2 0 0 1 1 3 2 0" "ledger 3" "1 2 3" "nan inf 4 5" "shuttle 1" "9"
pass "overlapping, unknown, bare-cell, out-of-range and unmarked room records: skipped with their messages, exit 0"

head -c 10000000 /dev/zero | tr '\0' '7' >save.txt
e2e_start_game "$binary"
e2e_press l
e2e_wait_for_output "save.txt is larger than 4194304 bytes; it was not read" 100 ||
    fail "10 MB of digits: not refused unread"
quit_tower "10 MB of digits"
refuse_out "10 MB of digits" "loading map floor"
pass "10 MB of digits: refused unread, game still ran, exit 0"
cd "$work" || fail "no work directory"

# ---- settings files ----------------------------------------------------------
mkdir -p "$work/settings" "$work/config-run"
# A game folder, which holds config.xml, so that the game runs from it.
ln -s "$repo/assets" "$work/config-run/assets"
cp "$repo/config.xml" "$work/config-run/"
cd "$work/config-run" || fail "no work directory"
settings="$work/settings"

# Runs the game on a settings file that must stop it before the menu.
expect_refused() {  # what file text
    SDL_AUDIODRIVER=dummy timeout 30 "$binary" -config "$2" >"$work/out" 2>"$work/err"
    local status=$?
    check_sanitizers "$1"
    [ "$status" = 255 ] || fail "$1: exit status $status, expected 255 (-1): $(head -c 600 "$work/err")"
    expect_out "$1" "something went horribly wrong"
    expect_err "$1" "$3"
    cases=$((cases + 1))
    pass "$1: \"$3\", exit 255"
}

expect_refused "missing settings file" "$settings/none.xml" "Failed to load settings from config.xml, exiting"
head -c 200 "$repo/config.xml" >"$settings/malformed.xml"
expect_refused "malformed settings file" "$settings/malformed.xml" "Failed to load settings from config.xml, exiting"
printf '<window width="800" height="600" />\n<sound effects="on" music="off" />\n' >"$settings/short.xml"
expect_refused "settings short of elements" "$settings/short.xml" "Error finding <required> element in settings.xml"
python3 - "$repo/config.xml" "$settings" <<'PY'
import re, sys
text = open(sys.argv[1]).read()
out = sys.argv[2]
long_names = re.sub(r"<file>assets/(\w+)\.png</file>", lambda m: "<file>assets/" + m.group(1) * (10000 // len(m.group(1))) + ".png</file>", text)
open(out + "/long-names.xml", "w").write(long_names)
open(out + "/few-images.xml", "w").write(re.sub(r"(<file>[^<]*</file>\s*){5}</required>", "</required>", text))
open(out + "/not-an-image.xml", "w").write(text.replace("assets/tiles.png", "tiles.png"))
open(out + "/negative.xml", "w").write(text.replace('width="800" height="600"', 'width="-800" height="-600"'))
open(out + "/disguised.xml", "w").write(text.replace("<plugins />", "<plugins>" + "<p>/>" * 150000 + "</plugins>"))
open(out + "/nested.xml", "w").write(text.replace("<plugins />", "<plugins>" + "<p>" * 100000 + "</p>" * 100000 + "</plugins>"))
PY
expect_refused "10,000-character image names" "$settings/long-names.xml" "Failed to load surfaces, exiting"
expect_refused "five images short" "$settings/few-images.xml" "names 2 images; the game needs 7, exiting"
# Text where an image should be is refused by name.
printf 'this is not an image' >"$work/config-run/tiles.png"
expect_refused "a text file in the image list" "$settings/not-an-image.xml" "Error: Tried to load tiles.png"
expect_refused "deeply nested settings" "$settings/nested.xml" "larger than 1 MiB or nested too deeply"
expect_refused "deep nesting behind \"/>\" in text" "$settings/disguised.xml" "larger than 1 MiB or nested too deeply"

# Starts a game, leaves it from the menu with Escape and checks it left cleanly.
start_and_leave() {  # what [arguments...]
    local what="$1"
    shift
    e2e_start_game "$binary" "$@"
    e2e_press Escape
    e2e_wait_exit
    check_sanitizers "$what"
    [ "$E2E_STATUS" = 0 ] || fail "$what: exit status $E2E_STATUS after Escape on the menu"
    cases=$((cases + 1))
}

start_and_leave "negative sizes" -config "$settings/negative.xml"
pass "negative window sizes: ignored, the game ran at its default size, Escape gave exit 0"
cd "$work" || fail "no work directory"

# ---- the music file ------------------------------------------------------------
# A damaged piece is one message and a game without music; with the switch
# off the file is not even opened.
mkdir -p "$work/music/assets"
ln -s "$repo/assets/"* "$work/music/assets/"
rm "$work/music/assets/music.ogg"
printf 'OggS, but only the name of it' >"$work/music/assets/music.ogg"
cp "$repo/config.xml" "$work/music/config.xml"
sed 's/music="on"/music="off"/' "$repo/config.xml" >"$work/music/off.xml"
cd "$work/music" || fail "no work directory"

start_and_leave "a damaged music file"
refuse_out "a damaged music file" "Loaded music"
[[ "$(cat "$work/err")" == "Music not loaded from assets/music.ogg: "* ]] ||
    fail "a damaged music file: stderr should hold its one message, not \"$(head -c 600 "$work/err")\""
[ "$(grep -o "Music not loaded" "$work/err" | wc -l)" = 1 ] || fail "a damaged music file: reported more than once"
pass "a damaged music file: \"$(cat "$work/err")\", the game ran without music, exit 0"

start_and_leave "music=\"off\"" -config off.xml
refuse_out "music=\"off\"" "Loaded music"
grep -qi "music" "$work/err" && fail "music=\"off\": \"$(head -c 600 "$work/err")\" (the file should not be read)"
pass "music=\"off\": the damaged file was not even read, exit 0"
cd "$work" || fail "no work directory"

# ---- room definition files ---------------------------------------------------
# Two runs, each with all four room files replaced by hostile ones.
make_rooms() {  # directory variant
    rm -rf "$1"
    mkdir -p "$1"
    cp -r "$repo/assets" "$repo/config.xml" "$1/"
    python3 - "$1/assets" "$2" <<'PY'
import base64, re, sys, zlib, struct
assets, variant = sys.argv[1], sys.argv[2]
def room(name):
    return open(f"{assets}/{name}.xml").read()
def put(name, text):
    open(f"{assets}/{name}.xml", "w").write(text)
def icon_of(text):
    return re.search(r"<icon>(.*?)</icon>", text, re.S).group(1).strip()
def with_icon(text, icon):
    return re.sub(r"<icon>.*?</icon>", lambda m: "<icon>" + icon + "</icon>", text, flags=re.S)
def png(width, height):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(b"\0" * 64)) + chunk(b"IEND", b"")
if variant == "a":
    text = room("hotel1")
    put("hotel1", re.sub(r"<title>.*?</title>", "<title>" + "Grand Suite " * 1000 + "</title>", text))
    text = room("hotel2")
    put("hotel2", re.sub(r"(<graphics[^>]*>)[^<]*(</graphics>)", lambda m: m.group(1) + "g" * 5000 + ".png" + m.group(2), text))
    text = room("office")
    put("office", with_icon(text, "!!not*base64@@" + icon_of(text)[14:]))
    text = room("elevator")
    icon = icon_of(text)
    put("elevator", with_icon(text, icon[:40] + "\n    " + icon[40:]))
else:
    text = room("hotel1")
    icon = icon_of(text)
    put("hotel1", with_icon(text, icon[:40] + "<!-- split -->" + icon[40:]))
    text = room("hotel2")
    put("hotel2", with_icon(text, base64.b64encode(b"BM" + b"\0" * 60 + b"not an image at all").decode()))
    text = room("office")
    put("office", re.sub(r"(<graphics[^>]*>)[^<]*(</graphics>)", r"\1no_such_sheet.png\2", text))
    text = room("elevator")
    put("elevator", with_icon(text, base64.b64encode(png(100000, 100000)).decode()))
PY
}

# Starts a game in the directory and checks every message on stderr.
play_rooms() {  # what directory messages...
    local what="$1" directory="$2"
    shift 2
    cd "$directory" || fail "no directory $directory"
    e2e_start_game "$binary"
    e2e_press n
    e2e_wait_for_output "state change successful: MAP" || fail "$what: N did not start a game"
    sleep 0.3
    quit_tower "$what"
    for message in "$@"; do expect_err "$what" "$message"; done
    cd "$work" || fail "no work directory"
}

make_rooms "$work/rooms-a" a
play_rooms "long title, long graphics name, invalid and whitespace-split Base64" "$work/rooms-a" \
    "Error: <graphics> file name longer than 24 characters in XML file." \
    "ERROR decoding the icon: invalid input" "Error converting icon file."
[ "$(grep -o "ERROR decoding the icon: invalid input" "$work/err" | wc -l)" = 2 ] ||
    fail "both the invalid and the split Base64 icon should fail to decode: $(head -c 600 "$work/err")"
pass "room files with a long title (loaded, cut), a long graphics name, invalid and split Base64: messages given, exit 0"

make_rooms "$work/rooms-b" b
play_rooms "Base64 split by a comment, a non-image icon, a missing sheet, a huge icon" "$work/rooms-b" \
    "Error converting icon file." "Error loading image file."
[ "$(grep -o "Error converting icon file." "$work/err" | wc -l)" = 3 ] ||
    fail "the split, non-image and oversized icons should each be refused: $(head -c 600 "$work/err")"
pass "room files with Base64 split by a comment, a non-image icon, a missing graphics file, a 100000 x 100000 icon: messages given, exit 0"

echo "hostile files: $cases runs ended as expected"
