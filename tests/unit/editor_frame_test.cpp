// The editor dialog frame: the resources, the shell's full-screen dialog with its ok, and the soft-key bar.
#include <gtest/gtest.h>

#include <windows.h>

#include <aygshell.h>
#include <commctrl.h>

#include "config/bounded_text.h"
#include "config/language_texts.h"
#include "editor/button_page.h"
#include "editor/editor_frame.h"
#include "editor/editor_state.h"
#include "editor/general_page.h"
#include "editor/settings_hub.h"
#include "editor_driver.h"
#include "import_patch.h"
#include "phone_drive.h"
#include "phone_link.h"
#include "resources/resource_ids.h"

namespace
{

class EditorFrame : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetPhoneDrive();
        ResetEditorWorld();
    }
};

// The empty template, read from the program's resources as the platform's dialog manager reads it.
TEST_F(EditorFrame, TemplateIsTheEmptyFullScreenDialog)
{
    HRSRC resource = FindResourceExW(NULL, RT_DIALOG, MAKEINTRESOURCEW(IDD_EDITOR_DIALOG),
                                     MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_NE(resource, (HRSRC)NULL);
    const BYTE *data = (const BYTE *)LoadResource(NULL, resource);
    const DLGTEMPLATE *dlg = (const DLGTEMPLATE *)data;
    EXPECT_EQ(dlg->style, 0x80C80048u);
    EXPECT_EQ(dlg->dwExtendedStyle, 0u);
    EXPECT_EQ(dlg->cdit, 0);
    EXPECT_EQ(dlg->x, 0);
    EXPECT_EQ(dlg->y, 0);
    EXPECT_EQ(dlg->cx, 156);
    EXPECT_EQ(dlg->cy, 177);
    const WCHAR *p = (const WCHAR *)(data + sizeof(DLGTEMPLATE));
    EXPECT_EQ(p[0], 0) << "no menu";
    EXPECT_EQ(p[1], 0) << "the default dialog class";
    EXPECT_STREQ(p + 2, L"Dialog");
    const WCHAR *font = p + 2 + wcslen(L"Dialog") + 1;
    EXPECT_EQ(font[0], 8);
    EXPECT_STREQ(font + 1, L"MS Shell Dlg");
}

TEST_F(EditorFrame, SoftKeyMenusHoldTheirTwoCommandsInLanguage1049)
{
    struct {
        UINT menu;
        UINT left, right;
        const wchar_t *leftText, *rightText;
    } rows[] = {{IDR_MENU_SAVE_CANCEL, 106, 107, L"Save", L"Cancel"},
                {IDR_MENU_SELECT_CANCEL, 108, 107, L"Select", L"Cancel"}};
    for (auto &row : rows) {
        EXPECT_NE(FindResourceExW(NULL, RT_MENU, MAKEINTRESOURCEW(row.menu), 1049), (HRSRC)NULL) << row.menu;
        HMENU menu = LoadMenuW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(row.menu));
        ASSERT_NE(menu, (HMENU)NULL);
        ASSERT_EQ(GetMenuItemCount(menu), 2);
        EXPECT_EQ(GetMenuItemID(menu, 0), row.left);
        EXPECT_EQ(GetMenuItemID(menu, 1), row.right);
        wchar_t text[32];
        GetMenuStringW(menu, 0, text, 32, MF_BYPOSITION);
        EXPECT_STREQ(text, row.leftText);
        GetMenuStringW(menu, 1, text, 32, MF_BYPOSITION);
        EXPECT_STREQ(text, row.rightText);
        DestroyMenu(menu);
    }
}

// The dialog fills the screen between the task bar and the soft-key bar, without a caption of its own; the
// ok sits at the top right of the screen and the soft keys along the bottom.
TEST_F(EditorFrame, DialogSharesTheScreenWithTaskBarOkAndSoftKeys)
{
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    RECT dialog = {}, ok = {}, bar = {};
    LONG style = 0;
    QueueStep([&](HWND hDlg) {
        GetWindowRect(hDlg, &dialog);
        style = GetWindowLongW(hDlg, GWL_STYLE);
        HWND holder = FindOwnedWindow(hDlg, L"PhoneDoneButton", 0);
        GetWindowRect(holder, &ok);
        GetWindowRect(GetParent(g_editor.hub.softKeyBar), &bar);
        SendCommand(hDlg, IDM_CANCEL);
    });
    ASSERT_TRUE(RunEditorDialog(SettingsHubDialog));
    EXPECT_EQ(dialog.left, 0);
    EXPECT_EQ(dialog.top, PHONE_TASKBAR_HEIGHT);
    EXPECT_EQ(dialog.right, width);
    EXPECT_EQ(dialog.bottom, height - PHONE_MENUBAR_HEIGHT);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_EQ(ok.right, width);
    EXPECT_EQ(ok.top, 0);
    EXPECT_EQ(ok.bottom, PHONE_TASKBAR_HEIGHT);
    EXPECT_EQ(bar.left, 0);
    EXPECT_EQ(bar.right, width);
    EXPECT_EQ(bar.top, height - PHONE_MENUBAR_HEIGHT);
    EXPECT_EQ(bar.bottom, height);
}

