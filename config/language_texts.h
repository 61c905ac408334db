// The language texts: every user-visible text of the editor and the message boxes, filled once from lang.ini.
#pragma once
#include "action_codes.h"
#include "settings_store.h"

// Each text is named by its lang.ini key; capacities count the terminator.
struct LanguageTexts {
    wchar_t actionLabels[ACTION_COUNT][256]; // "RestartManila" ... "None", indexed by action code
    wchar_t general[50];                     // "BGeneral": the hub's General tile
    wchar_t slotTiles[kSlotCount][50];       // "Bl", "B2" ... "B7": the hub's slot tiles
    wchar_t skin[50];                        // "Skin": frame of the General page's skin list
    wchar_t timeOut[50];                     // "TimeOut": frame of the General page's time-out
    wchar_t action[50];                      // "Action": frame of the button page's action list
    wchar_t textOnButton[50];                // "TextOnButton": frame of the button page's text field
    wchar_t pathToExe[50];                   // "PathToExe": frame of the button page's program field
    wchar_t argument[50];                    // "Argument": frame of the button page's argument field
    wchar_t pathToIcon[50];                  // "PathToIcon": frame of the button page's icon field
    wchar_t keyExit[20];                     // "KeyExit": the hub's right soft key
    wchar_t keySave[20];                     // "KeySave": left soft key of the pages
    wchar_t keyCancel[20];                   // "KeyCancel": right soft key of the pages and the picker
    wchar_t keySelect[20];                   // "KeySelect": the picker's left soft key
    wchar_t areYouSure[50];                  // "AreYouSure": the confirmation before Reset and Power off
    wchar_t warning[20];                     // "Warning": caption of the confirmation and "NoBTfound" boxes
    wchar_t noBtFound[100];                  // "NoBTfound": no Bluetooth manager window
};

extern LanguageTexts g_lang;

// Fills every text from section "lang" of the language document, or with its default; texts over their
// capacity are cut.
void FillLanguageTexts();
