// What the menu needs from the settings editor: the one entry the Settings button calls. The editor's hub
// implements it, so the menu knows nothing of the editor's dialogs.
#pragma once
#include <windows.h>

// Shows the task bar, runs the settings hub and then ends the program, whatever the hub returned.
void RunSettingsEditor(HWND hwndMenu);
