// The menu window: its procedure, the buttons it builds and its painting.
#pragma once
#include <windows.h>

// The window procedure of the menu window (class "Tolvane").
LRESULT CALLBACK MenuWindowProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
