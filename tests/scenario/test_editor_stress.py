"""Every screen of the editor painted over what lies below it, every time, with the machine busy: the hub, the General
page, a button page and the file picker, each opened 30 times with a CPU hog running beside the phone. Each time a
screen closes, the screen below is painted again and a tap at the centre of every control of it reaches that
control, and the round ends as a reported lost tap began: the button page closed with Cancel, then the hub's ok,
which ends the editor. Every tap finds its control through the phone's list of windows."""
import os
import subprocess
import time

from checks import screen_painted, tap_faults

ROUNDS = int(os.environ.get("TOLVANE_STRESS_ROUNDS", "30"))
CANCEL = ("soft key", 1)  # the front screen's right soft key
# A round's taps: what is tapped (a window's class and caption, or a soft key), and the screen it opens, known by a
# window of its own, or closes (then what did not happen).
STEPS = [("hub", (30, 30), ("Button", "General"), None),  # the menu's Settings, where the menu's layout puts it
         ("general", ("Button", "General"), ("msctls_updown32",), None),
         ("general", CANCEL, ("msctls_updown32",), "the hub did not come back from General"),
         ("button", ("Button", "Button 1"), ("Button", "Path to exe"), None),
         ("picker", ("Button", ">>"), ("SysTreeView32",), None),  # the program's ">>", made before the icon's
         ("picker", CANCEL, ("SysTreeView32",), "the page did not come back from the picker"),
         ("button", CANCEL, ("Button", "Path to exe"), "the hub did not come back from the page")]


def tap(phone, what):
    if what[0] == "soft key":
        phone.tap_soft_key(what[1])
    elif isinstance(what[0], int):
        phone.tap(*what)
    else:
        phone.tap_window(*what)


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
    """Whether, once the screen has closed, the screen below is painted again, its soft keys with their captions
    under the pointer that tapped the key, and a tap at the centre of every control of it reaches it; says what
    is not."""
    if not opened(phone, "below " + name, round_):
        return False
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
    for name, what, window, stuck in STEPS:
        tap(phone, what)
        if stuck is None:
            painted[name] += bool(phone.wait_for(*window) and opened(phone, name, round_))
        elif not phone.wait_until_gone(*window):
            return stuck
        else:
            reached[name] += closed(phone, name, round_)
    if phone.wait(0) is not None:
        return "the editor ended before its ok was tapped"
    phone.tap_window("Button", "ok")  # the hub's ok, in the task bar
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
            print("after %s closed: %d of %d screens below with every control reached by a tap" % (screen, count,
                                                                                                    ROUNDS))
        print("the hub's ok ended the editor: %d of %d" % (ended, ROUNDS))
    assert painted == dict.fromkeys(painted, ROUNDS), "every screen painted over what lies below it every time"
    assert reached == dict.fromkeys(reached, ROUNDS), "every control reached by a tap after every screen closed"
    assert ended == ROUNDS, "the hub's ok ended the editor every time"
