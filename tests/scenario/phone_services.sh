#!/usr/bin/env bash
# The phone's services as the program meets them: the task bar's vibrate switch, the Bluetooth manager, Manila
# ended by the Today broadcast and started again, the power and connection managers, launches, real input.
source "$(dirname "$0")/lib.sh"

emu boot
emu set history clear

# Vibrate through the task bar's message 0x484, as SetVibroMode sends it.
emu ctl send HHTaskBar 0x484 2 >/dev/null
expect_field vibrate 2
emu ctl send HHTaskBar 0x484 0 >/dev/null
expect_field vibrate 0

# The Bluetooth manager makes Bluetooth visible (and on) on the registered message.
emu ctl send WCE_BTTRAY WIDCOMM_WM_VISIBLE1 0 >/dev/null
expect_field bluetooth_discoverable 1
expect_field bluetooth 1
emu set bluetooth 0
expect_field bluetooth_discoverable 0
emu set bttray absent
expect_field bttray_present 0
check "no Bluetooth manager window to send to" bash -c \
    "! '$TOLVANE' emu ctl send WCE_BTTRAY WIDCOMM_WM_VISIBLE1 0 --device '$DEVICE' 2>/dev/null"
emu set bttray present
expect_field bttray_present 1

# Manila ignores the Today broadcast while its item is enabled, and ends on it once the item is disabled.
emu ctl send broadcast 0x1A 0xF2 >/dev/null
sleep 0.5 # a bounded wait: Manila must not end within it
expect_field manila_running 1
emu set today_item_enabled 0
emu ctl send broadcast 0x1A 0xF2 >/dev/null
await_field manila_running 0
emu ctl start '\Windows\Manila.exe' ''
await_field manila_running 1
expect_field today_item_enabled 1
emu set manila stopped
expect_field manila_running 0
emu set manila running
expect_field manila_running 1

# Programs started through the shell, with their parameters, oldest first.
emu ctl start '\Windows\recorder.exe' '-open "My Documents\a b.txt"'
emu ctl start '\Windows\recorder.exe' ''
await_field launched '[{"program":"\\Windows\\Manila.exe","parameters":""},{"program":"\\Windows\\Manila.exe","parameters":""},{"program":"\\Windows\\recorder.exe","parameters":"-open \"My Documents\\a b.txt\""},{"program":"\\Windows\\recorder.exe","parameters":""}]'

# Power: a suspend darkens the screen until a tap; power off through HTCUtil.dll; a reset restarts Manila.
check "a suspend is answered with success" [ "$(emu ctl power 0x200000)" = 0 ]
expect_field screen_on 0
check "the dark screen covers the phone" bash -c \
    "'$TOLVANE' emu windows --device '$DEVICE' | awk -F'\t' '\$2 == \"PhoneDarkScreen\" && \$9 == 1 { found = 1 } END { exit !found }'"
emu tap 240 400
await_field screen_on 1
emu ctl call HTCUtil.dll HTCUtilDeviceOff >/dev/null
expect_field screen_on 0
expect_field power '["suspend","off"]'
emu tap 240 400
emu set history clear
emu ctl power 0x800000 >/dev/null
expect_field power '["reset"]'
# The phone restarts its programs a moment after the reset.
await_field launched '[{"program":"\\Windows\\Manila.exe","parameters":""}]'
await_field manila_running 1

# Real input reaches the Today screen.
emu tap 120 500
emu key Escape
emu type hi
await_field input '["tap 120 500","key 27","char 27","key 231","char 104","key 231","char 105"]'
finish
