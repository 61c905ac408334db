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

// Every window on the phone clips its siblings and children (CE's CreateWindowEx, Remarks). The program's own
// windows have it from the emulated coredll's CreateWindowExW; this gives it to the windows Wine makes itself
// (dialogs from their templates, the parts of a control).
void ClipSiblingsAndChildren(HWND hwnd, CREATESTRUCTW *lpcs)
{
    LONG style = lpcs->style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
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
    {"every window clips its siblings and children", IsAnyWindow, ClipSiblingsAndChildren},
    {"a combo box made without a type bit drops its list down over the screen", IsTypelessComboBox, MakeDropDownList},
    {"an up-down control takes an empty buddy field for no valid position", IsUpDownControl,
     ReadEmptyBuddyAsNoPosition},
    {"a frame paints its own inside with its parent's ground", IsGroupBox, PaintInside},
    {"a window given no font draws with the phone's system font", IsAnyWindow, GiveSystemFont},
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
    }
    return CallNextHookEx(NULL, nCode, wParam, lParam);
}

struct PhoneWindowingRules {
    PhoneWindowingRules() { SetWindowsHookExW(WH_CBT, PhoneWindowingHook, NULL, GetCurrentThreadId()); }
};

const PhoneWindowingRules s_rules;

} // namespace
