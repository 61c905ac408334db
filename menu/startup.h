// Start-up and the main loop of the menu program.
#pragma once
#include <windows.h>

#include "menu_state.h"

constexpr wchar_t kBtVisibleMessageName[] = L"WIDCOMM_WM_VISIBLE1";

// Exit code when the menu window cannot be created.
constexpr int kStartFailedExitCode = 1;

// Runs the menu from the settings loader to the quit message; returns the quit message's code. The Settings
// button opens the settings editor through runSettingsEditor, the only part of the editor the menu knows.
int RunMenu(HINSTANCE hInstance, int nCmdShow, SettingsEditorEntry runSettingsEditor);
