#!/usr/bin/python3
"""The soak: the real menu program on an emulated phone, started again and again on generated bad inputs.

Every run must end normally (no crash code) without hanging, write no file but Settings.ini,
its .bak and its temporary file, and leave Settings.ini either untouched or a complete document. The kill
trials end the program at random moments while it writes Settings.ini and check that the file is always the
old or the new complete version.

A run hangs when the program stops making progress, judged by the CPU time its processes use, not by a stopwatch:
it is stuck when it uses next to none for 20 s once its own time-out is over (blocked, or idle with nothing left
to wait for), and spinning when it uses more than 200 plain starts of the same phone take (measured on that phone
before its first input).

Inputs and kill trials are spread over several phones run side by side, each in a folder of its own. Each phone
keeps a log of what it was given and of every entry script command that failed or complained, with its status and
error output; a run that fails keeps the logs and says where they are.
"""
import argparse
import collections
import ctypes
import hashlib
import os
import random
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time

from PIL import Image

import png_maker

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path[:0] = [os.path.join(ROOT, "tools"), os.path.join(ROOT, "tests", "scenario")]
from checks import screen_painted  # noqa: E402
from phone import INSTALL, SLOT_COUNT, EmuError, Phone, Slot, poll, settings_text  # noqa: E402
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
FAILURES = ("crashes", "hangs", "damaged", "lost", "kill damaged", "kill not run", "phone failures")


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


IN_MODIFY, IN_CLOSE_WRITE, IN_MOVED_TO, IN_CREATE = 0x2, 0x8, 0x80, 0x100
WATCHED = (IN_CREATE, IN_MODIFY, IN_CLOSE_WRITE, IN_MOVED_TO)  # distinct bits: their sum is the watch mask


class FolderWatch:
    """The file events of one folder as the kernel reports them (inotify): a kill can follow the program's own
    steps of a save within microseconds, which no polling would."""

    def __init__(self, folder):
        self.libc = ctypes.CDLL(None, use_errno=True)
        self.fd = self.libc.inotify_init1(os.O_NONBLOCK | os.O_CLOEXEC)
        if self.fd < 0:
            raise OSError(ctypes.get_errno(), "inotify_init1")
        if self.libc.inotify_add_watch(self.fd, folder.encode(), sum(WATCHED)) < 0:
            os.close(self.fd)
            raise OSError(ctypes.get_errno(), "inotify_add_watch")
        self.seen = []     # every event so far, in order
        self.unread = []   # events read from the kernel that no wait has looked at yet

    def close(self):
        os.close(self.fd)

    def wait(self, wanted, seconds):
        """Waits for an event (mask, file name) of wanted and returns it, or None when the time is up."""
        deadline = time.monotonic() + seconds
        while True:
            self.unread.extend(self.read())
            while self.unread:
                event = self.unread.pop(0)
                if event in wanted:
                    return event
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            select.select([self.fd], [], [], left)

    def read(self):
        try:
            data = os.read(self.fd, 65536)
        except BlockingIOError:
            return []
        events, at = [], 0
        while at + 16 <= len(data):
            _, mask, _, length = struct.unpack("iIII", data[at:at + 16])
            name = data[at + 16:at + 16 + length].rstrip(b"\0").decode()
            at += 16 + length
            events += [(bit, name) for bit in WATCHED if mask & bit]
        self.seen.extend(events)
        return events


def kill_now(pids, delay_us):
    """Kills at once, after a busy wait of delay_us microseconds (a sleep would wake far too late)."""
    until = time.perf_counter() + delay_us / 1e6
    while time.perf_counter() < until:
        pass
    for pid in pids:
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass


TMP_NAME = os.path.basename(SETTINGS) + ".tmp"
INI_NAME = os.path.basename(SETTINGS)
# The steps of a save, in the order the program takes them: the temporary file made, written, closed, and put in
# the place of Settings.ini.
SAVE_STEPS = [("made", (IN_CREATE, TMP_NAME)), ("written", (IN_MODIFY, TMP_NAME)),
              ("closed", (IN_CLOSE_WRITE, TMP_NAME)), ("replaced", (IN_MOVED_TO, INI_NAME))]
