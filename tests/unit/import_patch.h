// Replaces a function that the test program imports from a system library, by rewriting the test program's own
// import table. The program's code linked into the test then calls the replacement (Sleep, MessageBoxW, ...).
#pragma once

// Points the import of function from library (e.g. "user32.dll", "MessageBoxW") at replacement. Returns the
// function it pointed at before, or NULL when the test program does not import it.
void *PatchImport(const char *library, const char *function, void *replacement);
