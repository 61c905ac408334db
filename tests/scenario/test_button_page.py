"""A slot bound to a program by tapping alone: the button page's action box, "D", the file picker's folder tree and
file list, the argument field, a picture from My Pictures as the icon and Save; the next start shows the button with
that picture, and the button runs the program."""
import os
import shutil

from checks import Expect, launch_menu, menu_painted
from phone import INSTALL, Picture, ini_value, poll, poll_value

SLOT = 1  # "Button 2": the hub's left column, second row
# The page's fields, each known by the frame it stands in.
PROGRAM_FRAME, ARGUMENT_FRAME, TEXT_FRAME, ICON_FRAME = "Path to exe", "Argument", "Text on button", "Path to icon"
# A tree's rows: as tall as a line of the phone's system font (28 pixels) and two more.
ROW_HEIGHT = 30
PICTURES, PICTURE = "My Documents/My Pictures", "Manila.png"
PROGRAM, ARGUMENT, ACTION = "\\Windows\\recorder.exe", "-x hello", "Running programm"
ICON = "\\My Documents\\My Pictures\\" + PICTURE


def keep(picture):
    """A screenshot of what a person sees, kept in $SHOTS when that names a folder."""
    if os.environ.get("SHOTS"):
        shutil.copy(picture.path, os.environ["SHOTS"])
    return picture


def field(phone, frame):
    """The text of the field in the frame, or None."""
    return getattr(phone.framed("Edit", frame), "text", None)


def tap_framed(phone, cls, frame, text=None):
    """Taps the centre of the control (of the class and text) in the frame."""
    control = phone.framed(cls, frame, text)
    assert control, "the %s frame shows its %s %s" % (frame, cls, text or "")
    phone.tap(*control.centre)


def action(phone):
    """What the action box shows, or None."""
    return getattr(phone.find("ComboBox"), "text", None)


def trees(phone):
    """The picker's folder tree and file list, in this order (the tree is above the list)."""
    return sorted((w for w in phone.windows() if w.matches("SysTreeView32")), key=lambda w: w.y)


def entries(phone, folder, suffix=None):
    """The names in a folder of the phone: its folders, or with a suffix its files that end so (case ignored)."""
    with os.scandir(phone.path(folder)) as found:
        return [e.name for e in found if (e.name.lower().endswith(suffix) if suffix else e.is_dir())]


def row_of(top, name, names):
    """The screen y of a name's row in a tree at top listing names in its own order: rows below a one-pixel border,
    sorted without regard to case."""
    return top + 1 + ROW_HEIGHT * sorted(names, key=str.upper).index(name) + ROW_HEIGHT // 2


def redraws(phone, region, act, *args):
    """Gives the input and waits until the region (a window's place) is drawn anew."""
    part = lambda: phone.screenshot("part").part(region.x, region.y, region.w, region.h).tobytes()
    before = part()
    act(*args)
    return poll(20, lambda: part() != before)


def pick(phone, folder, name):
    """Taps the folder among the root's folders (the root "\\" is the tree's first row), then the file among its .exe
    files, each once the list shows the folder's files (is redrawn)."""
    tree, files = trees(phone)
    return (redraws(phone, files, phone.tap, 70, row_of(tree.y, folder, entries(phone, "")) + ROW_HEIGHT) and
            redraws(phone, files, phone.tap, 30, row_of(files.y, name, entries(phone, folder, ".exe"))))


def pick_picture(phone, name):
    """Opens My Pictures in the folder tree (tapping My Documents, the Right key to expand it, then tapping My
    Pictures, whose row follows its parent's) and taps the picture among its .png files. Each step waits for the
    tree or the list to be redrawn: the tapped row's highlight, the opened level, the filled list."""
    tree, files = trees(phone)
    documents_y = row_of(tree.y, "My Documents", entries(phone, "")) + ROW_HEIGHT
    pictures_y = row_of(documents_y, "My Pictures", entries(phone, "My Documents")) + ROW_HEIGHT // 2 - 1
    return (redraws(phone, tree, phone.tap, 70, documents_y) and redraws(phone, tree, phone.key, "Right") and
            redraws(phone, files, phone.tap, 100, pictures_y) and
            redraws(phone, files, phone.tap, 30, row_of(files.y, name, entries(phone, PICTURES, ".png"))))