MOMENTS = ["first start", "General Save", "button page Save"]


def kill_during_save(phone, rng, watch, pids_known):
    """Kills the menu at a random point of the save that has begun or is about to: at one of its steps (chosen at
    random) plus a random few microseconds, or at a random time up to 200 ms after the save began.
    Returns a description of where the kill fell, or None when no save began within 20 s."""
    started = watch.wait({SAVE_STEPS[0][1]}, 20)
    if not started:
        return None
    pids = pids_known or phone.menu_pids()
    if rng.random() < 0.25:
        delay = rng.uniform(0, 0.2)
        time.sleep(delay)
        kill_now(pids, 0)
        return "%.0f ms after the save began" % (delay * 1000)
    step, event = rng.choice(SAVE_STEPS)
    delay_us = rng.choice([0, 0, rng.uniform(0, 50), rng.uniform(0, 500)])
    if event != SAVE_STEPS[0][1] and not watch.wait({event}, 5):
        kill_now(pids, 0)
        return "when the file was %s (the step was not seen)" % step
    kill_now(pids, delay_us)
    return "%.0f us after the file was %s" % (delay_us, step)


def open_editor_page(phone, trial, page):
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
    if not phone.wait_for("msctls_updown32" if page == "General" else "ComboBox"):
        return "the page did not open"
    return None


