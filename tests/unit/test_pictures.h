// Pictures for the unit tests, written as real PNG files through the imaging component.
#pragma once
#include <windows.h>

// Writes a width x height PNG filled with color (a COLORREF) to a phone path; the top-left pixel gets
// cornerColor. Returns false when it cannot.
bool WriteTestPng(const wchar_t *phonePath, UINT width, UINT height, COLORREF color, COLORREF cornerColor);

inline bool WriteTestPng(const wchar_t *phonePath, UINT width, UINT height, COLORREF color)
{
    return WriteTestPng(phonePath, width, height, color, color);
}
