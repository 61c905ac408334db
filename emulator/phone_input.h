// Real input for the emulated phone: taps and keys go through the system's input queue, as a finger's would.
#pragma once

// A tap (press and release of the left button) at screen coordinates. Returns 0, or 2 when it cannot.
int Tap(int x, int y);

// A key press by name: Return, Escape, Up, Down, Left, Right, Tab, Space, BackSpace, Delete, Home, End,
// F1 to F12, or a single letter or digit. Returns 0, or 2 for an unknown name.
int PressKey(const wchar_t *name);

// Types text as Unicode key strokes. Returns 0.
int TypeText(const wchar_t *text);
