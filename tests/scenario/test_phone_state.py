"""The phone's state from outside: set and state round trips, radio switches that take a moment, flight mode rules,
vendor libraries made absent, and state that survives a reboot."""
import time

from checks import expect_state

# Every name that set knows, read back through state.
ROUND_TRIPS = [("bluetooth", 1), ("wlan", 1), ("vibrate", 2), ("gprs", 1), ("umts_opmode", 2),
               ("bluetooth_discoverable", 1), ("radio_delay_ms", 700), ("wlan", 0), ("vibrate", 0), ("umts_opmode", 1)]
REFUSED = [["frobnicate", "1"], ["bluetooth", "2"], ["gprs", "-1"], ["manila", "paused"], ["radio_delay_ms", "soon"]]


def comm(phone, export, *args):
    """Calls an export of CommManagerDll.dll as a program would; what it printed."""
    return phone.ctl("call", "CommManagerDll.dll", export, *args).stdout.strip()


def test_phone_state(phone):
    phone.boot()
    # A new phone: radios off but the phone radio, no data link, Manila running, task bar shown.
    expect_state(phone, bluetooth=0, wlan=0, phone=1, flight=0, bluetooth_discoverable=0, vibrate=0, gprs=0,
                 umts_opmode=0, manila_running=1, taskbar_visible=1, power=[], calls=[])
    assert {"PhoneShell.exe", "Manila.exe"} <= set(phone.state()["processes"]), "processes lists the shell and Manila"

    for name, value in ROUND_TRIPS:
        phone.set(name, value)
        expect_state(phone, **{name: value})

    # Refusals: one line saying why, and a failure.
    for bad in REFUSED:
        refused = phone.emu("set", *bad, check=False)
        lines = [line for line in refused.stderr.splitlines() if line]
        assert refused.returncode != 0, "set %s should fail" % " ".join(bad)
        assert len(lines) == 1, "set %s should say why in one line, not %s" % (" ".join(bad), lines)

    # A radio switch reported by Get only after the delay: 2 s here, so that a busy machine still asks "right after".
    phone.set("radio_delay_ms", 2000)
    phone.set("history", "clear")
    comm(phone, "CommManager_SetBluetooth", 0)
    assert comm(phone, "CommManager_GetBluetooth", "cell") == "0 1", "Get right after Set still reports the old state"
    time.sleep(2.5)  # past the delay on purpose: what is checked is the time the switch takes
    assert comm(phone, "CommManager_GetBluetooth", "cell") == "0 0", "Get after the delay reports the new state"
    expect_state(phone, calls=["CommManager_SetBluetooth 0", "CommManager_GetBluetooth -> 1",
                               "CommManager_GetBluetooth -> 0"])

    # Flight mode: on silences every radio and drops the data link; off brings back the phone radio only.
    for name, value in [("radio_delay_ms", 0), ("bluetooth", 1), ("wlan", 1), ("gprs", 1)]:
        phone.set(name, value)
    comm(phone, "CommManager_SetFlightMode", 1)
    expect_state(phone, flight=1, bluetooth=0, wlan=0, phone=0, gprs=0)
    assert phone.ctl("connect").stdout.strip() == "0x27", "a connection request in flight mode finds the phone off"
    comm(phone, "CommManager_SetFlightMode", 0)
    expect_state(phone, flight=0, bluetooth=0, wlan=0, phone=1, gprs=0)
    assert phone.ctl("connect").stdout.strip() == "0x10", "a connection request with the phone radio on connects"
    expect_state(phone, gprs=1)
    comm(phone, "CommManager_DisconnectAllGPRS")
    expect_state(phone, gprs=0)
    phone.set("gprs", 1)
    phone.set("phone", 0)
    expect_state(phone, gprs=0)

    # A phone without its vendor libraries, until they are put back.
    phone.set("commmanager", "absent")
    phone.set("htcutil", "absent")
    expect_state(phone, commmanager_present=0)
    lookup = phone.ctl("call", "CommManagerDll.dll", "CommManager_GetWLAN", "cell", check=False)
    assert lookup.returncode != 0, "the program's library lookup fails without CommManagerDll.dll: %s" % lookup.stdout

    # State kept in the phone's registry and files survives a reboot.
    phone.set("bluetooth", 1)
    phone.set("vibrate", 2)
    phone.emu("shutdown")
    phone.boot()
    expect_state(phone, bluetooth=1, vibrate=2, phone=0, commmanager_present=0, htcutil_present=0)
    phone.set("commmanager", "present")
    phone.set("htcutil", "present")
    expect_state(phone, commmanager_present=1)
    assert comm(phone, "CommManager_GetBluetooth", "cell") == "0 1", "CommManagerDll.dll answers again"
