// The menu state: the one program-wide record through which the menu screen, the settings loader, the device
// bridge and the settings editor share their run-time values. Zero-filled at process start, never freed.
#pragma once
#include <windows.h>

#include "../config/settings_store.h"

// Timer and window values that the program fixes.
#define AUTO_CLOSE_TIMER_ID 101
#define MENU_CLASS_NAME L"Tolvane"

// Capacity of a slot button text and of a face name, terminator included.
#define SLOT_TEXT_CAPACITY 50
#define FACE_NAME_CAPACITY 32

struct SlotEntry {
    HWND button;                     // the slot's menu button; null for None (13) and 3G (10)
    int actionCode;                  // the slot's "UseButton" code
    wchar_t text[SLOT_TEXT_CAPACITY]; // the caption drawn on the button (the slot's "Text")
    int top;                         // the button's top edge: 25 + 108 x slot
    wchar_t iconPath[PATH_CAPACITY]; // emptied at window creation; written by the button page
};

struct TextStyle {
    wchar_t fontName[FACE_NAME_CAPACITY]; // face name read from Skin.ini "FontName", cut to 31 characters
    int fontSize;                         // points, "FontSize"
    int red, green, blue;                 // "Red", "Green", "Blue" as read
    COLORREF color;                       // the caption colour made of their low 8 bits
    bool bold;                            // "Bold" not 0
    bool italic;                          // "Italic" not 0
};

struct MenuState {
    HINSTANCE hInstance;                 // the program's instance, stored after the menu window exists
    int screenWidth, screenHeight;       // SM_CXSCREEN and SM_CYSCREEN
    int timeout;                         // seconds before the menu closes by itself; 0 or less: never
    UINT_PTR autoCloseTimerId;           // what SetTimer returned, 0 without a timer, 1 after a press
    wchar_t skinFolder[PATH_CAPACITY];   // skins root + skin name + "\"
    wchar_t skinName[PATH_CAPACITY];     // the skin in use, from "SkinName"
    UINT btVisibleMessage;               // the registered "WIDCOMM_WM_VISIBLE1"
    HWND exitButton, settingsButton;     // the two small buttons at the top
    SlotEntry slots[SLOT_COUNT];         // one per menu button slot
    int radioBluetooth, radioWlan, radioPhone, radioFlight; // radio state cells, 0 = off
    TextStyle textStyle;                 // the caption style, read afresh at every paint
};

extern MenuState g_menu;
