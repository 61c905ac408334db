#!/usr/bin/env bash
# A new phone's first start: the defaults are written, the wallpaper covers the screen with the task bar
# hidden, and the menu ends by itself after 5 seconds with exit code 0.
source "$(dirname "$0")/lib.sh"

emu boot
check "the task bar shows before the menu starts" [ "$(window_field HHTaskBar 9)" = 1 ]
wallpaper="$INSTALL/Skins/Default/Wallpaper.png"
for point in "240 400" "10 790" "470 30"; do
    set -- $point
    expect_pixel "$1" "$2" "$(pixel "$wallpaper" "$1" "$2")" "the wallpaper shows at ($1, $2)"
done
emu launch
start=$SECONDS
check "the menu shows" wait_for_menu
check "the menu window covers the screen" [ "$(window_field Tolvane 4)x$(window_field Tolvane 5)+$(window_field Tolvane 6)x$(window_field Tolvane 7)" = "0x0+480x800" ]
check "the task bar is hidden while the menu runs" poll 20 hidden HHTaskBar
screen_shows menu
code=$(emu wait 20) || true
elapsed=$((SECONDS - start))
check "the menu ends with exit code 0" [ "$code" = 0 ]
check "the menu ends by itself after about 5 seconds (took $elapsed)" between "$elapsed" 4 15

{
    printf '[Settings]\r\nSkinName = Default\r\nTimeout = 5\r\n'
    for slot in 0 1 2 3 4 5 6; do
        printf '\r\n\r\n[%s]\r\nUseButton = 13\r\nPath = \r\nArg = \r\nText = \r\nIcon = \r\n' "$slot"
    done
} >"$DEVICE/expected.ini"
check "Settings.ini holds the 37 defaults byte for byte" cmp -s "$DEVICE/expected.ini" "$INSTALL/Settings.ini"
check "no temporary file is left" [ ! -e "$INSTALL/Settings.ini.tmp" ]
check "no backup file is left" [ ! -e "$INSTALL/Settings.ini.bak" ]

# A second start reads the file it wrote and does not rewrite it: the same bytes, the same file, not touched.
sed -i 's/Timeout = 5/Timeout = 1/' "$INSTALL/Settings.ini"
cp "$INSTALL/Settings.ini" "$DEVICE/before.ini"
before=$(stat -c '%i %.9Y' "$INSTALL/Settings.ini")
emu launch
code=$(emu wait 20) || true
check "a changed time-out is used at the next start" [ "$code" = 0 ]
check "a loadable Settings.ini keeps its bytes" cmp -s "$DEVICE/before.ini" "$INSTALL/Settings.ini"
check "a loadable Settings.ini is not written again" [ "$(stat -c '%i %.9Y' "$INSTALL/Settings.ini")" = "$before" ]

finish
