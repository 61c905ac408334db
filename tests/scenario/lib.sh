# Shared helpers of the scenario tests: each test owns a phone in a temporary folder and drives it through
# ./tolvane emu exactly as a person would.
set -euo pipefail
TOLVANE=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/tolvane
export TOLVANE_NO_BUILD=1
DEVICE=$(mktemp -d /tmp/tolvane-scenario.XXXXXX)
INSTALL="$DEVICE/root/Program Files/Orsweld/Tolvane"
FAILURES=0

cleanup() {
    "$TOLVANE" emu shutdown --device "$DEVICE" >/dev/null 2>&1 || true
    rm -rf "$DEVICE"
}
trap cleanup EXIT

emu() { "$TOLVANE" emu "$@" --device "$DEVICE"; }

# script_line: the line of the scenario (not of these helpers) that the running check comes from.
script_line() {
    local i
    for ((i = 1; i < ${#BASH_SOURCE[@]}; i++)); do
        [ "${BASH_SOURCE[i]}" = "${BASH_SOURCE[0]}" ] || { echo "${BASH_LINENO[i - 1]}"; return; }
    done
}

# fail MESSAGE: reports a failed check with the scenario's line.
fail() {
    echo "FAIL (line $(script_line)): $1" >&2
    FAILURES=$((FAILURES + 1))
}

# check DESCRIPTION COMMAND...: reports the caller's line when COMMAND fails.
check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        fail "$what"
    fi
}

# window_field CLASS FIELD: a field (1-based, tab-separated) of the first window of CLASS in `emu windows`.
window_field() { emu windows | awk -F'\t' -v c="$1" -v f="$2" '$2 == c { print $f; exit }'; }

# pixels FILE X,Y...: the colours of points of a picture, one "r,g,b" a line, read from one dump of it.
pixels() {
    local file=$1
    shift
    convert "$file" -depth 8 ppm:- | python3 -c '
import re, sys
data = sys.stdin.buffer.read()
header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
width, rgb = int(header.group(1)), data[header.end():]
for point in sys.argv[1:]:
    x, y = (int(v) for v in point.split(","))
    print("%d,%d,%d" % tuple(rgb[(y * width + x) * 3:(y * width + x) * 3 + 3]))' "$@"
}

# pixel FILE X Y: the colour of one pixel of a picture as "r,g,b".
pixel() { pixels "$1" "$2,$3"; }

# Pixels the next screenshot should show: expect_pixel X Y COLOUR DESCRIPTION [TOLERANCE] adds one (TOLERANCE:
# how far each part of the colour may be off), screen_shows NAME checks them.
EXPECTED=()
expect_pixel() { EXPECTED+=("$1,$2 $3 ${5:-0} $4"); }

# screen_matches FILE: takes a screenshot into FILE and writes each expected pixel to FILE.txt as "WANT GOT OK
# DESCRIPTION"; fails when one is not shown.
screen_matches() {
    rm -f "$1.txt"
    emu screenshot "$1" || return 1
    local points=() line
    for line in "${EXPECTED[@]}"; do points+=("${line%% *}"); done
    paste -d' ' <(printf '%s\n' "${EXPECTED[@]}") <(pixels "$1" "${points[@]}") | python3 -c '
import sys
bad = 0
for line in sys.stdin:
    point, want, tolerance, rest = line.rstrip("\n").split(" ", 3)
    description, got = rest.rsplit(" ", 1)
    ok = max(abs(int(a) - int(b)) for a, b in zip(want.split(","), got.split(","))) <= int(tolerance)
    bad |= not ok
    print(want, got, int(ok), description)
sys.exit(bad)' >"$1.txt"
}

# screen_shows NAME: takes screenshots ($DEVICE/NAME.png) until every expected pixel shows, for at most 20 s,
# then checks each of them on the last one and forgets them.
screen_shows() {
    local shot="$DEVICE/$1.png" want got ok description
    if ! poll 20 screen_matches "$shot"; then # kept for a look at what the screen showed
        cp "$shot" "${TMPDIR:-/tmp}/tolvane-$(basename "$0" .sh)-$1.png" 2>/dev/null || true
        emu windows >"${TMPDIR:-/tmp}/tolvane-$(basename "$0" .sh)-$1.windows" 2>/dev/null || true
    fi
    check "a screenshot $1 with ${#EXPECTED[@]} points to compare" \
        [ "$(grep -c . "$shot.txt" 2>/dev/null)" = "${#EXPECTED[@]}" ]
    while read -r want got ok description; do
        check "$description ($got, expected $want)" [ "$ok" = 1 ]
    done < <(cat "$shot.txt" 2>/dev/null)
    EXPECTED=()
}

# poll SECONDS COMMAND...: runs COMMAND every 0.2 s until it succeeds; fails when it has not within SECONDS.
poll() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

# tap_box_button TEXT: taps the visible button with that text (a message box's answer), as a finger would.
tap_box_button() {
    local x y w h
    read -r x y w h < <(emu windows | awk -F'\t' -v t="$1" '$2 == "Button" && $3 == t && $9 == 1 { print $4, $5, $6, $7; exit }')
    emu tap $((x + w / 2)) $((y + h / 2))
}

# shows_reference REFERENCE X Y: the screen, from (X, Y), shows the reference picture's pixels. A fresh screenshot
# is taken for each try, so `eventually shows_reference ...` waits for the paint; the last part seen is kept as
# $DEVICE/NAME-seen.png beside the reference's NAME for a look when it fails.
shows_reference() {
    local seen
    seen=$DEVICE/$(basename "$1" .png)-seen.png
    emu screenshot "$DEVICE/screen.png" || return 1
    convert "$DEVICE/screen.png" -crop "$(identify -format '%wx%h' "$1")+$2+$3" +repage "PNG24:$seen"
    [ "$(screen_digest "$seen")" = "$(screen_digest "$1")" ]
}

# shown CLASS [TEXT]: whether a visible window of CLASS (with TEXT, when given) is listed.
shown() {
    emu windows | awk -F'\t' -v c="$1" -v t="${2-}" -v any="$(($# < 2))" \
        '$2 == c && (any || $3 == t) && $9 == 1 { found = 1 } END { exit !found }'
}

# hidden CLASS [TEXT]: whether no visible window of CLASS (with TEXT, when given) is listed.
hidden() { ! shown "$@"; }

# wait_for CLASS TEXT: waits until a visible window of CLASS with TEXT is listed (at most 20 s).
wait_for() { poll 20 shown "$1" "$2"; }

# wait_for_class CLASS: waits until a visible window of CLASS is listed (at most 20 s).
wait_for_class() { poll 20 shown "$1"; }

# eventually COMMAND...: runs COMMAND until it succeeds, for at most 20 s.
eventually() { poll 20 "$@"; }

# listed TEXT: whether TEXT appears anywhere in `emu windows`.
listed() { emu windows | grep -qF -- "$1"; }

# between VALUE LOW HIGH: whether LOW <= VALUE <= HIGH.
between() { [ "$1" -ge "$2" ] && [ "$1" -le "$3" ]; }

# ini_value SECTION KEY: a value of the phone's Settings.ini.
ini_value() { tr -d '\r' <"$INSTALL/Settings.ini" | awk -v s="[$1]" -v k="$2" '$0 == s { in_s = 1; next } /^\[/ { in_s = 0 } in_s && $1 == k { sub(/^[^=]*= ?/, ""); print; exit }'; }

# write_unbound_settings: a Settings.ini of the Default skin with no time-out and every slot None.
write_unbound_settings() {
    mkdir -p "$INSTALL"
    {
        printf '[Settings]\r\nSkinName = Default\r\nTimeout = 0\r\n'
        for slot in 0 1 2 3 4 5 6; do
            printf '\r\n\r\n[%s]\r\nUseButton = 13\r\nPath = \r\nArg = \r\nText = \r\nIcon = \r\n' "$slot"
        done
    } >"$INSTALL/Settings.ini"
}

# menu_ready: the menu window shows and has hidden the task bar. Its buttons show while it is made, before it takes
# the whole screen: until then a tap at the top lands on the task bar.
menu_ready() {
    emu windows | awk -F'\t' '$9 == 1 && $2 == "Tolvane" { menu = 1 } $9 == 1 && $2 == "HHTaskBar" { bar = 1 }
        END { exit !(menu && !bar) }'
}

# wait_for_menu: waits until the menu is ready for taps (at most 20 s).
wait_for_menu() { poll 20 menu_ready; }

# expect_faces SKIN: the next screenshot should show SKIN's Settings and Exit faces at the top.
expect_faces() {
    local skin="$INSTALL/Skins/$1" face
    mapfile -t face < <(pixels "$skin/Settings.png" 20,20)
    expect_pixel 30 30 "${face[0]}" "the $1 Settings face at the top left"
    mapfile -t face < <(pixels "$skin/Exit.png" 20,20)
    expect_pixel 450 30 "${face[0]}" "the $1 Exit face at the top right"
}

# menu_painted [SKIN]: checks that the menu shows and that its Settings and Exit faces come on the screen (so a
# tap reaches them); the screenshot is $DEVICE/menu.png.
menu_painted() {
    check "the menu shows" wait_for_menu
    expect_faces "${1:-Default}"
    screen_shows menu
}

finish() {
    if [ "$FAILURES" -gt 0 ]; then
        echo "$FAILURES check(s) failed" >&2
        exit 1
    fi
}

# state_field NAME: one field of `emu state`: a number as it is, a list or object as compact JSON.
state_field() {
    emu state | python3 -c '
import json, sys
v = json.load(sys.stdin)[sys.argv[1]]
print(v if isinstance(v, int) else json.dumps(v, separators=(",", ":")))' "$1"
}

# expect_field NAME VALUE: checks one field of `emu state`.
expect_field() {
    local got
    got=$(state_field "$1")
    if [ "$got" = "$2" ]; then
        echo "ok: $1 is $2"
    else
        fail "$1 is $got, expected $2"
    fi
}

# field_is NAME VALUE: whether one field of `emu state` is VALUE.
field_is() { [ "$(state_field "$1")" = "$2" ]; }

# await_field NAME VALUE: waits (at most 20 s) until one field of `emu state` is VALUE, then checks it.
await_field() {
    poll 20 field_is "$1" "$2" || true
    expect_field "$1" "$2"
}

# screen_painted NAME: takes a screenshot ($DEVICE/NAME.png) and checks that the front screen is painted over
# what lies below it: each of the front dialog's own windows (fields, frames, buttons, tiles) shows its own
# pixels, the dialog's tree controls show their white ground, and no button or frame of a screen below shows
# through the front dialog. Prints what is wrong.
screen_painted() {
    emu screenshot "$DEVICE/$1.png" || return 1
    emu windows >"$DEVICE/$1.windows" || return 1
    convert "$DEVICE/$1.png" -depth 8 rgb:- | python3 "$(dirname "${BASH_SOURCE[0]}")/screen_painted.py" "$DEVICE/$1.windows"
}

# taps_reach NAME: lists the windows ($DEVICE/NAME.windows) and checks that at the centre of each control of the
# front screen (buttons, fields, lists, the ok, each soft key) the top-most window is that control, so that a tap
# there reaches it. Prints what is in the way.
taps_reach() {
    emu windows >"$DEVICE/$1.windows" || return 1
    python3 "$(dirname "${BASH_SOURCE[0]}")/screen_painted.py" "$DEVICE/$1.windows" --taps </dev/null
}

# stacking_settled: whether the windowing rules have stopped moving windows: the phone's count of their restacks
# holds for half a second.
stacking_settled() {
    local before
    before=$(state_field restacks) && sleep 0.5 && [ "$(state_field restacks)" = "$before" ]
}

# write_seven_slots SKIN TIMEOUT: a Settings.ini with seven slots bound to actions that need no radio library.
write_seven_slots() {
    mkdir -p "$INSTALL"
    {
        printf '[Settings]\r\nSkinName = %s\r\nTimeout = %s\r\n' "$1" "$2"
        local slot code text icon
        while IFS='|' read -r slot code text icon; do
            printf '\r\n\r\n[%s]\r\nUseButton = %s\r\nPath = \r\nArg = \r\nText = %s\r\nIcon = %s\r\n' \
                "$slot" "$code" "$text" "$icon"
        done <<'SLOTS'
0|0|Restart Manila|
1|2|Sleep Mode|
2|3|Power off|
3|5|Bluetooth Discoverable|
4|8|Vibro|
5|9|GPRS|
6|12|Notes|\Program Files\Orsweld\Tolvane\Skins\Default\Reset.png
SLOTS
    } >"$INSTALL/Settings.ini"
}

# screen_digest FILE: a digest of a screenshot's pixels (not of its file).
screen_digest() { convert "$1" -depth 8 rgb:- | md5sum | cut -d' ' -f1; }

# wait_for_screen FILE REFERENCE: takes screenshots into FILE until they show the REFERENCE picture's pixels
# (at most 10 s).
wait_for_screen() {
    local want
    want=$(screen_digest "$2")
    for _ in $(seq 1 50); do
        emu screenshot "$1" && [ "$(screen_digest "$1")" = "$want" ] && return 0
        sleep 0.2
    done
    return 1
}
