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
RUNS = 9
# Four radio slots among the seven, as a user's menu would have.
SLOTS = [("4", "Bluetooth"), ("6", "WiFi"), ("7", "Phone"), ("11", "Flight mode"), ("0", "Restart Manila"),
         ("8", "Vibro"), ("9", "GPRS")]
GOALS = {"start to ready": 1.2, "full paint": 1.3, "peak memory": 1.3, "file picker growth": 3.0}


def emu(*args):
    subprocess.run([TOLVANE, "emu", *args, "--device", DEVICE], check=True, capture_output=True, text=True)


def wine(*args):
    env = dict(os.environ, WINEPREFIX=os.path.join(DEVICE, "wine"), WINEDEBUG="-all")
    with open(os.path.join(DEVICE, "run", "display")) as fh:
        env["DISPLAY"] = fh.read().strip()
    result = subprocess.run(["/usr/lib/wine/wine64", *args], env=env, capture_output=True, text=True, timeout=900)
    if result.returncode != 0:
        raise RuntimeError("%s failed: %s" % (args[0], result.stderr.strip()))
    return result.stdout.strip()


def settings():
    text = "[Settings]\r\nSkinName = Default\r\nTimeout = 0\r\n"
    for slot, (code, label) in enumerate(SLOTS):
        text += "\r\n\r\n[%d]\r\nUseButton = %s\r\nPath = \r\nArg = \r\nText = %s\r\nIcon = \r\n" % (slot, code, label)
    return text


def main():
    emu("shutdown")
    shutil.rmtree(DEVICE, ignore_errors=True)
    emu("boot")
    try:
        for name in os.listdir(os.path.join(BUILD, "bench")):
            if name.endswith(".exe"):
                shutil.copy(os.path.join(BUILD, "bench", name), os.path.join(DEVICE, "root", "Windows", name))
        with open(os.path.join(INSTALL, "Settings.ini"), "w", newline="") as fh:
            fh.write(settings())
        rows = []
        menu_ms, menu_kib = map(float, wine("P:\\Windows\\start_bench.exe", MENU, str(RUNS)).split())
        floor_ms, floor_kib = map(float, wine("P:\\Windows\\start_bench.exe", "P:\\Windows\\floor_menu.exe",
                                              str(RUNS)).split())
        rows.append(("start to ready", menu_ms, floor_ms, "ms"))
        rows.append(("peak memory", menu_kib, floor_kib, "KiB"))
        _, paint, paint_floor, unit = wine("P:\\Windows\\paint_bench.exe", "paint", "31").split()
        rows.append(("full paint", float(paint), float(paint_floor), unit))
        growth = {}
        for kind, sizes in (("picker", (100, 1000, 10000)), ("skins", (10, 100, 1000))):
            for n in sizes:
                name, per_entry, _, unit = wine("P:\\Windows\\paint_bench.exe", kind, str(n)).split()
                growth.setdefault(kind, []).append((n, float(per_entry)))
    finally:
        emu("shutdown")

    results = [{"name": n, "value": round(v, 3), "floor": round(f, 3), "ratio": round(v / f, 3), "unit": u}
               for n, v, f, u in rows]
    for kind, label in (("picker", "file picker growth"), ("skins", "skin list growth")):
        points = growth[kind]
        smallest, largest = points[0][1], points[-1][1]
        results.append({"name": label, "value": {str(n): round(t, 5) for n, t in points}, "floor": round(smallest, 5),
                        "ratio": round(largest / smallest, 3), "unit": "ms per entry"})
    with open(os.path.join(BUILD, "bench.json"), "w") as fh:
        json.dump(results, fh, indent=2)

    print("%-20s %24s %12s %8s %6s  %s" % ("figure", "value", "floor", "ratio", "goal", "unit"))
    for r in results:
        value = r["value"] if not isinstance(r["value"], dict) else " ".join(
            "%s:%.4f" % kv for kv in r["value"].items())
        goal = GOALS.get(r["name"])
        print("%-20s %24s %12s %8.2f %6s  %s" % (r["name"], value, r["floor"], r["ratio"],
                                                 ("<= %.1f" % goal) if goal else "", r["unit"]))
    print("written: %s" % os.path.join(BUILD, "bench.json"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
