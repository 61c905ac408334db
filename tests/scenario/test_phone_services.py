"""The phone's services as the program meets them: the task bar's vibrate switch, the Bluetooth manager, Manila ended
by the Today broadcast and started again, the power and connection managers, launches, real input."""
import time

from checks import expect_state

MANILA = {"program": "\\Windows\\Manila.exe", "parameters": ""}


def test_phone_services(phone):
    phone.boot().set("history", "clear")

    # Vibrate through the task bar's message 0x484, as SetVibroMode sends it.
    for mode in (2, 0):
        phone.ctl("send", "HHTaskBar", "0x484", mode)
        expect_state(phone, vibrate=mode)

    # The Bluetooth manager makes Bluetooth visible (and on) on the registered message.
    phone.ctl("send", "WCE_BTTRAY", "WIDCOMM_WM_VISIBLE1", 0)
    expect_state(phone, bluetooth_discoverable=1, bluetooth=1)
    phone.set("bluetooth", 0)
    expect_state(phone, bluetooth_discoverable=0)
    phone.set("bttray", "absent")
    expect_state(phone, bttray_present=0)
    sent = phone.ctl("send", "WCE_BTTRAY", "WIDCOMM_WM_VISIBLE1", 0, check=False)
    assert sent.returncode != 0, "no Bluetooth manager window to send to, yet the send succeeded"
    phone.set("bttray", "present")
    expect_state(phone, bttray_present=1)

    # Manila ignores the Today broadcast while its item is enabled, and ends on it once the item is disabled.
    phone.ctl("send", "broadcast", "0x1A", "0xF2")
    time.sleep(0.5)  # a bounded wait: Manila must not end within it
    expect_state(phone, manila_running=1)
    phone.set("today_item_enabled", 0)
    phone.ctl("send", "broadcast", "0x1A", "0xF2")
    expect_state(phone, 20, manila_running=0)
    phone.ctl("start", MANILA["program"], "")
    expect_state(phone, 20, manila_running=1)
    expect_state(phone, today_item_enabled=1)
    for manila, running in [("stopped", 0), ("running", 1)]:
        phone.set("manila", manila)
        expect_state(phone, manila_running=running)

    # Programs started through the shell, with their parameters, oldest first.
    recorder = [{"program": "\\Windows\\recorder.exe", "parameters": p} for p in ('-open "My Documents\\a b.txt"', "")]
    for launch in recorder:
        phone.ctl("start", launch["program"], launch["parameters"])
    expect_state(phone, 20, launched=[MANILA, MANILA] + recorder)

    # Power: a suspend darkens the screen until a tap; power off through HTCUtil.dll; a reset restarts Manila.
    assert phone.ctl("power", "0x200000").stdout.strip() == "0", "a suspend is answered with success"
    expect_state(phone, screen_on=0)
    assert "PhoneDarkScreen" in [w.cls for w in phone.windows() if w.visible], "the dark screen covers the phone"
    phone.tap(240, 400)
    expect_state(phone, 20, screen_on=1)
    phone.ctl("call", "HTCUtil.dll", "HTCUtilDeviceOff")
    expect_state(phone, screen_on=0, power=["suspend", "off"])
    phone.tap(240, 400)
    phone.set("history", "clear")
    phone.ctl("power", "0x800000")
    expect_state(phone, power=["reset"])
    # The phone restarts its programs a moment after the reset.
    expect_state(phone, 20, launched=[MANILA])
    expect_state(phone, 20, manila_running=1)

    # Real input reaches the Today screen.
    phone.tap(120, 500)
    phone.key("Escape")
    phone.type("hi")
    expect_state(phone, 20, input=["tap 120 500", "key 27", "char 27", "key 231", "char 104", "key 231", "char 105"])
