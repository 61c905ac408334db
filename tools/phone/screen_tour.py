"""python3 tools/phone/screen_tour.py OUT [LOCALE:SKIN ...]: a settled screenshot of every screen a person opens and
closes (a first start, the menu with seven buttons, the settings hub, its General page, a button page with its action
box dropped and closed, the file picker, and each screen below as it comes back) into OUT/LOCALE-SKIN-NN-SCREEN.png,
with the window list beside it (.json), on a phone of its own per locale; without pairs, en and ru, each with the
Default and Graphite skins. Controls are found through the window list; beside each editor shot it prints what the
scenarios' paint and tap checks find wrong there (a dropped action list covers the "D" and ">>" beside it). It uses
the built tree as it is: run `./tolvane build` first."""
import json
import os
import sys

TOOLS = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path[:0] = [TOOLS, os.path.join(os.path.dirname(TOOLS), "tests", "scenario")]
from checks import SEVEN_SLOTS, paint_faults, tap_faults  # noqa: E402
from phone import INSTALL, Phone, settings_text  # noqa: E402

# The seven buttons' captions in Russian (the lang.ini labels of their actions), written in code page 1251.
RUSSIAN = ["Перезапуск Manila", "Спящий режим", "Выключение", "Видимость Bluetooth", "Вибрация", "GPRS",
           "Заметки"]


class Tour:
    """One locale and skin's shots, numbered in the order they are taken."""

    def __init__(self, phone, out, locale, skin):
        self.phone, self.out, self.prefix, self.count = phone, out, "%s-%s" % (locale, skin), 0

    def shot(self, screen, editor=True):
        """A settled screenshot as OUT/PREFIX-NN-SCREEN.png; on the editor's screens, what the checks find."""
        self.count += 1
        name = "%s-%02d-%s" % (self.prefix, self.count, screen)
        picture = self.phone.settled(name) or sys.exit("screen_tour: %s did not settle" % name)
        path = os.path.join(self.out, name + ".png")
        picture.image.save(path)
        windows = self.phone.windows()
        with open(os.path.join(self.out, name + ".json"), "w", encoding="utf-8") as fh:
            json.dump([w._asdict() for w in windows], fh, ensure_ascii=False, indent=0)
        faults = paint_faults(windows, picture) + tap_faults(windows) if editor else []
        print(path, *faults, sep="\n    ")

    def step(self, tap, screen, shows, gone=None):
        """Taps a window (a Window) or a soft key (0 left, 1 right), waits until the class (and text) shows and the
        one gone is gone, and takes the shot."""
        if isinstance(tap, int):
            self.phone.tap_soft_key(tap)
        else:
            self.phone.tap(*(tap or sys.exit("screen_tour: nothing to tap for " + screen)).centre)
        gone and (self.phone.wait_until_gone(*gone) or sys.exit("screen_tour: %s still shows %s" % (screen, gone)))
        self.phone.wait_for(*shows) or sys.exit("screen_tour: %s shows no %s" % (screen, shows))
        self.shot(screen)


def tour(phone, out, locale, skin):
    """The first start, then the menu with seven buttons in the skin and every editor screen, opened and closed."""
    t, russian = Tour(phone, out, locale, skin), locale == "ru"
    settings = phone.path(INSTALL + "/Settings.ini")
    if os.path.exists(settings):
        os.remove(settings)
    phone.launch()  # a first start: the defaults, which bind no button
    phone.wait_for_menu() or sys.exit("screen_tour: the menu did not start")
    t.shot("first-start", editor=False)
    phone.menu_ready() or sys.exit("screen_tour: the first start ended before its screen settled")
    phone.wait(30) == 0 or sys.exit("screen_tour: the first start did not end by its time-out")
    # The program button's icon is the tour's skin's own Reset picture.
    icon = lambda slot: slot.icon.replace("\\Default\\", "\\%s\\" % skin)
    texts = RUSSIAN if russian else [slot.text for slot in SEVEN_SLOTS]
    slots = [slot._replace(text=text, icon=icon(slot)) for slot, text in zip(SEVEN_SLOTS, texts)]
    phone.write(INSTALL + "/Settings.ini", settings_text(skin=skin, timeout=0, slots=slots).encode("cp1251"))
    phone.launch()
    phone.wait_for_menu() or sys.exit("screen_tour: the menu did not start")
    t.shot("menu", editor=False)
    buttons = [w for w in phone.windows() if w.matches("Button")]
    tile, general = ("Кнопка 1", "Общие") if russian else ("Button 1", "General")
    t.step(min(buttons, key=lambda w: (w.y, w.x)), "hub", ("Button", general))  # Settings, at the top left
    t.step(phone.find("Button", general), "general", ("msctls_updown32",))
    t.step(1, "general-cancel", ("Button", general), ("msctls_updown32",))
    t.step(phone.find("Button", tile), "button", ("ComboBox",))
    t.step(phone.find("ComboBox"), "action-dropped", ("ComboLBox",))
    t.step(phone.find("ComboBox"), "action-closed", ("ComboBox",), ("ComboLBox",))
    t.step(phone.find("Button", ">>"), "picker", ("SysTreeView32",))  # the program's ">>", made before the icon's
    t.step(1, "picker-cancel", ("ComboBox",), ("SysTreeView32",))
    t.step(1, "button-cancel", ("Button", general), ("ComboBox",))
    phone.tap_soft_key(1)  # Exit
    phone.wait(20) == 0 or sys.exit("screen_tour: the hub's Exit did not end the menu")


if __name__ == "__main__":
    out = sys.argv[1] if sys.argv[1:] else sys.exit(__doc__)
    pairs = [arg.split(":") for arg in sys.argv[2:]] or [(l, s) for l in ("en", "ru") for s in ("Default", "Graphite")]
    os.makedirs(out, exist_ok=True)
    for locale in dict.fromkeys(locale for locale, _ in pairs):
        with Phone(prefix="tolvane-tour.") as phone:
            phone.boot(locale=locale)
            for skin in [s for l, s in pairs if l == locale]:
                tour(phone, out, locale, skin)
