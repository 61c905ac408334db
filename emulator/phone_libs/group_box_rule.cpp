// The phone's frames: "a parent window cannot draw on its children" (CE's Window Relationship Fundamentals), so a
// group box paints its own inside with the ground its parent gives it; the controls it frames, made before it and
// so in front of it, clip it. Under Wine a frame paints only its outline and caption, and with the dialog clipping
// its children nobody paints the inside. A rule of windowing_rules.cpp.
#include <windows.h>

#include <commctrl.h>

#include "windowing_rules.h"

namespace
{

const UINT_PTR kFrameSubclassId = 0x6762; // "gb"

// The inside first, with the brush the frame's parent gives it for its caption, then the outline and caption.
void PaintFrame(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    HWND parent = GetParent(hwnd);
    HBRUSH ground = parent ? (HBRUSH)SendMessageW(parent, WM_CTLCOLORSTATIC, (WPARAM)hdc, (LPARAM)hwnd) : NULL;
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(hdc, &rc, ground ? ground : GetSysColorBrush(COLOR_BTNFACE));
    DefSubclassProc(hwnd, WM_PRINTCLIENT, (WPARAM)hdc, PRF_CLIENT);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK FrameSubclassProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    switch (uMsg) {
    case WM_PAINT:
        PaintFrame(hwnd);
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, FrameSubclassProc, kFrameSubclassId);
        break;
    }
    return DefSubclassProc(hwnd, uMsg, wParam, lParam);
}

} // namespace

bool IsGroupBox(HWND hwnd, const CREATESTRUCTW *lpcs)
{
    if ((lpcs->style & BS_TYPEMASK) != BS_GROUPBOX)
        return false;
    wchar_t className[16] = L"";
    GetClassNameW(hwnd, className, ARRAYSIZE(className));
    return lstrcmpiW(className, L"Button") == 0;
}

void PaintInside(HWND hwnd, CREATESTRUCTW *)
{
    SetWindowSubclass(hwnd, FrameSubclassProc, kFrameSubclassId, 0);
}
