// The settings hub: its tiles, the slot they hand over, the pages they open and the Settings button's entry.
#include <gtest/gtest.h>

#include "config/language_texts.h"
#include "editor/editor_state.h"
#include "editor/settings_hub.h"
#include "editor_driver.h"
#include "phone_drive.h"
#include "phone_link.h"
#include "resources/resource_ids.h"

namespace
{

class SettingsHub : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetPhoneDrive();
        ResetEditorWorld();
    }
};

TEST_F(SettingsHub, TilesStandInTwoColumnsAsChildrenOfTheHub)
{
    struct {
        int x, y;
        const wchar_t *caption;
    } expected[] = {{10, 10, L"Button 1"},  {10, 107, L"Button 2"},  {10, 204, L"Button 3"},  {10, 301, L"Button 4"},
                    {245, 10, L"Button 5"}, {245, 107, L"Button 6"}, {245, 204, L"Button 7"}, {245, 301, L"General"}};
    RECT rects[8] = {};
    std::wstring captions[8];
    LONG styles[8] = {};
    bool child[8] = {};
    QueueStep([&](HWND hDlg) {
        for (int i = 0; i < 8; i++) {
            HWND tile = i < 7 ? g_editor.hub.slotTiles[i] : g_editor.hub.generalTile;
            GetWindowRect(tile, &rects[i]);
            MapWindowPoints(NULL, hDlg, (POINT *)&rects[i], 2);
            captions[i] = WindowText(tile);
            styles[i] = GetWindowLongW(tile, GWL_STYLE);
            child[i] = tile && GetParent(tile) == hDlg && !GetWindow(tile, GW_OWNER);
        }
        SendCommand(hDlg, IDM_CANCEL);
    });
    ASSERT_TRUE(RunEditorDialog(SettingsHubDialog));
    for (int i = 0; i < 8; i++) {
        EXPECT_TRUE(child[i]) << "tile " << i << ", made without WS_CHILD, is a child of the hub, not an owned window";
        EXPECT_EQ(rects[i].left, expected[i].x) << "tile " << i;
        EXPECT_EQ(rects[i].top, expected[i].y) << "tile " << i;
        EXPECT_EQ(rects[i].right - rects[i].left, 225);
        EXPECT_EQ(rects[i].bottom - rects[i].top, 90);
        EXPECT_EQ(captions[i], expected[i].caption);
        EXPECT_EQ(styles[i] & (BS_TYPEMASK | BS_MULTILINE), BS_PUSHBUTTON) << "tile " << i;
        EXPECT_EQ(styles[i] & (BS_CENTER | BS_VCENTER), BS_CENTER | BS_VCENTER);
    }
}

// Pressing a slot tile hands its slot over by index and by section name.
TEST_F(SettingsHub, SlotTilesHandOverTheirSlot)
{
    struct {
        int x, y; // where the tile stands
        int slot;
        const wchar_t *section;
    } rows[] = {{10, 301, 3, L"3"}, {245, 10, 4, L"4"}, {10, 10, 0, L"0"}, {245, 204, 6, L"6"}};
    for (auto &row : rows) {
        int chosen = -1;
        std::wstring section;
        QueueStep([&](HWND hDlg) { PressButton(ChildWindowAt(hDlg, row.x, row.y)); });
        QueueStep([&](HWND hDlg) {
            chosen = g_editor.handOver.chosenSlot;
            section = g_editor.handOver.slotSectionName;
            SendCommand(hDlg, IDM_CANCEL); // the button page, or the hub when no page opened
        });
        QueueStep([&](HWND hDlg) { SendCommand(hDlg, IDM_CANCEL); });
        RunEditorDialog(SettingsHubDialog);
        EXPECT_EQ(chosen, row.slot);
        EXPECT_EQ(section, row.section);
    }
}

TEST_F(SettingsHub, GeneralTileOpensTheGeneralPageOverTheHub)
{
    HWND hub = NULL, page = NULL, pageOwner = NULL;
    QueueStep([&](HWND hDlg) {
        hub = hDlg;
        PressButton(g_editor.hub.generalTile);
    });
    QueueStep([&](HWND hDlg) {
        page = hDlg;
        pageOwner = GetWindow(hDlg, GW_OWNER);
        SendCommand(hDlg, IDM_CANCEL);
    });
    bool hubStillOpen = false;
    QueueStep([&](HWND hDlg) {
        hubStillOpen = hDlg == hub;
        SendCommand(hDlg, IDM_CANCEL);
    });
    ASSERT_TRUE(RunEditorDialog(SettingsHubDialog));
    EXPECT_NE(page, hub);
    EXPECT_EQ(pageOwner, hub);
    EXPECT_TRUE(hubStillOpen);
    EXPECT_EQ(g_editor.handOver.chosenSlot, -1) << "General is no slot";
}

// A task bar that records what SHFullScreen asked of it.
int s_taskBarShown = -1;
LRESULT CALLBACK FakeTaskBarProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == PHONE_MSG_TASKBAR_SHOW)
        s_taskBarShown = (int)wParam;
    return DefWindowProcW(hwnd, uMsg, wParam, lParam);
}

// The Settings button's entry shows the task bar, runs the hub and posts the quit with 0 however it closed.
TEST_F(SettingsHub, SettingsEntryShowsTaskBarRunsHubAndQuits)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = FakeTaskBarProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = L"HHTaskBar";
    RegisterClassW(&wc);
    HWND taskBar = CreateWindowExW(0, L"HHTaskBar", L"", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    HWND menu = CreateWindowExW(0, L"STATIC", L"menu", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    for (WORD closer : {(WORD)IDOK, (WORD)IDM_CANCEL}) {
        s_taskBarShown = -1;
        int shownWhileOpen = -1;
        HWND hubOwner = NULL;
        QueueStep([&](HWND hDlg) {
            shownWhileOpen = s_taskBarShown;
            hubOwner = GetWindow(hDlg, GW_OWNER);
            SendCommand(hDlg, closer);
        });
        ASSERT_TRUE(RunDialogSteps([&]() { RunSettingsEditor(menu, GetModuleHandleW(NULL)); }));
        EXPECT_EQ(shownWhileOpen, 1);
        EXPECT_EQ(hubOwner, menu);
        MSG msg = {};
        ASSERT_TRUE(PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(msg.wParam, 0u);
    }
    DestroyWindow(menu);
    DestroyWindow(taskBar);
    UnregisterClassW(L"HHTaskBar", GetModuleHandleW(NULL));
}

} // namespace
