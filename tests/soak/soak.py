#!/usr/bin/python3
"""The soak: the real menu program on an emulated phone, started again and again on generated bad inputs, and
killed or left without power at every step of its saves.

Every run must end normally (no crash code) without hanging, write no file but Settings.ini, its .bak and its
temporary file, and leave Settings.ini either untouched or a complete document.

A run hangs when the program stops making progress, judged by the CPU time its processes use, not by a stopwatch:
it is stuck when it uses next to none for 20 s once its own time-out is over (blocked, or idle with nothing left
to wait for), and spinning when it uses more than 200 plain starts of the same phone take (measured on that phone
before its first input).

The save trials take each kind of save of Settings.ini (a first start's defaults, the same after keeping an
unloadable Settings.ini as Settings.ini.bak, the General page's Save, a button page's Save) and record its file
operations as system calls, with their data (save_trace.py follows the phone's Wine server and the menu).
- A kill trial stops the menu exactly at one of those operations, just before the call or just after it, each
  operation of each kind in turn. Settings.ini must then be the old document whole or the new one whole (a first
  start: absent, or the defaults whole), and the .bak only ever the user's unloadable file, never lost.
- The power-loss trials build from each recording every state a power loss may leave under crash_states.py's
  model (a prefix of the operations, in which data not yet flushed may be lost in whole or in part, while
  folder operations persist in their order), judge each state as the kills are, and start the menu on each
  distinct one: it must show the buttons of the document it holds and leave its files sound.

Inputs and trials are spread over several phones run side by side, each in a folder of its own. Each phone
keeps a log of what it was given and of every entry script command that failed or complained, with its status and
error output; a run that fails keeps the logs and says where they are.
"""
import argparse
import collections
import hashlib
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile
import threading
import time

from PIL import Image

import crash_states
import png_maker

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path[:0] = [os.path.join(ROOT, "tools"), os.path.join(ROOT, "tests", "scenario")]
from checks import screen_painted  # noqa: E402
from phone import INSTALL, SLOT_COUNT, EmuError, Phone, Slot, ini_value, poll, poll_value, settings_text  # noqa: E402
from phone.progress import Progress  # noqa: E402

SETTINGS = INSTALL + "/Settings.ini"
ALLOWED_WRITES = {SETTINGS, SETTINGS + ".bak", SETTINGS + ".tmp"}
EXIT_BUTTON = (450, 30)
PICTURES = ["Wallpaper.png", "Button.png", "Exit.png", "Settings.png", "Manila.png", "Reset.png", "Sleep.png",
            "Off.png", "Bluetooth_on.png", "Bluetooth_off.png", "BluetoothDis.png", "Wifi_on.png", "Wifi_off.png",
            "Phone_on.png", "Phone_off.png", "Vibro_on.png", "Vibro_off.png", "Gprs_on.png", "Gprs_off.png",
            "Flight_on.png", "Flight_off.png"]
# The actions a generated Settings.ini binds at random: all but those that need the vendor libraries.
CODES = [0, 1, 2, 3, 5, 8, 9, 10, 12, 13, 14]
# Phones run side by side, two per core: a phone spends most of a run waiting for the menu's time-out or for a
# window, so more phones than cores keep the cores busy. Measured on 2 cores, 40 inputs and 8 kill trials:
# 58 s on 2 phones, 54 s on 3, 45 s on 4.
PHONES = 2 * (os.cpu_count() or 1)
# A hang is a program that stops making progress, told by the CPU time its processes use (utime and stime in
# /proc/PID/stat), which does not grow slower when other programs share the cores:
# - stuck: less than STALL_CPU seconds of CPU over the last STALL_SECONDS once its own time-out is over, blocked
#   in a wait or idle with nothing left to wait for (the soak answers its boxes and taps Exit within seconds);
# - spinning: more CPU time than SPIN_STARTS plain starts of its phone take, measured on that phone.
STALL_SECONDS = 20
STALL_CPU = 0.05
SPIN_STARTS = 200
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
# What fails the soak, as counted in its results.
FAILURES = ("crashes", "hangs", "damaged", "lost", "kill damaged", "kill not run", "power damaged",
            "phone failures")


def ini(sections, newline="\r\n"):
    out = []
    for name, entries in sections:
        out.append("[%s]" % name)
        out.extend("%s = %s" % kv for kv in entries)
        out.append("")
    return newline.join(out)


def bound_settings(rng, timeout=1, skin="Default", codes=None, newline="\r\n", icons=None):
    """Settings.ini with every slot running a program with an argument, a caption and an icon; the actions at
    random unless codes are given."""
    codes = codes or [rng.choice(CODES) for _ in range(SLOT_COUNT)]
    return settings_text(skin, timeout, [Slot(code, "Slot %d" % n, (icons or {}).get(n, "\\Windows\\nothing.png"),
                                              "\\Windows\\recorder.exe", "x") for n, code in enumerate(codes)], newline)


def in_settings_section(lines):
    """Settings.ini with a time-out of 1 s and lines added to its [Settings] section."""
    return settings_text(timeout=1).replace("[Settings]\r\n", "[Settings]\r\n" + "\r\n".join(lines) + "\r\n", 1)


