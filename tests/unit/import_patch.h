// Replacing platform calls of the test program through its own import table, so a test can catch calls such
// as Sleep or MessageBoxW that the program's code makes, without any test branch in the program.
#pragma once
#include <windows.h>

// Points every import of functionName in this executable at replacement; returns the original or null when
// the executable does not import it.
void *PatchImport(const char *functionName, void *replacement);
