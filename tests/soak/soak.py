#!/usr/bin/env python3
"""The soak: the real menu program on an emulated phone, started again and again on generated bad inputs.

Every run must end normally (no crash code) within its time-out and bounds, write no file but Settings.ini,
its .bak and its temporary file, and leave Settings.ini either untouched or a complete document. The kill
trials end the program at random moments while it writes Settings.ini and check that the file is always the
old or the new complete version.

Usage: soak.py [--inputs N] [--kills K] [--seed S] [--device DIR] [--keep]
"""
import argparse
import hashlib
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TOLVANE = os.path.join(ROOT, "tolvane")
INSTALL = "Program Files/Orsweld/Tolvane"
SETTINGS = INSTALL + "/Settings.ini"
ALLOWED_WRITES = {SETTINGS, SETTINGS + ".bak", SETTINGS + ".tmp"}
EXIT_BUTTON = (450, 30)
SLOTS = [str(i) for i in range(7)]
PICTURES = ["Wallpaper.png", "Button.png", "Exit.png", "Settings.png", "Manila.png", "Reset.png", "Sleep.png",
            "Off.png", "Bluetooth_on.png", "Bluetooth_off.png", "BluetoothDis.png", "Wifi_on.png", "Wifi_off.png",
            "Phone_on.png", "Phone_off.png", "Vibro_on.png", "Vibro_off.png", "Gprs_on.png", "Gprs_off.png",
            "Flight_on.png", "Flight_off.png"]
# How long a run may take beyond its time-out: start-up, paints with their registry retries, shutdown.
BOUND_SECONDS = 25


def default_settings():
    text = "[Settings]\r\nSkinName = Default\r\nTimeout = 5\r\n"
    for slot in SLOTS:
        text += "\r\n\r\n[%s]\r\nUseButton = 13\r\nPath = \r\nArg = \r\nText = \r\nIcon = \r\n" % slot
    return text.encode("ascii")


def ini(sections, newline="\r\n"):
    out = []
    for name, entries in sections:
        out.append("[%s]" % name)
        out.extend("%s = %s" % kv for kv in entries)
        out.append("")
    return newline.join(out)


def settings_text(rng, timeout=1, skin="Default", slots=None, newline="\r\n"):
    sections = [("Settings", [("SkinName", skin), ("Timeout", str(timeout))])]
    for slot in SLOTS:
        code = slots[int(slot)] if slots else rng.choice(["0", "1", "2", "3", "5", "8", "9", "10", "12", "13", "14"])
        sections.append((slot, [("UseButton", code), ("Path", "\\Windows\\recorder.exe"), ("Arg", "x"),
                                ("Text", "Slot %s" % slot), ("Icon", "\\Windows\\nothing.png")]))
    return ini(sections, newline)


class Phone:
    """A booted emulated phone, driven through the entry script."""

    def __init__(self, device):
        self.device = device
        self.root = os.path.join(device, "root")

    def emu(self, *args, timeout=120, check=True, env=None):
        result = subprocess.run([TOLVANE, "emu", *args, "--device", self.device], capture_output=True, text=True,
                                timeout=timeout, env=env)
        if check and result.returncode != 0:
            raise RuntimeError("emu %s failed: %s" % (" ".join(args), result.stderr.strip()))
        return result

    def path(self, relative):
        return os.path.join(self.root, relative)

    def snapshot(self):
        """Every file and folder of the phone's file system with its size and content hash."""
        files = {}
        for folder, dirs, names in os.walk(self.root):
            for name in dirs + names:
                full = os.path.join(folder, name)
                rel = os.path.relpath(full, self.root)
                if os.path.isdir(full) and not os.path.islink(full):
                    files[rel] = "dir"
                else:
                    try:
                        with open(full, "rb") as fh:
                            files[rel] = hashlib.sha1(fh.read()).hexdigest()
                    except OSError:
                        files[rel] = "unreadable"
        return files


# ---------------------------------------------------------------- inputs

def big_png(cache):
    path = os.path.join(cache, "big8000.png")
    if not os.path.exists(path):
        subprocess.run(["convert", "-size", "8000x8000", "xc:#336699", "PNG24:" + path], check=True)
    return path


