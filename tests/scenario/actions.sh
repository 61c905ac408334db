#!/usr/bin/env bash
# Pressing the menu's buttons on the emulated phone: each does its work, which the phone's state shows
# afterwards, and the menu closes.
source "$(dirname "$0")/lib.sh"

emu boot
emu set radio_delay_ms 300 >/dev/null
{
    printf '[Settings]\r\nSkinName = Default\r\nTimeout = 0\r\n'
    slot() { printf '\r\n\r\n[%s]\r\nUseButton = %s\r\nPath = %s\r\nArg = %s\r\nText = %s\r\nIcon = \r\n' "$@"; }
    slot 0 6 '' '' WiFi
    slot 1 8 '' '' Vibro
    slot 2 9 '' '' GPRS
    slot 3 12 '\Windows\recorder.exe' 'hello "big world"' Recorder
    slot 4 5 '' '' Visible
    slot 5 1 '' '' Reset
    slot 6 2 '' '' Sleep
} >"$INSTALL/Settings.ini"

# press SLOT: starts the menu, waits until the slot's button is painted and taps it.
press() {
    expect_pixel 405 $((33 + 108 * $1)) "$BUTTON_FACE" "slot $1's button is painted"
    emu launch
    menu_painted
    emu tap 240 $((25 + 108 * $1 + 50))
}
BUTTON_FACE=$(pixel "$INSTALL/Skins/Default/Button.png" 340 8)

# ended_within SECONDS: the menu ends by itself with exit code 0.
ended_within() { [ "$(emu wait "$1")" = 0 ]; }

emu set wlan 1 >/dev/null
press 0
start=$SECONDS
check "WiFi: the menu closes after the radio switched and settled" ended_within 30
took=$((SECONDS - start))
check "WiFi: the close comes 5 to 8 seconds after the tap, with room for a busy machine (took $took)" between "$took" 5 12
expect_field wlan 0
check "WiFi: the switch asked for off" bash -c "'$TOLVANE' emu state --device '$DEVICE' | grep -q 'CommManager_SetWLAN 0'"

press 1
check "Vibro: the menu closes" ended_within 15
check "Vibro: vibrate is on" [ "$(state_field vibrate)" != 0 ]

emu set gprs 0 >/dev/null
press 2
check "GPRS: the menu closes" ended_within 15
expect_field gprs 1
press 2
check "GPRS again: the menu closes" ended_within 15
expect_field gprs 0

emu set history clear >/dev/null
press 3
check "Prog: the menu closes" ended_within 15
await_field launched '[{"program":"\\Windows\\recorder.exe","parameters":"hello \"big world\""}]'

emu set bttray absent >/dev/null
press 4
check "Visible without a manager: the box says so" poll 20 listed 'No BT-manager found'
emu key Return
check "Visible: the menu closes after the box" ended_within 15

press 5
check "Reset asks first" wait_for Static "Are You sure?"
tap_box_button "&No"
check "Reset answered No: the menu closes" ended_within 15
expect_field power '[]'

# The other kinds of action, on a second binding of the slots.
{
    printf '[Settings]\r\nSkinName = Default\r\nTimeout = 0\r\n'
    slot 0 0 '' '' Manila
    slot 1 2 '' '' Sleep
    slot 2 3 '' '' Off
    slot 3 5 '' '' Visible
    slot 4 1 '' '' Reset
    slot 5 4 '' '' Bluetooth
    slot 6 11 '' '' Flight
} >"$INSTALL/Settings.ini"

emu set bttray present >/dev/null
emu set bluetooth 0 >/dev/null
press 3
check "Visible with a manager: the menu closes" ended_within 15
expect_field bluetooth_discoverable 1

emu set flight 0 >/dev/null
press 6
check "Flight: the menu closes after the switch" ended_within 30
expect_field flight 1
expect_field wlan 0

emu set bluetooth 1 >/dev/null
press 5
check "Bluetooth: the menu closes after the switch" ended_within 30
expect_field bluetooth 0

emu set history clear >/dev/null
press 0
check "Restart Manila: the menu closes once the shell is back" ended_within 45
expect_field manila_running 1
expect_field today_item_enabled 1
check "Restart Manila: the shell was started again" grep -q 'Manila.exe' <<<"$(state_field launched)"

emu set history clear >/dev/null
press 1
check "Sleep: the menu closes" ended_within 15
expect_field power '["suspend"]'
emu tap 240 400 # the phone wakes up

emu set history clear >/dev/null
press 2
check "Power off asks first" wait_for Static "Are You sure?"
tap_box_button "&Yes"
check "Power off answered Yes: the menu closes" ended_within 15
expect_field power '["off"]'
emu tap 240 400

emu set history clear >/dev/null
press 4
check "Reset asks first" wait_for Static "Are You sure?"
tap_box_button "&Yes"
check "Reset answered Yes: the menu closes" ended_within 15
expect_field power '["reset"]'
# The phone restarts its programs a moment after a reset: Manila is started again.
check "Reset: the phone started Manila again" poll 20 eval 'grep -q Manila.exe <<<"$(state_field launched)"'

# Exit ends at once; the auto-close ends an untouched menu.
emu launch
menu_painted
emu tap 450 30
check "Exit ends the program" ended_within 5
finish
