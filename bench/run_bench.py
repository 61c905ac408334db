#!/usr/bin/python3
"""The benchmarks: each figure of the menu program against its floor, measured in the same run on one phone.

Says which figure it is measuring, then prints a table and writes build/bench.json: a list of {name, value, floor,
ratio, unit}. What the phone's commands and the bench programs said when they failed or complained is in
build/bench.log.
"""
import json
import os
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tools"))
from phone import MENU_EXE, Phone, Slot  # noqa: E402
from phone.progress import Progress  # noqa: E402

BUILD = os.path.join(ROOT, "build")
DEVICE = os.path.join(BUILD, "bench-device")
LOG = os.path.join(BUILD, "bench.log")
# Starts of each program, taken in turn with the others (start_bench interleaves them).
RUNS = 15
# The work floor's programs by decoder: the fastest of them is the floor.
FLOOR_PROGRAMS = {"wic": "P:\\Windows\\floor_work.exe|wic", "wicpng": "P:\\Windows\\floor_work.exe|wicpng",
                  "gdiplus": "P:\\Windows\\floor_work_gdiplus.exe"}
# Openings of the picker per size: one opening of a large folder is long and steady enough to stand alone.
PICKER_RUNS = {100: 5, 1000: 3, 10000: 1}
# The longest one opening may take. A picker still filling by then has shown its time per entry to be at least the
# budget over the entries: that lower bound is printed (">"), which is enough to tell a missed goal, without the
# minutes a full opening of 10,000 folders takes before the picker is linear.
PICKER_BUDGET_S = 60
SKIN_COUNTS = (10, 100, 1000)
# Four radio slots among the seven, as a user's menu would have.
SLOTS = [Slot(4, "Bluetooth"), Slot(6, "WiFi"), Slot(7, "Phone"), Slot(11, "Flight mode"), Slot(0, "Restart Manila"),
         Slot(8, "Vibro"), Slot(9, "GPRS")]
GOALS = {"start to ready": 1.15, "start, bare window": None, "full paint": 1.3, "peak memory": 1.2,
         "picker growth, files": 1.5, "picker growth, folders": 1.5}


def wine(phone, *args, timeout=900):
    """Runs a bench program in the phone under Wine and returns what it printed; its status and error output go to
    the phone's log when it fails or complains."""
    # The phone's fonts and English locale, as the entry script gives every Wine process of the phone.
    env = dict(os.environ, WINEPREFIX=os.path.join(phone.device, "wine"), DISPLAY=phone.read("../run/display").strip(),
               WINEDEBUG="-all", LC_ALL="C.UTF-8", FONTCONFIG_FILE=os.path.join(ROOT, "emulator", "fonts.conf"))
    try:
        result = subprocess.run(["/usr/lib/wine/wine64", *args], env=env, capture_output=True, text=True,
                                timeout=timeout, stdin=subprocess.DEVNULL)
    except subprocess.TimeoutExpired:
        phone.note("%s: no answer within %d s" % (" ".join(args), timeout))
        raise
    said = result.stderr.strip()
    if result.returncode != 0 or said:
        phone.note("%s: status %d\n    %s" % (" ".join(args), result.returncode, said.replace("\n", "\n    ")))
    if result.returncode != 0:
        raise RuntimeError("%s failed with status %d: %s" % (args[0], result.returncode, said))
    return result.stdout.strip()


def picker_per_entry(phone, kind, n, runs):
    """(ms per entry, "" or ">" when the opening outlasted its budget and the figure is a lower bound)."""
    try:
        out = wine(phone, "P:\\Windows\\paint_bench.exe", kind, str(n), str(runs), timeout=PICKER_BUDGET_S * runs + 30)
        return float(out.split()[1]), ""
    except subprocess.TimeoutExpired:
        entries = n + n // 10 if kind == "files" else n
        return PICKER_BUDGET_S * 1000.0 / entries, ">"