def kill_trial(phone, trial, seed, pristine):
    """One kill trial: (damaged, not run as meant, log line). A first-start trial kills while the defaults are
    written; an editor trial opens the General page or a button page, taps Save and kills during the save.
    Settings.ini must be absent (first start) or the old file, or a complete new one; an editor trial counts only
    when the page really opened and its save really began before the kill."""
    rng = random.Random("%d kill %d" % (seed, trial))
    restore(phone, pristine)
    moment = MOMENTS[trial % len(MOMENTS)]
    settings = phone.path(SETTINGS)
    first_start = moment == "first start"
    if first_start:
        if os.path.exists(settings):
            os.remove(settings)
        old = None
    else:
        # Numbers written as the program never writes them, so a save shows: "00" comes back as "0", "013" as
        # "13"; the key added by hand must survive it.
        old = (settings_text(timeout="00", slots=[Slot("013")] * SLOT_COUNT) + "Mine = kept\r\n").encode()
        phone.write(SETTINGS, old)
    watch = FolderWatch(os.path.dirname(settings))
    try:
        phone.launch()
        page = "General" if moment == "General Save" else "Button %d" % (trial % 7 + 1)
        where = not_opened = None
        if first_start and (trial // len(MOMENTS)) % 3 == 0:
            # At a random moment of the start, before, during or after the save of the defaults.
            delay = rng.uniform(0.0, 0.4)
            time.sleep(delay)
            phone.kill()
            where = "%.0f ms after the start" % (delay * 1000)
        elif first_start:
            # The program is found before it saves: a look through the processes after the save began would
            # come too late to fall inside it.
            where = kill_during_save(phone, rng, watch, poll(10, phone.menu_pids, 0) or [])
        else:
            not_opened = open_editor_page(phone, trial, page)
            if not not_opened:
                pids = phone.menu_pids()
                phone.tap_soft_key(0)  # Save
                where = kill_during_save(phone, rng, watch, pids)
        phone.kill()
        phone.wait(20)
        watch.unread.extend(watch.read())  # the events no wait has read yet
        steps = [step for step, event in SAVE_STEPS if event in watch.seen]
        # A temporary file left behind shows that the kill fell inside a save, before its file was put in place.
        inside = os.path.exists(settings + ".tmp")
    finally:
        watch.close()
    data = open(settings, "rb").read() if os.path.isfile(settings) else None
    sections = data is not None and all(b"[%s]" % name.encode() in data
                                        for name in ["Settings"] + [str(n) for n in range(SLOT_COUNT)])
    if first_start:
        good = data is None or data == settings_text().encode()
        state = "absent" if data is None else "complete" if good else "DAMAGED (%d bytes)" % len(data)
    else:
        good = data == old or (settings_loads_completely(data or b"") and sections and b"Mine = kept" in data)
        state = "old" if data == old else "new" if good else "DAMAGED (%d bytes)" % len(data or b"")
    not_run = not_opened or ("no save began" if where is None else None)
    line = "kill %3d (%s%s): killed %s; save steps seen: %s;%s Settings.ini %s%s" % (
        trial + 1, moment, "" if first_start else ", " + page, where or "-", ", ".join(steps) or "none",
        " temporary file left;" if inside else "", state, "; NOT RUN AS MEANT: " + not_run if not_run else "")
    return not good, not_run is not None, inside, line


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
        # Kill trials first among the inputs, so that the long ones do not all come at the end.
        self.tasks = sorted([("kill", i) for i in range(args.kills)] + [("input", i) for i in range(args.inputs)],
                            key=lambda t: t[1] / args.kills if t[0] == "kill" else t[1] / max(1, args.inputs))
        self.results, self.lock = collections.Counter(), threading.Lock()
        self.progress = Progress(len(self.tasks))

    def problems(self):
        return sum(self.results[what] for what in FAILURES)

    def log(self, line, problem=False):
        with self.lock:
            if not self.args.quiet or problem:
                self.progress.print(line)

    def run_task(self, phone, kind, index, pristine):
        """(problem kinds found, log line, kill inside a save) of one task."""
        phone.note("%s %d" % (kind, index + 1))
        if kind == "input":
            found, line = soak_input(phone, index, self.args.seed, self.cache, pristine)
            return found, line, False
        damaged, not_run, inside, line = kill_trial(phone, index, self.args.seed, pristine)
        return (["kill damaged"] if damaged else []) + (["kill not run"] if not_run else []), line, inside

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
                    found, line, inside = self.run_task(phone, kind, index, pristine)
                except EmuError as error:
                    with self.lock:
                        self.results["phone restarts"] += 1
                    self.log("phone %d stopped answering during %s %d: %s; %s; its log: %s" % (
                        number, kind, index + 1, str(error).strip()[:200], phone_diagnosis(phone), phone.log_file),
                        True)
                    boot_phone(phone, pristine)
                    found, line, inside = self.run_task(phone, kind, index, pristine)
                phone.note(line)
                self.log(line, bool(found))
                with self.lock:
                    self.results.update(found + (["kill inside"] if inside else []) + ["done " + kind])
                    self.show_progress()
        except Exception as error:  # a phone that fails twice leaves its tasks to the others: the counts show it
            with self.lock:
                self.results["phone failures"] += 1
            self.log("phone %d: %s; %s; its log: %s" % (number, error, phone_diagnosis(phone), phone.log_file), True)
        finally:
            phone.shutdown()

    def show_progress(self):
        inputs, kills = self.results.get("done input", 0), self.results.get("done kill", 0)
        self.progress.show(inputs + kills, "progress: %d of %d inputs, %d of %d kill trials, %d problems found" % (
            inputs, self.args.inputs, kills, self.args.kills, self.problems()))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--inputs", type=int, default=300)
    parser.add_argument("--kills", type=int, default=30, help="kill trials, spread over " + ", ".join(MOMENTS))
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
    print("kill trials: %d runs, %d damaged%s" % (
        done_kills, results.get("kill damaged", 0),
        ", %d not run as meant" % results["kill not run"] if results.get("kill not run") else ""))
    print("kills that fell inside a save (its temporary file left): %d" % results.get("kill inside", 0))
    if results.get("phone restarts"):
        print("phones booted anew after they stopped answering: %d" % results["phone restarts"])
    print("soak time: %.0f s on %d phones" % (time.monotonic() - started, args.phones))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
