// The start-up floor: the least a program can do to show what the menu shows at start, a full-screen window
// with nine plain buttons, painted once. Runs until it is ended from outside.
#include <windows.h>

namespace {

LRESULT CALLBACK FloorWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int nCmdShow)
{
    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = FloorWindowProc;
    wc.hInstance = hInstance;
    wc.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    wc.lpszClassName = L"FloorMenu";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, L"FloorMenu", L"FloorMenu", WS_POPUP | WS_VISIBLE, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), NULL, NULL, hInstance,
                                NULL);
    for (int slot = 0; slot < 7; slot++)
        CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_MULTILINE, 65, 25 + 108 * slot, 350, 100, hwnd,
                        NULL, hInstance, NULL);
    CreateWindowExW(0, L"BUTTON", L"", WS_POPUP | WS_VISIBLE, 430, 10, 40, 40, hwnd, NULL, hInstance, NULL);
    CreateWindowExW(0, L"BUTTON", L"", WS_POPUP | WS_VISIBLE, 10, 10, 40, 40, hwnd, NULL, hInstance, NULL);
    ShowWindow(hwnd, nCmdShow);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
