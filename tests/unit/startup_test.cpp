// Start-up: the menu window, its background, the auto-close timer and the main loop's end.
#include <gtest/gtest.h>

#include <string>

#include "config/settings_store.h"
#include "import_patch.h"
#include "menu/menu_state.h"
#include "menu/startup.h"
#include "phone_drive.h"
#include "test_pictures.h"

namespace
{

// What a run saw just before its loop ended.
struct RunRecord {
    UINT_PTR timerIdDuringLoop;
    HBRUSH background;
    RECT windowRect;
    LONG style;
    bool visible;
};
RunRecord s_record;

void RecordMenuWindow()
{
    HWND hwnd = FindWindowW(kMenuClassName, kMenuClassName);
    s_record.timerIdDuringLoop = g_menu.autoCloseTimerId;
    s_record.background = hwnd ? (HBRUSH)GetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND) : NULL;
    if (hwnd)
        GetWindowRect(hwnd, &s_record.windowRect);
    s_record.style = hwnd ? GetWindowLongW(hwnd, GWL_STYLE) : 0;
    s_record.visible = hwnd && IsWindowVisible(hwnd);
}

// A thread timer that records the menu and ends the loop with code 7, for runs without an auto-close.
void CALLBACK EndLoopTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(NULL, id);
    RecordMenuWindow();
    PostQuitMessage(7);
}

class StartUp : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetPhoneDrive();
        g_settingsDoc.Reset();
        g_skinDoc.Reset();
        g_langDoc.Reset();
        UINT btMessage = g_menu.btVisibleMessage;
        g_menu = MenuState();
        g_settings = ProgramSettings();
        g_menu.btVisibleMessage = btMessage;
        s_record = RunRecord();
    }
    void TearDown() override
    {
        HWND hwnd = FindWindowW(kMenuClassName, NULL);
        if (hwnd)
            DestroyWindow(hwnd);
        UnregisterClassW(kMenuClassName, GetModuleHandleW(NULL));
        MSG msg; // the quit posted by the destruction
        // Dispatched, not just removed: a window that needs painting keeps its WM_PAINT until it is painted.
        for (int i = 0; i < 1000 && PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE); i++)
            DispatchMessageW(&msg);
    }
    int RunWithSettings(const char *settings)
    {
        if (settings)
            WritePhoneFile(kSettingsPath, settings);
        return RunMenu(GetModuleHandleW(NULL), SW_SHOWNORMAL, nullptr);
    }
};

TEST_F(StartUp, BluetoothMessageIsRegisteredBeforeWinMain)
{
    EXPECT_EQ(RegisterWindowMessageW(L"WIDCOMM_WM_VISIBLE1"), g_menu.btVisibleMessage);
    EXPECT_GE(g_menu.btVisibleMessage, 0xC000u);
}

TEST_F(StartUp, AutoCloseTickEndsTheLoopWithZero)
{
    DWORD start = GetTickCount();
    EXPECT_EQ(0, RunWithSettings("[Settings]\r\nTimeout = 1\r\n"));
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 900u);
    EXPECT_LT(elapsed, 5000u);
    EXPECT_EQ((UINT_PTR)kAutoCloseTimerId, g_menu.autoCloseTimerId);
    EXPECT_NE(nullptr, FindWindowW(kMenuClassName, kMenuClassName)) << "the tick does not destroy the window";
}

TEST_F(StartUp, NoTimerForZeroOrNegativeTimeout)
{
    for (const char *settings : {"[Settings]\r\nTimeout = 0\r\n", "[Settings]\r\nTimeout = -5\r\n"}) {
        SetUp();
        SetTimer(NULL, 0, 1500, EndLoopTimer);
        EXPECT_EQ(7, RunWithSettings(settings)) << settings;
        EXPECT_EQ(0u, s_record.timerIdDuringLoop) << settings;
        TearDown();
    }
}

// The elapse the menu asked SetTimer for its auto-close timer; the timer itself is set as asked.
UINT s_autoCloseElapse;
typedef UINT_PTR(WINAPI *SetTimerCall)(HWND, UINT_PTR, UINT, TIMERPROC);
SetTimerCall s_realSetTimer;
UINT_PTR WINAPI CatchSetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    if (hwnd && id == (UINT_PTR)kAutoCloseTimerId)
        s_autoCloseElapse = elapse;
    return s_realSetTimer(hwnd, id, elapse, proc);
}

