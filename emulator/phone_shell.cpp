// The emulated phone's shell: the Today screen behind everything and the task bar across the top ("HHTaskBar").
// Started once when the phone boots; the phone's other services hang off this process.
#include <windows.h>

#include "phone_link.h"
#include "phone_services.h"
#include "phone_state.h"

namespace
{

const wchar_t kTodayClass[] = L"DesktopExplorerWindow";
const wchar_t kTaskBarClass[] = L"HHTaskBar";

// What the task bar shows and who hid it, program-wide in the shell process.
struct TaskBarState {
    HWND hwndHider; // the window that last hid the task bar; when it is gone, the task bar comes back
    WORD minute;    // the minute the clock shows
    DWORD icons;    // the radio and vibrate states the icons show, one bit each
};
TaskBarState s_taskBar = {NULL, 0xFFFF, 0xFFFFFFFF};

// The task bar's status icons, left to right after the Start text: a label lit while its state is on.
struct StatusIcon {
    const wchar_t *label; // what the icon shows
    int x;                // its left edge
};
const StatusIcon kStatusIcons[] = {{L"BT", 110}, {L"WiFi", 160}, {L"Tel", 225}, {L"Air", 275}, {L"Vib", 325}};

DWORD ReadStatusIcons()
{
    DWORD icons = 0;
    for (int r = 0; r < RADIO_COUNT; r++)
        icons |= ReadRadio((Radio)r) ? 1u << r : 0;
    if (ReadUserDword(VIBRATE_KEY, VIBRATE_VALUE, 0))
        icons |= 1u << RADIO_COUNT;
    return icons;
}

// Shows or hides the task bar without activating anything: hiding must not bring another window forward.
void SetTaskBarVisible(HWND hwnd, bool visible, HWND hwndRequester)
{
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, flags | (visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    s_taskBar.hwndHider = visible ? NULL : hwndRequester;
    WriteStateDword(STATE_TASKBAR_VISIBLE, visible ? 1 : 0);
}

void OnTaskBarTimer(HWND hwnd)
{
    if (s_taskBar.hwndHider && !IsWindow(s_taskBar.hwndHider))
        SetTaskBarVisible(hwnd, true, NULL);
    // Reading the radios also lets a pending switch take effect when its time has come.
    DWORD icons = ReadStatusIcons();
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (now.wMinute != s_taskBar.minute || icons != s_taskBar.icons) {
        s_taskBar.minute = now.wMinute;
        s_taskBar.icons = icons;
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
    for (int i = 0; i < (int)ARRAYSIZE(kStatusIcons); i++) {
        bool on = (s_taskBar.icons >> i) & 1;
        SetTextColor(hdc, on ? RGB(120, 200, 255) : RGB(90, 96, 108));
        RECT icon = {kStatusIcons[i].x, 0, kStatusIcons[i].x + 60, rc.bottom};
        DrawTextW(hdc, kStatusIcons[i].label, -1, &icon, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    }
    SetTextColor(hdc, RGB(235, 235, 235));
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
    case WM_LBUTTONDOWN:
        RecordInput(L"tap", (short)LOWORD(lParam), (short)HIWORD(lParam), true);
        return 0;
    case WM_KEYDOWN:
        RecordInput(L"key", (int)wParam, 0, false);
        return 0;
    case WM_CHAR:
        RecordInput(L"char", (int)wParam, 0, false);
        return 0;
    case PHONE_MSG_SERVICES:
        UpdatePhoneServices();
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
    HWND today = CreateWindowExW(WS_EX_TOOLWINDOW, kTodayClass, L"Desktop", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                 NULL, NULL, hInstance, NULL);
    HWND taskBar =
        CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kTaskBarClass, L"", WS_POPUP | WS_VISIBLE,
                        0, 0, width, PHONE_TASKBAR_HEIGHT, NULL, NULL, hInstance, NULL);
    if (!today || !taskBar)
        return 1;
    WriteStateDword(STATE_TASKBAR_VISIBLE, 1);
    SetTimer(taskBar, 1, 250, NULL);
    StartPhoneServices(hInstance, today);

    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return (int)msg.wParam;
}
