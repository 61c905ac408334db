// Writing pixels as a PNG file through WIC's encoder: the phone's screenshots and the tests' pictures.
#pragma once
#include <windows.h>

// Writes top-down pixels of 24-bit BGR (bytesPerPixel 3) or 32-bit BGRA (4) to path. Returns false when any
// step fails.
bool WritePngFile(const wchar_t *path, UINT width, UINT height, UINT bytesPerPixel, const BYTE *pixels);
