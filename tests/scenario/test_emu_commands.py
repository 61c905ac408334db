"""The emu subcommands' contract: errors say why and fail, wait gives up with 124 and says so on stderr, windows lists
every window in both of its formats, and every Wine process of the phone runs through Wine's preloader."""
import os

from phone import poll, settings_text


def test_emu_commands(phone):
    listing = phone.emu("windows", check=False)
    assert listing.returncode != 0 and "not booted" in listing.stderr, "windows on a phone not booted fails"
    assert phone.emu("frobnicate", check=False).returncode != 0, "an unknown subcommand fails"

    phone.boot()
    phone.boot()  # booting a booted phone is harmless
    lines = phone.emu("windows").stdout.splitlines()
    assert lines and all(len(line.split("\t")) == 9 for line in lines), "every windows line has 9 fields"
    assert [w.handle for w in phone.windows()] == [int(line.split("\t")[0], 16) for line in lines], \
        "the JSON records list the same windows in the same order"

    # A menu that never closes by itself: wait gives up with 124 and says why.
    phone.write(phone.install + "/Settings.ini", settings_text(timeout=0))
    phone.launch()
    # Without the preloader a start now and then ends at once, or aborts in glibc's loader at its exit (see the entry
    # script's packages).
    images = [os.readlink("/proc/%d/exe" % pid) for pid in poll(10, phone.menu_pids)]
    assert images and all("preloader" in image for image in images), "not through the preloader: %s" % images
    waited = phone.emu("wait", 3, check=False)
    assert waited.returncode == 124, "wait gives up after SECONDS with 124"
    assert waited.stdout == "" and "still running after 3 seconds" in waited.stderr, "and says so on stderr only"
    phone.shutdown()
    assert phone.emu("windows", check=False).returncode != 0, "shutdown stops the phone"
