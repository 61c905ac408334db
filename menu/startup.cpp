// Start-up and the main loop: the program-wide objects set up before WinMain, and the menu's run from the
// settings loader to the quit message.
#include <windows.h>

#include <aygshell.h>

#include "../config/bounded_text.h"
#include "menu_state.h"
#include "menu_window.h"
#include "startup.h"

MenuState g_menu;

namespace
{

// The Bluetooth-visible message is registered before WinMain runs.
struct BluetoothMessageRegistration {
    BluetoothMessageRegistration() { g_menu.btVisibleMessage = RegisterWindowMessageW(kBtVisibleMessageName); }
} s_btMessageRegistration;

// The skin's wallpaper as a pattern brush, or the stock black brush when the picture cannot be loaded.
HBRUSH MakeBackgroundBrush()
{
    wchar_t path[kPathCapacity];
    CopyText(path, g_settings.skinFolder);
    AppendText(path, L"Wallpaper.png");
    HBITMAP wallpaper = SHLoadImageFile(path);
    if (!wallpaper)
        return (HBRUSH)GetStockObject(BLACK_BRUSH);
    // The brush keeps its own copy of the pattern.
    HBRUSH brush = CreatePatternBrush(wallpaper);
    DeleteObject(wallpaper);
    return brush ? brush : (HBRUSH)GetStockObject(BLACK_BRUSH);
}

void ArmAutoCloseTimer(HWND hwnd)
{
    if (g_settings.timeout <= 0)
        return;
    // SetTimer cannot wait longer than USER_TIMER_MAXIMUM; a longer time-out waits that long.
    ULONGLONG milliseconds = (ULONGLONG)g_settings.timeout * 1000;
    if (milliseconds > USER_TIMER_MAXIMUM)
        milliseconds = USER_TIMER_MAXIMUM;
    g_menu.autoCloseTimerId = SetTimer(hwnd, kAutoCloseTimerId, (UINT)milliseconds, NULL);
}

} // namespace

int RunMenu(HINSTANCE hInstance, int nCmdShow, SettingsEditorEntry runSettingsEditor)
{
    g_menu.runSettingsEditor = runSettingsEditor;
    LoadSettings();

    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MenuWindowProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = kMenuClassName;
    wc.hbrBackground = MakeBackgroundBrush();
    RegisterClassW(&wc);

    g_menu.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    g_menu.screenHeight = GetSystemMetrics(SM_CYSCREEN);

    HWND hwnd = CreateWindowExW(0, kMenuClassName, kMenuClassName, WS_VISIBLE, 0, 0, g_menu.screenWidth,
                                g_menu.screenHeight, NULL, NULL, hInstance, NULL);
    // Without a menu window no quit message would ever come: end at once with a failure code.
    if (!hwnd)
        return kStartFailedExitCode;

    SHFullScreen(hwnd, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON);
    ShowWindow(hwnd, nCmdShow);
    UpdateWindow(hwnd);
    g_menu.hInstance = hInstance;
    ArmAutoCloseTimer(hwnd);

    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return (int)msg.wParam;
}
