#!/bin/sh
# Checks the rendered Tolvane skins in data/Skins/ against what the program needs.
#
#   tools/skins/verify.sh [Skin...]      default: every skin folder in data/Skins
#
# Per skin:
#   - every file present, Skin.ini in the exact key shape (CRLF, no BOM, Tahoma 28 bold,
#     decimal COLORREF) and the font colour readable on the button's caption area
#   - every PNG: exact size, 8-bit truecolor (no palette), fully opaque
#   - state pictures: pixel (0,0) is exactly #FF00FF, the key covers some but not all of
#     the picture, and no pixel is near-magenta without being the key (antialias fringe)
#   - Button/Exit/Settings/Wallpaper hold no key-coloured pixel
#   - each _on picture clearly differs from its _off picture
#   - total size of the skins is modest
# And, when rsvg-convert and python3 are there: the committed SVGs equal gen.py's output
# and re-rendering them gives byte-identical PNGs (sources and PNGs are in step).
set -u

HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
DATA="$ROOT/data/Skins"
if [ -x /usr/bin/convert ]; then CONVERT=/usr/bin/convert; else CONVERT=convert; fi

PASS=0
FAIL=0
ok()  { PASS=$((PASS + 1)); }
bad() { FAIL=$((FAIL + 1)); echo "FAIL: $*"; }
check() { # check "description" test-command...
    desc=$1; shift
    if "$@"; then ok; else bad "$desc"; fi
}

STATES="Manila Reset Sleep Off BluetoothDis Bluetooth_on Bluetooth_off Wifi_on Wifi_off
Phone_on Phone_off Vibro_on Vibro_off Gprs_on Gprs_off 3g_on 3g_off Flight_on Flight_off"
PAIRS="Bluetooth Wifi Phone Vibro Gprs 3g Flight"

size_of() { # name -> expected WxH
    case "$1" in
        Wallpaper) echo 480x800 ;;
        Button) echo 350x100 ;;
        Exit|Settings) echo 40x40 ;;
        *) echo 100x100 ;;
    esac
}

# fx helpers (values are 0..1)
count_fx() { # file expr -> number of pixels where expr is 1
    "$CONVERT" "$1" -alpha off -fx "$2" -format '%[fx:round(mean*w*h)]' info: 2>/dev/null
}
IS_KEY='(r==1 && g==0 && b==1)'
NEAR_KEY="$IS_KEY ? 0 : ((min(r,b)-g >= 0.25 || (r-1)^2+g^2+(b-1)^2 < 0.3) ? 1 : 0)"

in_range() { [ "$1" -ge "$2" ] && [ "$1" -le "$3" ]; }

png_truecolor8() { # byte 24 = bit depth, byte 25 = colour type (2 RGB, 6 RGBA)
    hdr=$(od -An -tu1 -j24 -N2 "$1" | tr -s ' ')
    [ "$hdr" = " 8 2" ] || [ "$hdr" = " 8 6" ]
}

ini_shape() { # exact line set and CRLF everywhere
    f=$1
    [ "$(head -c3 "$f" | od -An -tx1 | tr -d ' ')" != "efbbbf" ] || return 1
    lf=$(tr -cd '\n' <"$f" | wc -c)
    crlf=$(grep -c "$(printf '\r')\$" "$f")
    [ "$lf" -eq 7 ] && [ "$crlf" -eq 7 ] || return 1
    [ "$(tail -c2 "$f" | od -An -tx1 | tr -d ' ')" = "0d0a" ] || return 1
    tr -d '\r' <"$f" | awk '
        NR==1 && $0=="[Settings]" {n++}
        NR==2 && $0=="FontName = Tahoma" {n++}
        NR==3 && $0=="FontSize = 16" {n++}
        NR==4 && $0 ~ /^Red = ([0-9]|[1-9][0-9]|1[0-9][0-9]|2[0-4][0-9]|25[0-5])$/ {n++}
        NR==5 && $0 ~ /^Green = ([0-9]|[1-9][0-9]|1[0-9][0-9]|2[0-4][0-9]|25[0-5])$/ {n++}
        NR==6 && $0 ~ /^Blue = ([0-9]|[1-9][0-9]|1[0-9][0-9]|2[0-4][0-9]|25[0-5])$/ {n++}
        NR==7 && $0=="Bold = 1" {n++}
        END {exit !(n==7 && NR==7)}'
}