// The phone's dialogs ignore the template's DS_SETFONT, so the dialog keeps no font of its own and every control the
// program gives no font draws with the phone's system font: Tahoma, 14 pixels high at 96 dots per inch.
TEST_F(EditorFrame, ControlsDrawWithThePhoneSystemFontWhateverTheTemplateSays)
{
    LONG style = 0;
    HFONT dialogFont = NULL, tileFont = NULL;
    LOGFONTW lf = {};
    QueueStep([&](HWND hDlg) {
        style = GetWindowLongW(hDlg, GWL_STYLE);
        dialogFont = (HFONT)SendMessageW(hDlg, WM_GETFONT, 0, 0);
        tileFont = (HFONT)SendMessageW(g_editor.hub.generalTile, WM_GETFONT, 0, 0);
        GetObjectW(tileFont, sizeof lf, &lf);
        SendCommand(hDlg, IDM_CANCEL);
    });
    ASSERT_TRUE(RunEditorDialog(SettingsHubDialog));
    EXPECT_EQ(style & (DS_SETFONT | DS_FIXEDSYS), 0);
    EXPECT_TRUE(!dialogFont || dialogFont == tileFont) << "the dialog took no font from its template";
    EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
    HDC screen = GetDC(NULL);
    EXPECT_EQ(lf.lfHeight, MulDiv(14, GetDeviceCaps(screen, LOGPIXELSY), 96));
    ReleaseDC(NULL, screen);
}

// Tapping the title-bar ok and the soft keys reaches the dialog as commands 1, 106 and 107.
TEST_F(EditorFrame, OkAndSoftKeysSendTheirCommands)
{
    struct Tap {
        const char *what;
        std::function<void(HWND)> tap;
        bool closes;
    } taps[] = {
        {"title-bar ok",
         [](HWND hDlg) { PressButton(GetWindow(FindOwnedWindow(hDlg, L"PhoneDoneButton", 0), GW_CHILD)); }, true},
        {"right soft key", [](HWND) { TapSoftKey(g_editor.hub.softKeyBar, 1); }, true},
        {"left soft key (empty)", [](HWND) { TapSoftKey(g_editor.hub.softKeyBar, 0); }, false},
    };
    for (auto &t : taps) {
        bool stillOpen = false;
        QueueStep(t.tap);
        QueueStep([&](HWND hDlg) {
            stillOpen = true;
            EndDialog(hDlg, 2);
        });
        RunEditorDialog(SettingsHubDialog);
        EXPECT_EQ(!stillOpen, t.closes) << t.what;
    }
}

TEST_F(EditorFrame, SoftKeyCaptionsComeFromTheLanguageTextsCutAt15)
{
    struct {
        const wchar_t *keySave;
        const wchar_t *shown;
    } rows[] = {{L"Save", L"Save"},
                {L"ABCDEFGHIJKLMNO", L"ABCDEFGHIJKLMNO"},      // 15 characters: whole
                {L"ABCDEFGHIJKLMNOPQRS", L"ABCDEFGHIJKLMNO"}}; // 19: cut to the caption buffer
    for (auto &row : rows) {
        wcscpy(g_lang.keySave, row.keySave);
        std::wstring left, right;
        QueueStep([&](HWND hDlg) {
            left = SoftKeyCaption(g_editor.general.softKeyBar, 0);
            right = SoftKeyCaption(g_editor.general.softKeyBar, 1);
            SendCommand(hDlg, IDM_CANCEL);
        });
        ASSERT_TRUE(RunEditorDialog(GeneralPageDialog));
        EXPECT_EQ(left, row.shown);
        EXPECT_EQ(right, L"Cancel");
    }
}

