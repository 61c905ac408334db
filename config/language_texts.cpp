// Filling the language texts from lang.ini.
#include "language_texts.h"
#include "bounded_text.h"

LanguageTexts g_lang;

namespace
{

struct LanguageEntry {
    const wchar_t *key;
    const wchar_t *defaultText;
    wchar_t *buffer;
    size_t capacity;
};

#define TEXT_ENTRY(key, text, field)                                                                                   \
    {                                                                                                                  \
        key, text, g_lang.field, ARRAYSIZE(g_lang.field)                                                               \
    }

// The texts after the action labels, in the order they are read.
const LanguageEntry kInterfaceTexts[] = {
    TEXT_ENTRY(L"BGeneral", L"General", general),
    TEXT_ENTRY(L"Bl", L"Button 1", slotTiles[0]),
    TEXT_ENTRY(L"B2", L"Button 2", slotTiles[1]),
    TEXT_ENTRY(L"B3", L"Button 3", slotTiles[2]),
    TEXT_ENTRY(L"B4", L"Button 4", slotTiles[3]),
    TEXT_ENTRY(L"B5", L"Button 5", slotTiles[4]),
    TEXT_ENTRY(L"B6", L"Button 6", slotTiles[5]),
    TEXT_ENTRY(L"B7", L"Button 7", slotTiles[6]),
    TEXT_ENTRY(L"Skin", L"Skin", skin),
    TEXT_ENTRY(L"TimeOut", L"Timeout", timeOut),
    TEXT_ENTRY(L"Action", L"Action", action),
    TEXT_ENTRY(L"TextOnButton", L"Text on button", textOnButton),
    TEXT_ENTRY(L"PathToExe", L"Path to exe", pathToExe),
    TEXT_ENTRY(L"Argument", L"Argument", argument),
    TEXT_ENTRY(L"PathToIcon", L"Path to icon", pathToIcon),
    TEXT_ENTRY(L"KeyExit", L"Exit", keyExit),
    TEXT_ENTRY(L"KeySave", L"Save", keySave),
    TEXT_ENTRY(L"KeyCancel", L"Cancel", keyCancel),
    TEXT_ENTRY(L"KeySelect", L"Select", keySelect),
    TEXT_ENTRY(L"AreYouSure", L"Are You sure?", areYouSure),
    TEXT_ENTRY(L"Warning", L"Warning!", warning),
    TEXT_ENTRY(L"NoBTfound", L"No BT-manager found", noBtFound),
};

} // namespace

void FillLanguageTexts()
{
    for (const ActionInfo &action : g_actions)
        CopyText(g_lang.actionLabels[action.code], g_langDoc.GetValue(L"lang", action.langKey, action.defaultLabel));
    for (const LanguageEntry &entry : kInterfaceTexts)
        CopyText(entry.buffer, entry.capacity, g_langDoc.GetValue(L"lang", entry.key, entry.defaultText));
}
