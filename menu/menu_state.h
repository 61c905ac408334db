// The menu state: the one program-wide record of the menu screen's windows and of the values its painting and
// dispatch share. The settings it shows are in the settings record (config/settings_store.h). Zero-filled at
// process start, never freed.
#pragma once
#include <windows.h>

#include "../config/settings_store.h"

// Timer and window values that the program fixes.
constexpr int kAutoCloseTimerId = 101;
constexpr wchar_t kMenuClassName[] = L"Tolvane";

// Capacity of a face name, terminator included.
constexpr int kFaceNameCapacity = 32;

struct SlotButton {
    HWND button; // the slot's menu button; null for a slot whose action has no button
    int top;     // the button's top edge: 25 + 108 x slot
};

struct TextStyle {
    wchar_t fontName[kFaceNameCapacity]; // face name read from Skin.ini "FontName", cut to 31 characters
    int fontSize;                        // points, "FontSize"
    int red, green, blue;                // "Red", "Green", "Blue" as read
    COLORREF color;                      // the caption colour made of their low 8 bits
    bool bold;                           // "Bold" not 0
    bool italic;                         // "Italic" not 0
};

// The settings editor's entry, as the Settings button calls it: shows the editor over hwndMenu, whose
// dialogs and controls are made with hInstance, and ends the program.
typedef void (*SettingsEditorEntry)(HWND hwndMenu, HINSTANCE hInstance);

struct MenuState {
    HINSTANCE hInstance;             // the program's instance, stored after the menu window exists
    int screenWidth, screenHeight;   // SM_CXSCREEN and SM_CYSCREEN
    UINT_PTR autoCloseTimerId;       // what SetTimer returned, 0 without a timer, 1 after a press
    UINT btVisibleMessage;           // the registered "WIDCOMM_WM_VISIBLE1"
    HWND exitButton, settingsButton; // the two small buttons at the top
    SlotButton slots[kSlotCount];    // one per menu button slot
    int radioBluetooth, radioWlan, radioPhone, radioFlight; // radio state cells, 0 = off
    TextStyle textStyle;                                    // the caption style, read afresh at every paint
    SettingsEditorEntry runSettingsEditor; // the editor's entry for the Settings button, handed over to RunMenu
};

extern MenuState g_menu;
