// The General page: the skin and the time-out, saved to section "Settings" of Settings.ini.
#pragma once
#include <windows.h>

// The General page's dialog procedure.
INT_PTR CALLBACK GeneralPageDialog(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
