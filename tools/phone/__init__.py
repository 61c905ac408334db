"""Drives an emulated phone through the entry script (`./tolvane emu ... --device DIR`), as a person would: boot,
launch, wait, taps, keys and text, screenshots read in-process, the windows as records, the phone's state, and the
one writer of Settings.ini. The scenarios, the soak, the bench and the skin preview all drive phones through it.

Every call through the entry script that fails or complains is logged with its status and error output (to
Phone.log_file when given, else to stderr), so a test's log shows what each Wine process the harness started said."""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
from collections import namedtuple

from PIL import Image

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TOLVANE = os.path.join(ROOT, "tolvane")
INSTALL = "Program Files/Orsweld/Tolvane"
MENU_EXE = "P:\\Program Files\\Orsweld\\Tolvane\\Tolvane.exe"
SLOT_COUNT = 7
WIDTH, HEIGHT = 480, 800


def poll(seconds, condition, interval=0.2):
    """Asks the condition until it holds (returns its answer) or the seconds have passed (returns False)."""
    deadline = time.monotonic() + seconds
    while True:
        answer = condition()
        if answer or time.monotonic() >= deadline:
            return answer
        time.sleep(interval)


def poll_value(seconds, value, want, interval=0.2):
    """Asks value() until it answers want or the seconds have passed; returns its last answer, so that a check
    that fails can say what it saw."""
    deadline = time.monotonic() + seconds
    while True:
        answer = value()
        if answer == want or time.monotonic() >= deadline:
            return answer
        time.sleep(interval)


class Slot(namedtuple("Slot", "code text icon path arg")):
    """One button's section of Settings.ini: the action's code, the caption, the icon, a program and its argument."""
    __slots__ = ()

    def __new__(cls, code=13, text="", icon="", path="", arg=""):
        return super().__new__(cls, str(code), text, icon, path, arg)


def settings_text(skin="Default", timeout=5, slots=(), newline="\r\n"):
    """Settings.ini as the program itself writes it; slots not given are unbound (UseButton = 13)."""
    slots = list(slots) + [Slot()] * (SLOT_COUNT - len(slots))
    parts = ["[Settings]", "SkinName = %s" % skin, "Timeout = %s" % timeout]
    for number, slot in enumerate(slots):
        parts += ["", "", "[%d]" % number, "UseButton = %s" % slot.code, "Path = %s" % slot.path,
                  "Arg = %s" % slot.arg, "Text = %s" % slot.text, "Icon = %s" % slot.icon]
    return newline.join(parts) + newline


def ini_value(text, section, key):
    """A value of an ini text as the program reads it (case of names ignored), or None."""
    current = None
    for line in text.replace("\r", "").split("\n"):
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            current = line[1:-1].lower()
        elif current == section.lower() and "=" in line:
            name, value = line.split("=", 1)
            if name.strip().lower() == key.lower():
                return value.strip()
    return None


class Picture:
    """A picture's pixels, read once: a screenshot or a skin's PNG."""

    def __init__(self, path):
        self.path = path
        with Image.open(path) as image:
            self.image = image.convert("RGB")
        self.size = self.image.size

    def pixel(self, x, y):
        return self.image.getpixel((x, y))

    def part(self, x, y, width, height):
        return self.image.crop((x, y, x + width, y + height))

    def shows(self, other, x, y):
        """Whether this picture holds other's pixels with its top left at (x, y)."""
        return self.part(x, y, *other.size).tobytes() == other.image.tobytes()

    def differences(self, other, x=0, y=0):
        """How many of other's pixels this picture does not hold with other's top left at (x, y), for a failed
        shows() to tell how far off it was."""
        return sum(a != b for a, b in zip(self.part(x, y, *other.size).getdata(), other.image.getdata()))


