// The menu window's buttons: the seven slot buttons built from Settings.ini, the Exit and Settings buttons, and
// the choice of each slot's state picture.
#pragma once
#include <windows.h>

// Where the buttons stand on the 480 x 800 screen.
#define SLOT_LEFT 65
#define SLOT_FIRST_TOP 25
#define SLOT_PITCH 108
#define SLOT_WIDTH 350
#define SLOT_HEIGHT 100
#define CORNER_BUTTON_SIZE 40
#define EXIT_BUTTON_LEFT 430
#define SETTINGS_BUTTON_LEFT 10
#define CORNER_BUTTON_TOP 10

// Window styles of the buttons, as the phone takes them.
#define SLOT_BUTTON_STYLE 0x50002000   // WS_CHILD | WS_VISIBLE | BS_MULTILINE
#define CORNER_BUTTON_STYLE 0x10000F00 // WS_VISIBLE | BS_CENTER | BS_VCENTER, without WS_CHILD

// Creates the slot buttons of every slot not bound to None or 3G and fills the slot entries from the settings
// document: action code, text (cut to 49 characters), top; the icon path is emptied.
void CreateMenuButtons(HWND hwnd);

// WM_CREATE of the menu window: the slot buttons, then the Exit button, then the Settings button.
BOOL OnMenuCreate(HWND hwnd, LPCREATESTRUCTW lpcs);

// Writes the full path of the slot's state picture into path (PATH_CAPACITY characters), asking the radios and
// probes for the state of what the slot controls. Codes outside 0 to 11 give the slot's "Icon" setting.
void ChooseButtonPicture(wchar_t *path, int slot);
