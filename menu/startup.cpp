// Start-up and the main loop: the program-wide objects set up before WinMain, and the menu's run from the
// settings loader to the quit message.
#include <windows.h>
#include <aygshell.h>

#include "menu_state.h"
#include "menu_window.h"
#include "startup.h"
#include "../config/bounded_text.h"

MenuState g_menu;

namespace {

// The Bluetooth-visible message is registered before the documents are constructed.
struct BluetoothMessageRegistration {
    BluetoothMessageRegistration() { g_menu.btVisibleMessage = RegisterWindowMessageW(BT_VISIBLE_MESSAGE_NAME); }
} s_btMessageRegistration;

} // namespace

// Constructed in this order after the registration above, destroyed in the reverse order at exit.
IniDocument g_settingsDoc;
IniDocument g_skinDoc;
IniDocument g_langDoc;

namespace {

// The skin's wallpaper as a pattern brush, or the stock black brush when the picture cannot be loaded.
HBRUSH MakeBackgroundBrush()
{
    wchar_t path[PATH_CAPACITY];
    CopyText(path, g_menu.skinFolder);
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
    if (g_menu.timeout <= 0)
        return;
    // SetTimer cannot wait longer than USER_TIMER_MAXIMUM; a longer time-out waits that long.
    ULONGLONG milliseconds = (ULONGLONG)g_menu.timeout * 1000;
    if (milliseconds > USER_TIMER_MAXIMUM)
        milliseconds = USER_TIMER_MAXIMUM;
    g_menu.autoCloseTimerId = SetTimer(hwnd, AUTO_CLOSE_TIMER_ID, (UINT)milliseconds, NULL);
}

} // namespace

int RunMenu(HINSTANCE hInstance, int nCmdShow)
{
    LoadSettings();

    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MenuWindowProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = MENU_CLASS_NAME;
    wc.hbrBackground = MakeBackgroundBrush();
    RegisterClassW(&wc);

    g_menu.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    g_menu.screenHeight = GetSystemMetrics(SM_CYSCREEN);

    HWND hwnd = CreateWindowExW(0, MENU_CLASS_NAME, MENU_CLASS_NAME, WS_VISIBLE, 0, 0, g_menu.screenWidth,
                                g_menu.screenHeight, NULL, NULL, hInstance, NULL);
    // Without a menu window no quit message would ever come: end at once with a failure code.
    if (!hwnd)
        return START_FAILED_EXIT_CODE;

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