class Window(namedtuple("Window", "handle cls text x y w h style visible")):
    """One window of `emu windows --json`, listed in z-order from the top, each one's children right after it."""
    __slots__ = ()

    @property
    def child(self):
        return bool(self.style & 0x40000000)

    @property
    def centre(self):
        return self.x + self.w // 2, self.y + self.h // 2

    def matches(self, cls, text=None):
        return self.visible and self.cls == cls and (text is None or self.text == text)


class EmuError(RuntimeError):
    pass


class Phone:
    """One emulated phone in a folder of its own (a temporary one unless given), driven through the entry script."""

    def __init__(self, device=None, log_file=None, prefix="tolvane-phone."):
        self.temporary = device is None
        self.device = os.path.abspath(device or tempfile.mkdtemp(prefix=prefix))
        self.root = os.path.join(self.device, "root")
        self.install = os.path.join(self.root, INSTALL)
        self.log_file = log_file

    def emu(self, *args, check=True, timeout=120, env=None):
        """Runs `./tolvane emu ARGS --device DIR`; its status and error output go to the log. Fails (EmuError)
        when check is set and the command fails."""
        command = [TOLVANE, "emu", *map(str, args), "--device", self.device]
        started = time.monotonic()
        # Files, not pipes: a program started in the phone (ctl start, set manila running) keeps the output of the
        # command that started it open for as long as it runs, and reading a pipe to its end would wait for that.
        with tempfile.TemporaryFile("w+") as out, tempfile.TemporaryFile("w+") as err:
            try:
                status = subprocess.run(command, stdout=out, stderr=err, timeout=timeout, stdin=subprocess.DEVNULL,
                                        env=dict(os.environ, TOLVANE_NO_BUILD="1", **(env or {}))).returncode
            except subprocess.TimeoutExpired as timeout_expired:
                self.note("emu %s: no answer within %d s" % (" ".join(map(str, args)), timeout))
                raise EmuError("emu %s gave no answer within %d s" % (args[0], timeout)) from timeout_expired
            out.seek(0)
            err.seek(0)
            result = subprocess.CompletedProcess(command, status, out.read(), err.read())
        if result.returncode != 0 or result.stderr.strip():
            self.note("emu %s: status %d after %.1f s%s" % (
                " ".join(map(str, args)), result.returncode, time.monotonic() - started,
                "".join("\n    " + line for line in result.stderr.strip().splitlines())))
        if check and result.returncode != 0:
            raise EmuError("emu %s failed with status %d: %s" % (args[0], result.returncode, result.stderr.strip()))
        return result

    def note(self, line):
        if self.log_file:
            with open(self.log_file, "a", encoding="utf-8") as fh:
                fh.write(line + "\n")
        else:
            print(line, file=sys.stderr)

    def boot(self, locale=None):
        self.emu("boot", *(["--locale", locale] if locale else []), timeout=600)
        return self

    def shutdown(self):
        self.emu("shutdown", check=False)

    def close(self):
        """Shuts the phone down and, when its folder was made for it, removes the folder."""
        self.shutdown()
        if self.temporary:
            shutil.rmtree(self.device, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def launch(self, program=None):
        self.emu("launch", env={"TOLVANE_MENU_EXE": program} if program else None)

    def exit_code(self):
        """The menu's exit code once it has ended (-1 when it could not be started), or None while it runs."""
        try:
            with open(os.path.join(self.device, "run", "exitcode")) as fh:
                code = fh.read().strip()
        except OSError:
            return None
        return int(code) if code.isdigit() else -1

    def wait(self, seconds=60):
        """Waits for the menu to end: its exit code, or None when it still runs after the seconds."""
        result = self.emu("wait", seconds, check=False, timeout=seconds + 60)
        code = result.stdout.strip()
        if result.returncode == 124 and not code:
            return None
        return int(code) if code.isdigit() else -1

    def kill(self):
        self.emu("kill", check=False)

    def menu_pids(self):
        """The Unix process ids of this phone's menu program (the entry script tells phones apart by their prefix)."""
        return [int(pid) for pid in self.emu("pids", check=False).stdout.split()]

    def tap(self, x, y):
        self.emu("tap", x, y)

    def tap_window(self, cls, text=None):
        """Taps the centre of the first visible window of the class (and text), as a finger would."""
        window = self.find(cls, text)
        if window is None:
            raise EmuError("no window %s %r to tap" % (cls, text))
        self.tap(*window.centre)

    def tap_soft_key(self, index):
        """Taps a soft key of the front screen (0 the left, 1 the right) at its centre: each key is half of the
        front-most soft-key bar."""
        bar = self.find("ToolbarWindow32")
        if bar is None:
            raise EmuError("no soft-key bar to tap")
        self.tap(bar.x + bar.w * (1 + 2 * index) // 4, bar.y + bar.h // 2)

    def framed(self, cls, frame, text=None, windows=None):
        """The first visible window of the class (and text) inside the frame (a group box) with that caption: a
        field or button is known by the frame it stands in. None when there is none."""
        windows = self.windows() if windows is None else windows
        box = self.find("Button", frame, windows)
        inside = lambda w: (box.x <= w.x and w.x + w.w <= box.x + box.w and box.y <= w.y and w.y + w.h <= box.y + box.h)
        return box and next((w for w in windows if w.matches(cls, text) and w != box and inside(w)), None)

    def key(self, name):
        self.emu("key", name)

    def type(self, text):
        self.emu("type", text)

    def screenshot(self, name="screen"):
        path = os.path.join(self.device, name + ".png")
        self.emu("screenshot", path)
        return Picture(path)

    def windows(self):
        return [Window(**record) for record in json.loads(self.emu("windows", "--json").stdout)]

    def find(self, cls, text=None, windows=None):
        """The first visible window of the class (and text), or None."""
        return next((w for w in (self.windows() if windows is None else windows) if w.matches(cls, text)), None)

    def wait_for(self, cls, text=None, seconds=20):
        """Waits until a visible window of the class (and text) is listed; returns it, or None."""
        return poll(seconds, lambda: self.find(cls, text)) or None

    def wait_until_gone(self, cls, text=None, seconds=20):
        return poll(seconds, lambda: self.find(cls, text) is None)

    def menu_ready(self):
        """The menu window shows and has hidden the task bar. Its buttons show while it is made, before it takes
        the whole screen: until then a tap at the top lands on the task bar."""
        windows = self.windows()
        return self.find("Tolvane", windows=windows) is not None and self.find("HHTaskBar", windows=windows) is None

    def wait_for_menu(self, seconds=20):
        return poll(seconds, self.menu_ready)

    def settled(self, name="screen", seconds=20, until=None):
        """Takes screenshots until two in a row are the same (a paint has ended) and until(picture) holds when
        given; returns the last picture, or None after the seconds."""
        last = [None]

        def same():
            picture = self.screenshot(name)
            previous, last[0] = last[0], picture
            same_pixels = previous is not None and previous.image.tobytes() == picture.image.tobytes()
            return same_pixels and (until is None or until(picture))

        return last[0] if poll(seconds, same, 0.3) else None

    def state(self):
        return json.loads(self.emu("state").stdout)

    def set(self, name, value):
        self.emu("set", name, value)

    def ctl(self, *args, check=True):
        return self.emu("ctl", *args, check=check)

    def path(self, relative):
        return os.path.join(self.root, relative)

    def write(self, relative, data):
        """Writes bytes, or a text in UTF-8 with its line ends as given."""
        full = self.path(relative)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as fh:
            fh.write(data if isinstance(data, bytes) else data.encode("utf-8"))

    def read(self, relative, binary=False):
        with open(self.path(relative), "rb" if binary else "r", **({} if binary else {"newline": ""})) as fh:
            return fh.read()

    def write_settings(self, **settings):
        """Writes the menu's Settings.ini (settings_text's arguments)."""
        self.write(INSTALL + "/Settings.ini", settings_text(**settings))
