"""A phone in Russian (code page 1251): captions written in Settings.ini in code page 1251 show as Cyrillic on the
menu, the hub shows the Russian lang.ini, and a Save on a button page and on the General page writes the Cyrillic
texts back byte for byte. The screen is compared with reference pictures: the phone's fonts are pinned, so the same
state gives the same pixels on every machine."""
import os

from checks import launch_menu, reference_missed, window_shown
from phone import INSTALL, ROOT, Slot, poll, settings_text

REFERENCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "reference", "russian-")
SETTINGS = INSTALL + "/Settings.ini"


def russian_settings(first_text):
    """Slot 0 Restart Manila with the text, slot 1 Reset, slot 2 Sleep with every Russian letter, the rest None, no
    time-out: the bytes of Settings.ini in code page 1251."""
    slots = [Slot(0, first_text), Slot(1, "Перезагрузка"), Slot(2, "Съешь ещё этих мягких французских булок")]
    return settings_text(timeout=0, slots=slots).encode("cp1251")


def identity(phone):
    status = os.stat(phone.path(SETTINGS))
    return status.st_ino, status.st_mtime_ns


def save(phone, what):
    """Taps Save and waits until Settings.ini is another file (a save writes a new one in its place); its bytes."""
    written = identity(phone)
    phone.tap_soft_key(0)
    assert poll(20, lambda: identity(phone) != written), "%s saved (Settings.ini is still the file it was)" % what
    return phone.read(SETTINGS, binary=True)


def test_russian(phone):
    phone.boot(locale="ru")
    assert phone.read(os.path.join(phone.device, "locale")).strip() == "ru", "the phone keeps its locale"
    assert phone.read(INSTALL + "/lang.ini", binary=True) == phone.read(ROOT + "/locales/ru/lang.ini", binary=True), \
        "the Russian lang.ini is installed"
    phone.write(SETTINGS, russian_settings("Кнопка №0 ёЁ"))
    expected = russian_settings("Перезапуск Manila")

    launch_menu(phone)
    assert reference_missed(phone, REFERENCE + "menu.png", 65, 25, "menu") == 0, \
        "the captions of slots 0 to 2 in Cyrillic"

    phone.tap(30, 30)
    window_shown(phone, "Button", "Общие", "the hub shows its Russian General tile")
    assert reference_missed(phone, REFERENCE + "hub.png", 0, 353, "hub") == 0, "the hub's tiles and soft key in Russian"

    # Button 1 (slot 0): "D" puts the action's Russian label into the text field; Save writes it in code page 1251
    # and every other text as it was.
    phone.tap_window("Button", "Кнопка 1")
    window_shown(phone, "Button", "D", "the button page opens with its default-text button")
    window_shown(phone, "Edit", "Кнопка №0 ёЁ", "the page's text field shows the caption read in code page 1251")
    phone.tap_window("Button", "D")
    window_shown(phone, "Edit", "Перезапуск Manila", "D fills the text field with the Russian label")
    assert save(phone, "the button page") == expected, "Settings.ini holds the Cyrillic texts in code page 1251"

    # General: Save rewrites the whole file from the document; the texts come back unchanged.
    assert phone.wait_until_gone("Button", "D"), "the button page closes after Save"
    phone.tap_window("Button", "Общие")
    window_shown(phone, "Button", "Скин", "the General page shows its Russian skin frame")
    assert save(phone, "the General page") == expected, "the General page's Save keeps the Cyrillic texts"

    # The confirmation before Reset, in Russian; answered No.
    window_shown(phone, "Button", "Общие", "the hub is back after the General page's Save")
    phone.tap_soft_key(1)  # Exit
    assert phone.wait(20) == 0, "Exit ends the menu with 0"
    launch_menu(phone)
    phone.tap(240, 183)
    window_shown(phone, "Static", "Вы уверены?", "Reset asks first, in Russian")
    window_shown(phone, "#32770", "Внимание!", "the box's caption is Russian")
    phone.tap_window("Button", "&Нет")
    assert phone.wait(15) == 0, "Reset answered No: the menu closes"
    assert phone.state()["power"] == [], "nothing was reset"
