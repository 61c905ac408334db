"""The menu screen with seven bound slots: the nine buttons stand where the layout puts them, and each face shows
the skin's button background, the state picture of its action as the phone stands, and the key colour's holes."""
import os
import time

from checks import SEVEN_SLOTS, Expect, launch_menu
from phone import INSTALL, Picture, poll_value

SETTINGS = INSTALL + "/Settings.ini"
# Exit and Settings at the top corners, then the seven slot buttons one under the other, in reading order.
LAYOUT = [(10, 10, 40, 40), (430, 10, 40, 40)] + [(65, 25 + 108 * slot, 350, 100) for slot in range(7)]


def expect_face(expect, phone, skin, slot, picture):
    """The slot's face should show the skin's Button.png, the state picture (Skins/PICTURE) and its key's holes."""
    x, y = 65, 25 + 108 * slot
    button = Picture(os.path.join(phone.install, "Skins", skin, "Button.png"))
    expect.add(x, y, button.pixel(0, 0), "slot %d: the key pixel shows Button.png" % slot)
    expect.add(x + 340, y + 8, button.pixel(340, 8), "slot %d: Button.png right of the picture" % slot)
    # Points inside the picture that are not its key colour (its top left): they must show the picture itself.
    state = Picture(os.path.join(phone.install, "Skins", picture))
    for px, py in [(50, 50), (50, 20), (30, 60), (75, 40)]:
        if state.pixel(px, py) != state.pixel(0, 0):
            expect.add(x + px, y + py, state.pixel(px, py), "slot %d: %s at (%d,%d)" % (slot, picture, px, py))
    return expect


# The runs that only show a screen have a time-out long enough for a busy machine and end by Exit; the first and
# the run after the error box end by their time-out.
def exit_menu(phone):
    phone.tap(450, 30)
    assert phone.wait(30) == 0, "Exit ends the run with 0"


def test_menu_screen(phone):
    phone.boot()
    phone.set("gprs", 0)
    phone.set("vibrate", 0)
    phone.write_settings(timeout=20, slots=SEVEN_SLOTS)
    # What the screen should show, worked out before the start: the menu closes by itself after 20 seconds.
    expect = Expect().faces(phone)
    for slot, picture in [(0, "Manila"), (2, "Off"), (4, "Vibro_off"), (5, "Gprs_off"), (6, "Reset")]:
        expect_face(expect, phone, "Default", slot, "Default/%s.png" % picture)
    wallpaper = Picture(os.path.join(phone.install, "Skins", "Default", "Wallpaper.png"))
    expect.add(240, 129, wallpaper.pixel(240, 129), "the wallpaper shows between the buttons")
    launch_menu(phone)

    # The nine buttons: seven slot buttons, Exit and Settings, each at its place and size.
    listed = lambda: sorted((w for w in phone.windows() if w.matches("Button")), key=lambda w: (w.y, w.x))
    places = poll_value(20, lambda: [(w.x, w.y, w.w, w.h) for w in listed()], LAYOUT)
    assert places == LAYOUT, "nine buttons at the layout's places and sizes"
    buttons = listed()
    styles = [hex(w.style) for w in buttons]
    clipping = 0x06000000  # WS_CLIPSIBLINGS and WS_CLIPCHILDREN, which every window of the phone has
    assert len([w for w in buttons if w.w == 350 and w.style & ~clipping == 0x50002000]) == 7, \
        "the slot buttons are visible child push buttons (styles %s)" % styles
    assert len([w for w in buttons if w.w == 40 and w.style & ~clipping == 0x50000F00]) == 2, \
        "Exit and Settings, made without WS_CHILD, are bare squares, children of the menu (styles %s)" % styles
    assert expect.shown(phone, "default") == []
    assert phone.wait(40) == 0, "the menu still ends by itself"

    # The next start shows the phone as it stands then: GPRS connected, vibrate on, in the other skin.
    phone.set("gprs", 1)
    phone.set("vibrate", 1)
    phone.write_settings(skin="Graphite", timeout=60, slots=SEVEN_SLOTS)
    expect = Expect().faces(phone, "Graphite")
    for slot, picture in [(1, "Graphite/Sleep"), (4, "Graphite/Vibro_on"), (5, "Graphite/Gprs_on"),
                          (6, "Default/Reset")]:
        expect_face(expect, phone, "Graphite", slot, picture + ".png")
    launch_menu(phone)
    assert expect.shown(phone, "graphite") == []
    exit_menu(phone)

    # The WiFi face as the phone's radio stands: on, then off.
    for wlan in ("on", "off"):
        phone.set("wlan", int(wlan == "on"))
        phone.write(SETTINGS, "[Settings]\r\nSkinName = Default\r\nTimeout = 60\r\n\r\n[0]\r\nUseButton = 6\r\n"
                              "Text = WiFi\r\n")
        expect = expect_face(Expect(), phone, "Default", 0, "Default/Wifi_%s.png" % wlan)
        launch_menu(phone)
        assert expect.shown(phone, "wifi-" + wlan) == []
        exit_menu(phone)

    # A phone without the radio library: the WiFi face costs one error box. Once it is dismissed no other box
    # follows, and every face is drawn, the Exit and Settings faces among them.
    os.remove(phone.path("Windows/CommManagerDll.dll"))
    phone.write(SETTINGS, "[Settings]\r\nSkinName = Default\r\nTimeout = 20\r\n\r\n[0]\r\nUseButton = 6\r\n"
                          "Text = WiFi\r\n\r\n[1]\r\nUseButton = 2\r\nText = Sleep\r\n")
    expect = expect_face(Expect(), phone, "Default", 0, "Default/Wifi_off.png")
    expect_face(expect, phone, "Default", 1, "Default/Sleep.png").faces(phone)
    phone.launch()
    boxes = lambda: len([w for w in phone.windows() if w.matches("#32770")])
    assert poll_value(20, boxes, 1) == 1, "the missing library is reported in one box"
    phone.key("Return")
    assert poll_value(20, boxes, 0) == 0, "the box goes"
    assert expect.shown(phone, "nolibrary") == []
    time.sleep(2)  # a bounded wait: no further box may show within it
    assert boxes() == 0, "no further box follows"
    assert phone.wait(40) == 0, "the menu still ends by itself after the box"
