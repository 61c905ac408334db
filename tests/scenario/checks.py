"""The scenarios' shared checks: pixels a screen must show, whether the front screen is painted over the ones below,
and whether a tap at each of its controls reaches that control."""
import os
import time

from phone import Picture, Slot, poll, poll_value

WHITE, FRAME_EDGE, BUTTON_EDGE = (255, 255, 255), (166, 166, 166), (106, 106, 106)
SHELL_WINDOWS = {"menu_worker", "PhoneDoneButton"}
CONTROLS = {"Button", "Edit", "ComboBox", "SysTreeView32"}

# Seven slots bound to actions that need no radio library.
SEVEN_SLOTS = [Slot(0, "Restart Manila"), Slot(2, "Sleep Mode"), Slot(3, "Power off"),
               Slot(5, "Bluetooth Discoverable"), Slot(8, "Vibro"), Slot(9, "GPRS"),
               Slot(12, "Notes", "\\Program Files\\Orsweld\\Tolvane\\Skins\\Default\\Reset.png")]


class Expect:
    """Pixels the next screenshot should show: add() each, then shows(phone, name) waits for them."""

    def __init__(self):
        self.points = []

    def add(self, x, y, colour, description, tolerance=0):
        self.points.append((x, y, tuple(colour), description, tolerance))
        return self

    def faces(self, phone, skin="Default"):
        """The skin's Settings and Exit faces at the top, where a tap reaches them."""
        folder = os.path.join(phone.install, "Skins", skin)
        self.add(30, 30, Picture(os.path.join(folder, "Settings.png")).pixel(20, 20),
                 "the %s Settings face at the top left" % skin)
        return self.add(450, 30, Picture(os.path.join(folder, "Exit.png")).pixel(20, 20),
                        "the %s Exit face at the top right" % skin)

    def wrong(self, picture):
        return ["%s (%s, expected %s)" % (description, picture.pixel(x, y), colour)
                for x, y, colour, description, tolerance in self.points
                if max(abs(a - b) for a, b in zip(picture.pixel(x, y), colour)) > tolerance]

    def shown(self, phone, name, seconds=20):
        """Takes screenshots (NAME.png in the phone's folder) until every pixel shows, at most the seconds; returns
        the descriptions of those the last one did not show, and forgets the pixels."""
        wrong = poll_value(seconds, lambda: self.wrong(phone.screenshot(name)), [])
        self.points = []
        return wrong


def launch_menu(phone):
    """Starts the menu and waits until it shows and has hidden the task bar."""
    phone.launch()
    assert phone.wait_for_menu(), "the menu shows"


def menu_painted(phone, skin="Default", expect=None):
    """The menu shows and its Settings and Exit faces are on the screen, so a tap reaches them; expect (an Expect)
    adds pixels the same screenshot must show."""
    assert phone.wait_for_menu(), "the menu shows"
    wrong = (expect or Expect()).faces(phone, skin).shown(phone, "menu")
    assert wrong == [], "the menu's screenshot: " + "; ".join(wrong)


def expect_state(phone, /, seconds=0, **want):
    """Checks fields of the phone's state, read until they are as wanted for at most the seconds (once when none
    are given)."""
    def fields():
        state = phone.state()
        return {name: state.get(name) for name in want}

    seen = poll_value(seconds, fields, want)
    assert seen == want, "the phone's state shows %s, expected %s" % (seen, want)


def reference_missed(phone, reference, x=0, y=0, name="screen", seconds=20):
    """Takes screenshots (NAME.png) until the screen shows the reference picture's pixels from (x, y), at most the
    seconds; returns how many of them the last one missed (0: none). The part seen is kept as NAME-seen.png."""
    reference, seen = Picture(reference), []
    if poll(seconds, lambda: seen.append(phone.screenshot(name)) or seen[-1].shows(reference, x, y)):
        return 0
    seen[-1].part(x, y, *reference.size).save(os.path.join(phone.device, name + "-seen.png"))
    return seen[-1].differences(reference, x, y)


def window_shown(phone, cls, text, what, seconds=20):
    """Waits for a visible window of the class with the text; a failure names the texts the class shows instead."""
    assert phone.wait_for(cls, text, seconds), "%s: no %s %r among %s" % (
        what, cls, text, [w.text for w in phone.windows() if w.matches(cls)])


def frame(w):
    return w.cls == "Button" and w.style & 0xF == 7


def inside(w, x, y):
    return w.x <= x < w.x + w.w and w.y <= y < w.y + w.h


def front_dialog(windows):
    visible = [w for w in windows if w.visible]
    return visible, next((i for i, w in enumerate(visible) if w.cls == "#32770"), None)


def descendants(windows, i):
    """The windows listed right after windows[i] that belong to it (each window's children follow it)."""
    end = i + 1
    while end < len(windows) and windows[end].child:
        end += 1
    return windows[i + 1:end]