def make_picker_folders(phone):
    """The picker's bench folders, written straight into the phone's file system: \\Bench\\Files<N> holds N
    programs and N/10 folders, \\Bench\\Folders<N> N folders, the first with one program."""
    for n in PICKER_RUNS:
        for i in range(n):
            phone.write("Bench/Files%d/file%06d.exe" % (n, i), b"MZ")
            os.makedirs(phone.path("Bench/Folders%d/folder%05d" % (n, i)))
        for i in range(n // 10):
            os.makedirs(phone.path("Bench/Files%d/folder%05d" % (n, i)))
        phone.write("Bench/Folders%d/folder00000/file000000.exe" % n, b"MZ")


def measure(phone, only_picker, progress):
    """Boots the phone and measures every figure: (rows of name, value, floor, unit; growth per kind; start to ready
    per work floor decoder)."""
    pickers = [(kind, n, runs) for kind in ("files", "folders") for n, runs in PICKER_RUNS.items()]
    steps = iter(range(progress.total))

    def measuring(figure):
        step = next(steps)
        progress.show(step, "bench, %d of %d: %s" % (step + 1, progress.total, figure), estimate=False)

    measuring("booting the phone")
    phone.shutdown()
    shutil.rmtree(DEVICE, ignore_errors=True)
    phone.boot()
    for name in os.listdir(os.path.join(BUILD, "bench")):
        if name.endswith(".exe"):
            shutil.copy(os.path.join(BUILD, "bench", name), phone.path("Windows/" + name))
    phone.write_settings(timeout=0, slots=SLOTS)
    make_picker_folders(phone)
    if only_picker:
        for kind, n, runs in pickers:
            measuring("picker, %d %s" % (n, kind))
            per_entry, bound = picker_per_entry(phone, kind, n, runs)
            progress.print("picker %s %d: %s%.4f ms per entry" % (kind, n, bound, per_entry))
        return None
    programs = [MENU_EXE, "P:\\Windows\\floor_menu.exe"] + list(FLOOR_PROGRAMS.values())
    measuring("start to ready, bare window and peak memory (%d starts of each of %d programs)" % (RUNS, len(programs)))
    starts = [tuple(map(float, line.split()))
              for line in wine(phone, "P:\\Windows\\start_bench.exe", str(RUNS), *programs).splitlines()]
    (menu_ms, menu_kib), (bare_ms, _) = starts[0], starts[1]
    work = dict(zip(FLOOR_PROGRAMS, starts[2:]))
    fastest = min(work, key=lambda d: work[d][0])
    work_ms, work_kib = work[fastest]
    rows = [("start to ready", menu_ms, work_ms, "ms, work floor (%s)" % fastest),
            ("start, bare window", menu_ms, bare_ms, "ms, bare window floor"),
            ("peak memory", menu_kib, work_kib, "KiB, work floor")]
    measuring("full paint")
    _, paint, paint_floor, unit = wine(phone, "P:\\Windows\\paint_bench.exe", "paint", "31").split()
    rows.append(("full paint", float(paint), float(paint_floor), unit))
    growth = {}
    for kind, n, runs in pickers:
        measuring("picker growth, %s: %d entries" % (kind, n))
        growth.setdefault(kind, []).append((n,) + picker_per_entry(phone, kind, n, runs))
    for n in SKIN_COUNTS:
        measuring("skin list growth: %d skins" % n)
        per_entry = wine(phone, "P:\\Windows\\paint_bench.exe", "skins", str(n)).split()[1]
        growth.setdefault("skins", []).append((n, float(per_entry), ""))
    return rows, growth, work


def main():
    # "--only picker" measures the picker's growth alone, for quick rounds on the picker.
    only_picker = sys.argv[1:] == ["--only", "picker"]
    steps = 1 + 2 * len(PICKER_RUNS) + (0 if only_picker else 2 + len(SKIN_COUNTS))
    # One line per figure off a terminal: there are few, and some take minutes.
    progress = Progress(steps, lines=steps)
    open(LOG, "w").close()
    phone = Phone(DEVICE, log_file=LOG)
    try:
        measured = measure(phone, only_picker, progress)
    except BaseException:
        progress.end()
        print("bench: stopped; what the phone's commands and the bench programs said is in %s" % LOG, file=sys.stderr)
        raise
    finally:
        phone.shutdown()
    progress.end()
    if measured is None:
        return 0
    rows, growth, work = measured

    results = [{"name": n, "value": round(v, 3), "floor": round(f, 3), "ratio": round(v / f, 3), "unit": u}
               for n, v, f, u in rows]
    for kind, label in (("files", "picker growth, files"), ("folders", "picker growth, folders"),
                        ("skins", "skin list growth")):
        points = growth[kind]
        smallest, largest = points[0][1], points[-1][1]
        results.append({"name": label, "value": {str(n): round(t, 5) for n, t, _ in points},
                        "at least": [str(n) for n, _, bound in points if bound],
                        "floor": round(smallest, 5), "ratio": round(largest / smallest, 3),
                        "unit": "ms per entry" + (" (>: at least; the opening outlasted its %d s budget)"
                                                  % PICKER_BUDGET_S if points[-1][2] else "")})
    with open(os.path.join(BUILD, "bench.json"), "w") as fh:
        json.dump(results, fh, indent=2)

    print("%-23s %24s %12s %8s %7s  %s" % ("figure", "value", "floor", "ratio", "goal", "unit"))
    for r in results:
        value = r["value"] if not isinstance(r["value"], dict) else " ".join(
            "%s:%s%.4f" % (n, ">" if n in r.get("at least", []) else "", t) for n, t in r["value"].items())
        goal = GOALS.get(r["name"])
        ratio = ("%s%.2f" % (">" if r.get("at least") else "", r["ratio"]))
        print("%-23s %24s %12s %8s %7s  %s" % (r["name"], value, r["floor"], ratio,
                                                 ("<= %.2f" % goal) if goal else "", r["unit"]))
    print("start to ready per work floor decoder: %s ms" % ", ".join("%s %.1f" % (d, work[d][0]) for d in work))
    print("written: %s" % os.path.join(BUILD, "bench.json"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