def sample_points(picture, others):
    """Up to six points of the picture's 100 x 100 that are far from its top-left (transparent) colour and from the
    same points of each of the others."""
    far = lambda a, b: max(abs(i - j) for i, j in zip(a, b)) > 48
    points = [(x, y) for y in range(10, 95, 7) for x in range(10, 95, 7)
              if far(picture.pixel(x, y), picture.pixel(0, 0)) and
              all(far(picture.pixel(x, y), other.pixel(x, y)) for other in others)]
    return points[::max(1, len(points) // 6)][:6]


def test_button_page(phone):
    phone.boot()
    phone.write_settings(timeout=0)
    phone.launch()
    menu_painted(phone)
    phone.tap(30, 30)
    assert phone.wait_for("Button", "Button %d" % (SLOT + 1)), "the hub shows the tile of slot %d" % SLOT
    phone.tap_window("Button", "Button %d" % (SLOT + 1))
    assert phone.wait_for("Button", "Path to exe"), "the button page shows its program frame"
    assert action(phone) == "None", "a None slot opens with None chosen"

    # The action box: tapped, then walked with the arrow keys to the program action.
    box = phone.find("ComboBox")
    phone.tap(*box.centre)
    for _ in range(13):
        current = action(phone)
        if current == ACTION:
            break
        phone.key("Down")
        if not poll(20, lambda: action(phone) != current):
            break
    phone.key("Return")
    assert poll_value(20, lambda: action(phone), ACTION) == ACTION, "the action box shows the program action"
    keep(phone.screenshot("action"))
    tap_framed(phone, "Button", TEXT_FRAME, "D")
    assert poll_value(20, lambda: field(phone, TEXT_FRAME), ACTION) == ACTION, \
        "D puts the action's label into the caption"

    # The picker, cancelled after choosing a file: the program field keeps its empty text.
    tap_framed(phone, "Button", PROGRAM_FRAME, ">>")
    assert poll(20, lambda: len(trees(phone)) == 2), "the picker shows its folder tree and file list"
    assert pick(phone, "Windows", "recorder.exe"), "the picker lists the Windows folder and highlights recorder.exe"
    keep(phone.screenshot("picker-cancel"))
    phone.tap_soft_key(1)  # Cancel
    assert phone.wait_for("Button", "Path to exe"), "the picker's Cancel closes it"
    assert field(phone, PROGRAM_FRAME) == "", "Cancel leaves the program field as it was"

    # The picker, selected: the program field gets the file's full path.
    tap_framed(phone, "Button", PROGRAM_FRAME, ">>")
    assert poll(20, lambda: len(trees(phone)) == 2), "the picker opens again"
    assert pick(phone, "Windows", "recorder.exe"), "the picker highlights recorder.exe again"
    keep(phone.screenshot("picker"))
    phone.tap_soft_key(0)  # Select
    assert phone.wait_for("Button", "Path to exe"), "the picker's Select closes it"
    assert poll_value(20, lambda: field(phone, PROGRAM_FRAME), PROGRAM) == PROGRAM, \
        "Select puts the file's path into the program field"

    tap_framed(phone, "Edit", ARGUMENT_FRAME)
    phone.type(ARGUMENT)
    assert poll_value(20, lambda: field(phone, ARGUMENT_FRAME), ARGUMENT) == ARGUMENT, \
        "the argument field takes typed text"

    # The icon: a picture of the user's own, picked from My Pictures among the .png files.
    tap_framed(phone, "Button", ICON_FRAME, ">>")
    assert poll(20, lambda: len(trees(phone)) == 2), "the icon's picker shows its folder tree and file list"
    assert pick_picture(phone, PICTURE), "the picker opens My Pictures and highlights " + PICTURE
    keep(phone.screenshot("picker-icon"))
    phone.tap_soft_key(0)  # Select
    assert phone.wait_for("Button", "Path to exe"), "the icon's Select closes the picker"
    assert poll_value(20, lambda: field(phone, ICON_FRAME), ICON) == ICON, \
        "Select puts the picture's path into the icon field"
    keep(phone.screenshot("page"))
    phone.tap_soft_key(0)  # Save
    assert phone.wait_for("Button", "Button %d" % (SLOT + 1)), "Save closes the page"
    saved = [ini_value(phone.read(INSTALL + "/Settings.ini"), str(SLOT), key)
             for key in ("UseButton", "Text", "Path", "Arg", "Icon")]
    assert saved == ["12", ACTION, PROGRAM, ARGUMENT, ICON], "Save wrote the action, caption, program, argument, icon"
    phone.tap_soft_key(1)  # Exit
    assert phone.wait(20) == 0, "Exit ends the menu with 0"

    # The next start shows the slot's button; pressing it runs the program with the argument. The button's left
    # 100 x 100 shows the picked picture over the skin's button face; the points compared are away from the
    # picture's transparent colour and differ from the face and from the other pictures beside it (the screen may
    # round colours by up to 8).
    button_y = 25 + 108 * SLOT
    picture = Picture(phone.path(PICTURES + "/" + PICTURE))
    others = [Picture(os.path.join(phone.install, "Skins/Default/Button.png"))]
    others += [Picture(phone.path(PICTURES + "/" + name)) for name in entries(phone, PICTURES, ".png")
               if name != PICTURE]
    points = sample_points(picture, others)
    assert len(points) >= 3, "the picture has points that tell it from the face and the other pictures"
    expect = Expect()
    for x, y in points:
        expect.add(65 + x, button_y + y, picture.pixel(x, y), "the button shows the picture at (%d, %d)" % (x, y), 8)
    launch_menu(phone)
    assert expect.faces(phone).shown(phone, "menu") == []
    menu = keep(Picture(os.path.join(phone.device, "menu.png")))
    button = next((w for w in phone.windows() if w.matches("Button") and (w.x, w.y) == (65, button_y)), None)
    assert button, "the menu shows the new button"
    assert menu.pixel(66, button_y + 1) != (255, 0, 255), "the picture's magenta corner is left out"
    phone.tap(*button.centre)
    assert phone.wait(30) == 0, "pressing the button ends the menu with 0"
    # The phone's shell starts Manila.exe at boot; the recorder is what the button started.
    recorded = [run for run in phone.state()["launched"] if run["program"].endswith("recorder.exe")]
    assert recorded == [{"program": PROGRAM, "parameters": ARGUMENT}], \
        "the button ran the picked program with the typed argument"
