// The settings loader, the program-wide settings record and the three documents.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include "action_codes.h"
#include "bounded_text.h"
#include "language_texts.h"
#include "settings_store.h"

ProgramSettings g_settings;

// Constructed in this order, destroyed in the reverse order at exit.
IniDocument g_settingsDoc;
IniDocument g_skinDoc;
IniDocument g_langDoc;

namespace
{

// The entries of a new Settings.ini, in the order they are written.
void SetDefaultSettings()
{
    g_settingsDoc.SetValue(L"Settings", L"SkinName", L"Default");
    g_settingsDoc.SetValue(L"Settings", L"Timeout", L"5");
    for (int slot = 0; slot < kSlotCount; slot++) {
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
    wchar_t backup[kPathCapacity + 4];
    _snwprintf(backup, ARRAYSIZE(backup), L"%s.bak", path);
    backup[ARRAYSIZE(backup) - 1] = L'\0';
    ReplaceWithFile(backup, path);
}

} // namespace

void SlotSectionName(wchar_t *name, size_t capacity, int slot)
{
    if (capacity == 0)
        return;
    _snwprintf(name, capacity, L"%d", slot);
    name[capacity - 1] = L'\0';
}

void ReadSlotSettings()
{
    for (int i = 0; i < kSlotCount; i++) {
        SlotSettings &slot = g_settings.slots[i];
        wchar_t section[8];
        SlotSectionName(section, i);
        slot.actionCode = _wtol(g_settingsDoc.GetValue(section, L"UseButton", L""));
        slot.iconPath[0] = L'\0';
        // A slot without a menu button shows no text, so it keeps none.
        slot.text[0] = L'\0';
        if (ActionHasButton(slot.actionCode))
            CopyText(slot.text, g_settingsDoc.GetValue(section, L"Text", L""));
    }
}

void LoadSettings()
{
    if (g_settingsDoc.LoadFile(kSettingsPath) != SI_OK) {
        KeepUnloadableFile(kSettingsPath);
        SetDefaultSettings();
        g_settingsDoc.SaveFile(kSettingsPath, true);
    }
    g_settingsDoc.LoadFile(kSettingsPath);

    CopyText(g_settings.skinName, g_settingsDoc.GetValue(L"Settings", L"SkinName", L""));
    CopyText(g_settings.skinFolder, kSkinsRoot);
    AppendText(g_settings.skinFolder, g_settings.skinName);
    AppendText(g_settings.skinFolder, L"\\");

    g_settings.timeout = _wtol(g_settingsDoc.GetValue(L"Settings", L"Timeout", L""));

    wchar_t skinIni[kPathCapacity];
    CopyText(skinIni, g_settings.skinFolder);
    AppendText(skinIni, L"Skin.ini");
    g_skinDoc.LoadFile(skinIni);

    g_langDoc.LoadFile(kLangPath);
    FillLanguageTexts();
}
