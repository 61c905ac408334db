"""./tolvane skin preview DIR [OUT.png]: the menu with every radio on, the same with every radio off and the settings
hub, side by side in one picture, from a phone of its own in a temporary folder; it prints the picture's path."""
import os
import shutil
import subprocess
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from phone import HEIGHT, ROOT, WIDTH, Phone, Picture, Slot  # noqa: E402

# A button for every radio, so that each of its state pictures shows, and one without a state.
SLOTS = [Slot(4, "Bluetooth"), Slot(6, "WiFi"), Slot(7, "Phone"), Slot(11, "Flight mode"), Slot(8, "Vibro"),
         Slot(9, "GPRS"), Slot(0, "Restart Manila")]


def die(why):
    sys.exit("tolvane: skin preview: " + why)


def preview(phone, source, out):
    phone.boot()
    skin = os.path.join(phone.install, "Skins", os.path.basename(source))
    shutil.rmtree(skin, ignore_errors=True)
    shutil.copytree(source, skin)
    phone.write_settings(skin=os.path.basename(source), timeout=0, slots=SLOTS)
    # The skin's button background shows at (405, 33) once the buttons are drawn.
    button = os.path.join(skin, "Button.png")
    drawn = lambda screen: not os.path.isfile(button) or screen.pixel(405, 33) == Picture(button).pixel(340, 8)
    wine = dict(os.environ, WINEPREFIX=phone.device + "/wine", LC_ALL="C.UTF-8",
                DISPLAY=phone.read("../run/display").strip())
    screens = []
    for on in 1, 0:
        for radio in ([] if on else ["flight"]) + ["phone", "bluetooth", "wlan", "vibrate", "gprs"]:
            phone.set(radio, on)
        # Flight mode on would switch the other radios off: its state is written alone in the phone's registry, so
        # that every picture of the "on" kind shows.
        if on and subprocess.run(["/usr/lib/wine/wine64", "reg", "add", "HKCU\\Software\\EmulatedPhone", "/v", "Flight",
                                  "/t", "REG_DWORD", "/d", "1", "/f"], env=wine, stdin=subprocess.DEVNULL,
                                 capture_output=True).returncode:
            die("cannot set flight mode")
        phone.launch()
        phone.wait_for("Tolvane", seconds=30) or die("the menu did not start")
        screens.append(phone.settled("on" if on else "off", until=drawn) or die("the screen did not settle"))
        if on:
            phone.tap(450, 30)  # Exit
            phone.wait(20) == 0 or die("the menu did not end")
    phone.tap(30, 30)  # Settings
    phone.wait_for("Button", "General") or die('no window Button "General"')
    screens.append(phone.settled("hub") or die("the screen did not settle"))
    sheet = Image.new("RGB", (3 * (WIDTH + 8), HEIGHT + 8), (128, 128, 128))  # a 4-pixel grey border round each
    for i, screen in enumerate(screens):
        sheet.paste(screen.image, (i * (WIDTH + 8) + 4, 4))
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    sheet.save(out)


if __name__ == "__main__":
    source = os.path.abspath(sys.argv[1])
    out = sys.argv[2] if sys.argv[2:] else "%s/build/screenshots/skin-%s.png" % (ROOT, os.path.basename(source))
    os.path.isfile(os.path.join(source, "Skin.ini")) or die("%s holds no Skin.ini" % sys.argv[1])
    with Phone(prefix="tolvane-preview.") as phone:
        preview(phone, source, out)
    print(out)
