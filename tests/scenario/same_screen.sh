#!/usr/bin/env bash
# The same phone shows the same pixels on every machine: the seven-button Default menu equals the reference
# screenshot kept beside this script, and a second phone booted after the first gives a byte-identical
# screenshot. Set TOLVANE_NEW_REFERENCE=1 to write the reference from this machine instead.
source "$(dirname "$0")/lib.sh"

REFERENCE="$(dirname "$0")/reference/menu-default.png"

# menu_shot PHONE FILE: boots PHONE, starts the seven-button Default menu and takes FILE once it shows the
# reference.
menu_shot() {
    local phone=$1
    "$TOLVANE" emu boot --device "$phone"
    INSTALL="$phone/root/Program Files/Orsweld/Tolvane" write_seven_slots Default 0
    "$TOLVANE" emu launch --device "$phone"
    DEVICE=$phone wait_for_menu || return 1
    DEVICE=$phone wait_for_screen "$2" "$REFERENCE"
}

if [ "${TOLVANE_NEW_REFERENCE:-}" = 1 ]; then
    emu boot
    write_seven_slots Default 0
    emu launch
    wait_for_menu
    sleep 2 # a new reference: nothing to wait for but the first paint
    emu screenshot "$REFERENCE"
    echo "wrote $REFERENCE"
    exit 0
fi

check "the first phone shows the reference menu, pixel for pixel" menu_shot "$DEVICE" "$DEVICE/first.png"
"$TOLVANE" emu shutdown --device "$DEVICE"
SECOND=$(mktemp -d /tmp/tolvane-scenario.XXXXXX)
trap '"$TOLVANE" emu shutdown --device "$SECOND" >/dev/null 2>&1 || true; rm -rf "$SECOND"; cleanup' EXIT
check "a second phone shows the reference menu, pixel for pixel" menu_shot "$SECOND" "$SECOND/second.png"
check "the two phones' screenshots are byte-identical files" cmp "$DEVICE/first.png" "$SECOND/second.png"
if [ "$FAILURES" -gt 0 ] && [ -f "$DEVICE/first.png" ]; then
    echo "differing pixels: $(compare -metric AE "$DEVICE/first.png" "$REFERENCE" null: 2>&1)" >&2
fi
finish