def own_pixel(w):
    """Where a window shows a pixel of its own, and that pixel's colour; None for windows without a rule."""
    if w.cls == "Edit":
        return (w.x + w.w - 6, w.y + w.h // 2), WHITE
    if frame(w):
        return (w.x, w.y + w.h // 2), FRAME_EDGE
    if w.cls == "Button":
        return (w.x + w.w - 1, w.y + w.h // 2), BUTTON_EDGE
    if w.cls == "SysTreeView32":
        return (w.x + w.w - 4, w.y + w.h - 4), WHITE
    return None


def paint_faults(windows, screen):
    """What is wrong with the front screen's paint: each control of the front dialog (fields, frames, buttons,
    tiles, trees) shows its own pixels, each frame's inside its dialog's ground, and no button or frame of a screen
    below shows through it."""
    windows, front = front_dialog(windows)
    if front is None:
        return ["no dialog is shown"]
    faults, dialog = [], windows[front]
    mine = descendants(windows, front)
    rules = [(w, own_pixel(w)) for w in mine if own_pixel(w)]
    for w, ((x, y), colour) in rules:
        if screen.pixel(x, y) != colour:
            faults.append("%s %r at %d,%d: %s, not %s" % (w.cls, w.text, x, y, screen.pixel(x, y), colour))
    if not rules:
        faults.append("the front dialog shows no window to check")
    # A frame's inside, where none of the controls stands, shows the ground beside the frame (just left of it).
    ground = screen.pixel(dialog.x + 2, dialog.y + dialog.h - 2)
    for w in filter(frame, mine):
        x, y = w.x + w.w - 4, w.y + w.h - 4
        if not any(inside(c, x, y) for c in mine if c is not w) and screen.pixel(x, y) != ground:
            faults.append("the inside of frame %r at %d,%d: %s, not %s" % (w.text, x, y, screen.pixel(x, y), ground))
    # Each soft key shows the bar's dark ground beside its caption: a key drawn hot (under the pointer, which stays
    # where the last tap was) is a blank white box.
    bar = next((w for w in windows[:front] if w.cls == "ToolbarWindow32"), None)
    for key in range(2 if bar else 0):
        x, y = bar.x + (key + 1) * bar.w // 2 - 6, bar.y + bar.h // 2
        if screen.pixel(x, y) != screen.pixel(bar.x + 1, bar.y + 1):
            faults.append("soft key %d at %d,%d: %s, not the bar's ground" % (key, x, y, screen.pixel(x, y)))
    # What a screen below leaves: its buttons and frames inside the front dialog must be covered.
    for i, below in enumerate(windows[front + 1:], front + 1):
        if below.cls != "#32770":
            continue
        for w in descendants(windows, i):
            if w.cls == "Button" and dialog.y <= w.y and w.y + w.h <= dialog.y + dialog.h:
                (x, y), colour = own_pixel(w)
                if screen.pixel(x, y) == colour and screen.pixel(x - 1, y) != colour and \
                        not any(inside(c, x, y) for c in mine):
                    faults.append("%s %r of a screen below shows through at %d,%d" % (w.cls, w.text, x, y))
    return faults


def tap_points(w):
    """Where a finger taps w: its centre, or the centre of each soft key of a soft-key bar."""
    middle = w.y + w.h // 2
    if w.cls == "ToolbarWindow32":
        return [(w.x + w.w // 4, middle), (w.x + w.w * 3 // 4, middle)]
    return [(w.x + w.w // 2, middle)] if w.cls in CONTROLS and not frame(w) else []


def tap_faults(windows):
    """At the centre of each control of the front screen (its buttons, fields, lists, the ok, each soft key) a tap
    reaches that control: the top-most top-level window there is the control's own, and of its windows there the
    top-most one that is not a frame (a frame lets taps through) is the control."""
    windows, front = front_dialog(windows)
    if front is None:
        return ["no dialog is shown"]

    def under(x, y):
        top = next((i for i, t in enumerate(windows) if not t.child and inside(t, x, y)), None)
        if top is None:
            return None
        return next((c for c in descendants(windows, top) if not frame(c) and inside(c, x, y)), windows[top])

    # The front dialog's windows, and the front-most of the shell's windows of each kind (the soft-key bar, the ok):
    # those of the screens below stand under them.
    shell = {}
    for i, w in enumerate(windows[:front]):
        if w.cls in SHELL_WINDOWS and w.cls not in shell:
            shell[w.cls] = descendants(windows, i)
    taps = [(w, x, y) for w in sum(shell.values(), descendants(windows, front)) for x, y in tap_points(w)]
    faults = ["%s %r at %d,%d is under %s %r" % (w.cls, w.text, x, y, hit and hit.cls, hit and hit.text)
              for w, x, y in taps if (hit := under(x, y)) is not w]
    if not taps:
        faults.append("the front dialog shows no control to tap")
    return faults


def screen_painted(phone, name="front"):
    """The front screen's paint faults, from one screenshot (NAME.png) and one listing of the windows."""
    screen = phone.screenshot(name)
    return paint_faults(phone.windows(), screen)
