// The button page: one menu button slot's action, caption, program, argument and icon.
#pragma once
#include <windows.h>

// The button page's dialog procedure; it edits the slot the hub chose.
INT_PTR CALLBACK ButtonPageDialog(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
