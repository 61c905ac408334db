// Manila.exe of the emulated phone: a stand-in for the Manila shell. It registers its Today item, keeps a
// hidden window, and ends when the Today items are reloaded (WM_WININICHANGE 0xF2) while its item is disabled.
#include <windows.h>

#include "phone_link.h"
#include "phone_state.h"

namespace
{

// The wParam of the broadcast that makes the Today screen reload its items.
const WPARAM kTodayItemsChanged = 0xF2;

void OnSettingChange(HWND hwnd, WPARAM wParam)
{
    if (wParam == kTodayItemsChanged && ReadMachineDword(TODAY_ITEM_KEY, TODAY_ITEM_VALUE, 1) == 0)
        DestroyWindow(hwnd);
}

LRESULT CALLBACK ManilaProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_WININICHANGE:
        OnSettingChange(hwnd, wParam);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, uMsg, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    RecordLaunch();
    // One Manila at a time: a second start leaves the running one in place.
    HANDLE single = CreateMutexW(NULL, FALSE, L"EmulatedPhoneManila");
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        return 0;
    WriteMachineDword(TODAY_ITEM_KEY, TODAY_ITEM_VALUE, 1);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ManilaProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = PHONE_MANILA_CLASS;
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, PHONE_MANILA_CLASS, L"Manila", WS_POPUP, 0, 0, 0, 0, NULL, NULL,
                                hInstance, NULL);
    if (!hwnd)
        return 1;
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    CloseHandle(single);
    return 0;
}
