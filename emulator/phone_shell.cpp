// The emulated phone's shell: the Today screen behind everything and the task bar across the top ("HHTaskBar").
// Started once when the phone boots; the phone's other services hang off this process.
#include <windows.h>

#include "phone_link.h"
#include "phone_services.h"

namespace {

const wchar_t kTodayClass[] = L"DesktopExplorerWindow";
const wchar_t kTaskBarClass[] = L"HHTaskBar";

// The window that last hid the task bar; when it is gone, the task bar comes back, as on the phone.
HWND s_hwndHider;

// Shows or hides the task bar without activating anything: hiding must not bring another window forward.
void SetTaskBarVisible(HWND hwnd, bool visible, HWND hwndRequester)
{
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, flags | (visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    s_hwndHider = visible ? NULL : hwndRequester;
    WritePhoneState(L"TaskbarVisible", visible ? 1 : 0);
}

void OnTaskBarTimer(HWND hwnd)
{
    if (s_hwndHider && !IsWindow(s_hwndHider))
        SetTaskBarVisible(hwnd, true, NULL);
    SYSTEMTIME now;
    GetLocalTime(&now);
    static WORD s_minute = 0xFFFF;
    if (now.wMinute != s_minute) {
        s_minute = now.wMinute;
        InvalidateRect(hwnd, NULL, FALSE);
    }
}

void PaintTaskBar(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    HBRUSH bar = CreateSolidBrush(RGB(24, 28, 36));
    FillRect(hdc, &rc, bar);
    DeleteObject(bar);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(235, 235, 235));
    HFONT font = CreateFontW(-24, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma");
    HGDIOBJ oldFont = SelectObject(hdc, font);
    RECT left = {12, 0, 200, rc.bottom};
    DrawTextW(hdc, L"Start", -1, &left, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t clock[16];
    wsprintfW(clock, L"%02d:%02d", now.wHour, now.wMinute);
    RECT right = {rc.right - 160, 0, rc.right - 12, rc.bottom};
    DrawTextW(hdc, clock, -1, &right, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    SelectObject(hdc, oldFont);
    DeleteObject(font);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK TaskBarProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_PAINT:
        PaintTaskBar(hwnd);
        return 0;
    case WM_TIMER:
        OnTaskBarTimer(hwnd);
        return 0;
    case PHONE_MSG_TASKBAR_SHOW:
        SetTaskBarVisible(hwnd, wParam != 0, (HWND)lParam);
        return 0;
    case PHONE_MSG_SET_VIBRATE:
        return SetVibrateMode((DWORD)wParam);
    }
    return DefWindowProcW(hwnd, uMsg, wParam, lParam);
}

void PaintToday(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    // A plain vertical gradient, drawn in bands.
    for (int y = 0; y < rc.bottom; y += 8) {
        int shade = 40 + y * 60 / (rc.bottom ? rc.bottom : 1);
        HBRUSH band = CreateSolidBrush(RGB(shade / 3, shade / 2, shade));
        RECT r = {0, y, rc.right, y + 8};
        FillRect(hdc, &r, band);
        DeleteObject(band);
    }
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(220, 225, 235));
    HFONT font = CreateFontW(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma");
    HGDIOBJ oldFont = SelectObject(hdc, font);
    RECT title = {0, 120, rc.right, 200};
    DrawTextW(hdc, L"Today", -1, &title, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    SelectObject(hdc, oldFont);
    DeleteObject(font);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK TodayProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_PAINT:
        PaintToday(hwnd);
        return 0;
    case WM_CLOSE:
        return 0; // the Today screen stays for the life of the phone
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, uMsg, wParam, lParam);
}

ATOM RegisterShellClass(HINSTANCE hInstance, const wchar_t *name, WNDPROC proc)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.lpszClassName = name;
    return RegisterClassW(&wc);
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    RegisterShellClass(hInstance, kTodayClass, TodayProc);
    RegisterShellClass(hInstance, kTaskBarClass, TaskBarProc);
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HWND today = CreateWindowExW(WS_EX_TOOLWINDOW, kTodayClass, L"Desktop", WS_POPUP | WS_VISIBLE, 0, 0, width,
                                 height, NULL, NULL, hInstance, NULL);
    HWND taskBar = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kTaskBarClass, L"",
                                   WS_POPUP | WS_VISIBLE, 0, 0, width, PHONE_TASKBAR_HEIGHT, NULL, NULL, hInstance,
                                   NULL);
    if (!today || !taskBar)
        return 1;
    WritePhoneState(L"TaskbarVisible", 1);
    SetTimer(taskBar, 1, 250, NULL);
    StartPhoneServices(hInstance, today);

    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return (int)msg.wParam;
}
