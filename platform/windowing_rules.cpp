// The phone's windowing rules on desktop Win32: a window made without WS_CHILD is a caption-less owned
// top-level window in screen coordinates, and every window clips its children. Installed before WinMain runs.
#include <windows.h>

namespace {

// Desktop Win32 gives every top-level window without WS_POPUP a caption and a frame; the phone does not.
LRESULT CALLBACK PhoneStyleHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND) {
        HWND hwnd = (HWND)wParam;
        CREATESTRUCTW *lpcs = ((CBT_CREATEWNDW *)lParam)->lpcs;
        LONG style = lpcs->style | WS_CLIPCHILDREN;
        if (!(style & (WS_CHILD | WS_POPUP)))
            style |= WS_POPUP;
        if (style != lpcs->style) {
            lpcs->style = style;
            SetWindowLongW(hwnd, GWL_STYLE, style);
        }
    }
    return CallNextHookEx(NULL, nCode, wParam, lParam);
}

struct PhoneWindowingRules {
    PhoneWindowingRules() { SetWindowsHookExW(WH_CBT, PhoneStyleHook, NULL, GetCurrentThreadId()); }
};

const PhoneWindowingRules s_rules;

} // namespace
