#!/usr/bin/env bash
# Every screen of the editor painted over what lies below it, every time, with the machine busy: the hub, the
# General page, a button page and the file picker, each opened 30 times with a CPU hog running beside the phone.
# Each time a screen closes, every control of the screen below is in front at its centre, and the round ends as a
# reported lost tap began: the button page closed with Cancel, a pause, then the hub's ok, which ends the editor.
source "$(dirname "$0")/lib.sh"

ROUNDS=${TOLVANE_STRESS_ROUNDS:-30}
declare -A painted=([hub]=0 [general]=0 [button]=0 [picker]=0)
declare -A reached=([general]=0 [picker]=0 [button]=0) # by the screen that closed
ended=0

# A busy loop beside the phone for the whole scenario (the other tests, run beside it, share the load).
(while :; do :; done) &
hog=$!
stop_hogs() { kill "$hog" 2>/dev/null || true; cleanup; }
trap stop_hogs EXIT

# opened NAME: counts NAME as painted when the front screen is painted within 5 s of its windows being listed
# (the unpainted page this guards against stayed so until the next tap), and says what was not.
opened() {
    local _
    for _ in $(seq 1 10); do
        if screen_painted "$1" 2>"$DEVICE/$1.faults"; then
            painted[$1]=$((painted[$1] + 1))
            return 0
        fi
        sleep 0.5
    done
    echo "FAIL: $1 not painted in round $round:" >&2
    cat "$DEVICE/$1.faults" >&2
    cp "$DEVICE/$1.png" "${TMPDIR:-/tmp}/tolvane-stress-$1-$round.png" 2>/dev/null || true
}

# closed NAME: once the windowing rules have settled after the screen NAME closed (the pause before the next tap),
# counts NAME when every control of the screen below is the top-most window at its centre, and says what is not.
closed() {
    poll 20 stacking_settled || echo "FAIL: round $round: the windows never settled after $1 closed" >&2
    if taps_reach "$1-closed" 2>"$DEVICE/$1.taps"; then
        reached[$1]=$((reached[$1] + 1))
    else
        echo "FAIL: round $round: after $1 closed, a tap misses a control below:" >&2
        cat "$DEVICE/$1.taps" >&2
        cp "$DEVICE/$1-closed.windows" "${TMPDIR:-/tmp}/tolvane-stress-$1-closed-$round.windows" 2>/dev/null || true
    fi
}

# lost WHAT: says what the phone shows when a step of a round did not happen, and ends the rounds.
lost() {
    echo "FAIL: round $round: $1" >&2
    echo "the menu program: $(emu wait 0 2>&1)" >&2
    emu windows | awk -F'\t' '$9 == 1' >&2 || tail -n 20 "$DEVICE/run/shell.log" >&2 2>/dev/null || true
    return 1
}

emu boot
write_unbound_settings
for round in $(seq 1 "$ROUNDS"); do
    emu launch
    wait_for_menu || { lost "no menu"; break; }
    emu tap 30 30 # Settings
    wait_for Button General && opened hub
    emu tap 357 346 # General
    wait_for_class msctls_updown32 && opened general
    emu tap 360 774 # Cancel
    poll 20 hidden msctls_updown32 || { lost "the hub did not come back from General"; break; }
    closed general
    emu tap 122 55 # Button 1
    wait_for Button "Path to exe" && opened button
    emu tap 425 255 # the program's ">>"
    wait_for_class SysTreeView32 && opened picker
    emu tap 360 774 # the picker's Cancel
    poll 20 hidden SysTreeView32 || { lost "the page did not come back from the picker"; break; }
    closed picker
    emu tap 360 774 # the page's Cancel
    poll 20 hidden Button "Path to exe" || { lost "the hub did not come back from the page"; break; }
    closed button
    if emu wait 0 >/dev/null 2>&1; then lost "the editor ended before its ok was tapped"; break; fi
    emu tap 440 26 # the hub's ok, over the "Button 5" tile
    emu wait 30 >/dev/null || { lost "the hub's ok did not end the editor"; break; }
    ended=$((ended + 1))
done

for screen in hub general button picker; do
    echo "$screen: ${painted[$screen]} of $ROUNDS paintings correct"
    check "every $screen painted over what lies below it" [ "${painted[$screen]}" = "$ROUNDS" ]
done
for screen in general picker button; do
    echo "after $screen closed: ${reached[$screen]} of $ROUNDS screens below with every control in front"
    check "every control in front after every $screen closed" [ "${reached[$screen]}" = "$ROUNDS" ]
done
echo "the hub's ok ended the editor: $ended of $ROUNDS"
check "the hub's ok ended the editor every time" [ "$ended" = "$ROUNDS" ]
echo "restacks: $(state_field restacks) in $ROUNDS rounds"
finish
