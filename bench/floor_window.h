// The window both start floors show: a full-screen window of the given class and background, seven slot buttons
// and the two corner buttons at the menu's places; and the message loop that runs it until it is ended.
#pragma once
#include <windows.h>

struct FloorButtons {
    HWND slots[7];
    HWND exit, settings;
};

inline HWND CreateFloorWindow(HINSTANCE hInstance, const wchar_t *className, WNDPROC proc, HBRUSH background,
                              DWORD style, FloorButtons *buttons)
{
    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.hInstance = hInstance;
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    HWND hwnd =
        CreateWindowExW(0, className, className, WS_POPUP | WS_VISIBLE | style, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                        GetSystemMetrics(SM_CYSCREEN), NULL, NULL, hInstance, NULL);
    for (int slot = 0; slot < 7; slot++)
        buttons->slots[slot] = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_MULTILINE, 65,
                                               25 + 108 * slot, 350, 100, hwnd, NULL, hInstance, NULL);
    buttons->exit =
        CreateWindowExW(0, L"BUTTON", L"", WS_POPUP | WS_VISIBLE, 430, 10, 40, 40, hwnd, NULL, hInstance, NULL);
    buttons->settings =
        CreateWindowExW(0, L"BUTTON", L"", WS_POPUP | WS_VISIBLE, 10, 10, 40, 40, hwnd, NULL, hInstance, NULL);
    return hwnd;
}

inline int RunFloorWindow(HWND hwnd, int nCmdShow)
{
    ShowWindow(hwnd, nCmdShow);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
