// The button page: the chosen slot's action, caption, program, argument and icon. Save merges Settings.ini into
// the document first, so keys added to the file by hand survive, then writes the slot's five keys.
#include <windows.h>

#include <stdlib.h>

#include "../config/action_codes.h"
#include "../config/bounded_text.h"
#include "../config/language_texts.h"
#include "../config/settings_store.h"
#include "../resources/resource_ids.h"
#include "button_page.h"
#include "editor_frame.h"
#include "editor_state.h"
#include "file_picker.h"

namespace
{

const ControlLayout kActionBox = {L"COMBOBOX", 0x50A00900, 35, 45, 410, 270};
const ControlLayout kActionFrame = {L"BUTTON", 0x10000007, 10, 5, 460, 90};
const ControlLayout kTextField = {L"EDIT", 0x10800082, 35, 140, 355, 40};
const ControlLayout kDefaultTextButton = {L"BUTTON", 0x10000F00, 405, 140, 40, 40};
const ControlLayout kTextFrame = {L"BUTTON", 0x10000007, 10, 100, 460, 90};
const ControlLayout kProgramField = {L"EDIT", 0x10800082, 35, 235, 355, 40};
const ControlLayout kProgramBrowse = {L"BUTTON", 0x10000F00, 405, 235, 40, 40};
const ControlLayout kProgramFrame = {L"BUTTON", 0x10000007, 10, 195, 460, 90};
const ControlLayout kArgumentField = {L"EDIT", 0x10800082, 35, 330, 410, 40};
const ControlLayout kArgumentFrame = {L"BUTTON", 0x10000007, 10, 290, 460, 90};
const ControlLayout kIconField = {L"EDIT", 0x10800082, 35, 425, 355, 40};
const ControlLayout kIconBrowse = {L"BUTTON", 0x10000F00, 405, 425, 40, 40};
const ControlLayout kIconFrame = {L"BUTTON", 0x10000007, 10, 385, 460, 90};

// What Save reads from the fields, terminator included: 47 characters of "Text", 257 of the others.
const int kTextLimit = 48;
const int kValueLimit = 258;
// A label held by the action box: the labels' own capacity.
const int kLabelCapacity = 256;

SlotSettings &ChosenSlot()
{
    return g_settings.slots[g_editor.handOver.chosenSlot];
}

const wchar_t *Section()
{
    return g_editor.handOver.slotSectionName;
}

void FillActionBox(HWND actionBox, int currentCode)
{
    for (const ActionInfo &action : g_actions)
        if (action.offeredByPage)
            SendMessageW(actionBox, CB_ADDSTRING, 0, (LPARAM)g_lang.actionLabels[action.code]);
    // A code without a label (outside 0..13) selects nothing.
    if (FindAction(currentCode))
        SendMessageW(actionBox, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)g_lang.actionLabels[currentCode]);
}

BOOL OnInitDialog(HWND hDlg)
{
    ButtonPageWindows &page = g_editor.buttonPage;
    // Handles left from an earlier page must not stand in for fields this set-up may fail to make.
    page = ButtonPageWindows();
    if (g_editor.handOver.chosenSlot < 0 || g_editor.handOver.chosenSlot >= kSlotCount)
        return FALSE;
    page.softKeyBar = SetUpEditorDialog(hDlg, IDR_MENU_SAVE_CANCEL, g_lang.keySave, g_lang.keyCancel);
    if (!page.softKeyBar)
        return FALSE;
    page.actionBox = CreateEditorControl(hDlg, kActionBox, NULL);
    CreateEditorControl(hDlg, kActionFrame, g_lang.action);
    FillActionBox(page.actionBox, ChosenSlot().actionCode);

    page.textField = CreateEditorControl(hDlg, kTextField, ChosenSlot().text);
    page.defaultTextButton = CreateEditorControl(hDlg, kDefaultTextButton, L"D");
    CreateEditorControl(hDlg, kTextFrame, g_lang.textOnButton);

    page.programField = CreateEditorControl(hDlg, kProgramField, g_settingsDoc.GetValue(Section(), L"Path", L""));
    page.programBrowse = CreateEditorControl(hDlg, kProgramBrowse, L">>");
    CreateEditorControl(hDlg, kProgramFrame, g_lang.pathToExe);

    page.argumentField = CreateEditorControl(hDlg, kArgumentField, g_settingsDoc.GetValue(Section(), L"Arg", L""));
    CreateEditorControl(hDlg, kArgumentFrame, g_lang.argument);

    page.iconField = CreateEditorControl(hDlg, kIconField, g_settingsDoc.GetValue(Section(), L"Icon", L""));
    page.iconBrowse = CreateEditorControl(hDlg, kIconBrowse, L">>");
    CreateEditorControl(hDlg, kIconFrame, g_lang.pathToIcon);
    return TRUE;
}

