// The menu's action dispatch: what a press of Exit, Settings or a menu button does.
#pragma once
#include <windows.h>

// Bounds of the waits that would otherwise never end: radio polls and the Manila restart, about 30 s each.
constexpr int kRadioPollLimit = 30;
constexpr int kManilaPollLimit = 30;

// The command handler for a WM_COMMAND with control id 0 from the button hwndSource.
void OnButtonCommand(HWND hwnd, HWND hwndSource);

// Carries out the action bound to a slot (its row of the action table), without closing the menu.
void RunSlotAction(int slot);
