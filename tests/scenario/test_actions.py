"""Pressing the menu's buttons on the emulated phone: each does its work, which the phone's state shows afterwards,
and the menu closes."""
import os
import time

from checks import Expect, expect_state, menu_painted, window_shown
from phone import Picture, Slot, poll

RADIOS_AND_LINKS = [Slot(6, "WiFi"), Slot(8, "Vibro"), Slot(9, "GPRS"),
                    Slot(12, "Recorder", path="\\Windows\\recorder.exe", arg='hello "big world"'),
                    Slot(5, "Visible"), Slot(1, "Reset"), Slot(2, "Sleep")]
# The other kinds of action, on a second binding of the slots.
SHELL_AND_POWER = [Slot(0, "Manila"), Slot(2, "Sleep"), Slot(3, "Off"), Slot(5, "Visible"), Slot(1, "Reset"),
                   Slot(4, "Bluetooth"), Slot(11, "Flight")]
CLEAR = {"history": "clear"}


def press(phone, slot, /, **before):
    """Puts the phone in the states given, starts the menu, waits until the slot's button is painted and taps it."""
    for name, value in before.items():
        phone.set(name, value)
    face = Picture(os.path.join(phone.install, "Skins", "Default", "Button.png")).pixel(340, 8)
    phone.launch()
    menu_painted(phone, expect=Expect().add(405, 33 + 108 * slot, face, "slot %d's button is painted" % slot))
    phone.tap(240, 75 + 108 * slot)


def ended(phone, seconds, what):
    """The menu ends by itself within the seconds, with exit code 0."""
    code = phone.wait(seconds)
    assert code == 0, "%s: the menu should end within %d s with exit code 0, not %s" % (
        what, seconds, "run on" if code is None else "exit with %d" % code)


def act(phone, slot, what, seconds=15, before=None, answer=None, **after):
    """Presses the slot's button with the phone in the states before, gives the answer to the question the action
    asks first, and checks that the menu then ends by itself and that the phone's state shows after."""
    press(phone, slot, **(before or {}))
    if answer:
        window_shown(phone, "Static", "Are You sure?", what + ": the action asks first")
        phone.tap_window("Button", answer)
    ended(phone, seconds, what)
    expect_state(phone, **after)


def programs(phone):
    """The programs the phone started since its history was cleared."""
    return " ".join(launch["program"] for launch in phone.state()["launched"])


def test_actions(phone):
    phone.boot()
    phone.set("radio_delay_ms", 300)
    phone.write_settings(timeout=0, slots=RADIOS_AND_LINKS)

    press(phone, 0, wlan=1)
    start = time.monotonic()
    ended(phone, 30, "WiFi, after the radio switched and settled")
    took = time.monotonic() - start
    assert 5 <= took <= 12, "WiFi: the close comes 5 to 8 s after the tap, 12 on a busy machine (took %.1f s)" % took
    expect_state(phone, wlan=0)
    assert "CommManager_SetWLAN 0" in phone.state()["calls"], "WiFi: the switch asked for off"

    act(phone, 1, "Vibro")
    assert phone.state()["vibrate"] != 0, "Vibro: vibrate is on"
    # GPRS connects, and the same button drops the link again.
    act(phone, 2, "GPRS", before={"gprs": 0}, gprs=1)
    act(phone, 2, "GPRS again", gprs=0)
    act(phone, 3, "Prog", before=CLEAR)
    expect_state(phone, 20, launched=[{"program": "\\Windows\\recorder.exe", "parameters": 'hello "big world"'}])

    press(phone, 4, bttray="absent")
    assert poll(20, lambda: any("No BT-manager found" in w.text for w in phone.windows())), \
        "Visible without a manager: a box says 'No BT-manager found'; shown: %s" % [w.text for w in phone.windows()]
    phone.key("Return")
    ended(phone, 15, "Visible, after the box")
    act(phone, 5, "Reset answered No", answer="&No", power=[])

    phone.write_settings(timeout=0, slots=SHELL_AND_POWER)
    act(phone, 3, "Visible with a manager", before={"bttray": "present", "bluetooth": 0}, bluetooth_discoverable=1)
    act(phone, 6, "Flight, after the switch", 30, {"flight": 0}, flight=1, wlan=0)
    act(phone, 5, "Bluetooth, after the switch", 30, {"bluetooth": 1}, bluetooth=0)
    act(phone, 0, "Restart Manila, once the shell is back", 45, CLEAR, manila_running=1, today_item_enabled=1)
    assert "Manila.exe" in programs(phone), "Restart Manila: the shell was started again; started: " + programs(phone)
    act(phone, 1, "Sleep", before=CLEAR, power=["suspend"])
    phone.tap(240, 400)  # the phone wakes up
    act(phone, 2, "Power off answered Yes", before=CLEAR, answer="&Yes", power=["off"])
    phone.tap(240, 400)
    act(phone, 4, "Reset answered Yes", before=CLEAR, answer="&Yes", power=["reset"])
    # The phone restarts its programs a moment after a reset: Manila is started again.
    assert poll(20, lambda: "Manila.exe" in programs(phone)), "Reset: Manila started again; started: " + programs(phone)

    # Exit ends at once.
    phone.launch()
    menu_painted(phone)
    phone.tap(450, 30)
    ended(phone, 5, "Exit")
