#!/usr/bin/python3
"""Follows the menu's saves of Settings.ini at the level of system calls, as a ptrace tracer of the phone's Wine
server and of the menu program: records every file operation of a save, or kills the menu at one of them.

On Wine a save is done by two processes. The server creates, truncates, renames and deletes files (a program's
NtCreateFile and its renames are requests to it), and the menu's own process writes, flushes and closes the file
descriptor the server handed it. Both are followed, so the operations come in the order the file system saw
them. A tracee held at a system-call stop cannot go on, so a kill made there lands exactly at that step: before
the call (the call is skipped) or just after it (its result is never seen).

    save_trace.py record PREFIX                 # a JSON line per operation until the menu ends or SIGTERM
    save_trace.py kill PREFIX N before|after    # kills the menu at its operation N (from 0) and prints it

PREFIX is the phone's Wine prefix. "ready" is printed once the server is followed, so that the menu can be
started; nothing but "ready" is printed when the menu ends, or the seconds of --give-up pass, before operation N.
"""
import argparse
import ctypes
import json
import os
import signal
import sys

NAMES = ("Settings.ini", "Settings.ini.tmp", "Settings.ini.bak")
INSTALL_TAIL = os.path.join("Orsweld", "Tolvane")

PTRACE_SYSCALL, PTRACE_GETREGS, PTRACE_SETREGS = 24, 12, 13
PTRACE_SEIZE, PTRACE_INTERRUPT, PTRACE_GET_SYSCALL_INFO = 0x4206, 0x4207, 0x420E
PTRACE_O_TRACESYSGOOD, PTRACE_O_TRACECLONE = 0x1, 0x8
SYSCALL_INFO_ENTRY, SYSCALL_INFO_EXIT = 1, 2
ORIG_RAX = 15  # index of orig_rax in x86-64's user_regs_struct
O_ACCMODE, O_CREAT, O_TRUNC = 0o3, 0o100, 0o1000
AT_FDCWD = -100
WALL = 0x40000000  # __WALL: threads too

# The x86-64 system calls that change a file: number -> (name, what it does, where its file is named: by its fd or
# by a path in its first or second argument).
CALLS = {1: ("write", "write", "fd"), 18: ("pwrite64", "write", "fd"), 20: ("writev", "write", "fd"),
         296: ("pwritev", "write", "fd"), 74: ("fsync", "flush", "fd"), 75: ("fdatasync", "flush", "fd"),
         3: ("close", "close", "fd"), 77: ("ftruncate", "truncate", "fd"), 76: ("truncate", "truncate", "path0"),
         2: ("open", "create", "path0"), 257: ("openat", "create", "path1"), 82: ("rename", "rename", "path0"),
         264: ("renameat", "rename", "path1"), 316: ("renameat2", "rename", "path1"),
         87: ("unlink", "delete", "path0"), 263: ("unlinkat", "delete", "path1")}


class Regs(ctypes.Structure):
    _fields_ = [("r", ctypes.c_ulong * 27)]


class SyscallInfo(ctypes.Structure):
    _fields_ = [("op", ctypes.c_uint8), ("pad", ctypes.c_uint8 * 3), ("arch", ctypes.c_uint32),
                ("ip", ctypes.c_uint64), ("sp", ctypes.c_uint64), ("u", ctypes.c_uint64 * 7)]


libc = ctypes.CDLL(None, use_errno=True)
libc.ptrace.argtypes = [ctypes.c_long, ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p]
libc.ptrace.restype = ctypes.c_long


def ptrace(request, tid, addr=0, data=0):
    if libc.ptrace(request, tid, addr, data) == -1:
        error = ctypes.get_errno()
        raise OSError(error, "ptrace %#x on %d: %s" % (request, tid, os.strerror(error)))


def read_bytes(pid, address, size):
    """Bytes of the tracee's memory."""
    with open("/proc/%d/mem" % pid, "rb") as mem:
        mem.seek(address)
        return mem.read(size)


def read_text(pid, address):
    """A NUL-ended text from the tracee's memory."""
    return read_bytes(pid, address, 4096).split(b"\0", 1)[0].decode(errors="replace")


