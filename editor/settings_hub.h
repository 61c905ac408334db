// The settings hub: the editor's first screen, eight tiles leading to the seven button pages and the General
// page, and the editor's entry, which the program hands to the menu's Settings button.
#pragma once
#include <windows.h>

// The editor's entry: keeps hInstance for the editor's dialogs and controls, shows the task bar, runs the
// settings hub over hwndMenu and then ends the program, whatever the hub returned.
void RunSettingsEditor(HWND hwndMenu, HINSTANCE hInstance);

// The hub's dialog procedure.
INT_PTR CALLBACK SettingsHubDialog(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
