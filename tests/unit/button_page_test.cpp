// The button page: the action list, the default text, the limits and merge of Save, Cancel and the picker.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "config/bounded_text.h"
#include "config/language_texts.h"
#include "config/settings_store.h"
#include "editor/button_page.h"
#include "editor/editor_state.h"
#include "editor_driver.h"
#include "phone_drive.h"
#include "resources/resource_ids.h"

namespace
{

std::string Section(int slot, const std::string &useButton, const std::string &path, const std::string &arg,
                    const std::string &text, const std::string &icon, const std::string &extra = "")
{
    return "[" + std::to_string(slot) + "]\r\nUseButton = " + useButton + "\r\nPath = " + path + "\r\nArg = " + arg +
           "\r\nText = " + text + "\r\nIcon = " + icon + "\r\n" + extra;
}

// Settings.ini with slot 2 as given and the other slots None.
std::string SettingsWithSlot2(const std::string &slot2)
{
    std::string s = "[Settings]\r\nSkinName = Default\r\nTimeout = 5\r\n";
    for (int slot = 0; slot < 7; slot++)
        s += "\r\n\r\n" + (slot == 2 ? slot2 : Section(slot, "13", "", "", "", ""));
    return s;
}

std::vector<std::wstring> ActionItems()
{
    std::vector<std::wstring> items;
    HWND box = g_editor.buttonPage.actionBox;
    int count = (int)SendMessageW(box, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        wchar_t text[256] = L"";
        SendMessageW(box, CB_GETLBTEXT, i, (LPARAM)text);
        items.push_back(text);
    }
    return items;
}

std::wstring SelectedAction()
{
    HWND box = g_editor.buttonPage.actionBox;
    LRESULT index = SendMessageW(box, CB_GETCURSEL, 0, 0);
    wchar_t text[256] = L"(none)";
    if (index != CB_ERR)
        SendMessageW(box, CB_GETLBTEXT, index, (LPARAM)text);
    return text;
}

void ChooseAction(const wchar_t *label)
{
    SendMessageW(g_editor.buttonPage.actionBox, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)label);
}

class ButtonPage : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetPhoneDrive();
        ResetEditorWorld();
    }
    // Starts as the program does: Settings.ini loaded, and the menu's copy of slot 2 as its window made it
    // (texts are kept only for slots that have a menu button).
    void Start(const std::string &slot2, int code, const wchar_t *menuText)
    {
        WritePhoneFile(kSettingsPath, SettingsWithSlot2(slot2));
        LoadSettings();
        g_editor.hInstance = GetModuleHandleW(NULL);
        g_settings.slots[2].actionCode = code;
        CopyText(g_settings.slots[2].text, menuText);
        g_editor.handOver.chosenSlot = 2;
        SlotSectionName(g_editor.handOver.slotSectionName, 2);
    }
    void Run(DialogStep step)
    {
        QueueStep(step);
        ASSERT_TRUE(RunEditorDialog(ButtonPageDialog));
    }
};

TEST_F(ButtonPage, ActionListHoldsThirteenSortedLabelsWithoutThreeG)
{
    Start(Section(2, "13", "", "", "old", ""), 13, L"");
    std::vector<std::wstring> items;
    std::wstring selected, text;
    Run([&](HWND hDlg) {
        items = ActionItems();
        selected = SelectedAction();
        text = WindowText(g_editor.buttonPage.textField);
        SendCommand(hDlg, IDM_CANCEL);
    });
    std::vector<std::wstring> expected = {
        L"Bluetooth", L"Bluetooth Discoverable", L"Flight mode",      L"GPRS",       L"None",  L"Phone", L"Power off",
        L"Reset",     L"Restart Manila",         L"Running programm", L"Sleep Mode", L"Vibro", L"WiFi"};
    EXPECT_EQ(items, expected);
    EXPECT_EQ(selected, L"None");
    EXPECT_EQ(text, L"") << "a None slot has no text in the menu";
}

// Save writes the five keys in their order, keeps a key added to the file by hand and sets the menu's copies.
TEST_F(ButtonPage, SaveWritesFiveKeysAndMergesTheFileFirst)
{
    Start(Section(2, "13", "", "", "", ""), 13, L"");
    WritePhoneFile(kSettingsPath, SettingsWithSlot2(Section(2, "13", "", "", "", "", "Note = by hand\r\n")));
    Run([&](HWND hDlg) {
        ChooseAction(L"Running programm");
        SetWindowTextW(g_editor.buttonPage.textField, L"Notes");
        SetWindowTextW(g_editor.buttonPage.programField, L"\\Windows\\notes.exe");
        SetWindowTextW(g_editor.buttonPage.argumentField, L"-new");
        SetWindowTextW(g_editor.buttonPage.iconField, L"\\Icons\\n.png");
        SendCommand(hDlg, IDM_SAVE);
    });
    EXPECT_EQ(ReadPhoneFile(kSettingsPath), SettingsWithSlot2(Section(2, "12", "\\Windows\\notes.exe", "-new", "Notes",
                                                                      "\\Icons\\n.png", "Note = by hand\r\n")));
    EXPECT_EQ(g_settings.slots[2].actionCode, 12);
    EXPECT_STREQ(g_settings.slots[2].text, L"Notes");
    EXPECT_STREQ(g_settings.slots[2].iconPath, L"\\Icons\\n.png");
}

