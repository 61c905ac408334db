#!/usr/bin/env python3
"""The benchmarks: each figure of the menu program against its floor, measured in the same run on one phone.

Prints a table and writes build/bench.json: a list of {name, value, floor, ratio, unit}.
"""
import json
import os
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build")
TOLVANE = os.path.join(ROOT, "tolvane")
DEVICE = os.path.join(BUILD, "bench-device")
INSTALL = os.path.join(DEVICE, "root", "Program Files", "Orsweld", "Tolvane")
MENU = "P:\\Program Files\\Orsweld\\Tolvane\\Tolvane.exe"
# Starts of each program, taken in turn with the others (start_bench interleaves them).
RUNS = 15
# The work floor's decoders: the fastest of them is the floor.
DECODERS = ("wic", "wicpng", "gdiplus")
FLOOR_PROGRAMS = {"wic": "P:\\Windows\\floor_work.exe|wic", "wicpng": "P:\\Windows\\floor_work.exe|wicpng",
                  "gdiplus": "P:\\Windows\\floor_work_gdiplus.exe"}
# Openings of the picker per size: one opening of a large folder is long and steady enough to stand alone.
PICKER_RUNS = {100: 5, 1000: 3, 10000: 1}
# The longest one opening may take. A picker still filling by then has shown its time per entry to be at least the
# budget over the entries: that lower bound is printed (">"), which is enough to tell a missed goal, without the
# minutes a full opening of 10,000 folders takes before the picker is linear.
PICKER_BUDGET_S = 60
# Four radio slots among the seven, as a user's menu would have.
SLOTS = [("4", "Bluetooth"), ("6", "WiFi"), ("7", "Phone"), ("11", "Flight mode"), ("0", "Restart Manila"),
         ("8", "Vibro"), ("9", "GPRS")]
GOALS = {"start to ready": 1.15, "start, bare window": None, "full paint": 1.3, "peak memory": 1.2,
         "picker growth, files": 1.5, "picker growth, folders": 1.5}


def emu(*args):
    subprocess.run([TOLVANE, "emu", *args, "--device", DEVICE], check=True, capture_output=True, text=True)


def wine(*args, timeout=900):
    env = dict(os.environ, WINEPREFIX=os.path.join(DEVICE, "wine"), WINEDEBUG="-all")
    with open(os.path.join(DEVICE, "run", "display")) as fh:
        env["DISPLAY"] = fh.read().strip()
    result = subprocess.run(["/usr/lib/wine/wine64", *args], env=env, capture_output=True, text=True,
                            timeout=timeout)
    if result.returncode != 0:
        raise RuntimeError("%s failed: %s" % (args[0], result.stderr.strip()))
    return result.stdout.strip()


def settings():
    text = "[Settings]\r\nSkinName = Default\r\nTimeout = 0\r\n"
    for slot, (code, label) in enumerate(SLOTS):
        text += "\r\n\r\n[%d]\r\nUseButton = %s\r\nPath = \r\nArg = \r\nText = %s\r\nIcon = \r\n" % (slot, code, label)
    return text


def picker_per_entry(kind, n, runs):
    """(ms per entry, "" or ">" when the opening outlasted its budget and the figure is a lower bound)."""
    try:
        out = wine("P:\\Windows\\paint_bench.exe", kind, str(n), str(runs), timeout=PICKER_BUDGET_S * runs + 30)
        return float(out.split()[1]), ""
    except subprocess.TimeoutExpired:
        entries = n + n // 10 if kind == "files" else n
        return PICKER_BUDGET_S * 1000.0 / entries, ">"


def make_picker_folders():
    """The picker's bench folders, written straight into the phone's file system: \\Bench\\Files<N> holds N
    programs and N/10 folders, \\Bench\\Folders<N> N folders, the first with one program."""
    for n in PICKER_RUNS:
        files = os.path.join(DEVICE, "root", "Bench", "Files%d" % n)
        folders = os.path.join(DEVICE, "root", "Bench", "Folders%d" % n)
        for i in range(n):
            with open(os.path.join(makedirs(files), "file%06d.exe" % i), "wb") as fh:
                fh.write(b"MZ")
            os.makedirs(os.path.join(folders, "folder%05d" % i))
        for i in range(n // 10):
            os.makedirs(os.path.join(files, "folder%05d" % i))
        with open(os.path.join(folders, "folder00000", "file000000.exe"), "wb") as fh:
            fh.write(b"MZ")


def makedirs(path):
    os.makedirs(path, exist_ok=True)
    return path


def main():
    # "--only picker" measures the picker's growth alone, for quick rounds on the picker.
    only_picker = sys.argv[1:] == ["--only", "picker"]
    emu("shutdown")
    shutil.rmtree(DEVICE, ignore_errors=True)
    emu("boot")
    try:
        for name in os.listdir(os.path.join(BUILD, "bench")):
            if name.endswith(".exe"):
                shutil.copy(os.path.join(BUILD, "bench", name), os.path.join(DEVICE, "root", "Windows", name))
        with open(os.path.join(INSTALL, "Settings.ini"), "w", newline="") as fh:
            fh.write(settings())
        make_picker_folders()
        rows = []
        growth = {}
        if only_picker:
            for kind in ("files", "folders"):
                for n, runs in PICKER_RUNS.items():
                    print("picker %s %d: %s%.4f ms per entry" % ((kind, n) + picker_per_entry(kind, n, runs)[::-1]),
                          flush=True)
            return 0
        programs = [MENU, "P:\\Windows\\floor_menu.exe"] + [FLOOR_PROGRAMS[d] for d in DECODERS]
        starts = [tuple(map(float, line.split()))
                  for line in wine("P:\\Windows\\start_bench.exe", str(RUNS), *programs).splitlines()]
        (menu_ms, menu_kib), (bare_ms, bare_kib) = starts[0], starts[1]
        work = dict(zip(DECODERS, starts[2:]))
        fastest = min(work, key=lambda d: work[d][0])
        work_ms, work_kib = work[fastest]
        rows.append(("start to ready", menu_ms, work_ms, "ms, work floor (%s)" % fastest))
        rows.append(("start, bare window", menu_ms, bare_ms, "ms, bare window floor"))
        rows.append(("peak memory", menu_kib, work_kib, "KiB, work floor"))
        _, paint, paint_floor, unit = wine("P:\\Windows\\paint_bench.exe", "paint", "31").split()
        rows.append(("full paint", float(paint), float(paint_floor), unit))
        for kind in ("files", "folders"):
            for n, runs in PICKER_RUNS.items():
                growth.setdefault(kind, []).append((n,) + picker_per_entry(kind, n, runs))
        for n in (10, 100, 1000):
            name, per_entry, _, unit = wine("P:\\Windows\\paint_bench.exe", "skins", str(n)).split()
            growth.setdefault("skins", []).append((n, float(per_entry), ""))
    finally:
        emu("shutdown")

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
    print("start to ready per work floor decoder: %s ms" % ", ".join("%s %.1f" % (d, work[d][0]) for d in DECODERS))
    print("written: %s" % os.path.join(BUILD, "bench.json"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
