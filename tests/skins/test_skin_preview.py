"""./tolvane skin preview: one picture of three phone screens, the menu with every radio on showing the _on
pictures, the menu with every radio off showing the _off pictures, and the hub; no phone is left behind."""
import glob
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from phone import ROOT, TOLVANE, Picture  # noqa: E402


def test_skin_preview(tmp_path):
    skin, phones = ROOT + "/data/Skins/Graphite", tempfile.gettempdir() + "/tolvane-preview.*"
    before, out = set(glob.glob(phones)), str(tmp_path / "preview.png")
    subprocess.run([TOLVANE, "skin", "preview", skin, out], check=True, stdout=subprocess.DEVNULL)
    preview = Picture(out)
    assert preview.size == (1464, 808), "three 480 x 800 screens with 4-pixel borders"
    # Each screen starts 4 pixels in; slot N's state picture stands at (65, 25 + 108 N) of its screen.
    wrong = []
    for slot, name in enumerate(["Bluetooth", "Wifi", "Phone", "Flight", "Vibro", "Gprs"]):
        for left, state in [(4, "on"), (492, "off")]:
            picture = Picture("%s/%s_%s.png" % (skin, name, state))
            for x, y in [(50, 50), (30, 60), (75, 40), (50, 20)]:
                got = preview.pixel(left + 65 + x, 4 + 25 + 108 * slot + y)
                if picture.pixel(x, y) not in (picture.pixel(0, 0), got):
                    wrong.append("%s_%s.png at (%d, %d): the screen shows %s" % (name, state, x, y, got))
    assert wrong == []
    assert preview.pixel(980 + 20, 4 + 775) == (0, 0, 0), "the third screen shows the hub's soft-key bar"
    assert set(glob.glob(phones)) == before, "no preview phone's folder is left behind"
