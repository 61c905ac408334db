"""Checks the front screen against `emu windows` (the file named first; its lines are in z-order from the top, each
window's children right after it). With a 480 x 800 screenshot (raw RGB) on standard input: the front dialog's own
windows show their own pixels, its tree controls their white ground, and no button or frame of a screen below it
shows through. With --taps instead: at the centre of each control of the front screen (its buttons, fields, lists,
the ok, each soft key) the top-most window is that control, so a tap there reaches it. Prints each fault; exits 1
when there is one."""
import sys

WIDTH, HEIGHT = 480, 800
WHITE, FRAME_EDGE, BUTTON_EDGE = (255, 255, 255), (166, 166, 166), (106, 106, 106)
SHELL_WINDOWS = {"menu_worker", "PhoneDoneButton"}
CONTROLS = {"Button", "Edit", "ComboBox", "SysTreeView32"}

windows, top = [], None
for line in open(sys.argv[1], encoding="utf-8", errors="replace"):
    f = line.rstrip("\n").split("\t")
    if len(f) == 9 and f[8] == "1":
        w = {"cls": f[1], "text": f[2], "x": int(f[3]), "y": int(f[4]), "w": int(f[5]), "h": int(f[6]),
             "style": int(f[7], 16)}
        w["child"] = bool(w["style"] & 0x40000000)
        top = top if w["child"] else w
        w["top"] = top
        windows.append(w)


def owned(w):
    return w["style"] & 0x80000000 and not w["child"]


def frame(w):
    return w["cls"] == "Button" and w["style"] & 0xF == 7


def own_pixel(w):
    """Where a window shows a pixel of its own, and that pixel's colour; None for windows without a rule."""
    x, y, wd, ht = w["x"], w["y"], w["w"], w["h"]
    if w["cls"] == "Edit":
        return (x + wd - 6, y + ht // 2), WHITE
    if frame(w):
        return (x, y + ht // 2), FRAME_EDGE
    if w["cls"] == "Button":
        return (x + wd - 1, y + ht // 2), BUTTON_EDGE
    if w["cls"] == "SysTreeView32":
        return (x + wd - 4, y + ht - 4), WHITE
    return None


def paint_faults(front):
    screen = sys.stdin.buffer.read()
    if len(screen) != WIDTH * HEIGHT * 3:
        sys.exit("screen_painted: the screenshot is not 480 x 800")
    at = lambda x, y: tuple(screen[(y * WIDTH + x) * 3:(y * WIDTH + x) * 3 + 3])
    faults, dialog = [], windows[front]
    # The dialog's own top-level windows are listed above it, its children right below it.
    mine = [w for w in windows[:front] if owned(w) and w["cls"] not in SHELL_WINDOWS]
    mine += [w for w in windows[front + 1:] if w["top"] is dialog and w["cls"] == "SysTreeView32"]
    checked = 0
    for w in mine:
        rule = own_pixel(w)
        if rule:
            checked += 1
            (x, y), colour = rule
            if at(x, y) != colour:
                faults.append("%s %r at %d,%d: %s, not %s" % (w["cls"], w["text"], x, y, at(x, y), colour))
    if checked == 0:
        faults.append("the front dialog shows no window to check")
    # What a screen below leaves: its buttons and frames inside the front dialog must be covered.
    inside = lambda w: (w["y"] >= dialog["y"] and w["y"] + w["h"] <= dialog["y"] + dialog["h"])
    for w in windows[front + 1:]:
        if owned(w) and w["cls"] == "Button" and inside(w) and w not in mine:
            (x, y), colour = own_pixel(w)
            if at(x, y) == colour and at(x - 1, y) != colour:
                faults.append("%s %r of a screen below shows through at %d,%d" % (w["cls"], w["text"], x, y))
    return faults


def tap_points(w):
    """Where a finger taps w: its centre, or the centre of each soft key of a soft-key bar."""
    middle = w["y"] + w["h"] // 2
    if w["cls"] == "ToolbarWindow32":
        return [(w["x"] + w["w"] // 4, middle), (w["x"] + w["w"] * 3 // 4, middle)]
    return [(w["x"] + w["w"] // 2, middle)] if w["cls"] in CONTROLS and not frame(w) else []


def tap_faults(front):
    # A tap goes to the top-most top-level window under it (a frame shows only its outline), then to the child there.
    under = lambda x, y: next((t for t in windows if not t["child"] and not frame(t) and
                               t["x"] <= x < t["x"] + t["w"] and t["y"] <= y < t["y"] + t["h"]), None)
    end, faults, checked = front + 1, [], 0
    while end < len(windows) and windows[end]["child"]:
        end += 1  # the front dialog's children; the windows after them belong to screens below
    for w in windows[:end]:
        for x, y in tap_points(w):
            checked += 1
            hit = under(x, y)
            if hit is not w["top"]:
                faults.append("%s %r at %d,%d is under %s %r" % (w["cls"], w["text"], x, y, hit and hit["cls"],
                                                                 hit and hit["text"]))
    if checked == 0:
        faults.append("the front dialog shows no control to tap")
    return faults


front = next((i for i, w in enumerate(windows) if w["cls"] == "#32770"), None)
faults = ["no dialog is shown"] if front is None else (tap_faults if "--taps" in sys.argv else paint_faults)(front)
for fault in faults:
    print("  " + fault, file=sys.stderr)
sys.exit(1 if faults else 0)
