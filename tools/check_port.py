#!/usr/bin/env python3
"""Holds Tolvane.exe to phone code. Fails, naming each fault, when
- the program's own code calls a function that no phone library exports (nor the C runtime),
- the program imports one of its own calls from a library that is not the phone's,
- a phone library exports a function that docs/port.md does not trace to a reference page, or the page lists one
  that no library exports.
usage: check_port.py PROGRAM.exe PHONE_LIBS_SOURCES PHONE_LIBS_BUILD PROGRAM_LIBRARY.a..."""
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PHONE_LIBRARIES = ["coredll", "aygshell", "commctrl", "toolhelp", "cellcore"]
RUNTIME_DLLS = {"kernel32.dll", "msvcrt.dll"}  # the language runtime's, not the program's
MSVCRT = "/usr/x86_64-w64-mingw32/lib/libmsvcrt.a"


def tool(name, *args):
    return subprocess.run(["x86_64-w64-mingw32-" + name, *args], check=True, capture_output=True, text=True).stdout


def def_names(path):
    """The names of a .def file's exports, and of its "NAME == EXPORT" aliases."""
    names = set()
    with open(path) as f:
        for line in f:
            line = line.split(";")[0].strip()
            if line and not line.startswith(("LIBRARY", "EXPORTS")):
                names.add(re.split(r"\s*=", line)[0])
    return names


def phone_exports(sources, build):
    """{library.dll: {export names}} and {name as the program's headers spell it: library.dll}."""
    exports, imports = {}, {}
    for library in PHONE_LIBRARIES:
        dll = library + ".dll"
        exports[dll] = def_names(os.path.join(sources, library + ".def"))
        # The import library's names: the exports, and names the desktop headers spell otherwise (aliases).
        for name in def_names(os.path.join(build, library + ".imports.def")):
            imports[name] = dll
    return exports, imports


def own_calls(libraries):
    """{function: [member that calls it]} for every library function the program's own code calls."""
    calls = {}
    for line in tool("nm", "-A", "-u", *libraries).splitlines():
        where, _, symbol = line.rpartition(" ")
        if symbol.startswith("__imp_"):
            calls.setdefault(symbol[6:], []).append(where.split(":")[1])
    return calls


def program_imports(program):
    imports, dll = [], None
    for line in tool("objdump", "-p", program).splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            dll = m.group(1).lower()
        elif dll and re.match(r"\s+[0-9a-f]+\s+\d+\s+\w+$", line):
            imports.append((dll, line.split()[-1]))
    return imports


def port_page():
    rows = {}
    with open(os.path.join(ROOT, "docs", "port.md")) as f:
        for line in f:
            cells = [c.strip() for c in line.strip().strip("|").split("|")]
            if len(cells) == 4 and cells[1].endswith(".dll"):
                rows[(cells[1], cells[0])] = cells[3]
    return rows


def main():
    program, sources, build = sys.argv[1:4]
    libraries = [path for path in sys.argv[4:] if path.endswith((".a", ".obj"))]
    exports, phone_names = phone_exports(sources, build)
    runtime = {s[6:] for s in tool("nm", MSVCRT).split() if s.startswith("__imp_")}
    faults = []
    calls = own_calls(libraries)
    for function, callers in sorted(calls.items()):
        if function not in phone_names and function not in runtime:
            faults.append("%s calls %s, which no phone library exports" % (", ".join(sorted(set(callers))), function))
    for dll, function in program_imports(program):
        if dll in RUNTIME_DLLS and function in calls and function not in runtime:
            faults.append("%s imports its own call %s from %s" % (os.path.basename(program), function, dll))
        elif dll not in RUNTIME_DLLS and dll not in exports:
            faults.append("%s imports %s from %s, which is not a phone library" % (os.path.basename(program), function, dll))
    page = port_page()
    for dll, names in exports.items():
        for name in sorted(names):
            if not page.get((dll, name), "").startswith("https://"):
                faults.append("%s exports %s, which docs/port.md does not trace to a reference page" % (dll, name))
    for dll, name in sorted(page):
        if name not in exports.get(dll, ()):
            faults.append("docs/port.md lists %s in %s, which does not export it" % (name, dll))
    for fault in faults:
        print("port: " + fault, file=sys.stderr)
    if not faults:
        print("port: %d calls of the program's own code, all from the phone's libraries or the C runtime; %d exports "
              "traced" % (len(calls), sum(len(n) for n in exports.values())))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
