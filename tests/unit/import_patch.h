// Replaces a function that the test program imports from one of the phone's libraries, by rewriting the test
// program's own import table. The program's code linked into the test then calls the replacement (Sleep,
// MessageBoxW, SHInitDialog, ...).
#pragma once

// Points the import of function from library (e.g. "coredll.dll", "MessageBoxW") at replacement. Returns the
// function it pointed at before, or NULL when the test program does not import it.
void *PatchImport(const char *library, const char *function, void *replacement);
