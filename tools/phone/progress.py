"""A progress line for long work on phones (the soak, the bench). On a terminal the line rewrites itself; elsewhere,
as in a CI log, a plain line is printed only now and then (at each further tenth of the work, or once a minute), so
the log stays short."""
import sys
import time


class Progress:
    """Says how far work of total parts has come, and prints other lines without mangling it. Off a terminal a
    plain line comes with each further lines-th of the work."""

    def __init__(self, total, lines=10, stream=None):
        self.total, self.lines, self.stream = max(1, total), lines, stream or sys.stdout
        self.terminal = self.stream.isatty()
        self.started = self.printed_at = time.monotonic()
        self.printed, self.line = -1, ""

    def show(self, done, text, estimate=True):
        """Says text with done parts of the total done; with estimate, adds the time left, guessed from the
        time taken so far."""
        now = time.monotonic()
        if estimate and 0 < done < self.total:
            left = (now - self.started) * (self.total - done) / done
            text += ", about %s left" % ("%d s" % left if left < 100 else "%d min" % round(left / 60))
        if self.terminal:
            self.line = text
            self.stream.write("\r\033[K" + text)
        elif done * self.lines // self.total > self.printed or now - self.printed_at >= 60:
            self.printed, self.printed_at = done * self.lines // self.total, now
            self.stream.write(text + "\n")
        self.stream.flush()

    def print(self, line):
        """Prints a line of its own; on a terminal the progress line follows it."""
        self.stream.write("\r\033[K%s\n%s" % (line, self.line) if self.terminal else line + "\n")
        self.stream.flush()

    def end(self):
        """Takes the progress line away, so that what follows starts a clean line."""
        if self.terminal and self.line:
            self.stream.write("\r\033[K")
            self.stream.flush()
        self.line = ""
