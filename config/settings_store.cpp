// The settings loader and the crash-safe saving of ini documents.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

#include "settings_store.h"
#include "bounded_text.h"
#include "language_texts.h"
#include "../menu/menu_state.h"

namespace {

// The entries of a new Settings.ini, in the order they are written.
void SetDefaultSettings()
{
    g_settingsDoc.SetValue(L"Settings", L"SkinName", L"Default");
    g_settingsDoc.SetValue(L"Settings", L"Timeout", L"5");
    for (int slot = 0; slot < SLOT_COUNT; slot++) {
        wchar_t section[4];
        SlotSectionName(section, slot);
        g_settingsDoc.SetValue(section, L"UseButton", L"13");
        g_settingsDoc.SetValue(section, L"Path", L"");
        g_settingsDoc.SetValue(section, L"Arg", L"");
        g_settingsDoc.SetValue(section, L"Text", L"");
        g_settingsDoc.SetValue(section, L"Icon", L"");
    }
}

// An existing file that cannot be loaded is the user's: keep it as .bak before the defaults replace it.
void KeepUnloadableFile(const wchar_t *path)
{
    DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    wchar_t backup[PATH_CAPACITY + 4];
    _snwprintf(backup, ARRAYSIZE(backup), L"%s.bak", path);
    backup[ARRAYSIZE(backup) - 1] = L'\0';
    MoveFileExW(path, backup, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

} // namespace

void SlotSectionName(wchar_t *name, int slot)
{
    _snwprintf(name, 4, L"%d", slot);
    name[3] = L'\0';
}

void LoadSettings()
{
    if (g_settingsDoc.LoadFile(SETTINGS_PATH) != SI_OK) {
        KeepUnloadableFile(SETTINGS_PATH);
        SetDefaultSettings();
        g_settingsDoc.SaveFile(SETTINGS_PATH, true);
    }
    g_settingsDoc.LoadFile(SETTINGS_PATH);

    CopyText(g_menu.skinName, g_settingsDoc.GetValue(L"Settings", L"SkinName", L""));
    CopyText(g_menu.skinFolder, SKINS_ROOT);
    AppendText(g_menu.skinFolder, g_menu.skinName);
    AppendText(g_menu.skinFolder, L"\\");

    g_menu.timeout = _wtol(g_settingsDoc.GetValue(L"Settings", L"Timeout", L""));

    wchar_t skinIni[PATH_CAPACITY];
    CopyText(skinIni, g_menu.skinFolder);
    AppendText(skinIni, L"Skin.ini");
    g_skinDoc.LoadFile(skinIni);

    g_langDoc.LoadFile(LANG_PATH);
    FillLanguageTexts();
}