// The action of the selected item: the highest code whose label equals its text; -1 with no selected item.
int ChosenAction()
{
    HWND actionBox = g_editor.buttonPage.actionBox;
    LRESULT index = SendMessageW(actionBox, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR || SendMessageW(actionBox, CB_GETLBTEXTLEN, index, 0) >= kLabelCapacity)
        return -1;
    wchar_t label[kLabelCapacity] = L"";
    SendMessageW(actionBox, CB_GETLBTEXT, index, (LPARAM)label);
    for (int code = ACTION_COUNT - 1; code >= 0; code--)
        if (wcscmp(label, g_lang.actionLabels[code]) == 0)
            return code;
    return -1;
}

void OnDefaultText()
{
    int code = ChosenAction();
    if (code >= 0)
        SetWindowTextW(g_editor.buttonPage.textField, g_lang.actionLabels[code]);
}

// Hands the field's path to the picker and takes back whatever the picker left in the buffer.
void Browse(HWND hDlg, HWND field, const wchar_t *extension)
{
    GetWindowTextW(field, g_editor.handOver.pickerPath, kPathCapacity);
    CopyText(g_editor.handOver.pickerExtension, extension);
    OpenEditorDialog(hDlg, FilePickerDialog);
    SetWindowTextW(field, g_editor.handOver.pickerPath);
}

void OnControl(HWND hDlg, HWND control)
{
    const ButtonPageWindows &page = g_editor.buttonPage;
    if (!control)
        return;
    if (control == page.defaultTextButton)
        OnDefaultText();
    else if (control == page.programBrowse)
        Browse(hDlg, page.programField, L"exe");
    else if (control == page.iconBrowse)
        Browse(hDlg, page.iconField, L"png");
}

void SaveField(HWND field, const wchar_t *key)
{
    wchar_t value[kValueLimit] = L"";
    GetWindowTextW(field, value, kValueLimit);
    g_settingsDoc.SetValue(Section(), key, value);
}

// Writes the page's five keys into Settings.ini and the slot's record; a page whose set-up failed has no fields
// and writes nothing.
void WriteFields()
{
    const ButtonPageWindows &page = g_editor.buttonPage;
    if (!page.actionBox || !page.textField || !page.programField || !page.argumentField || !page.iconField)
        return;
    SlotSettings &slot = ChosenSlot();
    g_settingsDoc.LoadFile(kSettingsPath);

    // With no listed action selected the slot keeps its stored code.
    int code = ChosenAction();
    if (code < 0)
        code = slot.actionCode;
    wchar_t codeText[16];
    _itow(code, codeText, 10);
    slot.actionCode = code;
    g_settingsDoc.SetValue(Section(), L"UseButton", codeText);

    slot.text[0] = L'\0';
    GetWindowTextW(page.textField, slot.text, kTextLimit);
    g_settingsDoc.SetValue(Section(), L"Text", slot.text);
    SaveField(page.programField, L"Path");
    SaveField(page.argumentField, L"Arg");
    slot.iconPath[0] = L'\0';
    GetWindowTextW(page.iconField, slot.iconPath, kValueLimit);
    g_settingsDoc.SetValue(Section(), L"Icon", slot.iconPath);

    g_settingsDoc.SaveFile(kSettingsPath);
}

BOOL Save(HWND hDlg)
{
    WriteFields();
    EndDialog(hDlg, 1);
    return TRUE;
}

BOOL OnCommand(HWND hDlg, WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case 0:
        OnControl(hDlg, (HWND)lParam);
        return FALSE;
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

INT_PTR CALLBACK ButtonPageDialog(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        return OnInitDialog(hDlg);
    case WM_COMMAND:
        return OnCommand(hDlg, wParam, lParam);
    }
    return FALSE;
}
