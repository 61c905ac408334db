#!/bin/sh
# Composes a mock 480x800 menu screen from a rendered skin, to judge the art
# as a phone user would see it (state pictures keyed on #FF00FF, captions in
# the skin's font colour; Tahoma is replaced by DejaVu Sans Bold if missing).
#
#   tools/skins/preview.sh [Skin] [out.png]     default: Default, /tmp/tolvane-preview-<Skin>.png
set -eu
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
SKIN=${1:-Default}
OUTPNG=${2:-/tmp/tolvane-preview-$SKIN.png}
D="$ROOT/data/Skins/$SKIN"
if [ -x /usr/bin/convert ]; then CONVERT=/usr/bin/convert; else CONVERT=convert; fi

ref=$(tr -d '\r' <"$D/Skin.ini" | sed -n 's/^FontColor = //p')
color=$(printf '#%02X%02X%02X' $((ref & 255)) $(((ref >> 8) & 255)) $(((ref >> 16) & 255)))
font=$(fc-match -f '%{file}' 'Tahoma:bold' 2>/dev/null || true)
[ -n "$font" ] || font=DejaVu-Sans-Bold

set -- "Manila:Restart shell" "Wifi_on:Wi-Fi" "Bluetooth_off:Bluetooth" \
       "Phone_on:Phone" "Flight_off:Flight mode" "Sleep:Sleep"
args=""
y=80
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT INT TERM
i=0
for item in "$@"; do
    pic=${item%%:*}
    cap=${item#*:}
    "$CONVERT" "$D/Button.png" \( "$D/$pic.png" -transparent '#FF00FF' \) -geometry +0+0 -composite \
        -font "$font" -pointsize 28 -fill "$color" -gravity West -annotate +112+0 "$cap" \
        "$TMP/b$i.png"
    args="$args $TMP/b$i.png -geometry +65+$y -composite"
    y=$((y + 112))
    i=$((i + 1))
done
# shellcheck disable=SC2086
"$CONVERT" "$D/Wallpaper.png" "$D/Settings.png" -geometry +8+8 -composite \
    "$D/Exit.png" -geometry +432+8 -composite $args "$OUTPNG"
echo "$OUTPNG"
