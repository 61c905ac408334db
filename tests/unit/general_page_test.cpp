// The General page: skin list, inverted time-out spinner, Save's bytes and order, Cancel.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "config/settings_store.h"
#include "editor/editor_state.h"
#include "editor/general_page.h"
#include "editor_driver.h"
#include "phone_drive.h"
#include "resources/resource_ids.h"

namespace
{

std::string SettingsIni(const char *skin, const char *timeout, const char *extra = "")
{
    std::string s = std::string("[Settings]\r\nSkinName = ") + skin + "\r\nTimeout = " + timeout + "\r\n" + extra;
    for (int slot = 0; slot < 7; slot++)
        s += "\r\n\r\n[" + std::to_string(slot) + "]\r\nUseButton = 13\r\nPath = \r\nArg = \r\nText = \r\nIcon = \r\n";
    return s;
}

std::wstring SelectedSkin()
{
    HWND tree = g_editor.general.skinTree;
    HTREEITEM item = (HTREEITEM)SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    wchar_t text[64] = L"";
    TVITEMW tvi = {};
    tvi.mask = TVIF_TEXT;
    tvi.hItem = item;
    tvi.pszText = text;
    tvi.cchTextMax = 64;
    if (item)
        SendMessageW(tree, TVM_GETITEMW, 0, (LPARAM)&tvi);
    return text;
}

HTREEITEM SkinItem(const wchar_t *name)
{
    HWND tree = g_editor.general.skinTree;
    for (HTREEITEM item = TreeView_GetRoot(tree); item; item = TreeView_GetNextSibling(tree, item)) {
        wchar_t text[64] = L"";
        TVITEMW tvi = {TVIF_TEXT, item};
        tvi.pszText = text;
        tvi.cchTextMax = 64;
        SendMessageW(tree, TVM_GETITEMW, 0, (LPARAM)&tvi);
        if (wcscmp(text, name) == 0)
            return item;
    }
    return NULL;
}

// Clicks one half of the spinner: up is the top half.
void ClickSpinner(bool up)
{
    HWND spinner = g_editor.general.timeoutSpinner;
    RECT rc;
    GetClientRect(spinner, &rc);
    LPARAM point = MAKELPARAM(rc.right / 2, up ? rc.bottom / 4 : rc.bottom * 3 / 4);
    SendMessageW(spinner, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(spinner, WM_LBUTTONUP, 0, point);
}

class GeneralPage : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetPhoneDrive();
        ResetEditorWorld();
        for (const wchar_t *skin : {L"Default", L"Graphite", L"Ocean"}) {
            std::wstring path = std::wstring(kSkinsRoot) + skin + L"\\Skin.ini";
            WritePhoneFile(path.c_str(), "[Settings]\r\n");
        }
    }
    // Starts the program's way: Settings.ini loaded into the document, the current skin and time-out set.
    void Start(const std::string &settings)
    {
        WritePhoneFile(kSettingsPath, settings);
        LoadSettings();
        g_editor.hInstance = GetModuleHandleW(NULL);
    }
};

TEST_F(GeneralPage, OpensWithCurrentSkinAndTimeoutInItsControls)
{
    Start(SettingsIni("Graphite", "17"));
    std::wstring skin, field;
    LONG treeStyle = 0, fieldStyle = 0;
    bool fieldParent = false;
    RECT fieldRect = {};
    DWORD range = 0;
    QueueStep([&](HWND hDlg) {
        skin = SelectedSkin();
        field = WindowText(g_editor.general.timeoutField);
        treeStyle = GetWindowLongW(g_editor.general.skinTree, GWL_STYLE);
        fieldStyle = GetWindowLongW(g_editor.general.timeoutField, GWL_STYLE);
        fieldParent = GetParent(g_editor.general.timeoutField) == hDlg;
        GetWindowRect(g_editor.general.timeoutField, &fieldRect);
        MapWindowPoints(NULL, hDlg, (POINT *)&fieldRect, 2);
        range = (DWORD)SendMessageW(g_editor.general.timeoutSpinner, UDM_GETRANGE, 0, 0);
        SendCommand(hDlg, IDM_CANCEL);
    });
    ASSERT_TRUE(RunEditorDialog(GeneralPageDialog));
    EXPECT_EQ(skin, L"Graphite");
    EXPECT_EQ(field, L"17");
    EXPECT_EQ(treeStyle & 0x50800031, 0x50800031); // the tree shows its scroll bar only when needed
    EXPECT_TRUE(fieldParent) << "the field, made without WS_CHILD, is the page's child";
    EXPECT_EQ(fieldStyle & (ES_NUMBER | ES_RIGHT | ES_AUTOHSCROLL), ES_NUMBER | ES_RIGHT | ES_AUTOHSCROLL);
    EXPECT_EQ(fieldRect.left, 165);
    EXPECT_EQ(fieldRect.top, 340);
    EXPECT_EQ(LOWORD(range), 0) << "upper limit";
    EXPECT_EQ(HIWORD(range), 32767) << "lower limit";
}

