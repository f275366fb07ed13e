#!/usr/bin/env bash
# Writes the four room definition files, with icons converted by the game's
# own -iconconvert. Run from anywhere after building build/zentrova.
set -euo pipefail
cd "$(dirname "$0")/.."
binary="${1:-build/zentrova}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# name | title | type | graphics | variants | size x | size y | cost | rent income | rent period
rooms=(
    "elevator|Elevator|ELEVATOR|elevator.png|1|2|2|2000|0|0"
    "hotel1|Single Room|BASIC|hotel1.png|3|1|1|500|40|1"
    "hotel2|Suite|BASIC|hotel2.png|2|1|2|1200|120|2"
    "office|Office|BASIC|office.png|2|2|2|1500|900|7"
)

for entry in "${rooms[@]}"; do
    IFS='|' read -r name title type graphics variants sizex sizey cost income period <<<"$entry"
    (cd "$work" && "$OLDPWD/$binary" -iconconvert "$OLDPWD/assets/icons/$name.png")
    icon="$(sed -n 's/.*<icon>\(.*\)<\/icon>.*/\1/p' "$work/icon_result.txt")"
    [ -n "$icon" ] || { echo "no icon text for $name" >&2; exit 1; }
    cat > "assets/$name.xml" <<XML
<?xml version="1.0" ?>
<roomdata>
    <title>$title</title>
    <type>$type</type>
    <graphics variants="$variants">$graphics</graphics>
    <size x="$sizex" y="$sizey" />
    <cost>$cost</cost>
    <rentIncome>$income</rentIncome>
    <rentPeriod>$period</rentPeriod>
</roomdata>
<icon>$icon</icon>
XML
    echo "wrote assets/$name.xml"
done