def snapshot(phone):
    """Every file and folder of the phone's file system with its size and content hash."""
    files = {}
    for folder, dirs, names in os.walk(phone.root):
        for name in dirs + names:
            full = os.path.join(folder, name)
            rel = os.path.relpath(full, phone.root)
            if os.path.isdir(full) and not os.path.islink(full):
                files[rel] = "dir"
            else:
                try:
                    with open(full, "rb") as fh:
                        files[rel] = hashlib.sha1(fh.read()).hexdigest()
                except OSError:
                    files[rel] = "unreadable"
    return files


CACHE_LOCK = threading.Lock()


# The soak's cached pictures, made once: a plain 8000 x 8000 PNG, whose bitmap no phone can hold; a PNG of the
# largest size whose 32-bit bitmap still fits in the 32 MB of a phone process (2896 x 2896), of noise, so that
# decoding it is real work; and a small JPEG of noise.
CACHED_PICTURES = {
    "big8000.png": lambda: Image.new("RGB", (8000, 8000), (0x33, 0x66, 0x99)),
    "largest.png": lambda: Image.effect_noise((2896, 2896), 64).convert("RGB"),
    "photo.jpg": lambda: Image.effect_noise((100, 100), 64).convert("RGB"),
}


def cached(cache, name):
    """One of the soak's cached pictures, made into its cache at first use (under a lock: phones side by side may
    want one at once)."""
    path = os.path.join(cache, name)
    with CACHE_LOCK:
        if not os.path.exists(path):
            CACHED_PICTURES[name]().save(path)
    return path


