// The settings store: the three ini documents, the fixed paths of the install root and the settings loader.
#pragma once
#include "ini_document.h"

#define INSTALL_ROOT L"\\Program Files\\Orsweld\\Tolvane\\"
#define SETTINGS_PATH INSTALL_ROOT L"Settings.ini"
#define LANG_PATH INSTALL_ROOT L"lang.ini"
#define SKINS_ROOT INSTALL_ROOT L"Skins\\"

// Capacity of a path (259 characters and the terminator).
#define PATH_CAPACITY 260

// Number of menu button slots; slot i lives in the Settings.ini section named i in decimal.
#define SLOT_COUNT 7

// The three documents, constructed before WinMain by the start-up's static set-up and destroyed at exit.
extern IniDocument g_settingsDoc; // Settings.ini
extern IniDocument g_skinDoc;     // the current skin's Skin.ini
extern IniDocument g_langDoc;     // lang.ini

// Loads Settings.ini (writing the defaults when it cannot be loaded), sets the current time-out, skin name and
// skin folder, loads Skin.ini and lang.ini and fills the language texts. Called once, first thing in WinMain.
void LoadSettings();

// Writes the section name of a slot (its index in decimal) into name, which holds at least 4 characters.
void SlotSectionName(wchar_t *name, int slot);
