#!/usr/bin/env bash
# ./tolvane skin check: the shipped skins pass without a line; a copy of Default broken in four ways gets one line
# naming each broken file, and exit status 1.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
TOLVANE=$ROOT/tolvane
export TOLVANE_NO_BUILD=1
WORK=$(mktemp -d /tmp/tolvane-skin-check.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
FAILURES=0
fail() { echo "FAIL: $*" >&2; FAILURES=$((FAILURES + 1)); }

for skin in Default Graphite; do
    code=0
    out=$("$TOLVANE" skin check "$ROOT/data/Skins/$skin") || code=$?
    [ "$code" = 0 ] && [ -z "$out" ] || fail "$skin: exit status $code, output: $out"
done

broken=$WORK/Broken
cp -r "$ROOT/data/Skins/Default" "$broken"
# The four ways the copy is broken: a picture missing, a state picture too wide, a fringe beside the key colour,
# Skin.ini without its section.
rm "$broken/Reset.png"
convert "$broken/Wifi_on.png" -background "#FF00FF" -extent 120x100 "PNG24:$broken/Wifi_on.png"
convert "$broken/Sleep.png" -fill "#E020E0" -draw "point 1,1" -draw "point 2,1" -draw "point 3,1" "PNG24:$broken/Sleep.png"
sed -i "/^\[Settings\]/d" "$broken/Skin.ini"
code=0
out=$("$TOLVANE" skin check "$broken") || code=$?
echo "$out"
[ "$code" = 1 ] || fail "the broken skin: exit status $code, expected 1"
[ "$(echo "$out" | wc -l)" = 4 ] || fail "the broken skin: $(echo "$out" | wc -l) lines, expected 4"
for start in "Reset.png: missing" "Wifi_on.png: is 120 x 100" "Sleep.png: 3 near-key pixels" \
    "Skin.ini: no [Settings] section"; do
    echo "$out" | grep -qF "$start" || fail "no line starting \"$start\""
done

[ "$FAILURES" = 0 ]
