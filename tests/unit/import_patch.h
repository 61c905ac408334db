// Replaces a function that the test program imports from a system library, by rewriting the test program's own
// import table. The program's code linked into the test then calls the replacement (Sleep, MessageBoxW, ...).
#pragma once

// Points the import of function from library (e.g. "user32.dll", "MessageBoxW") at replacement. Returns the
// function it pointed at before, or NULL when the test program does not import it.
void *PatchImport(const char *library, const char *function, void *replacement);

// A function linked into the test program itself (a platform stand-in) has no import to rewrite: its first
// instructions are overwritten with a jump to the replacement until the patch is restored. x86-64 only.
struct FunctionPatch {
    void *target;
    unsigned char saved[12];
};

FunctionPatch PatchFunction(void *target, void *replacement);
void RestoreFunction(const FunctionPatch &patch);
