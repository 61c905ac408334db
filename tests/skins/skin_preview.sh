#!/usr/bin/env bash
# ./tolvane skin preview: one picture of three phone screens, the menu with every radio on showing the _on
# pictures, the menu with every radio off showing the _off pictures, and the hub; no phone is left running.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
export TOLVANE_NO_BUILD=1
WORK=$(mktemp -d /tmp/tolvane-skin-preview.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
FAILURES=0
fail() { echo "FAIL: $*" >&2; FAILURES=$((FAILURES + 1)); }
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }

skin=$ROOT/data/Skins/Graphite
"$ROOT/tolvane" skin preview "$skin" "$WORK/preview.png" >/dev/null
size=$(identify -format '%wx%h' "$WORK/preview.png")
[ "$size" = 1464x808 ] || fail "the preview is $size, expected three 480 x 800 screens with 4-pixel borders"
# Each screen starts 4 pixels in; slot N's state picture stands at (65, 25 + 108 N) of its screen.
for row in "0 Bluetooth" "1 Wifi" "2 Phone" "3 Flight" "4 Vibro" "5 Gprs"; do
    read -r slot name <<<"$row"
    for state in on off; do
        left=$([ $state = on ] && echo 4 || echo 492)
        picture=$skin/${name}_$state.png
        key=$(pixel "$picture" 0 0)
        for point in "50 50" "30 60" "75 40" "50 20"; do
            read -r x y <<<"$point"
            [ "$(pixel "$picture" "$x" "$y")" = "$key" ] && continue
            got=$(pixel "$WORK/preview.png" $((left + 65 + x)) $((4 + 25 + 108 * slot + y)))
            [ "$got" = "$(pixel "$picture" "$x" "$y")" ] || fail "${name}_$state.png at ($x, $y): the screen shows $got"
        done
    done
done
[ "$(pixel "$WORK/preview.png" $((980 + 20)) $((4 + 775)))" = 0,0,0 ] || fail "the third screen shows no soft-key bar of the hub"
ls -d /tmp/tolvane-preview.* >/dev/null 2>&1 && fail "a preview phone's folder is left behind"
[ "$FAILURES" = 0 ]
