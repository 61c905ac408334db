"""A new phone's first start: the defaults are written, the wallpaper covers the screen with the task bar hidden,
and the menu ends by itself after 5 seconds with exit code 0."""
import os
import time

from checks import Expect
from phone import Picture, settings_text


def test_first_start(phone):
    phone.boot()
    assert phone.find("HHTaskBar"), "the task bar shows before the menu starts"
    wallpaper = Picture(os.path.join(phone.install, "Skins", "Default", "Wallpaper.png"))
    expect = Expect()
    for x, y in [(240, 400), (10, 790), (470, 30)]:
        expect.add(x, y, wallpaper.pixel(x, y), "the wallpaper shows at (%d, %d)" % (x, y))
    phone.launch()
    start = time.monotonic()
    assert phone.wait_for_menu(), "the menu shows"
    menu = phone.find("Tolvane")
    assert (menu.x, menu.y, menu.w, menu.h) == (0, 0, 480, 800), "the menu window covers the screen"
    assert phone.wait_until_gone("HHTaskBar"), "the task bar is hidden while the menu runs"
    assert expect.shown(phone, "menu") == []
    assert phone.wait(20) == 0, "the menu ends with exit code 0"
    elapsed = time.monotonic() - start
    assert 4 <= elapsed <= 15, "the menu ends by itself after about 5 seconds (took %.1f s)" % elapsed

    settings = os.path.join(phone.install, "Settings.ini")
    assert phone.read(settings, binary=True) == settings_text().encode(), "Settings.ini holds the 37 defaults"
    assert not os.path.exists(settings + ".tmp"), "no temporary file is left"
    assert not os.path.exists(settings + ".bak"), "no backup file is left"

    # A second start reads the file it wrote and does not rewrite it: the same bytes, the same file, not touched.
    phone.write(settings, settings_text(timeout=1))
    before = os.stat(settings)
    phone.launch()
    assert phone.wait(20) == 0, "a changed time-out is used at the next start"
    after = os.stat(settings)
    assert phone.read(settings, binary=True) == settings_text(timeout=1).encode(), "a loadable file keeps its bytes"
    assert (after.st_ino, after.st_mtime_ns) == (before.st_ino, before.st_mtime_ns), "it is not written again"
