// The phone's combo box has no always-open form: one made without a type bit shows one line and drops its list
// down over the screen when tapped, so the fields laid out below it never cover the list. A rule of
// windowing_rules.cpp.
#include <windows.h>

#include <commctrl.h>

#include "windowing_rules.h"

namespace
{

const DWORD kComboTypeMask = 0x3;         // CBS_SIMPLE, CBS_DROPDOWN or CBS_DROPDOWNLIST
const UINT_PTR kComboSubclassId = 0x6362; // "cb"

// The control reads its type from the creation data of WM_NCCREATE and WM_CREATE: both are given the type.
LRESULT CALLBACK ComboSubclassProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    switch (uMsg) {
    case WM_NCCREATE:
    case WM_CREATE:
        ((CREATESTRUCTW *)lParam)->style |= CBS_DROPDOWNLIST;
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, ComboSubclassProc, kComboSubclassId);
        break;
    }
    return DefSubclassProc(hwnd, uMsg, wParam, lParam);
}

} // namespace

bool IsTypelessComboBox(HWND hwnd, const CREATESTRUCTW *lpcs)
{
    if (lpcs->style & kComboTypeMask)
        return false;
    wchar_t className[16] = L"";
    GetClassNameW(hwnd, className, ARRAYSIZE(className));
    return lstrcmpiW(className, WC_COMBOBOXW) == 0;
}

void MakeDropDownList(HWND hwnd, CREATESTRUCTW *)
{
    SetWindowSubclass(hwnd, ComboSubclassProc, kComboSubclassId, 0);
}
