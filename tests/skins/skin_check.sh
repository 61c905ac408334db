#!/usr/bin/env bash
# ./tolvane skin check: the shipped skins pass without a line. Copies of Default changed the ways the phone still
# draws pass, with a warning wherever it draws them differently; copies broken the ways it draws wrongly or not at
# all fail with a line naming each broken file. What the program never draws or reads gets no line.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
TOLVANE=$ROOT/tolvane
DEFAULT=$ROOT/data/Skins/Default
export TOLVANE_NO_BUILD=1
WORK=$(mktemp -d /tmp/tolvane-skin-check.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
FAILURES=0
fail() { echo "FAIL: $*" >&2; FAILURES=$((FAILURES + 1)); }

# check SKIN STATUS [PATTERN...]: the checker ends with STATUS and prints one line per PATTERN (extended regular
# expressions, each matching a line from its start) and nothing else.
check() {
    local skin=$1 status=$2 out code=0 lines
    shift 2
    out=$("$TOLVANE" skin check "$skin") || code=$?
    [ -z "$out" ] || echo "$out"
    [ "$code" = "$status" ] || fail "$(basename "$skin"): exit status $code, expected $status"
    lines=$(printf '%s' "$out" | grep -c '' || true)
    [ "$lines" = $# ] || fail "$(basename "$skin"): $lines lines, expected $#"
    for pattern in "$@"; do
        printf '%s\n' "$out" | grep -qE "^$pattern" || fail "$(basename "$skin"): no line matching \"$pattern\""
    done
}
# copy_default NAME [LINE...]: a copy of Default named NAME; with LINEs, its Skin.ini holds them (CRLF lines).
copy_default() {
    local skin=$WORK/$1
    shift
    cp -r "$DEFAULT" "$skin"
    [ $# = 0 ] || printf '%s\r\n' "$@" >"$skin/Skin.ini"
}

for skin in Default Graphite; do
    check "$ROOT/data/Skins/$skin" 0
done

# Drawn as the author means, or differently: each picture keyed on its own pixel (0, 0), green or black, with hard
# edges; larger and smaller pictures; no 3G pictures (a 3G slot has no button); keys in any letter case; Bold 2.
copy_default Redrawn "[Settings]" "fontname = Tahoma" "FontSize = 0" "RED = 16" "Green = 44" "Blue = 84" "Bold = 2"
skin=$WORK/Redrawn
for picture in "$skin"/*.png; do
    convert "$picture" -fill "#00FF00" -opaque "#FF00FF" "PNG24:$picture"
done
convert "$DEFAULT/Wifi_on.png" -fill black -opaque "#FF00FF" "PNG24:$skin/Wifi_on.png"
rm "$skin"/3g_*.png
convert "$skin/Phone_on.png" -background "#00FF00" -extent 130x120 "PNG24:$skin/Phone_on.png"
convert "$skin/Off.png" -crop 80x80+10+10 +repage "PNG24:$skin/Off.png"
convert "$skin/Exit.png" -background black -extent 60x60 "PNG24:$skin/Exit.png"
convert "$skin/Wallpaper.png" -crop 240x400+0+0 +repage "PNG24:$skin/Wallpaper.png"
cp "$skin/Vibro_off.png" "$skin/Vibro_on.png"
check "$skin" 0 \
    "Skin.ini: warning: FontSize = 0: the caption is drawn in the default height" \
    "Phone_on.png: warning: is 130 × 120: drawn cropped to its top-left 100 × 100" \
    "Off.png: warning: is 80 × 80: drawn whole at 80 × 80, with Button.png showing" \
    "Exit.png: warning: is 60 × 60: drawn cropped to its top-left 40 × 40" \
    "Wallpaper.png: warning: is 240 × 400: repeated across the 480 × 800 screen" \
    "Vibro_on.png: warning: is the same picture as Vibro_off.png"

# Drawn wrongly or not at all: a drawn picture missing, one cut short, Button.png too small, a fringe beside the
# key colour (pixels nearly black beside a black key; a circle drawn smooth on a green key), Skin.ini without its
# section. A 3G picture that is no picture is never drawn.
copy_default Broken
skin=$WORK/Broken
rm "$skin/Wifi_off.png"
head -c 2000 "$DEFAULT/Sleep.png" >"$skin/Sleep.png"
convert "$skin/Button.png" -crop 300x100+0+0 +repage "PNG24:$skin/Button.png"
convert "$skin/Manila.png" -fill black -opaque "#FF00FF" -fill "#180C20" -draw "point 1,1" -draw "point 2,1" \
    -draw "point 3,1" "PNG24:$skin/Manila.png"
convert -size 100x100 "xc:#00FF00" -fill "#0B2247" -draw "circle 50,50 50,8" "PNG24:$skin/Off.png"
echo "no picture" >"$skin/3g_on.png"
sed -i "/^\[Settings\]/d" "$skin/Skin.ini"
check "$skin" 1 \
    "Wifi_off.png: missing: its menu button shows Button.png with no picture" \
    "Sleep.png: cannot be decoded by the phone's picture loader" \
    "Button.png: is 300 × 100, smaller than the 350 × 100 it covers" \
    "Manila.png: 3 pixels beside the key colour 0,0,0 of pixel \(0, 0\)" \
    "Off.png: [0-9]+ pixels beside the key colour 0,255,0 of pixel \(0, 0\)" \
    "Skin.ini: no \[Settings\] section: captions are drawn in the default font"

# The caption as the phone draws it: a face without Cyrillic falls back, a line taller than the button is cut,
# numbers are what the program's conversion makes of them, a key it does not read changes nothing.
copy_default Captions "[Settings]" "FontName = Marlett" "FontSize = 90" "Red = 300" "Green = 44" "Blue = 84" \
    "Bold = yes" "Colour = 1"
check "$WORK/Captions" 1 \
    "Skin.ini: warning: FontName Marlett has no characters of .* 204 \(Cyrillic\) .*: the caption is drawn in Tahoma" \
    "Skin.ini: FontSize = 90: a line of the caption is [0-9]+ pixels high" \
    "Skin.ini: warning: Red = 300 is taken as 44, its low 8 bits: the caption is drawn in 44,44,84" \
    "Skin.ini: warning: Bold = yes is no whole number: the caption is not bold" \
    "Skin.ini: warning: Colour is no key the program reads"

[ "$FAILURES" = 0 ]
