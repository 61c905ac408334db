// The settings hub: the editor's first screen, eight tiles leading to the seven button pages and the General
// page. It implements the Settings button's entry, RunSettingsEditor (menu/settings_editor.h).
#pragma once
#include <windows.h>

#include "../menu/settings_editor.h"

// The hub's dialog procedure.
INT_PTR CALLBACK SettingsHubDialog(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