def ours(path):
    """The save's file name when the path is one of the menu's settings files, else None."""
    folder, name = os.path.split(path)
    return name if name in NAMES and folder.endswith(INSTALL_TAIL) else None


def fd_info(pid, fd):
    """(path, flags, position) of a descriptor, or None."""
    try:
        path = os.readlink("/proc/%d/fd/%d" % (pid, fd))
        with open("/proc/%d/fdinfo/%d" % (pid, fd)) as fh:
            fields = dict(line.split(":", 1) for line in fh if ":" in line)
        return path, int(fields["flags"], 8), int(fields["pos"])
    except (OSError, KeyError, ValueError):
        return None


def wine_processes(prefix):
    """(server pid, menu pids) of the phone with that Wine prefix."""
    server, menu = None, []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/environ" % entry, "rb") as fh:
                if ("WINEPREFIX=%s" % prefix).encode() not in fh.read().split(b"\0"):
                    continue
            with open("/proc/%s/cmdline" % entry, "rb") as fh:
                cmdline = fh.read().replace(b"\0", b" ").decode(errors="replace")
        except OSError:
            continue
        if "wineserver" in cmdline.split(" ")[0]:
            server = int(entry)
        elif "Tolvane.exe" in cmdline and "phonectl" not in cmdline:
            menu.append(int(entry))
    return server, menu


