"""The states a power loss may leave in the menu's folder, built from the file operations of a save as
save_trace.py records them.

The model, after the ALICE study of application crash consistency (Pillai et al., "All File Systems Are Not
Created Equal", OSDI 2014), with the guarantees the save relies on from the phone's file system and from a
journalling Linux one (ext4 in its default ordered mode) alike:
- Power is lost after some prefix of the operations: the ones after it never happened.
- Operations on a folder (a file made, renamed, deleted) persist in the order they were made: a rename that
  happened implies every folder operation before it.
- What was written to a file since its last flush (fsync) may be lost: its writes persist as a prefix in the order
  they were made, and the last one of that prefix in part (its first half) or as zeros of its length (the file's
  size reached the disk, its data did not). A truncation is a change to the file's data like a write. A flush
  makes everything the file was given before it durable. Closing a file persists nothing.
The save is written for this model: the new document is written to a temporary file and flushed before the
rename puts it in the place of the old one, so a rename that persisted names complete data.
"""
import itertools


class Huge:
    """A file too big to copy as bytes (the unloadable Settings.ini): its first bytes and its size."""

    def __init__(self, head, size):
        self.head, self.size = head, size

    def __eq__(self, other):
        return isinstance(other, Huge) and (self.head, self.size) == (other.head, other.size)

    def __hash__(self):
        return hash((self.head, self.size))


class File:
    """One file of the folder: what a power loss keeps of it for sure, and the changes it may lose."""

    def __init__(self, durable=b""):
        self.durable, self.pending = durable, []

    def content(self, changes, cut=None):
        """The file after its durable content and the first `changes` pending changes, the last of them cut as
        `cut` says ("half" or "zeros") when given."""
        data = self.durable
        for number, (kind, at, value) in enumerate(self.pending[:changes]):
            last = number == changes - 1
            if kind == "truncate":
                data = data[:value] + b"\0" * max(0, value - len(data))
                continue
            if last and cut == "half":
                value = value[:len(value) // 2]
            elif last and cut == "zeros":
                value = b"\0" * len(value)
            data = data[:at] + b"\0" * max(0, at - len(data)) + value + data[at + len(value):]
        return data


def apply(folder, record):
    """Carries out one recorded operation on the model folder (name -> File)."""
    op, name = record["op"], record["file"]
    if op == "create":
        if name not in folder:
            folder[name] = File()
        elif record.get("truncate"):
            folder[name].pending.append(("truncate", 0, 0))
    elif op == "truncate":
        folder[name].pending.append(("truncate", 0, record["size"]))
    elif op == "write":
        folder[name].pending.append(("write", record["offset"], bytes.fromhex(record["data"])))
    elif op == "flush":
        folder[name].durable = folder[name].content(len(folder[name].pending))
        folder[name].pending = []
    elif op == "rename":
        folder[record["to"]] = folder.pop(name)
    elif op == "delete":
        folder.pop(name, None)


def made(initial, records):
    """The model folder after the operations, from its files before them ({name: bytes or Huge})."""
    folder = {name: File(content) for name, content in initial.items()}
    for record in records:
        apply(folder, record)
    return folder


def folder_after(initial, records):
    """The folder's files once every operation has been made and nothing was lost: {name: content}."""
    return {name: file.content(len(file.pending)) for name, file in made(initial, records).items()}


def states(initial, records):
    """Every state a power loss may leave: a list of (the operations that happened, {name: content}). initial is
    the folder's files before the save ({name: bytes or Huge})."""
    found = []
    for done in range(len(records) + 1):
        folder = made(initial, records[:done])
        names = sorted(folder)
        # For each file with changes not yet flushed: how many of them persist, and how the last one is cut.
        choices = [[(n, None) for n in range(len(folder[name].pending) + 1)] +
                   [(n, cut) for n in range(1, len(folder[name].pending) + 1) for cut in ("half", "zeros")
                    if folder[name].pending[n - 1][0] == "write"] for name in names]
        for choice in itertools.product(*choices):
            found.append((done, {name: folder[name].content(*kept) for name, kept in zip(names, choice)}))
    return found
