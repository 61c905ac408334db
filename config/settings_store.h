// The settings store: the three ini documents, the fixed paths of the install root, the settings loader and the
// program-wide record of the settings the menu and the editor share.
#pragma once
#include <stddef.h>

#include "ini_document.h"

// The install root and the files in it; the skins root holds one folder per skin.
constexpr wchar_t kInstallRoot[] = L"\\Program Files\\Orsweld\\Tolvane\\";
constexpr wchar_t kSettingsPath[] = L"\\Program Files\\Orsweld\\Tolvane\\Settings.ini";
constexpr wchar_t kLangPath[] = L"\\Program Files\\Orsweld\\Tolvane\\lang.ini";
constexpr wchar_t kSkinsRoot[] = L"\\Program Files\\Orsweld\\Tolvane\\Skins\\";

// Capacity of a path (259 characters and the terminator).
constexpr int kPathCapacity = 260;

// Number of menu button slots; slot i lives in the Settings.ini section named i in decimal.
constexpr int kSlotCount = 7;

// Capacity of a slot's text, terminator included.
constexpr int kSlotTextCapacity = 50;

// One slot's binding as the menu shows it and the button page edits it.
struct SlotSettings {
    int actionCode;                  // the slot's "UseButton" code
    wchar_t text[kSlotTextCapacity]; // the caption drawn on the button (the slot's "Text")
    wchar_t iconPath[kPathCapacity]; // emptied when the slots are read; written by the button page
};

// The settings loaded at start-up, read by the menu and read and written by the editor. Zero-filled at process
// start, never freed.
struct ProgramSettings {
    wchar_t skinName[kPathCapacity];   // the skin in use, from "SkinName"
    wchar_t skinFolder[kPathCapacity]; // skins root + skin name + "\"
    int timeout;                       // seconds before the menu closes by itself; 0 or less: never
    SlotSettings slots[kSlotCount];    // one per menu button slot
};

extern ProgramSettings g_settings;

// The three documents, constructed before WinMain and destroyed at exit in the reverse order.
extern IniDocument g_settingsDoc; // Settings.ini
extern IniDocument g_skinDoc;     // the current skin's Skin.ini
extern IniDocument g_langDoc;     // lang.ini

// Loads Settings.ini (writing the defaults when it cannot be loaded), sets the current time-out, skin name and
// skin folder, loads Skin.ini and lang.ini and fills the language texts. Called once, first thing in WinMain.
void LoadSettings();

// Fills every slot's code and text from the settings document and empties its icon path.
void ReadSlotSettings();

// Writes the section name of a slot (its index in decimal) into name, which holds capacity characters.
void SlotSectionName(wchar_t *name, size_t capacity, int slot);

template <size_t N> void SlotSectionName(wchar_t (&name)[N], int slot)
{
    SlotSectionName(name, N, slot);
}