font_contrast_ok() { # skin dir: WCAG contrast of FontColor vs mean caption area >= 4.5
    ref=$(tr -d '\r' <"$1/Skin.ini" | awk -F' = ' '$1=="Red"{r=$2} $1=="Green"{g=$2} $1=="Blue"{b=$2}
        END {if (r!="" && g!="" && b!="") print r + 256*g + 65536*b}')
    [ -n "$ref" ] || return 1
    bg=$("$CONVERT" "$1/Button.png" -crop 236x80+108+10 +repage -scale '1x1!' \
        -format '%[fx:round(255*r)] %[fx:round(255*g)] %[fx:round(255*b)]' info:)
    echo "$ref $bg" | awk '
        function lin(c) { c/=255; return c<=0.03928 ? c/12.92 : ((c+0.055)/1.055)^2.4 }
        function lum(r,g,b) { return 0.2126*lin(r)+0.7152*lin(g)+0.0722*lin(b) }
        { fr=$1%256; fg=int($1/256)%256; fb=int($1/65536)%256
          a=lum(fr,fg,fb); b=lum($2,$3,$4)
          hi=a>b?a:b; lo=a>b?b:a; c=(hi+0.05)/(lo+0.05)
          if (c < 4.5) { printf "  contrast %.2f < 4.5\n", c; exit 1 } }'
}

if [ $# -gt 0 ]; then
    SKINS="$*"
else
    SKINS=""
    for dir in "$DATA"/*/; do [ -d "$dir" ] && SKINS="$SKINS $(basename "$dir")"; done
    for need in Default Graphite; do
        case "$SKINS " in *" $need "*) ;; *) bad "skin $need missing" ;; esac
    done
fi
[ -n "$SKINS" ] || { echo "no skins in $DATA"; echo "0 passed, 1 failed"; exit 1; }

for skin in $SKINS; do
    d="$DATA/$skin"
    echo "== $skin"
    check "$skin/Skin.ini present" test -f "$d/Skin.ini"
    [ -f "$d/Skin.ini" ] && check "$skin/Skin.ini shape (CRLF, keys, no BOM)" ini_shape "$d/Skin.ini"
    for name in Wallpaper Button Exit Settings $STATES; do
        f="$d/$name.png"
        if [ ! -f "$f" ]; then bad "$skin/$name.png missing"; continue; fi
        ok
        want=$(size_of "$name")
        got=$(identify -format '%wx%h' "$f" 2>/dev/null)
        check "$skin/$name.png is $got, want $want" [ "$got" = "$want" ]
        check "$skin/$name.png not 8-bit truecolor" png_truecolor8 "$f"
        check "$skin/$name.png not opaque" [ "$(identify -format '%[opaque]' "$f" | tr '[:upper:]' '[:lower:]')" = true ]
        case "$name" in
            Wallpaper|Button|Exit|Settings)
                n=$(count_fx "$f" "$IS_KEY ? 1 : 0")
                check "$skin/$name.png has $n key-coloured pixels" [ "$n" = 0 ] ;;
            *)
                p=$("$CONVERT" "$f" -format '%[fx:round(255*p{0,0}.r)],%[fx:round(255*p{0,0}.g)],%[fx:round(255*p{0,0}.b)]' info:)
                check "$skin/$name.png pixel (0,0) is $p, want 255,0,255" [ "$p" = "255,0,255" ]
                n=$(count_fx "$f" "$NEAR_KEY")
                check "$skin/$name.png has $n near-magenta fringe pixels" [ "$n" = 0 ]
                k=$(count_fx "$f" "$IS_KEY ? 1 : 0")
                check "$skin/$name.png key covers $k of 10000 px (want 500..6000)" \
                    in_range "${k:-0}" 500 6000 ;;
        esac
    done
    for t in $PAIRS; do
        if [ -f "$d/${t}_on.png" ] && [ -f "$d/${t}_off.png" ]; then
            diff=$(compare -metric MAE "$d/${t}_on.png" "$d/${t}_off.png" null: 2>&1 | sed 's/.*(\(.*\)).*/\1/')
            check "$skin: ${t}_on and ${t}_off too alike (MAE $diff)" \
                awk -v v="$diff" 'BEGIN{exit !(v+0 >= 0.04)}'
        fi
    done
    [ -f "$d/Button.png" ] && [ -f "$d/Skin.ini" ] && \
        check "$skin: FontColor unreadable on Button caption area" font_contrast_ok "$d"
done

total=$(du -cb "$DATA"/*/* | tail -1 | cut -f1)
check "skins take $total bytes, want < 1500000" [ "$total" -lt 1500000 ]

# sources and PNGs in step, rendering reproducible
if command -v rsvg-convert >/dev/null && command -v python3 >/dev/null; then
    T=$(mktemp -d)
    trap 'rm -rf "$T"' EXIT INT TERM
    # shellcheck disable=SC2086
    if python3 "$HERE/gen.py" --out "$T/src" $SKINS; then
        for skin in $SKINS; do
            check "$skin: committed SVG/ini sources differ from gen.py output" \
                diff -rq "$T/src/$skin" "$HERE/$skin"
        done
    else
        bad "gen.py failed"
    fi
    # shellcheck disable=SC2086
    if SKINS_OUT="$T/png" "$HERE/render.sh" --no-gen $SKINS >/dev/null; then
        for skin in $SKINS; do
            check "$skin: re-rendered PNGs differ from data/Skins (stale or not reproducible)" \
                diff -rq "$T/png/$skin" "$DATA/$skin"
        done
    else
        bad "render.sh failed"
    fi
else
    echo "(rsvg-convert or python3 missing: reproducibility not checked)"
fi

echo "$PASS passed, $FAIL failed"
[ "$FAIL" -eq 0 ]
