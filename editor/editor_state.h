// The settings editor's program-wide state: the instance it was handed, the hand-over buffers between the hub,
// the pages and the file picker, and the windows of the dialog that is open. Zero-filled at process start, never
// freed.
#pragma once
#include <windows.h>

#include "../config/settings_store.h"

// Capacity of the slot section name and of the picker extension, terminator included.
constexpr int kSlotSectionCapacity = 4;
constexpr int kPickerExtensionCapacity = 8;

// The hand-over buffers: how the hub tells a button page its slot, and how a page and the picker trade a path.
struct EditorHandOver {
    int chosenSlot;                                    // the slot tile pressed last, 0..6; -1 before the first
    wchar_t slotSectionName[kSlotSectionCapacity];     // the chosen slot in decimal: the section a button page edits
    wchar_t pickerPath[kPathCapacity];                 // the path handed to the picker and the chosen file's path back
    wchar_t pickerExtension[kPickerExtensionCapacity]; // "exe" or "png": the files the picker lists
};

// The settings hub's windows.
struct HubWindows {
    HWND slotTiles[kSlotCount]; // the seven slot tiles, index = slot
    HWND generalTile;           // the General tile
    HWND softKeyBar;            // the bar made by the dialog set-up
};

// The General page's windows.
struct GeneralPageWindows {
    HWND skinTree;       // the installed skins
    HWND timeoutField;   // the time-out's numeric field
    HWND timeoutSpinner; // the up-down control whose buddy is the field
    HWND softKeyBar;     // the page's soft-key bar
};

// The button page's windows.
struct ButtonPageWindows {
    HWND actionBox;         // the sorted list of action labels
    HWND textField;         // the text drawn on the menu button
    HWND defaultTextButton; // "D": puts the chosen action's label into the text field
    HWND programField;      // the program run by a program slot
    HWND programBrowse;     // ">>" beside the program field
    HWND argumentField;     // the program's argument
    HWND iconField;         // the picture of a program slot
    HWND iconBrowse;        // ">>" beside the icon field
    HWND softKeyBar;        // the page's soft-key bar
};

// The file picker's windows and scratch texts.
struct PickerWindows {
    HWND folderTree;                     // the folders of the phone, filled as they are expanded
    HWND fileList;                       // the matching files of the selected folder
    HWND softKeyBar;                     // the picker's soft-key bar
    wchar_t listedFolder[kPathCapacity]; // the folder whose files the file list shows
};

struct EditorState {
    HINSTANCE hInstance;          // the program's instance, handed to RunSettingsEditor: template, menus, controls
    EditorHandOver handOver;      // shared by the hub, the button page and the picker
    HubWindows hub;               // valid while the hub is open
    GeneralPageWindows general;   // valid while the General page is open
    ButtonPageWindows buttonPage; // valid while a button page is open
    PickerWindows picker;         // valid while the file picker is open
};

extern EditorState g_editor;
