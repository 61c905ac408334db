// The phone's up-down control takes an empty buddy field for no valid position, as for any other text that is
// not a number in range; desktop comctl32 under Wine reads it as 0. A rule of windowing_rules.cpp.
#include <windows.h>

#include <commctrl.h>

#include "windowing_rules.h"

namespace
{

const UINT_PTR kUpDownSubclassId = 0x7564; // "ud"

// Asks for the position with the empty buddy showing a text that is no number, so the control answers its
// last valid position with the error flag, then puts the empty text back.
LRESULT PositionOfEmptyBuddy(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam, HWND buddy)
{
    SetWindowTextW(buddy, L"-");
    LRESULT result = DefSubclassProc(hwnd, uMsg, wParam, lParam);
    SetWindowTextW(buddy, L"");
    return result;
}

LRESULT CALLBACK UpDownSubclassProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (uMsg == UDM_GETPOS || uMsg == UDM_GETPOS32) {
        HWND buddy = (HWND)DefSubclassProc(hwnd, UDM_GETBUDDY, 0, 0);
        if (buddy && (GetWindowLongW(hwnd, GWL_STYLE) & UDS_SETBUDDYINT) && GetWindowTextLengthW(buddy) == 0)
            return PositionOfEmptyBuddy(hwnd, uMsg, wParam, lParam, buddy);
    } else if (uMsg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, UpDownSubclassProc, kUpDownSubclassId);
    }
    return DefSubclassProc(hwnd, uMsg, wParam, lParam);
}

} // namespace

bool IsUpDownControl(HWND hwnd, const CREATESTRUCTW *)
{
    wchar_t className[32] = L"";
    GetClassNameW(hwnd, className, ARRAYSIZE(className));
    return lstrcmpiW(className, UPDOWN_CLASSW) == 0;
}

void ReadEmptyBuddyAsNoPosition(HWND hwnd, CREATESTRUCTW *)
{
    SetWindowSubclass(hwnd, UpDownSubclassProc, kUpDownSubclassId, 0);
}
