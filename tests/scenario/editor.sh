#!/usr/bin/env bash
# The settings editor through the screen: Settings opens the hub over the shown task bar, the General page
# saves a new skin and time-out, a button page saves an action, Exit ends the menu, the next start uses them.
source "$(dirname "$0")/lib.sh"

# shown_at CLASS X Y W H: whether a visible window of CLASS stands at that place with that size.
shown_at() {
    emu windows | awk -F'\t' -v c="$1" -v p="$2 $3 $4 $5" '$2 == c && $4 " " $5 " " $6 " " $7 == p && $9 == 1 { f = 1 }
        END { exit !f }'
}

emu boot
write_unbound_settings
emu launch
menu_painted
# The Settings button: an owned 40 x 40 button at (10, 10). A menu without it has nothing to tap.
check "the menu shows its Settings button" shown_at Button 10 10 40 40
[ "$FAILURES" = 0 ] || finish
emu tap 30 30
check "the hub shows its General tile" wait_for Button General
check "the hub shows the tile of slot 1" wait_for Button "Button 1"
check "the task bar shows while the editor is open" poll 20 shown HHTaskBar
check "the hub's right soft key says Exit" poll 20 listed menu_worker

# General: the first skin item, then the next one (Graphite); the spinner's down arrow twice raises 0 to 2.
emu tap 357 346
check "the General page shows the skin list" wait_for_class SysTreeView32
emu tap 80 110
emu key Down
# The spinner's lower arrow, wherever the page placed the control.
read -r sx sy sw sh < <(emu windows | awk -F'\t' '$2 == "msctls_updown32" && $9 == 1 { print $4, $5, $6, $7; exit }')
emu tap $((sx + sw / 2)) $((sy + sh * 3 / 4))
emu tap $((sx + sw / 2)) $((sy + sh * 3 / 4))
emu screenshot "$DEVICE/general.png"
emu tap 120 774 # Save
skin_is() { [ "$(ini_value Settings SkinName)" = "$1" ]; }
check "Save wrote the new skin" eventually skin_is Graphite
check "Save wrote the new time-out" [ "$(ini_value Settings Timeout)" = 2 ]

# Button 3 (slot 2): the action after None in the sorted list is Phone (7).
check "the hub is back after Save" wait_for Button "Button 3"
emu tap 122 249
check "the button page shows its action box" wait_for_class ComboBox
emu tap 240 110
emu key Down
emu key Return
emu screenshot "$DEVICE/button.png"
emu tap 120 774 # Save
action_is() { [ "$(ini_value 2 UseButton)" = "$1" ]; }
check "the button page wrote slot 2's action" eventually action_is 7
for key in Path Arg Text Icon; do
    check "the button page wrote slot 2's $key" grep -q "^$key = " <(tr -d '\r' <"$INSTALL/Settings.ini")
done

emu tap 360 774 # Exit
code=$(emu wait 20) || true
check "Exit ends the menu with 0" [ "$code" = 0 ]

# The next start uses the new time-out: it closes by itself.
emu launch
code=$(emu wait 20) || true
check "the next start closes after the saved time-out" [ "$code" = 0 ]
# And the new skin, looked at with the auto-close off: a screenshot may take longer than the 2-second time-out.
sed -i 's/^Timeout = 2\r$/Timeout = 0\r/' "$INSTALL/Settings.ini"
expect_pixel 20 790 "$(pixel "$INSTALL/Skins/Graphite/Wallpaper.png" 20 790)" "the next start paints Graphite's wallpaper"
emu launch
menu_painted Graphite
emu tap 450 30 # Exit
code=$(emu wait 20) || true
check "Exit ends the Graphite menu with 0" [ "$code" = 0 ]
sed -i 's/^Timeout = 0\r$/Timeout = 2\r/' "$INSTALL/Settings.ini"

# With a 2-second time-out, the auto-close does not end the program while the hub is open.
# The Settings button is tapped as soon as it is listed: a screenshot would take longer than the time-out.
emu launch
check "the menu shows its Settings button" poll 20 shown_at Button 10 10 40 40
emu tap 30 30
check "the hub opens" wait_for Button General
sleep 4 # a bounded wait past the 2-second time-out: the program must not end within it
check "the hub is still open after the time-out" wait_for Button General
emu tap 360 774 # Exit
code=$(emu wait 20) || true
check "Exit on the hub ends the menu with 0" [ "$code" = 0 ]
finish