class Inputs:
    """Generators of bad inputs. Each writes into the phone and returns (name, timeout or None = no auto-close,
    program to start or None for the installed one)."""

    def __init__(self, phone, rng, cache, index=0):
        self.phone, self.rng, self.cache, self.index = phone, rng, cache, index

    def write(self, relative, data):
        path = self.phone.path(relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if os.path.isdir(path) and not os.path.islink(path):
            shutil.rmtree(path)
        with open(path, "wb") as fh:
            fh.write(data if isinstance(data, bytes) else data.encode("cp1252", "replace"))

    def valid_settings(self, **kw):
        self.write(SETTINGS, bound_settings(self.rng, **kw))

    def random_bytes(self, size):
        return bytes(self.rng.getrandbits(8) for _ in range(size))

    # Settings.ini
    def settings_random(self):
        self.write(SETTINGS, self.random_bytes(self.rng.randint(1, 20000)))
        return "Settings.ini of random bytes", None, None

    def settings_boms(self):
        text = bound_settings(self.rng)
        kind = self.rng.choice(["utf8", "utf16"])
        data = b"\xef\xbb\xbf" + text.encode() if kind == "utf8" else b"\xff\xfe" + text.encode("utf-16-le")
        self.write(SETTINGS, data)
        return "Settings.ini with a %s byte-order mark" % kind, None, None

    def settings_nul_and_cr(self):
        text = bound_settings(self.rng, newline=self.rng.choice(["\r", "\n", "\r\r\n"]))
        data = bytearray(text.encode())
        for _ in range(self.rng.randint(1, 20)):
            data.insert(self.rng.randrange(len(data)), 0)
        self.write(SETTINGS, bytes(data))
        return "Settings.ini with NUL bytes and odd line ends", None, None

    def settings_long_line(self):
        self.write(SETTINGS, in_settings_section(["Junk = " + "x" * (1 << 20)]))
        return "Settings.ini with a 1 MB line", 1, None

    def settings_many_keys(self):
        self.write(SETTINGS, in_settings_section(["Key%d = %d" % (i, i) for i in range(100000)]))
        return "Settings.ini with 100,000 keys", 1, None

    def settings_long_values(self):
        long = "v" * 10000
        slots = [Slot(*(self.rng.choice([long, "12" + long]) for _ in Slot._fields)) for _ in range(SLOT_COUNT)]
        self.write(SETTINGS, settings_text(long, "1" + "0" * 9999, slots))
        return "values of 10,000 characters in every key", None, None

    def settings_numbers(self):
        timeout = self.rng.choice(["99999999999999", "-5", "0x10", "-2147483648", "2147483647", "4294967297"])
        codes = [self.rng.choice(["-1", "99999999999", "0x0c", "-2147483648", "13", "2147483647"])
                 for _ in range(SLOT_COUNT)]
        self.write(SETTINGS, bound_settings(self.rng, timeout=timeout, codes=codes))
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
        self.valid_settings(codes=["0", "1", "2", "3", "5", "8", "9"])
        skin = INSTALL + "/Skins/Default/"
        done = []
        for name in self.rng.sample(PICTURES, 6):
            how = self.rng.choice(["missing", "empty", "truncated", "jpeg", "folder"])
            path = self.phone.path(skin + name)
            if how in ("missing", "folder") and os.path.exists(path):
                os.remove(path)
            if how == "folder":
                os.makedirs(path)
            elif how == "empty":
                self.write(skin + name, b"")
            elif how == "truncated":
                with open(os.path.join(ROOT, "data/Skins/Default", name), "rb") as fh:
                    data = fh.read()
                self.write(skin + name, data[:self.rng.randint(8, max(9, len(data) // 2))])
            elif how == "jpeg":
                shutil.copy(cached(self.cache, "photo.jpg"), path)
            done.append("%s %s" % (name, how))
        return "pictures: " + ", ".join(done), 1, None

    def pictures_huge(self):
        self.valid_settings(codes=["0", "1", "12", "3", "5", "8", "9"])
        name = self.rng.choice(["Wallpaper.png", "Button.png", "Manila.png", "Exit.png"])
        shutil.copy(cached(self.cache, "big8000.png"), self.phone.path(INSTALL + "/Skins/Default/" + name))
        return "an 8000 x 8000 %s" % name, 1, None

    def pictures_largest(self):
        self.valid_settings(codes=["0", "1", "12", "3", "5", "8", "9"])
        names = ["Wallpaper.png", "Button.png", "Exit.png", "Settings.png"]
        for name in names:
            shutil.copy(cached(self.cache, "largest.png"), self.phone.path(INSTALL + "/Skins/Default/" + name))
        return "2896 x 2896 pictures, the largest a phone holds: " + ", ".join(names), 1, None

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
        self.valid_settings(codes=["4", "6", "7", "11", "9", "8", "13"])
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

    # generated PNG pictures in every place the menu's start shows one
    def generated_pictures(self, broken):
        skin = INSTALL + "/Skins/Default/"
        # Slots 5 and 6 run programs whose pictures are their own icons, stored away from the skin.
        icons = {5: "\\My Documents\\My Pictures\\icon5.png", 6: "\\My Documents\\My Pictures\\icon6.png"}
        self.valid_settings(codes=["0", "1", "2", "3", "5", "12", "14"], icons=icons)
        places = [(skin + "Wallpaper.png", (480, 800)), (skin + "Button.png", (350, 100)),
                  (skin + "Exit.png", (40, 40)), (skin + "Settings.png", (40, 40))]
        places += [(skin + name, (100, 100)) for name in ("Manila.png", "Reset.png", "Sleep.png", "Off.png",
                                                           "BluetoothDis.png")]
        places += [("My Documents/My Pictures/icon%d.png" % slot, (100, 100)) for slot in icons]
        done = []
        for number, (place, size) in enumerate(places):
            # Each picture a size of its place or one at random, so pictures both fill and miss their boxes.
            if self.rng.random() < 0.5:
                size = (self.rng.randint(1, size[0] * 2), self.rng.randint(1, size[1] * 2))
            kind = self.index * len(places) + number
            breakage = (png_maker.BREAKAGES[kind % len(png_maker.BREAKAGES)]
                        if broken and self.rng.random() < 0.7 else None)
            data, name = png_maker.picture(self.rng, kind, size[0], size[1], breakage)
            self.write(place, data)
            done.append("%s %s" % (os.path.basename(place), name))
        return done

    def pictures_generated(self):
        return "generated pictures: " + ", ".join(self.generated_pictures(broken=False)), 1, None

    def pictures_generated_broken(self):
        return "generated broken pictures: " + ", ".join(self.generated_pictures(broken=True)), 1, None

    def all(self):
        return [self.settings_random, self.settings_boms, self.settings_nul_and_cr, self.settings_long_line,
                self.settings_many_keys, self.settings_long_values, self.settings_numbers, self.lang_random,
                self.lang_over_capacity, self.skin_ini_bad, self.pictures_broken, self.pictures_huge,
                self.pictures_largest, self.skin_name_long, self.settings_folder, self.settings_read_only,
                self.install_root_missing, self.vendor_missing, self.pictures_generated, self.pictures_generated_broken,
                self.pictures_generated_broken]


def settings_loads_completely(data):
    """A complete Settings.ini as the program writes it: sections of "key = value" lines, CRLF, nothing cut."""
    if not data.endswith(b"\r\n") or not data.startswith(b"["):
        return False
    for line in data.split(b"\r\n")[:-1]:
        if line and not line.startswith(b"[") and b" = " not in line:
            return False
    return True


def cpu_seconds(pids):
    """The CPU time the processes have used, user and system; a process that has ended counts nothing."""
    total = 0
    for pid in pids:
        try:
            with open("/proc/%d/stat" % pid) as fh:
                fields = fh.read().rsplit(")", 1)[1].split()  # the fields after the command's name
        except OSError:
            continue
        total += int(fields[11]) + int(fields[12])
    return total / CLOCK_TICKS


class CpuWatch:
    """The CPU time a phone's menu program has used since it was started, sampled as it runs."""

    def __init__(self, phone):
        self.phone, self.pids, self.used = phone, [], 0.0
        self.samples = collections.deque()  # (time, CPU used) over the last STALL_SECONDS, and the one before

    def sample(self):
        self.pids = self.pids or self.phone.menu_pids()
        self.used = max(self.used, cpu_seconds(self.pids))
        now = time.monotonic()
        self.samples.append((now, self.used))
        while len(self.samples) > 1 and self.samples[1][0] <= now - STALL_SECONDS:
            self.samples.popleft()

    def hang(self, idle_from, cpu_budget):
        """Why the program counts as hung, or None: spinning past cpu_budget CPU seconds (None: no limit), or
        stuck, having used less than STALL_CPU over the last STALL_SECONDS, counted from idle_from on."""
        self.sample()
        if cpu_budget is not None and self.used > cpu_budget:
            return "spinning: used %.1f s of CPU, more than %d plain starts of its phone take (%.1f s)" % (
                self.used, SPIN_STARTS, cpu_budget)
        now, (then, used_then) = time.monotonic(), self.samples[0]
        if now - idle_from >= STALL_SECONDS and self.used - used_then < STALL_CPU:
            return "stuck: used %.2f s of CPU in the last %.0f s%s" % (
                self.used - used_then, now - then, "" if self.pids else ", its process never seen")
        return None


def run_one(phone, timeout, program, cpu_budget=None):
    """Starts the menu and sees it end: by its time-out, or by the Exit button when it has none (or a long one).
    Returns (exit code or None when it hung, seconds, CPU seconds it used, why it hung or None); it hangs when it
    is stuck or spins past cpu_budget CPU seconds (see STALL_SECONDS)."""
    start = time.monotonic()
    phone.launch(program)
    watch = CpuWatch(phone)
    # The auto-close is seen ending runs of short time-outs; a run of none, or of the default 5 s or more, is
    # ended by tapping Exit once the menu shows, as a user would, which keeps the soak's runs short.
    tap = timeout is None or timeout >= 5
    next_look = start + (timeout or 0) + 2
    while True:
        code = phone.exit_code()
        if code is not None:
            return code, time.monotonic() - start, watch.used, None
        # Waiting for its own time-out is no stop.
        hang = watch.hang(start + (timeout or 0), cpu_budget)
        if hang:
            break
        if tap:
            if phone.wait_for_menu(5):
                watch.sample()  # the run may end before the next look finds its process
                phone.tap(*EXIT_BUTTON)
                tap = False
                next_look = time.monotonic() + 2
        elif time.monotonic() >= next_look:
            # Still running after its time-out: a message box may be waiting for an answer; Return gives it.
            if phone.find("#32770"):
                phone.key("Return")
            next_look = time.monotonic() + 1
        time.sleep(0.05)
    phone.kill()
    phone.wait(20)
    return None, time.monotonic() - start, watch.used, hang


# The CPU time a plain start of the menu takes, by phone folder, measured at the phone's first input.
PLAIN_STARTS = {}


def plain_start_cpu(phone, pristine):
    """The CPU time the menu takes on this phone for a plain start (the shipped skin, a valid Settings.ini, a
    time-out of 1 s): the most of three, as a sample can only fall short (the last few milliseconds of a process
    are not seen). It does not change with the machine's load, so it is measured once per phone."""
    if phone.device not in PLAIN_STARTS:
        used = []
        for _ in range(3):
            restore(phone, pristine)
            phone.write(SETTINGS, settings_text(timeout=1))
            code, _, cpu, hang = run_one(phone, 1, None)
            fault = hang or (code != 0 and "ended with code %s" % code) or (not cpu and "no CPU time was seen")
            if fault:
                raise RuntimeError("a plain start of the menu: %s" % fault)
            used.append(cpu)
        PLAIN_STARTS[phone.device] = max(used)
        phone.note("a plain start takes %.2f s of CPU (of %s)" % (max(used), ", ".join("%.2f" % u for u in used)))
    return PLAIN_STARTS[phone.device]


def restore(phone, pristine):
    """Puts the phone's file system back to its state after provisioning."""
    subprocess.run(["chmod", "-R", "u+w", phone.root], check=False)
    shutil.rmtree(phone.root)
    shutil.copytree(pristine, phone.root, symlinks=True)


def soak_input(phone, index, seed, cache, pristine):
    """One generated input on one phone: (problem kinds found, log line)."""
    cpu_budget = SPIN_STARTS * plain_start_cpu(phone, pristine)
    rng = random.Random("%d input %d" % (seed, index))
    restore(phone, pristine)
    generators = Inputs(phone, rng, cache, index).all()
    name, timeout, program = generators[index % len(generators)]()
    before = snapshot(phone)
    settings = phone.path(SETTINGS)
    old = open(settings, "rb").read() if os.path.isfile(settings) else None
    code, seconds, cpu, hang = run_one(phone, timeout, program, cpu_budget)
    after = snapshot(phone)
    problems = []  # (the kind counted, what happened)
    if hang:
        problems.append(("hangs", "%s, after %.0f s" % (hang, seconds)))
    elif code > 255 or code < 0:
        problems.append(("crashes", "ended with code %s" % (hex(code) if code > 0 else code)))
    changed = {k for k in set(before) | set(after) if before.get(k) != after.get(k)}
    strays = sorted(k for k in changed - ALLOWED_WRITES if not k.startswith("Windows/Tolvane"))
    if strays:
        problems.append(("damaged", "wrote other files: %s" % ", ".join(strays[:5])))
    if SETTINGS in changed and os.path.isfile(settings):
        new = open(settings, "rb").read()
        if not settings_loads_completely(new):
            problems.append(("damaged", "Settings.ini is not a complete document"))
        if old is not None:
            backup = phone.path(SETTINGS + ".bak")
            if not (os.path.isfile(backup) and open(backup, "rb").read() == old):
                problems.append(("lost", "the old Settings.ini was replaced without a backup"))
    found = [kind for kind, _ in problems]
    if problems:
        return found, "%4d %s: %s" % (index + 1, name, "; ".join(what for _, what in problems))
    return found, "%4d %-60s ok (%.1f s, %.2f s of CPU)" % (index + 1, name[:60], seconds, cpu)


TRACE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "save_trace.py")
INI_NAME = os.path.basename(SETTINGS)
BAK_NAME, TMP_NAME = INI_NAME + ".bak", INI_NAME + ".tmp"
# The saves of Settings.ini: the defaults of a first start, the same after keeping an unloadable file as .bak,
# and the Save of the editor's two kinds of page. Each editor save is made on one page, so that its new document
# is known.
SAVE_KINDS = ["first-start", "keep-unloadable", "general-page", "button-page"]
PAGES = {"general-page": "General", "button-page": "Button 4"}
# As root, which the soak runs as, every file is readable: the file the menu cannot load is one of 1 GiB, which
# its reader refuses. It is sparse, so it costs no disk.
UNLOADABLE = crash_states.Huge(b"[Settings]\r\nTimeout = 7\r\n", 1 << 30)
# The user's document of the editor saves: numbers as the program never writes them, so that the new document
# differs from the old ("07" comes back as "7", "012" as "12"), a key added by hand, which a save must keep, and
# five slots with buttons, which the menu shows.
USER_DOCUMENT = (settings_text(timeout="07", slots=[Slot("012" if n < 5 else "013", "Slot %d" % n, "",
                                                         "\\Windows\\recorder.exe") for n in range(SLOT_COUNT)])
                 + "Mine = kept\r\n").encode()


def open_editor_page(phone, page):
    """Settings, then the page's tile in the hub. Returns None when the page is open (its own controls are shown),
    else the step that did not happen."""
    if not phone.wait_for_menu():
        return "the menu did not show"
    phone.tap(30, 30)
    if not phone.wait_for("Button", page):
        return "the hub did not open"
    # A tap before the hub is painted can land on the screen below it.
    if not poll(10, lambda: not screen_painted(phone)):
        return "the hub was not painted"
    phone.tap_window("Button", page)
    # The General page has the time-out's up-down control; a button page the action box.
    if not phone.wait_for(page_control(page)):
        return "the page did not open"
    return None


def page_control(page):
    return "msctls_updown32" if page == "General" else "ComboBox"


def settings_files(phone):
    """The menu's settings files as they are now: {name: bytes, or Huge for the unloadable one}."""
    files = {}
    for name in (INI_NAME, BAK_NAME, TMP_NAME):
        path = os.path.join(phone.install, name)
        if os.path.isfile(path):
            with open(path, "rb") as fh:
                size = os.fstat(fh.fileno()).st_size
                files[name] = (crash_states.Huge(fh.read(len(UNLOADABLE.head)), size) if size >= UNLOADABLE.size
                               else fh.read())
    return files


def put_settings_files(phone, files):
    """Makes the menu's settings files those given ({name: bytes or Huge}), and no others."""
    for name in (INI_NAME, BAK_NAME, TMP_NAME):
        if os.path.lexists(os.path.join(phone.install, name)):
            os.remove(os.path.join(phone.install, name))
    for name, content in files.items():
        with open(os.path.join(phone.install, name), "wb") as fh:
            if isinstance(content, crash_states.Huge):
                fh.write(content.head)
                fh.truncate(content.size)
            else:
                fh.write(content)


def before_save(phone, kind, pristine):
    """Puts the phone as it stands before a save of the kind; returns its settings files then."""
    restore(phone, pristine)
    files = {"first-start": {}, "keep-unloadable": {INI_NAME: UNLOADABLE}}.get(kind, {INI_NAME: USER_DOCUMENT})
    put_settings_files(phone, files)
    return files


def traced_save(phone, kind, *trace):
    """Brings the menu to the save of the kind under save_trace.py (`record`, or `kill N before|after`) and ends
    it once the save is over. Returns (the tracer's records, what did not happen or None)."""
    def follow():
        tracer = subprocess.Popen([sys.executable, TRACE, trace[0], os.path.join(phone.device, "wine"), *trace[1:],
                                   "--give-up", "60"], stdout=subprocess.PIPE, text=True)
        if tracer.stdout.readline().strip() != "ready":
            tracer.wait()
            raise EmuError("save_trace.py could not follow the phone's Wine server")
        return tracer

    missed, tracer, recording = None, None, trace[0] == "record"
    if kind in PAGES:
        phone.launch()
        missed = open_editor_page(phone, PAGES[kind])
        if not missed:
            tracer = follow()
            phone.tap_soft_key(0)  # Save
            if recording and not phone.wait_until_gone(page_control(PAGES[kind])):
                missed = "the page did not close"
    else:
        tracer = follow()
        phone.launch()
        if recording and not phone.wait_for_menu():
            missed = "the menu did not show"
    if tracer and not recording:
        tracer.wait(timeout=90)  # it ends with its kill, or when the menu ends without reaching the step
    phone.kill()
    phone.wait(20)
    out = tracer.communicate(timeout=90)[0] if tracer else ""
    return [json.loads(line) for line in out.splitlines() if line.startswith("{")], missed


def judge(kind, old, new, files):
    """What is wrong with the settings files a save left ({name: content}), or None. Settings.ini must be the old
    document whole or the new one whole (a first start: absent or the defaults); the .bak only ever the user's
    unloadable file, which is never lost."""
    ini, bak = files.get(INI_NAME), files.get(BAK_NAME)
    if kind == "keep-unloadable":
        if ini not in (None, new, old) or bak not in (None, old) or old not in (ini, bak):
            return "Settings.ini %s, .bak %s" % (describe(ini, old, new), describe(bak, old, new))
        return None
    if ini not in ((None, new) if old is None else (old, new)) or bak is not None:
        return "Settings.ini %s%s" % (describe(ini, old, new), ", a .bak left" if bak is not None else "")
    return None


def describe(content, old, new):
    return ("absent" if content is None else "old" if content == old else "new" if content == new else
            "DAMAGED (%d bytes)" % len(content) if isinstance(content, bytes) else "DAMAGED")


class SaveSteps:
    """Each save kind's file operations, recorded once on the first phone to ask, with its settings files before
    and its new Settings.ini after: the kill trials kill at each of them and the power-loss trials are built from
    them."""

    def __init__(self, kinds):
        self.kinds, self.lock, self.known = kinds, threading.Lock(), {}

    def of(self, phone, kind, pristine):
        with self.lock:
            if kind not in self.known:
                files = before_save(phone, kind, pristine)
                records, missed = traced_save(phone, kind, "record")
                final = crash_states.folder_after(files, records)
                if missed or INI_NAME not in final:
                    raise EmuError("the %s could not be recorded: %s" % (kind, missed or "no Settings.ini made"))
                self.known[kind] = (records, files, final[INI_NAME])
            return self.known[kind]

    def cells(self):
        """(kind, operation, before|after) of every kill, kind after kind, in the order of the operations."""
        return [(kind, n, when) for kind in self.kinds for n in range(len(self.known[kind][0]))
                for when in ("before", "after")]


def step_name(record):
    return "%s %s%s (%s)" % (record["op"], record["file"], " to " + record["to"] if "to" in record else "",
                             record["by"])


def kill_trial(phone, trial, steps, pristine):
    """One kill trial: the menu is killed just before or just after one file operation of a save, cell
    `trial` of the kinds' steps taken in turn. Returns (cell, outcome, damaged, not run, log line)."""
    for kind in steps.kinds:
        steps.of(phone, kind, pristine)
    kind, at, when = cell = steps.cells()[trial % len(steps.cells())]
    records, before, new = steps.known[kind]
    old = before.get(INI_NAME)
    before_save(phone, kind, pristine)
    killed, missed = traced_save(phone, kind, "kill", str(at), when)
    if not missed and not (killed and killed[-1].get("killed") == when):
        missed = "the save never reached its step"
    left = settings_files(phone)
    wrong = judge(kind, old, new, left)
    held = describe(left.get(INI_NAME), old, new)
    outcome = "NOT RUN" if missed else "DAMAGED" if wrong else held
    line = "kill %3d (%s): %s %s: %s" % (trial + 1, kind, when, step_name(records[at]), wrong or "Settings.ini " + held)
    line += "; NOT RUN AS MEANT: " + missed if missed else ""
    return cell, outcome, bool(wrong), bool(missed), line


def shown_slots(phone):
    """How many slot buttons the menu shows: its visible buttons but Exit and Settings."""
    return len([w for w in phone.windows() if w.matches("Button")]) - 2


def document_slots(content):
    """How many slot buttons the menu shows for a Settings.ini: none for the defaults or a file it cannot load."""
    if not isinstance(content, bytes):
        return 0
    text = content.decode("cp1252")
    return len([n for n in range(SLOT_COUNT) if int(ini_value(text, str(n), "UseButton") or 13) != 13])


def power_trial(phone, kind, steps, pristine):
    """Every state a power loss during the kind's save may leave (crash_states), judged as the kills are; the
    menu is then started on each distinct one and must show the settings of the document it holds, and leave
    its files sound. Returns (states, damaged, log lines)."""
    records, before, new = steps.of(phone, kind, pristine)
    old = before.get(INI_NAME)
    tried, damaged, lines = {}, 0, []
    built = crash_states.states(before, records)
    for done, files in built:
        key = tuple(sorted(files.items()))
        if key not in tried:
            tried[key] = judge(kind, old, new, files) or started_on(phone, kind, old, new, files, pristine)
        if tried[key]:
            damaged += 1
            lines.append("power loss (%s) after %s: DAMAGED: %s" % (
                kind, step_name(records[done - 1]) if done else "nothing", tried[key]))
    lines.append("power loss (%s): %d states from %d operations, %d distinct, %d damaged" % (
        kind, len(built), len(records), len(tried), damaged))
    return len(built), damaged, lines


def started_on(phone, kind, old, new, files, pristine):
    """Starts the menu on the settings files; what went wrong, or None."""
    restore(phone, pristine)
    put_settings_files(phone, files)
    phone.launch()
    ini = files.get(INI_NAME)
    want = document_slots(ini if ini in (old, new) else None)
    try:
        if not phone.wait_for_menu():
            return "the menu did not show"
        shown = poll_value(10, lambda: shown_slots(phone), want)
        if shown != want:
            return "the menu shows %d slot buttons, not the document's %d" % (shown, want)
    finally:
        phone.kill()
        phone.wait(20)
    wrong = judge(kind, old, new, settings_files(phone))
    return "after the start: " + wrong if wrong else None


def phone_diagnosis(phone):
    """What is left of a phone whose driving failed: its display and shell processes, and the shell's log."""
    alive = []
    for entry in os.listdir("/proc"):
        try:
            with open("/proc/%s/cmdline" % entry, "rb") as fh:
                cmdline = fh.read().replace(b"\0", b" ").decode(errors="replace")
            with open("/proc/%s/environ" % entry, "rb") as fh:
                mine = ("WINEPREFIX=%s" % os.path.join(phone.device, "wine")).encode() in fh.read().split(b"\0")
        except OSError:
            continue
        if mine and ("explorer" in cmdline or "PhoneShell" in cmdline or "wineserver" in cmdline):
            alive.append(cmdline.split()[-1][:40])
    try:
        with open(os.path.join(phone.device, "run", "shell.log"), errors="replace") as fh:
            log = fh.read()[-300:].replace("\n", " | ")
    except OSError:
        log = "(no shell log)"
    return "running: %s; shell log: %s" % (", ".join(alive) or "nothing", log)


def boot_phone(phone, pristine):
    phone.shutdown()
    phone.boot()
    shutil.rmtree(pristine, ignore_errors=True)
    shutil.copytree(phone.root, pristine, symlinks=True)


class Soak:
    """The tasks (inputs and kill trials) shared by the phones, their results, and what the run prints."""

    def __init__(self, args, cache, workdir):
        self.args, self.cache, self.workdir = args, cache, workdir
        # Each kind's power-loss states first, then the kill trials spread among the inputs, so that the long ones
        # do not all come at the end.
        self.steps = SaveSteps(args.save_kinds)
        self.tasks = [("power", n) for n in range(len(args.save_kinds) if args.power_loss else 0)] + sorted(
            [("kill", i) for i in range(args.kills)] + [("input", i) for i in range(args.inputs)],
            key=lambda t: t[1] / args.kills if t[0] == "kill" else t[1] / max(1, args.inputs))
        self.results, self.lock = collections.Counter(), threading.Lock()
        self.outcomes = collections.defaultdict(collections.Counter)  # kill cell -> what Settings.ini held
        self.progress = Progress(len(self.tasks))

    def problems(self):
        return sum(self.results[what] for what in FAILURES)

    def log(self, line, problem=False):
        with self.lock:
            if not self.args.quiet or problem:
                self.progress.print(line)

    def run_task(self, phone, kind, index, pristine):
        """(problem kinds found, log lines, counts) of one task."""
        phone.note("%s %d" % (kind, index + 1))
        if kind == "input":
            found, line = soak_input(phone, index, self.args.seed, self.cache, pristine)
            return found, [line], []
        if kind == "power":
            built, damaged, lines = power_trial(phone, self.args.save_kinds[index], self.steps, pristine)
            return ["power damaged"] * damaged, lines, ["power states"] * built
        cell, outcome, damaged, not_run, line = kill_trial(phone, index, self.steps, pristine)
        self.cover_every_step()
        with self.lock:
            self.outcomes[cell][outcome] += 1
        return (["kill damaged"] if damaged else []) + (["kill not run"] if not_run else []), [line], \
            [] if not_run else ["kill inside"]

    def run_phone(self, number):
        """One phone: boots, then takes tasks from the shared list until none is left. When the phone itself stops
        answering (the entry script cannot drive it), what is left of it is logged and it is booted anew for the
        same task; every such restart is counted and printed."""
        phone = Phone(os.path.join(self.workdir, "phone%d" % number),
                      log_file=os.path.join(self.workdir, "phone%d.log" % number))
        pristine = os.path.join(self.workdir, "pristine%d" % number)
        try:
            boot_phone(phone, pristine)
            while True:
                with self.lock:
                    if not self.tasks:
                        return
                    kind, index = self.tasks.pop(0)
                try:
                    found, lines, counts = self.run_task(phone, kind, index, pristine)
                except EmuError as error:
                    with self.lock:
                        self.results["phone restarts"] += 1
                    self.log("phone %d stopped answering during %s %d: %s; %s; its log: %s" % (
                        number, kind, index + 1, str(error).strip()[:200], phone_diagnosis(phone), phone.log_file),
                        True)
                    boot_phone(phone, pristine)
                    found, lines, counts = self.run_task(phone, kind, index, pristine)
                for line in lines:
                    phone.note(line)
                    self.log(line, "DAMAGED" in line or "NOT RUN" in line or (bool(found) and kind == "input"))
                with self.lock:
                    self.results.update(found + counts + ["done " + kind])
                    self.show_progress()
        except Exception as error:  # a phone that fails twice leaves its tasks to the others: the counts show it
            with self.lock:
                self.results["phone failures"] += 1
            self.log("phone %d: %s; %s; its log: %s" % (number, error, phone_diagnosis(phone), phone.log_file), True)
        finally:
            phone.shutdown()

    def cover_every_step(self):
        """Adds kill trials when there are fewer than the steps of the saves, so that every step of every save is
        killed at before and after it in every soak."""
        with self.lock:
            missing = len(self.steps.cells()) - self.args.kills
            if missing > 0:
                self.tasks += [("kill", self.args.kills + n) for n in range(missing)]
                self.args.kills += missing
                self.progress.total += missing

    def step_table(self):
        """Every save kind's steps with what the kills just before and just after each one left in Settings.ini."""
        lines = ["kill trials by save step (before the call | after it: what Settings.ini held, how often)"]
        for kind in self.args.save_kinds:
            if kind not in self.steps.known:
                lines.append("  %s: not recorded" % kind)
                continue
            lines.append("  " + kind)
            for at, record in enumerate(self.steps.known[kind][0]):
                seen = [", ".join("%s %d" % item for item in sorted(self.outcomes[(kind, at, when)].items()))
                        or "not run" for when in ("before", "after")]
                lines.append("    %d %-52s %s | %s" % (at + 1, step_name(record), *seen))
        return lines

    def show_progress(self):
        inputs, kills = self.results.get("done input", 0), self.results.get("done kill", 0)
        self.progress.show(inputs + kills, "progress: %d of %d inputs, %d of %d kill trials, %d problems found" % (
            inputs, self.args.inputs, kills, self.args.kills, self.problems()))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--inputs", type=int, default=300)
    parser.add_argument("--kills", type=int, default=30,
                        help="kill trials, each at one step of a save, the kinds' steps taken in turn; at least one "
                        "before and one after every step")
    parser.add_argument("--save-kinds", nargs="+", default=SAVE_KINDS, choices=SAVE_KINDS, metavar="KIND",
                        help="the saves whose steps are killed at and lose power: " + ", ".join(SAVE_KINDS))
    parser.add_argument("--no-power-loss", dest="power_loss", action="store_false",
                        help="no power-loss trials")
    parser.add_argument("--phones", type=int, default=PHONES, help="phones run side by side")
    parser.add_argument("--seed", type=int, default=int(time.time()))
    parser.add_argument("--quiet", action="store_true", help="print only the problems, the progress and the counts")
    args = parser.parse_args()
    cache = os.path.join(ROOT, "build", "soak-cache")
    os.makedirs(cache, exist_ok=True)
    workdir = tempfile.mkdtemp(prefix="tolvane-soak.")
    soak = Soak(args, cache, workdir)
    started = time.monotonic()
    soak.log("soak seed %d on %d phones" % (args.seed, args.phones))
    soak.show_progress()
    phones = [threading.Thread(target=soak.run_phone, args=(n,)) for n in range(args.phones)]
    try:
        for thread in phones:
            thread.start()
        for thread in phones:
            thread.join()
    finally:
        for number in range(args.phones):
            for folder in ("phone%d", "pristine%d"):
                shutil.rmtree(os.path.join(workdir, folder % number), ignore_errors=True)
    soak.progress.end()
    results = soak.results
    done_inputs, done_kills = results.get("done input", 0), results.get("done kill", 0)
    failed = soak.problems() or done_inputs != args.inputs or done_kills != args.kills
    if failed or results.get("phone restarts"):
        print("the phones' logs (each one's tasks, and every command that failed or complained, with its error "
              "output): %s" % os.path.join(workdir, "phone*.log"))
    else:
        shutil.rmtree(workdir)
    print("soak: %d inputs, %d crashes, %d hangs, %d damaged, %d lost" % (
        done_inputs, results.get("crashes", 0), results.get("hangs", 0), results.get("damaged", 0),
        results.get("lost", 0)))
    for line in soak.step_table():
        print(line)
    print("kill trials: %d runs, %d damaged%s" % (
        done_kills, results.get("kill damaged", 0),
        ", %d not run as meant" % results["kill not run"] if results.get("kill not run") else ""))
    print("kills inside a save: %d of %d" % (results.get("kill inside", 0), done_kills))
    print("power loss: %d states, %d damaged" % (results.get("power states", 0), results.get("power damaged", 0)))
    if results.get("phone restarts"):
        print("phones booted anew after they stopped answering: %d" % results["phone restarts"])
    print("soak time: %.0f s on %d phones" % (time.monotonic() - started, args.phones))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