def jpeg(cache):
    path = os.path.join(cache, "photo.jpg")
    if not os.path.exists(path):
        subprocess.run(["convert", "-size", "100x100", "plasma:", path], check=True)
    return path


class Inputs:
    """Generators of bad inputs. Each writes into the phone and returns (name, timeout or None = no auto-close,
    program to start or None for the installed one)."""

    def __init__(self, phone, rng, cache):
        self.phone, self.rng, self.cache = phone, rng, cache

    def write(self, relative, data):
        path = self.phone.path(relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if os.path.isdir(path) and not os.path.islink(path):
            shutil.rmtree(path)
        with open(path, "wb") as fh:
            fh.write(data if isinstance(data, bytes) else data.encode("cp1252", "replace"))

    def valid_settings(self, **kw):
        self.write(SETTINGS, settings_text(self.rng, **kw))

    def random_bytes(self, size):
        return bytes(self.rng.getrandbits(8) for _ in range(size))

    # Settings.ini
    def settings_random(self):
        self.write(SETTINGS, self.random_bytes(self.rng.randint(1, 20000)))
        return "Settings.ini of random bytes", None, None

    def settings_boms(self):
        text = settings_text(self.rng)
        kind = self.rng.choice(["utf8", "utf16"])
        data = b"\xef\xbb\xbf" + text.encode() if kind == "utf8" else b"\xff\xfe" + text.encode("utf-16-le")
        self.write(SETTINGS, data)
        return "Settings.ini with a %s byte-order mark" % kind, None, None

    def settings_nul_and_cr(self):
        text = settings_text(self.rng, newline=self.rng.choice(["\r", "\n", "\r\r\n"]))
        data = bytearray(text.encode())
        for _ in range(self.rng.randint(1, 20)):
            data.insert(self.rng.randrange(len(data)), 0)
        self.write(SETTINGS, bytes(data))
        return "Settings.ini with NUL bytes and odd line ends", None, None

    def settings_long_line(self):
        self.write(SETTINGS, "[Settings]\r\nTimeout = 1\r\nJunk = " + "x" * (1 << 20) + "\r\n")
        return "Settings.ini with a 1 MB line", 1, None

    def settings_many_keys(self):
        lines = ["[Settings]", "Timeout = 1"] + ["Key%d = %d" % (i, i) for i in range(100000)]
        self.write(SETTINGS, "\r\n".join(lines) + "\r\n")
        return "Settings.ini with 100,000 keys", 1, None

    def settings_long_values(self):
        long = "v" * 10000
        sections = [("Settings", [("SkinName", long), ("Timeout", "1" + "0" * 9999)])]
        for slot in SLOTS:
            sections.append((slot, [(k, self.rng.choice([long, "12" + long])) for k in
                                    ("UseButton", "Path", "Arg", "Text", "Icon")]))
        self.write(SETTINGS, ini(sections))
        return "values of 10,000 characters in every key", None, None

    def settings_numbers(self):
        timeout = self.rng.choice(["99999999999999", "-5", "0x10", "-2147483648", "2147483647", "4294967297"])
        slots = [self.rng.choice(["-1", "99999999999", "0x0c", "-2147483648", "13", "2147483647"]) for _ in SLOTS]
        self.write(SETTINGS, settings_text(self.rng, slots=slots).replace("Timeout = 1", "Timeout = " + timeout))
        return "numbers huge, negative and hexadecimal (Timeout %s)" % timeout, None, None

    # lang.ini and Skin.ini
    def lang_random(self):
        self.valid_settings()
        self.write(INSTALL + "/lang.ini", self.random_bytes(self.rng.randint(1, 20000)))
        return "lang.ini of random bytes", 1, None

    def lang_over_capacity(self):
        self.valid_settings()
        keys = ["RestartManila", "Reset", "Sleep", "Off", "Bluetooth", "BluetoothD", "WiFi", "Phone", "Vibro",
                "GPRS", "3G", "Flight", "Prog", "None", "BGeneral", "Bl", "B2", "B3", "B4", "B5", "B6", "B7", "Skin",
                "TimeOut", "Action", "TextOnButton", "PathToExe", "Argument", "PathToIcon", "KeyExit", "KeySave",
                "KeyCancel", "KeySelect", "AreYouSure", "Warning", "NoBTfound"]
        self.write(INSTALL + "/lang.ini", ini([("lang", [(k, "T" * self.rng.choice([257, 1000, 10000]))
                                                        for k in keys])]))
        return "lang.ini texts over every capacity", 1, None

    def skin_ini_bad(self):
        self.valid_settings()
        choice = self.rng.choice(["random", "huge"])
        if choice == "random":
            data = self.random_bytes(self.rng.randint(1, 5000))
        else:
            data = ini([("Settings", [("FontName", "F" * 300), ("FontSize", "99999999"), ("Red", "-1"),
                                      ("Green", "0x100"), ("Blue", "300000"), ("Bold", "-7"), ("Italic", "1")])])
        self.write(INSTALL + "/Skins/Default/Skin.ini", data)
        return "Skin.ini %s" % choice, 1, None

    # pictures
    def pictures_broken(self):
        self.valid_settings(slots=["0", "1", "2", "3", "5", "8", "9"])
        skin = INSTALL + "/Skins/Default/"
        done = []
        for name in self.rng.sample(PICTURES, 6):
            how = self.rng.choice(["missing", "empty", "truncated", "jpeg", "folder"])
            path = self.phone.path(skin + name)
            if how == "missing":
                if os.path.exists(path):
                    os.remove(path)
            elif how == "empty":
                self.write(skin + name, b"")
            elif how == "truncated":
                with open(os.path.join(ROOT, "data/Skins/Default", name), "rb") as fh:
                    data = fh.read()
                self.write(skin + name, data[:self.rng.randint(8, max(9, len(data) // 2))])
            elif how == "jpeg":
                shutil.copy(jpeg(self.cache), path)
            else:
                if os.path.exists(path):
                    os.remove(path)
                os.makedirs(path)
            done.append("%s %s" % (name, how))
        return "pictures: " + ", ".join(done), 1, None

    def pictures_huge(self):
        self.valid_settings(slots=["0", "1", "12", "3", "5", "8", "9"])
        name = self.rng.choice(["Wallpaper.png", "Button.png", "Manila.png", "Exit.png"])
        shutil.copy(big_png(self.cache), self.phone.path(INSTALL + "/Skins/Default/" + name))
        return "an 8000 x 8000 %s" % name, 1, None

    def skin_name_long(self):
        self.valid_settings(skin="S" * 300)
        return "a skin name of 300 characters", 1, None

    # the install root and the vendor libraries
    def settings_folder(self):
        path = self.phone.path(SETTINGS)
        if os.path.exists(path):
            os.remove(path)
        os.makedirs(os.path.join(path, "inner"), exist_ok=True)
        return "Settings.ini is a folder", 5, None

    def settings_read_only(self):
        self.valid_settings()
        os.chmod(self.phone.path(SETTINGS), 0o444)
        return "a read-only Settings.ini", 1, None

    def install_root_missing(self):
        shutil.copy(self.phone.path(INSTALL + "/Tolvane.exe"), self.phone.path("Windows/Tolvane.exe"))
        shutil.rmtree(self.phone.path("Program Files/Orsweld"))
        return "no install root", 5, "P:\\Windows\\Tolvane.exe"

    def vendor_missing(self):
        self.valid_settings(slots=["4", "6", "7", "11", "9", "8", "13"])
        windows = self.phone.path("Windows")
        how = self.rng.choice(["missing", "no exports"])
        for name in ("CommManagerDll.dll", "HTCUtil.dll"):
            path = os.path.join(windows, name)
            if os.path.exists(path):
                os.remove(path)
        if how == "no exports":
            # A library that loads but has none of the exports asked for.
            shutil.copy(os.path.join(ROOT, "build/emulator/phonectl.exe"), os.path.join(windows, "CommManagerDll.dll"))
        return "vendor libraries %s" % how, 2, None

    def all(self):
        return [self.settings_random, self.settings_boms, self.settings_nul_and_cr, self.settings_long_line,
                self.settings_many_keys, self.settings_long_values, self.settings_numbers, self.lang_random,
                self.lang_over_capacity, self.skin_ini_bad, self.pictures_broken, self.pictures_huge,
                self.skin_name_long, self.settings_folder, self.settings_read_only, self.install_root_missing,
                self.vendor_missing]


# ---------------------------------------------------------------- runs

def settings_loads_completely(data):
    """A complete Settings.ini as the program writes it: sections of "key = value" lines, CRLF, nothing cut."""
    if not data.endswith(b"\r\n") or not data.startswith(b"["):
        return False
    for line in data.split(b"\r\n")[:-1]:
        if line and not line.startswith(b"[") and b" = " not in line:
            return False
    return True


def dismiss_boxes(phone):
    """Answers any message box on the screen, as a user would."""
    listing = phone.emu("windows", check=False).stdout
    if "\t#32770\t" in listing:
        phone.emu("key", "Return", check=False)
        return True
    return False


def run_one(phone, timeout, program):
    """Starts the menu and sees it end: by its time-out, or by the Exit button when it has none.
    Returns (exit code or None when it never ended, seconds)."""
    env = dict(os.environ)
    if program:
        env["TOLVANE_MENU_EXE"] = program
    start = time.time()
    phone.emu("launch", env=env)
    limit = (timeout if timeout else 2) + BOUND_SECONDS
    tapped = False
    while time.time() - start < limit:
        done = phone.emu("wait", "1", check=False, timeout=60)
        if done.returncode != 124:
            code = done.stdout.strip()
            return (int(code) if code.isdigit() else -1), time.time() - start
        dismiss_boxes(phone)
        if (timeout is None or timeout > 60) and not tapped and time.time() - start > 2:
            phone.emu("tap", *map(str, EXIT_BUTTON), check=False)
            tapped = True
    phone.emu("kill", check=False)
    return None, time.time() - start


def restore(phone, pristine):
    """Puts the phone's file system back to its state after provisioning."""
    subprocess.run(["chmod", "-R", "u+w", phone.root], check=False)
    shutil.rmtree(phone.root)
    shutil.copytree(pristine, phone.root, symlinks=True)


def soak_inputs(phone, rng, count, cache, pristine, log):
    crashes = hangs = damaged = lost = 0
    generators = Inputs(phone, rng, cache).all()
    for index in range(count):
        restore(phone, pristine)
        name, timeout, program = generators[index % len(generators)]()
        before = phone.snapshot()
        settings = phone.path(SETTINGS)
        old = open(settings, "rb").read() if os.path.isfile(settings) else None
        code, seconds = run_one(phone, timeout, program)
        after = phone.snapshot()
        problems = []
        if code is None:
            hangs += 1
            problems.append("did not end within %d s" % (seconds))
        elif code > 255 or code < 0:
            crashes += 1
            problems.append("ended with code %s" % (hex(code) if code > 0 else code))
        changed = {k for k in set(before) | set(after) if before.get(k) != after.get(k)}
        strays = sorted(k for k in changed - ALLOWED_WRITES if not k.startswith("Windows/Tolvane"))
        if strays:
            damaged += 1
            problems.append("wrote other files: %s" % ", ".join(strays[:5]))
        if SETTINGS in changed and os.path.isfile(settings):
            new = open(settings, "rb").read()
            if not settings_loads_completely(new):
                damaged += 1
                problems.append("Settings.ini is not a complete document")
            if old is not None:
                backup = phone.path(SETTINGS + ".bak")
                if not (os.path.isfile(backup) and open(backup, "rb").read() == old):
                    lost += 1
                    problems.append("the old Settings.ini was replaced without a backup")
        log("%3d %-60s %s" % (index + 1, name[:60], "; ".join(problems) if problems else "ok (%.1f s)" % seconds))
    return crashes, hangs, damaged, lost


def kill_trials(phone, rng, count, pristine, log):
    """Kills the program while it writes the defaults of a first start; the file must be absent or complete."""
    damaged = 0
    for trial in range(count):
        restore(phone, pristine)
        settings = phone.path(SETTINGS)
        if os.path.exists(settings):
            os.remove(settings)
        phone.emu("launch")
        time.sleep(rng.uniform(0.0, 0.4))
        phone.emu("kill", check=False)
        phone.emu("wait", "20", check=False)
        state = "absent"
        if os.path.isfile(settings):
            data = open(settings, "rb").read()
            state = "complete" if data == default_settings() else "DAMAGED (%d bytes)" % len(data)
            if data != default_settings():
                damaged += 1
        log("kill %3d: Settings.ini %s" % (trial + 1, state))
    return damaged


def wait_for_window(phone, cls, text=None, seconds=10):
    deadline = time.time() + seconds
    while time.time() < deadline:
        for line in phone.emu("windows", check=False).stdout.splitlines():
            f = line.split("\t")
            if len(f) == 9 and f[1] == cls and f[8] == "1" and (text is None or f[2] == text):
                return True
        time.sleep(0.2)
    return False


def editor_kill_trials(phone, rng, count, pristine, log):
    """Kills the program right after Save on the General page or a button page: Settings.ini must be the old
    file or a complete new one that kept every section and the key added by hand."""
    damaged = 0
    # Numbers written as the program never writes them, so a save shows: "00" comes back as "0", "013" as "13".
    old = (default_settings().decode().replace("Timeout = 5", "Timeout = 00").replace("UseButton = 13", "UseButton = 013")
           + "Mine = kept\r\n").encode()
    for trial in range(count):
        restore(phone, pristine)
        with open(phone.path(SETTINGS), "wb") as fh:
            fh.write(old)
        phone.emu("launch")
        page = "General" if trial % 2 == 0 else "Button %d" % (trial % 7 + 1)
        opened = (wait_for_window(phone, "Button") and not phone.emu("tap", "30", "30", check=False).returncode and
                  wait_for_window(phone, "Button", page))
        if opened:
            tiles = {"General": (357, 346)}
            x, y = tiles.get(page, (122 + 235 * ((trial % 7) // 4), 55 + 97 * ((trial % 7) % 4)))
            phone.emu("tap", str(x), str(y), check=False)
            time.sleep(1.0)
            phone.emu("tap", "120", "774", check=False)  # Save
            time.sleep(rng.uniform(0.0, 0.2))
        phone.emu("kill", check=False)
        phone.emu("wait", "20", check=False)
        data = open(phone.path(SETTINGS), "rb").read() if os.path.isfile(phone.path(SETTINGS)) else b""
        sections = all(("[%s]" % name).encode() in data for name in ["Settings"] + SLOTS)
        if data == old:
            state = "old"
        elif settings_loads_completely(data) and sections and b"Mine = kept" in data:
            state = "new"
        else:
            state = "DAMAGED (%d bytes)" % len(data)
            damaged += 1
        log("editor kill %3d (%s%s): Settings.ini %s" % (trial + 1, page, "" if opened else ", not opened", state))
    return damaged


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--inputs", type=int, default=300)
    parser.add_argument("--kills", type=int, default=30)
    parser.add_argument("--editor-kills", type=int, default=10)
    parser.add_argument("--seed", type=int, default=int(time.time()))
    parser.add_argument("--device")
    parser.add_argument("--quiet", action="store_true")
    args = parser.parse_args()
    rng = random.Random(args.seed)
    own_device = args.device is None
    device = args.device or tempfile.mkdtemp(prefix="tolvane-soak.")
    cache = os.path.join(ROOT, "build", "soak-cache")
    os.makedirs(cache, exist_ok=True)
    lines = []

    def log(line):
        lines.append(line)
        if not args.quiet:
            print(line, flush=True)

    phone = Phone(device)
    try:
        phone.emu("boot", timeout=600)
        pristine = os.path.join(device, "pristine")
        shutil.rmtree(pristine, ignore_errors=True)
        shutil.copytree(phone.root, pristine, symlinks=True)
        log("soak seed %d" % args.seed)
        crashes, hangs, damaged, lost = soak_inputs(phone, rng, args.inputs, cache, pristine, log)
        kill_damaged = kill_trials(phone, rng, args.kills, pristine, log)
        kill_damaged += editor_kill_trials(phone, rng, args.editor_kills, pristine, log)
    finally:
        phone.emu("shutdown", check=False)
        if own_device:
            shutil.rmtree(device, ignore_errors=True)
    if args.quiet and (crashes or hangs or damaged or lost or kill_damaged):
        print("\n".join(lines))
    print("soak: %d inputs, %d crashes, %d hangs, %d damaged, %d lost" % (args.inputs, crashes, hangs, damaged, lost))
    print("kill trials: %d runs, %d damaged" % (args.kills + args.editor_kills, kill_damaged))
    return 1 if (crashes or hangs or damaged or lost or kill_damaged) else 0


if __name__ == "__main__":
    sys.exit(main())