TEST_F(ButtonPage, EqualLabelsSaveTheHigherCode)
{
    Start(Section(2, "4", "", "", "", ""), 4, L"");
    CopyText(g_lang.actionLabels[4], L"Same");
    CopyText(g_lang.actionLabels[6], L"Same");
    Run([&](HWND hDlg) { SendCommand(hDlg, IDOK); });
    EXPECT_EQ(ReadPhoneFile(kSettingsPath), SettingsWithSlot2(Section(2, "6", "", "", "", "")));
}

TEST_F(ButtonPage, DefaultTextButtonPutsTheChosenLabel)
{
    struct {
        int code;
        const char *stored;
        const wchar_t *textAfterD;
        const char *saved; // the code Save writes
    } rows[] = {{11, "11", L"Flight mode", "11"},
                {2, "2", L"Sleep Mode", "2"},
                {10, "10", L"mine", "10"},
                {42, "42", L"mine", "42"}}; // no listed action: nothing changes
    for (auto &row : rows) {
        Start(Section(2, row.stored, "", "", "mine", ""), row.code, L"mine");
        std::wstring text;
        Run([&](HWND hDlg) {
            PressButton(g_editor.buttonPage.defaultTextButton);
            text = WindowText(g_editor.buttonPage.textField);
            SendCommand(hDlg, IDM_SAVE);
        });
        EXPECT_EQ(text, row.textAfterD) << row.code;
        std::string savedText(text.begin(), text.end());
        EXPECT_EQ(ReadPhoneFile(kSettingsPath), SettingsWithSlot2(Section(2, row.saved, "", "", savedText, "")));
    }
}

TEST_F(ButtonPage, SaveCutsOverLongFields)
{
    Start(Section(2, "12", "", "", "", ""), 12, L"");
    std::wstring longText(60, L't'), longPath(300, L'p');
    Run([&](HWND hDlg) {
        SetWindowTextW(g_editor.buttonPage.textField, longText.c_str());
        SetWindowTextW(g_editor.buttonPage.programField, longPath.c_str());
        SetWindowTextW(g_editor.buttonPage.argumentField, longPath.c_str());
        SetWindowTextW(g_editor.buttonPage.iconField, longPath.c_str());
        SendCommand(hDlg, IDM_SAVE);
    });
    std::string p(257, 'p');
    EXPECT_EQ(ReadPhoneFile(kSettingsPath), SettingsWithSlot2(Section(2, "12", p, p, std::string(47, 't'), p)));
    EXPECT_EQ(wcslen(g_settings.slots[2].iconPath), 257u);
}

TEST_F(ButtonPage, CancelWritesNothing)
{
    Start(Section(2, "6", "", "", "WiFi", ""), 6, L"WiFi");
    WritePhoneFile(kSettingsPath, "untouched");
    Run([&](HWND hDlg) {
        ChooseAction(L"Reset");
        SendCommand(hDlg, IDM_CANCEL);
    });
    EXPECT_EQ(ReadPhoneFile(kSettingsPath), "untouched");
    EXPECT_EQ(g_settings.slots[2].actionCode, 6);
}

// Browsing hands the field to the picker: Cancel keeps it (cut to 259), Select puts the picked file's path.
TEST_F(ButtonPage, BrowseButtonsGoThroughThePicker)
{
    WritePhoneFile(L"\\Windows\\Fonts\\tahoma.png", "x");
    Start(Section(2, "12", "\\Windows\\run.exe", "", "", "\\Windows\\Fonts\\tahoma.png"), 12, L"");
    std::wstring longPath(300, L'q');
    std::wstring programAfter, iconAfter, extensionSeen;
    QueueStep([&](HWND hDlg) {
        SetWindowTextW(g_editor.buttonPage.programField, longPath.c_str());
        PressButton(g_editor.buttonPage.programBrowse);
    });
    QueueStep([&](HWND picker) {
        extensionSeen = g_editor.handOver.pickerExtension;
        SendCommand(picker, IDM_CANCEL);
    });
    QueueStep([&](HWND) { PressButton(g_editor.buttonPage.iconBrowse); });
    QueueStep([&](HWND picker) {
        HWND list = g_editor.picker.fileList;
        TreeView_SelectItem(list, TreeView_GetRoot(list));
        SendCommand(picker, IDM_SELECT);
    });
    QueueStep([&](HWND hDlg) {
        programAfter = WindowText(g_editor.buttonPage.programField);
        iconAfter = WindowText(g_editor.buttonPage.iconField);
        SendCommand(hDlg, IDM_CANCEL);
    });
    ASSERT_TRUE(RunEditorDialog(ButtonPageDialog));
    EXPECT_EQ(extensionSeen, L"exe");
    EXPECT_EQ(programAfter, std::wstring(259, L'q'));
    EXPECT_EQ(iconAfter, L"\\Windows\\Fonts\\tahoma.png");
}

} // namespace
