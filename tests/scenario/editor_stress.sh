#!/usr/bin/env bash
# Every screen of the editor painted over what lies below it, every time, with the machine busy: the hub, the
# General page, a button page and the file picker, each opened 30 times with a CPU hog running beside the phone.
source "$(dirname "$0")/lib.sh"

ROUNDS=${TOLVANE_STRESS_ROUNDS:-30}
declare -A painted=([hub]=0 [general]=0 [button]=0 [picker]=0)

# A busy loop beside the phone for the whole scenario (the other tests, run beside it, share the load).
(while :; do :; done) &
hog=$!
stop_hogs() { kill "$hog" 2>/dev/null || true; cleanup; }
trap stop_hogs EXIT

# opened NAME: counts NAME as painted when the front screen is, and says what was not.
opened() {
    if screen_painted "$1"; then
        painted[$1]=$((painted[$1] + 1))
    else
        echo "FAIL: $1 not painted in round $round (see $DEVICE/$1.png)" >&2
        cp "$DEVICE/$1.png" "${TMPDIR:-/tmp}/tolvane-stress-$1-$round.png" 2>/dev/null || true
    fi
}

emu boot
write_unbound_settings
for round in $(seq 1 "$ROUNDS"); do
    emu launch
    wait_for_menu || { echo "FAIL: no menu in round $round" >&2; break; }
    emu tap 30 30 # Settings
    wait_for Button General && opened hub
    emu tap 357 346 # General
    wait_for_class msctls_updown32 && opened general
    emu tap 360 774 # Cancel
    wait_for Button "Button 1" || break
    emu tap 122 55 # Button 1
    wait_for Button "Path to exe" && opened button
    emu tap 425 255 # the program's ">>"
    wait_for_class SysTreeView32 && opened picker
    emu tap 360 774 # the picker's Cancel
    wait_for Button "Path to exe" || break
    emu tap 360 774 # the page's Cancel
    wait_for Button "Button 1" || break
    emu tap 360 774 # the hub's Exit
    emu wait 30 >/dev/null || break
done

for screen in hub general button picker; do
    echo "$screen: ${painted[$screen]} of $ROUNDS paintings correct"
    check "every $screen painted over what lies below it" [ "${painted[$screen]}" = "$ROUNDS" ]
done
finish
