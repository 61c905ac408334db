#!/usr/bin/env bash
# The emu subcommands' contract: errors say why and fail, wait times out with 124, windows prints 9 fields.
source "$(dirname "$0")/lib.sh"

check "windows on a phone that is not booted fails" bash -c "! '$TOLVANE' emu windows --device '$DEVICE' 2>/dev/null"
check "an unknown subcommand fails" bash -c "! '$TOLVANE' emu frobnicate --device '$DEVICE' 2>/dev/null"

emu boot
emu boot # booting a booted phone is harmless
check "every windows line has 9 tab-separated fields" bash -c \
    "'$TOLVANE' emu windows --device '$DEVICE' | awk -F'\t' 'NF != 9 { bad = 1 } END { exit bad || NR == 0 }'"

# A menu that never closes by itself: wait gives up with 124.
mkdir -p "$INSTALL"
printf '[Settings]\r\nSkinName = Default\r\nTimeout = 0\r\n' >"$INSTALL/Settings.ini"
emu launch
set +e
emu wait 3 >/dev/null 2>&1
rc=$?
set -e
check "wait gives up after SECONDS with 124" [ "$rc" = 124 ]
emu shutdown
check "shutdown stops the phone" bash -c "! '$TOLVANE' emu windows --device '$DEVICE' 2>/dev/null"
finish
