// The phone's system font: a control that is given no font draws with it (the WM_SETFONT page of Windows Mobile),
// and on the phone it is Tahoma (CE's System Font Registry Settings: HKLM\System\GDI\SysFnt, Nm "Tahoma", Ht 14
// pixels, Wt 400), as tall at the phone's 192 dots per inch as 14 pixels are at 96. Wine gives such a control its
// own "System" face. A rule of windowing_rules.cpp: each window is given the font once it is made, and a font the
// program sets later replaces it.
#include <windows.h>

#include <commctrl.h>

#include "windowing_rules.h"

namespace
{

const UINT_PTR kFontSubclassId = 0x7366; // "sf"
const int kSysFntHeight = 14;            // SysFnt's Ht, in pixels at 96 dots per inch
const int kSysFntWeight = FW_NORMAL;     // SysFnt's Wt (400)

// The phone's system font for the life of the process, at the screen's dots per inch.
HFONT SystemFont()
{
    static HFONT font = NULL;
    if (!font) {
        HDC screen = GetDC(NULL);
        int height = MulDiv(kSysFntHeight, GetDeviceCaps(screen, LOGPIXELSY), 96);
        ReleaseDC(NULL, screen);
        font = CreateFontW(height, 0, 0, 0, kSysFntWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
    }
    return font;
}

LRESULT CALLBACK FontSubclassProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    LRESULT result = DefSubclassProc(hwnd, uMsg, wParam, lParam);
    if (uMsg == WM_CREATE && result != -1) {
        RemoveWindowSubclass(hwnd, FontSubclassProc, kFontSubclassId);
        SendMessageW(hwnd, WM_SETFONT, (WPARAM)SystemFont(), FALSE);
    } else if (uMsg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, FontSubclassProc, kFontSubclassId);
    }
    return result;
}

} // namespace

void GiveSystemFont(HWND hwnd, CREATESTRUCTW *)
{
    SetWindowSubclass(hwnd, FontSubclassProc, kFontSubclassId, 0);
}
