#!/usr/bin/env bash
# The menu screen with seven bound slots: the nine buttons stand where the layout puts them, and each face shows
# the skin's button background, the state picture of its action as the phone stands, and the key colour's holes.
source "$(dirname "$0")/lib.sh"

# write_settings SKIN TIMEOUT: seven slots bound to actions that need no radio library.
write_settings() {
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

# The phone's registry, written the way the phone's own services write it.
phone_reg() { # KEY VALUE DWORD
    WINEPREFIX="$DEVICE/wine" DISPLAY=$(cat "$DEVICE/run/display") /usr/lib/wine/wine64 reg add "$1" /v "$2" \
        /t REG_DWORD /d "$3" /f >/dev/null 2>&1
}

start_menu() {
    emu launch
    for _ in $(seq 1 100); do
        [ "$(window_field Tolvane 9)" = 1 ] && break
        sleep 0.2
    done
    sleep 1.5 # the first paint
}

# check_face SHOT SKIN SLOT PICTURE: the slot's face shows Button.png, the state picture and the key's hole.
check_face() {
    local shot=$1 skin=$2 slot=$3 picture=$4
    local x=65 y=$((25 + 108 * slot)) px py
    local button="$INSTALL/Skins/$skin/Button.png"
    check "slot $slot: the key pixel shows Button.png" \
        [ "$(pixel "$shot" $x $y)" = "$(pixel "$button" 0 0)" ]
    check "slot $slot: Button.png right of the picture" \
        [ "$(pixel "$shot" $((x + 340)) $((y + 8)))" = "$(pixel "$button" 340 8)" ]
    # Points inside the picture that are not its key colour: they must show the picture itself.
    local key
    key=$(pixel "$picture" 0 0)
    for point in "50 50" "50 20" "30 60" "75 40"; do
        set -- $point
        [ "$(pixel "$picture" "$1" "$2")" = "$key" ] && continue
        check "slot $slot: $(basename "$picture") at ($1, $2)" \
            [ "$(pixel "$shot" $((x + $1)) $((y + $2)))" = "$(pixel "$picture" "$1" "$2")" ]
    done
}

emu boot
phone_reg 'HKLM\System\State\Phone' 'Cellular System Connected' 0
phone_reg 'HKCU\ControlPanel\Notifications\ShellOverrides' Mode 0
write_settings Default 8
start_menu

# The nine buttons: seven slot buttons, Exit and Settings, each at its place and size.
emu windows | awk -F'\t' '$2 == "Button" && $9 == 1 { print $4, $5, $6, $7, $8 }' | sort -n -k2 -k1 \
    >"$DEVICE/buttons.txt"
{
    echo "10 10 40 40"
    echo "430 10 40 40"
    for slot in 0 1 2 3 4 5 6; do echo "65 $((25 + 108 * slot)) 350 100"; done
} | sort -n -k2 -k1 >"$DEVICE/expected-buttons.txt"
check "nine buttons at the places and sizes of the layout" \
    diff <(cut -d' ' -f1-4 "$DEVICE/buttons.txt") "$DEVICE/expected-buttons.txt"
check "the slot buttons are visible child push buttons" \
    [ "$(awk '$3 == 350 && ($5 == "0x50002000" || $5 == "0x52002000")' "$DEVICE/buttons.txt" | wc -l)" = 7 ]
check "Exit and Settings are bare top-level squares" \
    [ "$(awk '$3 == 40 && $5 ~ /^0x9[0-7]000F00$/' "$DEVICE/buttons.txt" | wc -l)" = 2 ]

emu screenshot "$DEVICE/default.png"
skin="$INSTALL/Skins/Default"
check "the Settings face at the top left" [ "$(pixel "$DEVICE/default.png" 30 30)" = "$(pixel "$skin/Settings.png" 20 20)" ]
check "the Exit face at the top right" [ "$(pixel "$DEVICE/default.png" 450 30)" = "$(pixel "$skin/Exit.png" 20 20)" ]
check_face "$DEVICE/default.png" Default 0 "$skin/Manila.png"
check_face "$DEVICE/default.png" Default 2 "$skin/Off.png"
check_face "$DEVICE/default.png" Default 4 "$skin/Vibro_off.png"
check_face "$DEVICE/default.png" Default 5 "$skin/Gprs_off.png"
check_face "$DEVICE/default.png" Default 6 "$skin/Reset.png"
check "the wallpaper shows between the buttons" \
    [ "$(pixel "$DEVICE/default.png" 240 129)" = "$(pixel "$skin/Wallpaper.png" 240 129)" ]
code=$(emu wait 20) || true
check "the menu still ends by itself" [ "$code" = 0 ]

# The next start shows the phone as it stands then: GPRS connected, vibrate on, in the other skin.
phone_reg 'HKLM\System\State\Phone' 'Cellular System Connected' 1
phone_reg 'HKCU\ControlPanel\Notifications\ShellOverrides' Mode 1
write_settings Graphite 8
start_menu
emu screenshot "$DEVICE/graphite.png"
skin="$INSTALL/Skins/Graphite"
check_face "$DEVICE/graphite.png" Graphite 1 "$skin/Sleep.png"
check_face "$DEVICE/graphite.png" Graphite 4 "$skin/Vibro_on.png"
check_face "$DEVICE/graphite.png" Graphite 5 "$skin/Gprs_on.png"
check_face "$DEVICE/graphite.png" Graphite 6 "$INSTALL/Skins/Default/Reset.png"
check "the Graphite Exit face" [ "$(pixel "$DEVICE/graphite.png" 450 30)" = "$(pixel "$skin/Exit.png" 20 20)" ]
code=$(emu wait 20) || true
check "the second run ends by itself" [ "$code" = 0 ]

# The WiFi face as the phone's radio stands: on, then off.
skin="$INSTALL/Skins/Default"
for wlan in on off; do
    emu set wlan "$([ $wlan = on ] && echo 1 || echo 0)" >/dev/null
    printf '[Settings]\r\nSkinName = Default\r\nTimeout = 3\r\n\r\n[0]\r\nUseButton = 6\r\nText = WiFi\r\n' \
        >"$INSTALL/Settings.ini"
    start_menu
    emu screenshot "$DEVICE/wifi-$wlan.png"
    check_face "$DEVICE/wifi-$wlan.png" Default 0 "$skin/Wifi_$wlan.png"
    code=$(emu wait 20) || true
    check "the WiFi $wlan run ends by itself" [ "$code" = 0 ]
done

# A phone without the radio library: the WiFi face costs one error box. Once it is dismissed no other box
# follows, every face is drawn and the Exit and Settings buttons still stand above the menu.
rm -f "$DEVICE/root/Windows/CommManagerDll.dll"
printf '[Settings]\r\nSkinName = Default\r\nTimeout = 4\r\n\r\n[0]\r\nUseButton = 6\r\nText = WiFi\r\n\r\n[1]\r\nUseButton = 2\r\nText = Sleep\r\n' \
    >"$INSTALL/Settings.ini"
emu launch
boxes() { emu windows | awk -F'\t' '$2 == "#32770" && $9 == 1' | wc -l; }
for _ in $(seq 1 50); do
    [ "$(boxes)" = 1 ] && break
    sleep 0.2
done
check "the missing library is reported in one box" [ "$(boxes)" = 1 ]
emu key Return
sleep 2
check "no further box follows" [ "$(boxes)" = 0 ]
order=$(emu windows | awk -F'\t' '$9 == 1 && ($2 == "Tolvane" || ($2 == "Button" && $6 == 40)) { printf "%s ", $2 }')
check "Exit and Settings stand above the menu (z-order: $order)" [ "$order" = "Button Button Tolvane " ]
emu screenshot "$DEVICE/nolibrary.png"
skin="$INSTALL/Skins/Default"
check_face "$DEVICE/nolibrary.png" Default 0 "$skin/Wifi_off.png"
check_face "$DEVICE/nolibrary.png" Default 1 "$skin/Sleep.png"
check "the Settings face after the box" [ "$(pixel "$DEVICE/nolibrary.png" 30 30)" = "$(pixel "$skin/Settings.png" 20 20)" ]
code=$(emu wait 20) || true
check "the menu still ends by itself after the box" [ "$code" = 0 ]

finish
