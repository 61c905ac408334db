// The General page: a tree of the installed skins and the time-out with an up-down control whose up arrow
// lowers it. Save merges Settings.ini into the document first, so keys added by hand survive.
#include <windows.h>

#include <commctrl.h>
#include <stdlib.h>

#include "../config/bounded_text.h"
#include "../config/language_texts.h"
#include "../config/settings_store.h"
#include "../resources/resource_ids.h"
#include "editor_frame.h"
#include "editor_state.h"
#include "general_page.h"
#include "skin_tree.h"

namespace
{

const ControlLayout kSkinTree = {L"SysTreeView32", 0x50900031, 35, 50, 410, 210};
const ControlLayout kSkinFrame = {L"BUTTON", 0x10000007, 10, 10, 460, 270};
const ControlLayout kTimeoutField = {L"EDIT", 0x10802082, 165, 340, 122, 90};
const ControlLayout kTimeoutSpinner = {UPDOWN_CLASSW, 0x50000002, 286, 340, 50, 90};
const ControlLayout kTimeoutFrame = {L"BUTTON", 0x10000007, 140, 300, 200, 150};

// The spinner's id and its range, given upper limit first: the up arrow goes toward 0.
const int kSpinnerId = 1;
const int kSpinnerUpper = 0, kSpinnerLower = 32767;

BOOL OnInitDialog(HWND hDlg)
{
    GeneralPageWindows &page = g_editor.general;
    // Handles left from an earlier page must not stand in for fields this set-up may fail to make.
    page = GeneralPageWindows();
    page.softKeyBar = SetUpEditorDialog(hDlg, IDR_MENU_SAVE_CANCEL, g_lang.keySave, g_lang.keyCancel);
    if (!page.softKeyBar)
        return FALSE;
    page.skinTree = CreateEditorControl(hDlg, kSkinTree, NULL);
    CreateEditorControl(hDlg, kSkinFrame, g_lang.skin);
    page.timeoutField = CreateEditorControl(hDlg, kTimeoutField, L"");
    const ControlLayout &s = kTimeoutSpinner;
    page.timeoutSpinner =
        CreateUpDownControl(s.style, s.x, s.y, s.width, s.height, hDlg, kSpinnerId, g_editor.hInstance,
                            page.timeoutField, kSpinnerUpper, kSpinnerLower, g_settings.timeout);
    CreateEditorControl(hDlg, kTimeoutFrame, g_lang.timeOut);
    FillSkinTree(page.skinTree);
    return TRUE;
}

// The selected skin's name, empty when nothing is selected; at most 259 characters.
void GetSelectedSkin(wchar_t *name, int capacity)
{
    name[0] = L'\0';
    HTREEITEM item = (HTREEITEM)SendMessageW(g_editor.general.skinTree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    if (!item)
        return;
    TVITEMW tvi = {};
    tvi.mask = TVIF_TEXT;
    tvi.hItem = item;
    tvi.pszText = name;
    tvi.cchTextMax = capacity;
    SendMessageW(g_editor.general.skinTree, TVM_GETITEMW, 0, (LPARAM)&tvi);
    name[capacity - 1] = L'\0';
}

// Writes the page's skin and time-out into Settings.ini; a page whose set-up failed has no fields and writes
// nothing.
void WriteFields()
{
    const GeneralPageWindows &page = g_editor.general;
    if (!page.skinTree || !page.timeoutSpinner)
        return;
    // The low word is the spinner's last valid position, whatever the field holds now.
    LRESULT position = SendMessageW(page.timeoutSpinner, UDM_GETPOS, 0, 0);
    wchar_t timeout[16];
    _itow(LOWORD(position), timeout, 10);

    g_settingsDoc.LoadFile(kSettingsPath);
    g_settingsDoc.SetValue(L"Settings", L"Timeout", timeout);
    wchar_t skinName[kPathCapacity];
    GetSelectedSkin(skinName, kPathCapacity);
    g_settingsDoc.SetValue(L"Settings", L"SkinName", skinName);
    // The tree selects this skin when the page opens again; the running menu keeps its skin folder.
    CopyText(g_settings.skinName, skinName);
    g_settingsDoc.SaveFile(kSettingsPath);
    g_settingsDoc.LoadFile(kSettingsPath);
}

BOOL Save(HWND hDlg)
{
    WriteFields();
    EndDialog(hDlg, 1);
    return TRUE;
}

BOOL OnCommand(HWND hDlg, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDOK:
    case IDM_SAVE:
        return Save(hDlg);
    case IDM_CANCEL:
        EndDialog(hDlg, 2);
        return FALSE;
    }
    return FALSE;
}

} // namespace

INT_PTR CALLBACK GeneralPageDialog(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        return OnInitDialog(hDlg);
    case WM_COMMAND:
        return OnCommand(hDlg, wParam);
    }
    return FALSE;
}
