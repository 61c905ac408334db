"""The settings editor through the screen: Settings opens the hub over the shown task bar, the General page saves a
new skin and time-out, a button page saves an action, Exit ends the menu, the next start uses them."""
import os
import time

from checks import Expect, launch_menu, menu_painted
from phone import INSTALL, Picture, ini_value, poll, poll_value

SETTINGS = INSTALL + "/Settings.ini"


def test_editor(phone):
    saved = lambda section, key: ini_value(phone.read(SETTINGS), section, key)
    timeout = lambda old, new: phone.write(SETTINGS, phone.read(SETTINGS).replace(
        "Timeout = %d\r\n" % old, "Timeout = %d\r\n" % new))
    # The Settings button: a 40 x 40 button at (10, 10). A menu without it has nothing to tap.
    settings_button = lambda: any(w.matches("Button") and (w.x, w.y, w.w, w.h) == (10, 10, 40, 40)
                                  for w in phone.windows())
    phone.boot()
    phone.write_settings(timeout=0)
    phone.launch()
    menu_painted(phone)
    assert settings_button(), "the menu shows its Settings button"
    phone.tap(30, 30)
    assert phone.wait_for("Button", "General"), "the hub shows its General tile"
    assert phone.wait_for("Button", "Button 1"), "the hub shows the tile of slot 1"
    assert phone.wait_for("HHTaskBar"), "the task bar shows while the editor is open"
    assert poll(20, lambda: any(w.cls == "menu_worker" for w in phone.windows())), "the hub's right soft key says Exit"

    # General: the first skin item, then the next one (Graphite); the spinner's down arrow twice raises 0 to 2.
    phone.tap_window("Button", "General")
    assert phone.wait_for("SysTreeView32"), "the General page shows the skin list"
    skins = phone.find("SysTreeView32")
    phone.tap(skins.x + 45, skins.y + 16)  # the first skin's row
    phone.key("Down")
    spinner = phone.find("msctls_updown32")  # wherever the page placed the control
    for _ in range(2):
        phone.tap(spinner.x + spinner.w // 2, spinner.y + spinner.h * 3 // 4)
    phone.screenshot("general")
    phone.tap_soft_key(0)  # Save
    assert poll_value(20, lambda: saved("Settings", "SkinName"), "Graphite") == "Graphite", "Save wrote the new skin"
    assert saved("Settings", "Timeout") == "2", "Save wrote the new time-out"

    # Button 3 (slot 2): the action after None in the sorted list is Phone (7).
    assert phone.wait_for("Button", "Button 3"), "the hub is back after Save"
    phone.tap_window("Button", "Button 3")
    assert phone.wait_for("ComboBox"), "the button page shows its action box"
    phone.tap_window("ComboBox")
    phone.key("Down")
    phone.key("Return")
    phone.screenshot("button")
    phone.tap_soft_key(0)  # Save
    assert poll_value(20, lambda: saved("2", "UseButton"), "7") == "7", "the button page wrote slot 2's action"
    assert [key for key in ("Path", "Arg", "Text", "Icon") if saved("2", key) is None] == [], \
        "the button page wrote each of slot 2's keys"

    phone.tap_soft_key(1)  # Exit
    assert phone.wait(20) == 0, "Exit ends the menu with 0"
    phone.launch()
    assert phone.wait(20) == 0, "the next start closes after the saved time-out"
    # And the new skin, looked at with the auto-close off: a screenshot may take longer than the 2-second time-out.
    timeout(2, 0)
    wallpaper = Picture(os.path.join(phone.install, "Skins", "Graphite", "Wallpaper.png"))
    launch_menu(phone)
    assert Expect().add(20, 790, wallpaper.pixel(20, 790), "the next start paints Graphite's wallpaper") \
        .faces(phone, "Graphite").shown(phone, "menu") == []
    phone.tap(450, 30)  # Exit
    assert phone.wait(20) == 0, "Exit ends the Graphite menu with 0"
    timeout(0, 2)

    # With a 2-second time-out, the auto-close does not end the program while the hub is open.
    # The Settings button is tapped as soon as it is listed: a screenshot would take longer than the time-out.
    phone.launch()
    assert poll(20, settings_button), "the menu shows its Settings button"
    phone.tap(30, 30)
    assert phone.wait_for("Button", "General"), "the hub opens"
    time.sleep(4)  # a bounded wait past the 2-second time-out: the program must not end within it
    assert phone.wait_for("Button", "General"), "the hub is still open after the time-out"
    phone.tap_soft_key(1)  # Exit
    assert phone.wait(20) == 0, "Exit on the hub ends the menu with 0"
