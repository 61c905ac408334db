"""Every screen of the editor painted over what lies below it, every time, with the machine busy: the hub, the General
page, a button page and the file picker, each opened 30 times with a CPU hog running beside the phone. Each time a
screen closes, every control of the screen below is in front at its centre, and the round ends as a reported lost tap
began: the button page closed with Cancel, a pause, then the hub's ok, which ends the editor."""
import os
import subprocess
import time

from checks import screen_painted, stacking_settled, tap_faults
from phone import poll

ROUNDS = int(os.environ.get("TOLVANE_STRESS_ROUNDS", "30"))
# A round's taps: each opens a screen, known by a window of its own, or closes it (and says what did not happen).
STEPS = [("hub", (30, 30), ("Button", "General"), None),  # Settings
         ("general", (357, 346), ("msctls_updown32",), None),
         ("general", (360, 774), ("msctls_updown32",), "the hub did not come back from General"),
         ("button", (122, 55), ("Button", "Path to exe"), None),  # Button 1
         ("picker", (425, 255), ("SysTreeView32",), None),  # the program's ">>"
         ("picker", (360, 774), ("SysTreeView32",), "the page did not come back from the picker"),
         ("button", (360, 774), ("Button", "Path to exe"), "the hub did not come back from the page")]


def opened(phone, name, round_):
    """Whether the front screen is painted within 10 looks, half a second apart, once its windows are listed (the
    unpainted page this guards against stayed so until the next tap); says what was not."""
    for _ in range(10):
        faults = screen_painted(phone, name)
        if not faults:
            return True
        time.sleep(0.5)
    print("FAIL: %s not painted in round %d:" % (name, round_), *faults, sep="\n  ")
    os.replace(phone.device + "/%s.png" % name, phone.device + "/%s-round-%d.png" % (name, round_))  # kept
    return False


def closed(phone, name, round_):
    """Once the windowing rules have settled after the screen closed (the pause before the next tap), whether every
    control of the screen below is the top-most window at its centre; says what is not."""
    if not poll(20, lambda: stacking_settled(phone)):
        print("FAIL: round %d: the windows never settled after %s closed" % (round_, name))
    faults = tap_faults(windows := phone.windows())
    if faults:
        print("FAIL: round %d: after %s closed, a tap misses a control below:" % (round_, name), *faults,
              *windows, sep="\n  ")
    return not faults


def one_round(phone, round_, painted, reached):
    """Each step, then the hub's ok; what did not happen, or None when the round went through to the editor's end."""
    phone.launch()
    if not phone.wait_for_menu():
        return "no menu"
    for name, at, window, stuck in STEPS:
        phone.tap(*at)
        if stuck is None:
            painted[name] += bool(phone.wait_for(*window) and opened(phone, name, round_))
        elif not phone.wait_until_gone(*window):
            return stuck
        else:
            reached[name] += closed(phone, name, round_)
    if phone.wait(0) is not None:
        return "the editor ended before its ok was tapped"
    phone.tap(440, 26)  # the hub's ok, over the "Button 5" tile
    return None if phone.wait(30) == 0 else "the hub's ok did not end the editor"


def test_editor_stress(phone, capsys):
    painted, ended = dict.fromkeys(["hub", "general", "button", "picker"], 0), 0
    reached = dict.fromkeys(["general", "picker", "button"], 0)  # by the screen that closed
    # A busy loop beside the phone for the whole scenario (the other tests, run beside it, share the load).
    with subprocess.Popen(["sh", "-c", "while :; do :; done"]) as hog:
        try:
            phone.boot()
            phone.write_settings(timeout=0)
            while ended < ROUNDS:
                stuck = one_round(phone, ended + 1, painted, reached)
                if stuck:  # what the phone shows then
                    status = phone.emu("wait", 0, check=False)
                    print("FAIL: round %d: %s" % (ended + 1, stuck), "the menu program: " + status.stdout +
                          status.stderr, phone.emu("windows", check=False).stdout, sep="\n")
                    break
                ended += 1
        finally:
            hog.kill()
    with capsys.disabled():  # the summary shows whether the scenario passes or not
        for screen, count in painted.items():
            print("%s: %d of %d paintings correct" % (screen, count, ROUNDS))
        for screen, count in reached.items():
            print("after %s closed: %d of %d screens below with every control in front" % (screen, count, ROUNDS))
        print("the hub's ok ended the editor: %d of %d" % (ended, ROUNDS))
        print("restacks: %d in %d rounds" % (phone.state()["restacks"], ROUNDS))
    assert painted == dict.fromkeys(painted, ROUNDS), "every screen painted over what lies below it every time"
    assert reached == dict.fromkeys(reached, ROUNDS), "every control in front after every screen closed"
    assert ended == ROUNDS, "the hub's ok ended the editor every time"
