// The settings hub: the editor's first screen, eight tiles leading to the seven button pages and the General
// page, and the Settings button's hand-over from the menu window.
#pragma once
#include <windows.h>

// The Settings button's entry: shows the task bar, runs the hub and then ends the program, whatever the hub
// returned.
void RunSettingsEditor(HWND hwndMenu);

// The hub's dialog procedure.
INT_PTR CALLBACK SettingsHubDialog(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