class Tracer:
    """The followed threads of the server and of the menu, and the file operations they make."""

    def __init__(self, prefix):
        self.prefix = prefix
        self.server, menu = wine_processes(prefix)
        if self.server is None:
            raise SystemExit("save_trace: no Wine server runs for %s" % prefix)
        self.owner = {}      # followed thread -> "server" or "menu"
        self.entered = {}    # thread -> (call name, its arguments) of the call it is inside
        self.menu = set()    # the menu's processes
        self.attach(self.server, "server")
        self.attach_menu(menu)

    def attach(self, pid, owner):
        for tid in map(int, os.listdir("/proc/%d/task" % pid)):
            try:
                ptrace(PTRACE_SEIZE, tid, 0, PTRACE_O_TRACESYSGOOD | PTRACE_O_TRACECLONE)
                ptrace(PTRACE_INTERRUPT, tid)
                self.owner[tid] = owner
            except OSError:
                pass  # a thread that has just ended

    def attach_menu(self, pids=None):
        """Follows the menu once it runs; the server, held at a stop, keeps it waiting for its answer meanwhile."""
        for pid in pids if pids is not None else wine_processes(self.prefix)[1]:
            if pid not in self.menu:
                self.menu.add(pid)
                self.attach(pid, "menu")

    def operation(self, tid, number, args):
        """The record of a file operation on the settings files, or None for any other call."""
        pid = self.server if self.owner[tid] == "server" else tid
        name, kind, where = CALLS[number]
        if where == "fd":
            info = fd_info(pid, args[0])
            if info is None or not ours(info[0]):
                return None
            path, flags, position = info
            if kind == "close" and (flags & O_ACCMODE) == 0:
                return None  # a file opened only to be read or renamed
            record = {"op": kind, "file": ours(path)}
            if kind == "write":
                if name in ("writev", "pwritev"):
                    raise SystemExit("save_trace: %s is not followed" % name)
                record["offset"] = args[3] if name == "pwrite64" else position
                record["data"] = read_bytes(pid, args[1], args[2]).hex()
            elif kind == "truncate":
                record["size"] = args[1]
        else:
            first = 0 if where == "path0" else 1
            base = args[0] if where == "path1" and ctypes.c_int32(args[0]).value != AT_FDCWD else None
            path = read_text(pid, args[first])
            if base is not None and not path.startswith("/"):
                path = os.path.join(os.readlink("/proc/%d/fd/%d" % (pid, base)), path)
            if not ours(path):
                return None
            record = {"op": kind, "file": ours(path)}
            if kind == "create":
                flags = args[first + 1]
                if not flags & (O_CREAT | O_TRUNC):
                    return None  # opened, not made
                record["truncate"] = bool(flags & O_TRUNC)
            elif kind == "rename":
                target = read_text(pid, args[first + 2] if where == "path1" else args[1])
                record["to"] = ours(target) or target
            elif kind == "truncate":
                record["size"] = args[1]
        record["by"] = self.owner[tid]
        return record

    def kill_menu(self):
        for pid in self.menu:
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass

    def skip_call(self, tid):
        regs = Regs()
        ptrace(PTRACE_GETREGS, tid, 0, ctypes.addressof(regs))
        regs.r[ORIG_RAX] = ctypes.c_ulong(-1).value
        ptrace(PTRACE_SETREGS, tid, 0, ctypes.addressof(regs))

    def follow(self, at=None, when=None):
        """Resumes the threads from stop to stop. Prints each operation (record), or kills the menu at operation
        `at` and returns it. Returns None when the menu has ended before."""
        count = 0
        while True:
            try:
                tid, status = os.waitpid(-1, WALL)
            except ChildProcessError:
                return None
            if os.WIFEXITED(status) or os.WIFSIGNALED(status):
                owner = self.owner.pop(tid, None)
                self.entered.pop(tid, None)
                if owner == "menu" and not any(o == "menu" for o in self.owner.values()):
                    return None
                continue
            if tid not in self.owner:  # a thread made by a followed one
                self.owner[tid] = "server" if self.server in self.thread_group(tid) else "menu"
            sig = os.WSTOPSIG(status)
            inject = 0
            if sig == signal.SIGTRAP | 0x80:
                info = SyscallInfo()
                ptrace(PTRACE_GET_SYSCALL_INFO, tid, ctypes.sizeof(info), ctypes.addressof(info))
                record = None
                if info.op == SYSCALL_INFO_ENTRY:
                    number, args = info.u[0], list(info.u[1:7])
                    self.entered[tid] = (number, args)
                    if number in CALLS:
                        record = self.operation(tid, number, args)
                        if record and self.owner[tid] == "server":
                            self.attach_menu()
                        if record and count == at and when == "before":
                            self.skip_call(tid)
                            self.kill_menu()
                            return record
                        if record:
                            self.entered[tid] = (number, args, record)
                elif info.op == SYSCALL_INFO_EXIT:
                    entered = self.entered.pop(tid, None)
                    if entered and len(entered) == 3:
                        record = entered[2]
                        record["result"] = ctypes.c_int64(info.u[0]).value
                        if record.get("data"):
                            record["data"] = record["data"][:2 * max(0, record["result"])]
                        if at is None:
                            print(json.dumps(record), flush=True)
                        elif count == at:
                            self.kill_menu()
                            return record
                        count += 1
            elif status >> 16:
                pass  # the stop after attaching, a new thread, or an event: nothing to hand on
            else:
                inject = sig
            try:
                ptrace(PTRACE_SYSCALL, tid, 0, inject)
            except OSError:
                pass  # killed meanwhile

    @staticmethod
    def thread_group(tid):
        try:
            with open("/proc/%d/status" % tid) as fh:
                return {int(line.split()[1]) for line in fh if line.startswith("Tgid:")}
        except OSError:
            return set()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("mode", choices=["record", "kill"])
    parser.add_argument("prefix")
    parser.add_argument("at", type=int, nargs="?")
    parser.add_argument("when", choices=["before", "after"], nargs="?")
    parser.add_argument("--give-up", type=float, default=60)

    def give_up(*_):
        raise SystemExit(0)  # the tracees go on when their tracer ends
    signal.signal(signal.SIGTERM, give_up)
    signal.signal(signal.SIGALRM, give_up)
    args = parser.parse_args()
    tracer = Tracer(os.path.abspath(args.prefix))
    print("ready", flush=True)
    signal.setitimer(signal.ITIMER_REAL, args.give_up)
    record = tracer.follow(args.at, args.when) if args.mode == "kill" else tracer.follow()
    if record is not None:
        record.pop("data", None)
        print(json.dumps(dict(record, killed=args.when)), flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
