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

# check DESCRIPTION COMMAND...: reports the caller's line when COMMAND fails.
check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAIL (line ${BASH_LINENO[0]}): $what" >&2
        FAILURES=$((FAILURES + 1))
    fi
}

# window_field CLASS FIELD: a field (1-based, tab-separated) of the first window of CLASS in `emu windows`.
window_field() { emu windows | awk -F'\t' -v c="$1" -v f="$2" '$2 == c { print $f; exit }'; }

# pixel FILE X Y: the colour of one pixel of a PNG as "r,g,b".
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }

# wait_for CLASS TEXT: waits until a visible window of CLASS with TEXT is listed.
wait_for() {
    for _ in $(seq 1 50); do
        emu windows | awk -F'\t' -v c="$1" -v t="$2" '$2 == c && $3 == t && $9 == 1 { found = 1 } END { exit !found }' &&
            return 0
        sleep 0.2
    done
    return 1
}

# eventually COMMAND...: runs COMMAND until it succeeds, for at most 10 s.
eventually() {
    for _ in $(seq 1 50); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}

# wait_for_class CLASS: waits until a visible window of CLASS is listed (at most 10 s).
wait_for_class() {
    for _ in $(seq 1 50); do
        emu windows | awk -F'\t' -v c="$1" '$2 == c && $9 == 1 { found = 1 } END { exit !found }' && return 0
        sleep 0.2
    done
    return 1
}

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

# wait_for_menu: waits until the menu window shows (at most 10 s).
wait_for_menu() {
    for _ in $(seq 1 50); do
        [ "$(window_field Tolvane 9)" = 1 ] && return 0
        sleep 0.2
    done
    return 1
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
        echo "FAIL (line ${BASH_LINENO[0]}): $1 is $got, expected $2" >&2
        FAILURES=$((FAILURES + 1))
    fi
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
