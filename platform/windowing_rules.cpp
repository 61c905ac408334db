// The phone's windowing rules on desktop Win32: a window made without WS_CHILD is a caption-less owned
// top-level window in screen coordinates that stays above its owner, and every window clips its children.
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

// Puts every window that owner owns and that stands below it straight above it again.
void RaiseOwnedWindows(HWND owner)
{
    HWND below = GetWindow(owner, GW_HWNDNEXT);
    while (below) {
        HWND next = GetWindow(below, GW_HWNDNEXT);
        if (GetWindow(below, GW_OWNER) == owner) {
            HWND above = GetWindow(owner, GW_HWNDPREV);
            SetWindowPos(below, above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        below = next;
    }
}

BOOL CALLBACK RaiseOwnedWindowsOf(HWND hwnd, LPARAM)
{
    if (IsWindowVisible(hwnd))
        RaiseOwnedWindows(hwnd);
    return TRUE;
}

// On the phone an owned window never falls behind its owner. Under Wine it can: while a message box without an
// owner is shown, the menu comes in front of its own Exit and Settings buttons, and no z-order message tells of
// it. So the order is mended whenever the thread takes a message from its queue, before the message is handled.
LRESULT CALLBACK OwnedAboveOwnerHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION && wParam == PM_REMOVE)
        EnumThreadWindows(GetCurrentThreadId(), RaiseOwnedWindowsOf, 0);
    return CallNextHookEx(NULL, nCode, wParam, lParam);
}

struct PhoneWindowingRules {
    PhoneWindowingRules()
    {
        SetWindowsHookExW(WH_CBT, PhoneStyleHook, NULL, GetCurrentThreadId());
        SetWindowsHookExW(WH_GETMESSAGE, OwnedAboveOwnerHook, NULL, GetCurrentThreadId());
    }
};

const PhoneWindowingRules s_rules;

} // namespace
