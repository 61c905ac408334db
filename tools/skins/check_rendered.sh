#!/bin/sh
# Checks that the committed skins are what their sources make: the SVGs and Skin.ini in tools/skins/<Skin>/ equal
# gen.py's output, and rendering them again gives byte-identical PNGs in data/Skins/<Skin>/. Whether a skin is
# usable by the program is `./tolvane skin check DIR`.
#
#   tools/skins/check_rendered.sh [Skin...]      default: Default Graphite
set -u

HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
SKINS=${*:-Default Graphite}
FAIL=0
bad() { FAIL=$((FAIL + 1)); echo "FAIL: $*"; }

T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT INT TERM
# shellcheck disable=SC2086  # word list on purpose
if python3 "$HERE/gen.py" --out "$T/src" $SKINS; then
    for skin in $SKINS; do
        diff -rq "$T/src/$skin" "$HERE/$skin" || bad "$skin: the committed SVG and Skin.ini sources differ from gen.py's"
    done
else
    bad "gen.py failed"
fi
# shellcheck disable=SC2086
if SKINS_OUT="$T/png" "$HERE/render.sh" --no-gen $SKINS >/dev/null; then
    for skin in $SKINS; do
        diff -rq "$T/png/$skin" "$ROOT/data/Skins/$skin" ||
            bad "$skin: rendering the sources again does not give data/Skins/$skin (stale or not reproducible)"
    done
else
    bad "render.sh failed"
fi
[ "$FAIL" -eq 0 ]
