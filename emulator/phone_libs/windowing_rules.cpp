// The phone's windowing rules on Wine, in one table. One hook, installed for the thread that loads aygshell.dll
// (the program's first thread, before its WinMain runs), applies them in table order to every window the thread
// makes, before the window sees its first message, so the program passes the phone's style values unchanged and
// sees the phone's behaviour.
#include <windows.h>

#include "windowing_rules.h"

namespace
{

bool IsAnyWindow(HWND, const CREATESTRUCTW *)
{
    return true;
}

// Desktop Win32 gives every top-level window without WS_POPUP a caption and a frame; the phone does not. And
// every window on the phone clips its children: a parent's painting never covers them.
void GivePhoneStyle(HWND hwnd, CREATESTRUCTW *lpcs)
{
    LONG style = lpcs->style | WS_CLIPCHILDREN;
    if (!(style & (WS_CHILD | WS_POPUP)))
        style |= WS_POPUP;
    if (style != lpcs->style) {
        lpcs->style = style;
        SetWindowLongW(hwnd, GWL_STYLE, style);
    }
}

struct WindowingRule {
    const char *what;                                        // what the phone does, for a reader
    bool (*appliesTo)(HWND hwnd, const CREATESTRUCTW *lpcs); // which windows the rule is for
    void (*apply)(HWND hwnd, CREATESTRUCTW *lpcs);           // what it does to one as it is made
};

const WindowingRule kWindowingRules[] = {
    {"a window made without WS_CHILD is a caption-less top-level window owned by its parent, in screen "
     "coordinates; every window clips its children",
     IsAnyWindow, GivePhoneStyle},
    {"an owned window stands above its owner on the screen, from its first paint on", IsTopLevelWindow,
     KeepOwnedWindowsAbove},
    {"a combo box made without a type bit drops its list down over the screen", IsTypelessComboBox, MakeDropDownList},
    {"an up-down control takes an empty buddy field for no valid position", IsUpDownControl,
     ReadEmptyBuddyAsNoPosition},
    {"a frame made as an owned top-level window shows only its outline and caption", IsTopLevelGroupBox,
     ShowOnlyOutline},
};

LRESULT CALLBACK PhoneWindowingHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND) {
        HWND hwnd = (HWND)wParam;
        CREATESTRUCTW *lpcs = ((CBT_CREATEWNDW *)lParam)->lpcs;
        for (const WindowingRule &rule : kWindowingRules) {
            if (rule.appliesTo(hwnd, lpcs))
                rule.apply(hwnd, lpcs);
        }
    } else if (nCode == HCBT_ACTIVATE) {
        // An activation (a box closing hands it back to the menu, say) and a window taking the keyboard focus
        // reorder the windows on the screen with no message to any of them: the stacking rule looks again.
        WatchPhoneOrder((HWND)wParam);
    } else if (nCode == HCBT_SETFOCUS) {
        NoteFocus((HWND)wParam);
    }
    return CallNextHookEx(NULL, nCode, wParam, lParam);
}

struct PhoneWindowingRules {
    PhoneWindowingRules() { SetWindowsHookExW(WH_CBT, PhoneWindowingHook, NULL, GetCurrentThreadId()); }
};

const PhoneWindowingRules s_rules;

} // namespace
