#!/bin/sh
# Renders the Tolvane skins: tools/skins/<Skin>/*.svg -> data/Skins/<Skin>/*.png
#
#   tools/skins/render.sh            regenerate SVGs with gen.py, then render all skins
#   tools/skins/render.sh --no-gen   render the SVGs as they are (after editing one by hand)
#   tools/skins/render.sh Default    only that skin (combinable with --no-gen)
#
# Needs rsvg-convert (librsvg2-bin) and ImageMagick convert (imagemagick).
# Output is byte-identical on every run: metadata and timestamps are stripped.
#
# Wallpaper, Button, Exit and Settings are flattened opaque pictures.
# Every other SVG is a 100x100 state picture: its alpha is cut hard at 50%
# and the transparent part is filled with the key colour #FF00FF, so no
# antialiased pixel ever blends into the key.
set -eu

HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
OUT=${SKINS_OUT:-$ROOT/data/Skins}    # SKINS_OUT: render elsewhere (used by check_rendered.sh)

# Prefer the distribution's ImageMagick over any wrapper earlier in PATH.
if [ -x /usr/bin/convert ]; then CONVERT=/usr/bin/convert; else CONVERT=convert; fi
command -v rsvg-convert >/dev/null || { echo "render.sh: rsvg-convert missing (apt-get install librsvg2-bin)" >&2; exit 1; }
command -v "$CONVERT" >/dev/null || { echo "render.sh: convert missing (apt-get install imagemagick)" >&2; exit 1; }

GEN=1
SKINS=""
for a in "$@"; do
    case "$a" in
        --no-gen) GEN=0 ;;
        -*) echo "render.sh: unknown option $a" >&2; exit 2 ;;
        *) SKINS="$SKINS $a" ;;
    esac
done
[ -n "$SKINS" ] || SKINS="Default Graphite"

if [ "$GEN" = 1 ]; then
    # shellcheck disable=SC2086  # word list on purpose
    python3 "$HERE/gen.py" $SKINS
fi

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT INT TERM

# deterministic PNG writing: truecolor, no text/time/gamma chunks
PNGOPT="-strip -define png:exclude-chunks=date,time,tEXt,zTXt,iTXt,gAMA,cHRM,bKGD -define png:compression-level=9"

for skin in $SKINS; do
    src="$HERE/$skin"
    dst="$OUT/$skin"
    [ -d "$src" ] || { echo "render.sh: no sources for skin $skin" >&2; exit 1; }
    mkdir -p "$dst"
    cp "$src/Skin.ini" "$dst/Skin.ini"
    for svg in "$src"/*.svg; do
        name=$(basename "$svg" .svg)
        raw="$TMP/$name.png"
        rsvg-convert -f png -o "$raw" "$svg"
        case "$name" in
            Wallpaper|Button|Exit|Settings)
                # shellcheck disable=SC2086
                "$CONVERT" "$raw" -background '#000000' -alpha remove -alpha off \
                    $PNGOPT "PNG24:$dst/$name.png"
                ;;
            *)
                # shellcheck disable=SC2086
                "$CONVERT" "$raw" -channel A -threshold 50% +channel \
                    -background '#FF00FF' -alpha remove -alpha off \
                    $PNGOPT "PNG24:$dst/$name.png"
                ;;
        esac
    done
    echo "rendered $skin -> $dst"
done
