#!/usr/bin/env bash
# The phone's state from outside: set and state round trips, radio switches that take a moment, flight mode
# rules, vendor libraries made absent, and state that survives a reboot.
source "$(dirname "$0")/lib.sh"

emu boot
# A new phone: radios off but the phone radio, no data link, Manila running, task bar shown.
for pair in bluetooth=0 wlan=0 phone=1 flight=0 bluetooth_discoverable=0 vibrate=0 gprs=0 umts_opmode=0 \
    manila_running=1 taskbar_visible=1 power=[] calls=[]; do
    expect_field "${pair%%=*}" "${pair#*=}"
done
check "processes lists the shell and Manila" bash -c \
    "'$TOLVANE' emu state --device '$DEVICE' | python3 -c 'import json,sys; p=json.load(sys.stdin)[\"processes\"]; sys.exit(not {\"PhoneShell.exe\",\"Manila.exe\"} <= set(p))'"

# Every name that set knows, read back through state.
for pair in bluetooth=1 wlan=1 vibrate=2 gprs=1 umts_opmode=2 bluetooth_discoverable=1 radio_delay_ms=700 \
    wlan=0 vibrate=0 umts_opmode=1; do
    emu set "${pair%%=*}" "${pair#*=}"
    expect_field "${pair%%=*}" "${pair#*=}"
done

# Refusals: one line saying why, and a failure.
for bad in "frobnicate 1" "bluetooth 2" "gprs -1" "manila paused" "radio_delay_ms soon"; do
    set +e
    message=$(emu set $bad 2>&1 >/dev/null)
    rc=$?
    set -e
    lines=$(printf '%s' "$message" | grep -c .)
    check "set $bad fails" [ "$rc" -ne 0 ]
    check "set $bad says why in one line" [ "$lines" -eq 1 ]
done

# A radio switch reported by Get only after the delay: 2 s here, so that a busy machine still asks "right after".
emu set radio_delay_ms 2000
emu set history clear
emu ctl call CommManagerDll.dll CommManager_SetBluetooth 0 >/dev/null
check "Get right after Set still reports the old state" [ "$(emu ctl call CommManagerDll.dll CommManager_GetBluetooth cell)" = "0 1" ]
sleep 2.5 # past the delay on purpose: what is checked is the time the switch takes
check "Get after the delay reports the new state" [ "$(emu ctl call CommManagerDll.dll CommManager_GetBluetooth cell)" = "0 0" ]
expect_field calls '["CommManager_SetBluetooth 0","CommManager_GetBluetooth -> 1","CommManager_GetBluetooth -> 0"]'

# Flight mode: on silences every radio and drops the data link; off brings back the phone radio only.
emu set radio_delay_ms 0
emu set bluetooth 1
emu set wlan 1
emu set gprs 1
emu ctl call CommManagerDll.dll CommManager_SetFlightMode 1 >/dev/null
for pair in flight=1 bluetooth=0 wlan=0 phone=0 gprs=0; do expect_field "${pair%%=*}" "${pair#*=}"; done
check "a connection request in flight mode finds the phone off" [ "$(emu ctl connect)" = "0x27" ]
emu ctl call CommManagerDll.dll CommManager_SetFlightMode 0 >/dev/null
for pair in flight=0 bluetooth=0 wlan=0 phone=1 gprs=0; do expect_field "${pair%%=*}" "${pair#*=}"; done
check "a connection request with the phone radio on connects" [ "$(emu ctl connect)" = "0x10" ]
expect_field gprs 1
emu ctl call CommManagerDll.dll CommManager_DisconnectAllGPRS >/dev/null
expect_field gprs 0
emu set gprs 1
emu set phone 0
expect_field gprs 0

# A phone without its vendor libraries, until they are put back.
emu set commmanager absent
emu set htcutil absent
expect_field commmanager_present 0
check "the program's library lookup fails without CommManagerDll.dll" bash -c \
    "! '$TOLVANE' emu ctl call CommManagerDll.dll CommManager_GetWLAN cell --device '$DEVICE' 2>/dev/null"

# State kept in the phone's registry and files survives a reboot.
emu set bluetooth 1
emu set vibrate 2
emu shutdown
emu boot
for pair in bluetooth=1 vibrate=2 phone=0 commmanager_present=0 htcutil_present=0; do
    expect_field "${pair%%=*}" "${pair#*=}"
done
emu set commmanager present
emu set htcutil present
expect_field commmanager_present 1
check "CommManagerDll.dll answers again" [ "$(emu ctl call CommManagerDll.dll CommManager_GetBluetooth cell)" = "0 1" ]
finish