TEST_F(EditorFrame, HubKeysAreBlankAndExitWithoutLangIni)
{
    std::wstring left = L"?", right;
    QueueStep([&](HWND hDlg) {
        left = SoftKeyCaption(g_editor.hub.softKeyBar, 0);
        right = SoftKeyCaption(g_editor.hub.softKeyBar, 1);
        SendCommand(hDlg, IDM_CANCEL);
    });
    ASSERT_TRUE(RunEditorDialog(SettingsHubDialog));
    EXPECT_EQ(left, L"");
    EXPECT_EQ(right, L"Exit");
}

// A window handle that is no dialog cannot be set up: nothing is built.
TEST_F(EditorFrame, InitDialogFailsWithoutADialog)
{
    SHINITDLGINFO shidi = {SHIDIM_FLAGS, NULL, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN};
    EXPECT_FALSE(SHInitDialog(&shidi));
    shidi.hDlg = GetDesktopWindow();
    shidi.dwMask = 0;
    EXPECT_FALSE(SHInitDialog(&shidi));
    EXPECT_EQ(SetUpEditorDialog(NULL, IDR_MENU_SAVE_CANCEL, L"a", L"b"), (HWND)NULL);
}

// A page whose set-up failed (the shell refused SHInitDialog) writes nothing on Save or ok, even after an
// earlier page left its handles behind.
struct FailedSetUpCase {
    const char *name;
    DLGPROC page;
    WORD command;
};

class FailedSetUp : public testing::TestWithParam<FailedSetUpCase>
{
protected:
    void SetUp() override
    {
        ResetPhoneDrive();
        ResetEditorWorld();
    }
};

BOOL WINAPI RefusingSHInitDialog(PSHINITDLGINFO)
{
    return FALSE;
}

TEST_P(FailedSetUp, PageWritesNothing)
{
    const std::string settings = "[Settings]\r\nSkinName = Graphite\r\nTimeout = 17\r\n\r\n\r\n[2]\r\nUseButton = 6\r\n"
                                 "Path = \\Windows\\x.exe\r\nArg = -a\r\nText = Net\r\nIcon = \\i.png\r\n";
    WritePhoneFile(L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Graphite\\Skin.ini", "[Settings]\r\n");
    WritePhoneFile(kSettingsPath, settings);
    LoadSettings();
    g_editor.hInstance = GetModuleHandleW(NULL);
    g_settings.slots[2].actionCode = 6;
    CopyText(g_settings.slots[2].text, L"Net");
    g_editor.handOver.chosenSlot = 2;
    SlotSectionName(g_editor.handOver.slotSectionName, 2);

    // A page opened and cancelled first leaves the handles of its destroyed windows in the editor state.
    QueueStep([](HWND hDlg) { SendCommand(hDlg, IDM_CANCEL); });
    ASSERT_TRUE(RunEditorDialog(GetParam().page));

    void *realSHInitDialog = PatchImport("aygshell.dll", "SHInitDialog", (void *)RefusingSHInitDialog);
    ASSERT_TRUE(realSHInitDialog);
    bool handlesCleared = false;
    QueueStep([&](HWND hDlg) {
        handlesCleared = !g_editor.general.skinTree && !g_editor.general.timeoutSpinner &&
                         !g_editor.buttonPage.actionBox && !g_editor.buttonPage.textField;
        SendCommand(hDlg, GetParam().command);
    });
    bool ended = RunEditorDialog(GetParam().page);
    PatchImport("aygshell.dll", "SHInitDialog", realSHInitDialog);

    EXPECT_TRUE(ended) << "Save and ok still close the page";
    EXPECT_TRUE(handlesCleared) << "the failed set-up leaves no handles of the earlier page";
    EXPECT_EQ(settings, ReadPhoneFile(kSettingsPath));
    EXPECT_STREQ(L"Graphite", g_settings.skinName);
    EXPECT_EQ(6, g_settings.slots[2].actionCode);
    EXPECT_STREQ(L"Net", g_settings.slots[2].text);
}

INSTANTIATE_TEST_SUITE_P(Pages, FailedSetUp,
                         testing::Values(FailedSetUpCase{"GeneralSave", GeneralPageDialog, IDM_SAVE},
                                         FailedSetUpCase{"GeneralOk", GeneralPageDialog, IDOK},
                                         FailedSetUpCase{"ButtonSave", ButtonPageDialog, IDM_SAVE},
                                         FailedSetUpCase{"ButtonOk", ButtonPageDialog, IDOK}),
                         [](const testing::TestParamInfo<FailedSetUpCase> &info) { return info.param.name; });

} // namespace
