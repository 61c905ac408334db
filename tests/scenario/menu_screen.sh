#!/usr/bin/env bash
# The menu screen with seven bound slots: the nine buttons stand where the layout puts them, and each face shows
# the skin's button background, the state picture of its action as the phone stands, and the key colour's holes.
source "$(dirname "$0")/lib.sh"

# The runs that only show a screen have a time-out long enough for a busy machine and end by Exit; the first and
# the run after the error box end by their time-out.
# exit_menu: taps Exit and checks that the menu ends with 0.
exit_menu() {
    emu tap 450 30
    local code
    code=$(emu wait 30) || true
    check "Exit ends the run with 0" [ "$code" = 0 ]
}

# start_menu: starts the menu and waits until it shows.
start_menu() {
    emu launch
    check "the menu shows" wait_for_menu
}

# expect_face SKIN SLOT PICTURE: the slot's face should show Button.png, the state picture and the key's hole.
expect_face() {
    local skin=$1 slot=$2 picture=$3
    local x=65 y=$((25 + 108 * slot)) button points=(50,50 50,20 30,60 75,40) colours i
    mapfile -t button < <(pixels "$INSTALL/Skins/$skin/Button.png" 0,0 340,8)
    expect_pixel $x $y "${button[0]}" "slot $slot: the key pixel shows Button.png"
    expect_pixel $((x + 340)) $((y + 8)) "${button[1]}" "slot $slot: Button.png right of the picture"
    # Points inside the picture that are not its key colour (its top left): they must show the picture itself.
    mapfile -t colours < <(pixels "$picture" 0,0 "${points[@]}")
    for i in "${!points[@]}"; do
        [ "${colours[i + 1]}" = "${colours[0]}" ] && continue
        expect_pixel $((x + ${points[i]%,*})) $((y + ${points[i]#*,})) "${colours[i + 1]}" \
            "slot $slot: $(basename "$picture") at (${points[i]})"
    done
}

emu boot
emu set gprs 0 >/dev/null
emu set vibrate 0 >/dev/null
write_seven_slots Default 20
# What the screen should show, worked out before the start: the menu closes by itself after 8 seconds.
skin="$INSTALL/Skins/Default"
expect_faces Default
expect_face Default 0 "$skin/Manila.png"
expect_face Default 2 "$skin/Off.png"
expect_face Default 4 "$skin/Vibro_off.png"
expect_face Default 5 "$skin/Gprs_off.png"
expect_face Default 6 "$skin/Reset.png"
expect_pixel 240 129 "$(pixel "$skin/Wallpaper.png" 240 129)" "the wallpaper shows between the buttons"
start_menu

# The nine buttons: seven slot buttons, Exit and Settings, each at its place and size.
{
    echo "10 10 40 40"
    echo "430 10 40 40"
    for slot in 0 1 2 3 4 5 6; do echo "65 $((25 + 108 * slot)) 350 100"; done
} | sort -n -k2 -k1 >"$DEVICE/expected-buttons.txt"
buttons_in_layout() {
    emu windows | awk -F'\t' '$2 == "Button" && $9 == 1 { print $4, $5, $6, $7, $8 }' | sort -n -k2 -k1 \
        >"$DEVICE/buttons.txt"
    diff <(cut -d' ' -f1-4 "$DEVICE/buttons.txt") "$DEVICE/expected-buttons.txt" >/dev/null
}
check "nine buttons at the places and sizes of the layout" poll 20 buttons_in_layout
check "the slot buttons are visible child push buttons" \
    [ "$(awk '$3 == 350 && ($5 == "0x50002000" || $5 == "0x52002000")' "$DEVICE/buttons.txt" | wc -l)" = 7 ]
check "Exit and Settings are bare top-level squares" \
    [ "$(awk '$3 == 40 && $5 ~ /^0x9[0-7]000F00$/' "$DEVICE/buttons.txt" | wc -l)" = 2 ]

screen_shows default
code=$(emu wait 40) || true
check "the menu still ends by itself" [ "$code" = 0 ]

# The next start shows the phone as it stands then: GPRS connected, vibrate on, in the other skin.
emu set gprs 1 >/dev/null
emu set vibrate 1 >/dev/null
write_seven_slots Graphite 60
skin="$INSTALL/Skins/Graphite"
expect_face Graphite 1 "$skin/Sleep.png"
expect_face Graphite 4 "$skin/Vibro_on.png"
expect_face Graphite 5 "$skin/Gprs_on.png"
expect_face Graphite 6 "$INSTALL/Skins/Default/Reset.png"
expect_faces Graphite
start_menu
screen_shows graphite
exit_menu

# The WiFi face as the phone's radio stands: on, then off.
skin="$INSTALL/Skins/Default"
for wlan in on off; do
    emu set wlan "$([ $wlan = on ] && echo 1 || echo 0)" >/dev/null
    printf '[Settings]\r\nSkinName = Default\r\nTimeout = 60\r\n\r\n[0]\r\nUseButton = 6\r\nText = WiFi\r\n' \
        >"$INSTALL/Settings.ini"
    expect_face Default 0 "$skin/Wifi_$wlan.png"
    start_menu
    screen_shows "wifi-$wlan"
    exit_menu
done

# A phone without the radio library: the WiFi face costs one error box. Once it is dismissed no other box
# follows, every face is drawn and the Exit and Settings buttons still stand above the menu.
rm -f "$DEVICE/root/Windows/CommManagerDll.dll"
printf '[Settings]\r\nSkinName = Default\r\nTimeout = 20\r\n\r\n[0]\r\nUseButton = 6\r\nText = WiFi\r\n\r\n[1]\r\nUseButton = 2\r\nText = Sleep\r\n' \
    >"$INSTALL/Settings.ini"
skin="$INSTALL/Skins/Default"
expect_face Default 0 "$skin/Wifi_off.png"
expect_face Default 1 "$skin/Sleep.png"
expect_faces Default
emu launch
one_box() { [ "$(emu windows | awk -F'\t' '$2 == "#32770" && $9 == 1' | wc -l)" = "$1" ]; }
check "the missing library is reported in one box" poll 20 one_box 1
emu key Return
check "the box goes" poll 20 one_box 0
screen_shows nolibrary
menu_order() { emu windows | awk -F'\t' '$9 == 1 && ($2 == "Tolvane" || ($2 == "Button" && $6 == 40)) { printf "%s ", $2 }'; }
buttons_above() { [ "$(menu_order)" = "Button Button Tolvane " ]; }
check "Exit and Settings stand above the menu (z-order: $(menu_order))" poll 10 buttons_above
sleep 2 # a bounded wait: no further box may show within it
check "no further box follows" one_box 0
code=$(emu wait 40) || true
check "the menu still ends by itself after the box" [ "$code" = 0 ]

finish
