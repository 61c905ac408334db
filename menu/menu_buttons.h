// The menu window's buttons: the seven slot buttons built from Settings.ini, the Exit and Settings buttons, and
// the choice of each slot's state picture.
#pragma once
#include <windows.h>

// Where the buttons stand on the 480 x 800 screen.
constexpr int kSlotLeft = 65;
constexpr int kSlotFirstTop = 25;
constexpr int kSlotPitch = 108;
constexpr int kSlotWidth = 350;
constexpr int kSlotHeight = 100;
constexpr int kCornerButtonSize = 40;
constexpr int kExitButtonLeft = 430;
constexpr int kSettingsButtonLeft = 10;
constexpr int kCornerButtonTop = 10;

// Window styles of the buttons, as the phone takes them.
constexpr DWORD kSlotButtonStyle = 0x50002000;   // WS_CHILD | WS_VISIBLE | BS_MULTILINE
constexpr DWORD kCornerButtonStyle = 0x10000F00; // WS_VISIBLE | BS_CENTER | BS_VCENTER, without WS_CHILD

// Reads the slots' settings from the settings document (ReadSlotSettings) and creates the slot button of every
// slot whose action has a button.
void CreateMenuButtons(HWND hwnd);

// WM_CREATE of the menu window: the slot buttons, then the Exit button, then the Settings button.
BOOL OnMenuCreate(HWND hwnd, LPCREATESTRUCTW lpcs);

// Writes the full path of the slot's state picture into path (kPathCapacity characters), asking the radios and
// probes for the state of what the slot controls. Codes outside 0 to 11 give the slot's "Icon" setting.
void ChooseButtonPicture(wchar_t *path, int slot);