TEST_F(StartUp, HugeTimeoutStillArmsTheTimer)
{
    // Time-outs whose milliseconds pass USER_TIMER_MAXIMUM (or even 32 bits) wait that maximum instead.
    const struct {
        const char *timeout;
        UINT elapse;
    } cases[] = {
        {"2147483", 2147483000u},
        {"2147484", USER_TIMER_MAXIMUM},
        {"4294968", USER_TIMER_MAXIMUM},
        {"2147483647", USER_TIMER_MAXIMUM},
    };
    s_realSetTimer = (SetTimerCall)PatchImport("coredll.dll", "SetTimer", (void *)CatchSetTimer);
    ASSERT_NE(nullptr, s_realSetTimer);
    for (const auto &c : cases) {
        SetUp();
        s_autoCloseElapse = 0;
        SetTimer(NULL, 0, 300, EndLoopTimer);
        std::string settings = std::string("[Settings]\r\nTimeout = ") + c.timeout + "\r\n";
        EXPECT_EQ(7, RunWithSettings(settings.c_str())) << c.timeout;
        EXPECT_EQ((UINT_PTR)kAutoCloseTimerId, s_record.timerIdDuringLoop) << c.timeout;
        EXPECT_EQ(c.elapse, s_autoCloseElapse) << c.timeout;
        TearDown();
    }
    PatchImport("coredll.dll", "SetTimer", (void *)s_realSetTimer);
}

TEST_F(StartUp, WindowCoversTheScreenWithBlackWithoutWallpaper)
{
    SetTimer(NULL, 0, 300, EndLoopTimer);
    EXPECT_EQ(7, RunWithSettings(nullptr));
    EXPECT_EQ(GetStockObject(BLACK_BRUSH), s_record.background);
    EXPECT_EQ(0, s_record.windowRect.left);
    EXPECT_EQ(0, s_record.windowRect.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), s_record.windowRect.right);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), s_record.windowRect.bottom);
    EXPECT_TRUE(s_record.visible);
    EXPECT_EQ(0, s_record.style & WS_CAPTION) << "the phone's menu window has no caption";
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), g_menu.screenWidth);
    EXPECT_EQ(GetModuleHandleW(NULL), g_menu.hInstance);
}

TEST_F(StartUp, WallpaperBecomesAPatternBrush)
{
    ASSERT_TRUE(
        WriteTestPng(L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Default\\Wallpaper.png", 8, 4, RGB(32, 64, 128)));
    SetTimer(NULL, 0, 300, EndLoopTimer);
    EXPECT_EQ(7, RunWithSettings(nullptr));
    ASSERT_NE(nullptr, s_record.background);
    EXPECT_NE(GetStockObject(BLACK_BRUSH), s_record.background);
    LOGBRUSH lb = {};
    ASSERT_NE(0, GetObjectW(s_record.background, sizeof lb, &lb));
    EXPECT_TRUE(lb.lbStyle == BS_PATTERN || lb.lbStyle == BS_DIBPATTERN) << lb.lbStyle;
}

TEST_F(StartUp, BrokenWallpaperGivesBlack)
{
    WritePhoneFile(L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Default\\Wallpaper.png", "\x89PNG\r\n\x1a\n truncated");
    SetTimer(NULL, 0, 300, EndLoopTimer);
    EXPECT_EQ(7, RunWithSettings(nullptr));
    EXPECT_EQ(GetStockObject(BLACK_BRUSH), s_record.background);
}

HWND WINAPI NoWindow(DWORD, LPCWSTR, LPCWSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID)
{
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return NULL;
}

TEST_F(StartUp, NoMenuWindowEndsAtOnceWithOne)
{
    void *real = PatchImport("coredll.dll", "CreateWindowExW", (void *)NoWindow);
    ASSERT_NE(nullptr, real);
    UINT_PTR guard = SetTimer(NULL, 0, 3000, EndLoopTimer); // ends a loop that should not run
    DWORD start = GetTickCount();
    int code = RunWithSettings("[Settings]\r\nTimeout = 0\r\n");
    PatchImport("coredll.dll", "CreateWindowExW", real);
    KillTimer(NULL, guard);
    EXPECT_EQ(kStartFailedExitCode, code);
    EXPECT_LT(GetTickCount() - start, 2000u) << "no message loop without a window";
}

} // namespace
