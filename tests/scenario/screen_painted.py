"""Checks a 480 x 800 screen (raw RGB on standard input) against `emu windows` (the file named first): the front
dialog's own windows show their own pixels, its tree controls their white ground, and no button or frame of a
screen below it shows through. Prints each fault; exits 1 when there is one."""
import sys

WIDTH, HEIGHT = 480, 800
WHITE, FRAME_EDGE, BUTTON_EDGE = (255, 255, 255), (166, 166, 166), (106, 106, 106)
SHELL_WINDOWS = {"menu_worker", "PhoneDoneButton"}

screen = sys.stdin.buffer.read()
if len(screen) != WIDTH * HEIGHT * 3:
    sys.exit("screen_painted: the screenshot is not 480 x 800")


def at(x, y):
    i = (y * WIDTH + x) * 3
    return tuple(screen[i:i + 3])


windows = []
for line in open(sys.argv[1], encoding="utf-8", errors="replace"):
    f = line.rstrip("\n").split("\t")
    if len(f) == 9 and f[8] == "1":
        windows.append({"cls": f[1], "text": f[2], "x": int(f[3]), "y": int(f[4]), "w": int(f[5]),
                        "h": int(f[6]), "style": int(f[7], 16)})


def owned(w):
    return w["style"] & 0x80000000 and not w["style"] & 0x40000000


def own_pixel(w):
    """Where a window shows a pixel of its own, and that pixel's colour; None for windows without a rule."""
    x, y, wd, ht = w["x"], w["y"], w["w"], w["h"]
    if w["cls"] == "Edit":
        return (x + wd - 6, y + ht // 2), WHITE
    if w["cls"] == "Button" and w["style"] & 0xF == 7:
        return (x, y + ht // 2), FRAME_EDGE
    if w["cls"] == "Button":
        return (x + wd - 1, y + ht // 2), BUTTON_EDGE
    if w["cls"] == "SysTreeView32":
        return (x + wd - 4, y + ht - 4), WHITE
    return None


faults = []
front = next((i for i, w in enumerate(windows) if w["cls"] == "#32770"), None)
if front is None:
    faults.append("no dialog is shown")
else:
    dialog = windows[front]
    # The dialog's own top-level windows are listed above it, its children right below it.
    mine = [w for w in windows[:front] if owned(w) and w["cls"] not in SHELL_WINDOWS]
    for w in windows[front + 1:]:
        if owned(w) or w["cls"] == "#32770":
            break
        if w["cls"] == "SysTreeView32":
            mine.append(w)
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
for fault in faults:
    print("  " + fault, file=sys.stderr)
sys.exit(1 if faults else 0)
