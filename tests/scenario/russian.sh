#!/usr/bin/env bash
# A phone in Russian (code page 1251): captions written in Settings.ini in code page 1251 show as Cyrillic on the
# menu, the hub shows the Russian lang.ini, and a Save on a button page and on the General page writes the
# Cyrillic texts back byte for byte. The screen is compared with pictures kept beside this script: the phone's
# fonts are pinned, so the same state gives the same pixels on every machine.
source "$(dirname "$0")/lib.sh"
REFERENCE=$(dirname "$0")/reference

cp1251() { printf '%s' "$1" | iconv -f UTF-8 -t CP1251; }

# russian_settings FIRST_TEXT: slot 0 Restart Manila with FIRST_TEXT (code page 1251 bytes), slot 1 Reset, slot 2
# Sleep with every Russian letter; the rest None; no time-out.
russian_settings() {
    printf '[Settings]\r\nSkinName = Default\r\nTimeout = 0\r\n'
    local slot code text
    for slot in 0 1 2 3 4 5 6; do
        case $slot in
        0) code=0 text=$1 ;;
        1) code=1 text=$(cp1251 'Перезагрузка') ;;
        2) code=2 text=$(cp1251 'Съешь ещё этих мягких французских булок') ;;
        *) code=13 text= ;;
        esac
        printf '\r\n\r\n[%s]\r\nUseButton = %s\r\nPath = \r\nArg = \r\nText = %s\r\nIcon = \r\n' "$slot" "$code" "$text"
    done
}

# file_replaced: waits until Settings.ini is another file than the one recorded in $written (a save replaces it).
written=
file_replaced() { [ "$(stat -c '%i %Y' "$INSTALL/Settings.ini")" != "$written" ]; }

emu boot --locale ru
check "the phone keeps its locale" [ "$(cat "$DEVICE/locale")" = ru ]
check "the Russian lang.ini is installed" cmp -s "$INSTALL/lang.ini" "$(dirname "$0")/../../locales/ru/lang.ini"
russian_settings "$(cp1251 'Кнопка №0 ёЁ')" >"$INSTALL/Settings.ini"
russian_settings "$(cp1251 'Перезапуск Manila')" >"$DEVICE/expected.ini"

emu launch
wait_for_menu
check "the captions of slots 0 to 2 in Cyrillic" eventually shows_reference "$REFERENCE/russian-menu.png" 65 25

emu tap 30 30
check "the hub shows its Russian General tile" wait_for Button "Общие"
check "the hub's tiles and soft key in Russian" eventually shows_reference "$REFERENCE/russian-hub.png" 0 301

# Button 1 (slot 0): "D" puts the action's Russian label into the text field; Save writes it in code page 1251 and
# every other text as it was.
emu tap 122 80
check "the button page opens with its default-text button" wait_for Button D
check "the page's text field shows the caption read in code page 1251" wait_for Edit "Кнопка №0 ёЁ"
emu tap 425 160
check "D fills the text field with the Russian label" wait_for Edit "Перезапуск Manila"
written=$(stat -c '%i %Y' "$INSTALL/Settings.ini")
emu tap 75 775 # Save
check "the button page saved" eventually file_replaced
check "Settings.ini holds the Cyrillic texts byte for byte in code page 1251" cmp "$DEVICE/expected.ini" \
    "$INSTALL/Settings.ini"

# General: Save rewrites the whole file from the document; the texts come back unchanged.
page_closed() { ! emu windows | awk -F'\t' '$2 == "Button" && $3 == "D" && $9 == 1 { f = 1 } END { exit !f }'; }
check "the button page closes after Save" eventually page_closed
emu tap 357 346
check "the General page shows its Russian skin frame" wait_for Button "Скин"
written=$(stat -c '%i %Y' "$INSTALL/Settings.ini")
emu tap 75 775 # Save
check "the General page saved" eventually file_replaced
check "the General page's Save keeps the Cyrillic texts byte for byte" cmp "$DEVICE/expected.ini" \
    "$INSTALL/Settings.ini"

# The confirmation before Reset, in Russian; answered No.
check "the hub is back after the General page's Save" wait_for Button "Общие"
emu tap 360 774 # Exit
check "Exit ends the menu with 0" [ "$(emu wait 20)" = 0 ]
emu launch
wait_for_menu
emu tap 240 183
check "Reset asks first, in Russian" wait_for Static "Вы уверены?"
check "the box's caption is Russian" wait_for '#32770' "Внимание!"
tap_box_button "&Нет"
check "Reset answered No: the menu closes" [ "$(emu wait 15)" = 0 ]
check "nothing was reset" [ "$(state_field power)" = '[]' ]

finish