TEST_F(GeneralPage, UpArrowLowersTheTimeoutAndDownArrowRaisesIt)
{
    Start(SettingsIni("Default", "5"));
    std::wstring afterUp, afterTwoDowns;
    QueueStep([&](HWND hDlg) {
        ClickSpinner(true);
        afterUp = WindowText(g_editor.general.timeoutField);
        ClickSpinner(false);
        ClickSpinner(false);
        afterTwoDowns = WindowText(g_editor.general.timeoutField);
        SendCommand(hDlg, IDM_SAVE);
    });
    ASSERT_TRUE(RunEditorDialog(GeneralPageDialog));
    EXPECT_EQ(afterUp, L"4");
    EXPECT_EQ(afterTwoDowns, L"6");
    EXPECT_EQ(ReadPhoneFile(kSettingsPath), SettingsIni("Default", "6"));
}

// Save writes the spinner's position: a typed value it cannot take leaves its last valid position.
TEST_F(GeneralPage, SaveWritesTheLastValidPosition)
{
    struct {
        const wchar_t *typed;
        const char *saved;
    } rows[] = {{L"120", "120"}, {L"32767", "32767"}, {L"40000", "9"}, {L"", "9"}, {L"0", "0"}};
    for (auto &row : rows) {
        Start(SettingsIni("Default", "9"));
        QueueStep([&](HWND hDlg) {
            SetWindowTextW(g_editor.general.timeoutField, row.typed);
            SendCommand(hDlg, IDM_SAVE);
        });
        ASSERT_TRUE(RunEditorDialog(GeneralPageDialog));
        EXPECT_EQ(ReadPhoneFile(kSettingsPath), SettingsIni("Default", row.saved))
            << "typed " << (row.typed[0] ? "a value" : "nothing");
    }
}

// Save and the title-bar ok write both keys in place, even unchanged, and keep a key added by hand.
TEST_F(GeneralPage, SaveRewritesBothKeysAndKeepsHandAddedKeys)
{
    for (WORD command : {(WORD)IDM_SAVE, (WORD)IDOK}) {
        Start(SettingsIni("Default", "5"));
        // Added while the program runs: only in the file, not in the document.
        WritePhoneFile(kSettingsPath, SettingsIni("Default", "5", "Extra = kept\r\n"));
        QueueStep([&](HWND hDlg) { SendCommand(hDlg, command); });
        ASSERT_TRUE(RunEditorDialog(GeneralPageDialog));
        EXPECT_EQ(ReadPhoneFile(kSettingsPath), SettingsIni("Default", "5", "Extra = kept\r\n")) << command;
    }
}

TEST_F(GeneralPage, CancelWritesNothing)
{
    std::string original = SettingsIni("Default", "5");
    Start(original);
    WritePhoneFile(kSettingsPath, "[Settings]\r\nSkinName=Default\r\n"); // not in the program's format
    QueueStep([&](HWND hDlg) {
        TreeView_SelectItem(g_editor.general.skinTree, SkinItem(L"Ocean"));
        SetWindowTextW(g_editor.general.timeoutField, L"30");
        SendCommand(hDlg, IDM_CANCEL);
    });
    ASSERT_TRUE(RunEditorDialog(GeneralPageDialog));
    EXPECT_EQ(ReadPhoneFile(kSettingsPath), "[Settings]\r\nSkinName=Default\r\n");
    EXPECT_STREQ(g_settings.skinName, L"Default");
}

// After Save the page opens on the saved skin but with the time-out read at start-up.
TEST_F(GeneralPage, ReopeningSelectsSavedSkinButShowsStartUpTimeout)
{
    Start(SettingsIni("Default", "5"));
    QueueStep([&](HWND hDlg) {
        TreeView_SelectItem(g_editor.general.skinTree, SkinItem(L"Ocean"));
        SetWindowTextW(g_editor.general.timeoutField, L"30");
        SendCommand(hDlg, IDM_SAVE);
    });
    ASSERT_TRUE(RunEditorDialog(GeneralPageDialog));
    EXPECT_EQ(ReadPhoneFile(kSettingsPath), SettingsIni("Ocean", "30"));
    std::wstring skin, field;
    QueueStep([&](HWND hDlg) {
        skin = SelectedSkin();
        field = WindowText(g_editor.general.timeoutField);
        SendCommand(hDlg, IDM_CANCEL);
    });
    ASSERT_TRUE(RunEditorDialog(GeneralPageDialog));
    EXPECT_EQ(skin, L"Ocean");
    EXPECT_EQ(field, L"5");
    EXPECT_EQ(g_settings.timeout, 5);
}

// No skin to select (no skin is installed): "SkinName" is written empty.
TEST_F(GeneralPage, NoSelectionSavesAnEmptySkinName)
{
    ResetPhoneDrive();
    Start(SettingsIni("Gone", "5"));
    QueueStep([&](HWND hDlg) { SendCommand(hDlg, IDM_SAVE); });
    ASSERT_TRUE(RunEditorDialog(GeneralPageDialog));
    EXPECT_EQ(ReadPhoneFile(kSettingsPath), SettingsIni("", "5"));
}

} // namespace
