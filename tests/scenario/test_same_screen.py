"""The same phone shows the same pixels on every machine: the seven-button Default menu equals the reference
screenshot, and a second phone booted after the first gives a byte-identical screenshot. Set
TOLVANE_NEW_REFERENCE=1 to write the reference from this machine instead."""
import os
import shutil

from checks import SEVEN_SLOTS, launch_menu, reference_missed
from phone import Phone

REFERENCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "reference", "menu-default.png")


def start_menu(phone):
    """Boots the phone and starts the seven-button Default menu, without a time-out."""
    phone.boot()
    phone.write_settings(timeout=0, slots=SEVEN_SLOTS)
    launch_menu(phone)


def test_same_screen(phone):
    start_menu(phone)
    if os.environ.get("TOLVANE_NEW_REFERENCE") == "1":
        # A new reference: nothing to compare with, so it is taken once the first paint has ended.
        shutil.copy(phone.settled("new").path, REFERENCE)
        print("wrote " + REFERENCE)
        return
    assert reference_missed(phone, REFERENCE, name="first", seconds=10) == 0, \
        "the first phone shows the reference menu, pixel for pixel"
    phone.shutdown()
    with Phone() as second:
        start_menu(second)
        missed = reference_missed(second, REFERENCE, name="second", seconds=10)
        shutil.copy(os.path.join(second.device, "second.png"), phone.device)  # kept beside the first for a look
    assert missed == 0, "a second phone shows the reference menu, pixel for pixel"
    shots = [phone.read(os.path.join(phone.device, name), binary=True) for name in ("first.png", "second.png")]
    assert shots[0] == shots[1], "the two phones' screenshots are byte-identical files"
