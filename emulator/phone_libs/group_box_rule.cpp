// The phone's frames: a group box made as an owned top-level window shows only its outline and caption, so
// the controls it frames (children of the dialog, below it in the z-order) show through, whole, and take taps.
#include <windows.h>

#include <commctrl.h>

namespace
{

const UINT_PTR kFrameSubclassId = 0x6762; // "gb"

// Cuts the owner's child controls out of the shape: a frame placed in screen coordinates may cross a control
// placed in the owner's client area, which must not lose its edge or its text under the outline or caption.
void CutOwnerControls(HWND hwnd, HRGN shape)
{
    HWND owner = GetWindow(hwnd, GW_OWNER);
    if (!owner)
        return;
    RECT frame;
    GetWindowRect(hwnd, &frame);
    for (HWND child = GetWindow(owner, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rc;
        // The dialog is not shown yet while it builds its controls: the control's own style tells.
        if (!(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) || !GetWindowRect(child, &rc))
            continue;
        HRGN cut =
            CreateRectRgn(rc.left - frame.left, rc.top - frame.top, rc.right - frame.left, rc.bottom - frame.top);
        CombineRgn(shape, shape, cut, RGN_DIFF);
        DeleteObject(cut);
    }
}

// The outline and caption as the button control draws them: the caption from x 6 on the top line, a
// two-pixel etched edge through the middle of the caption's height.
void ShapeFrame(HWND hwnd)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    HDC hdc = GetDC(hwnd);
    HGDIOBJ oldFont = SelectObject(hdc, (HFONT)SendMessageW(hwnd, WM_GETFONT, 0, 0));
    TEXTMETRICW tm = {};
    GetTextMetricsW(hdc, &tm);
    wchar_t text[256] = L"";
    int length = GetWindowTextW(hwnd, text, ARRAYSIZE(text));
    SIZE extent = {0, 0};
    if (length > 0)
        GetTextExtentPoint32W(hdc, text, length, &extent);
    SelectObject(hdc, oldFont);
    ReleaseDC(hwnd, hdc);

    int edgeTop = tm.tmHeight / 2 - 1;
    HRGN shape = CreateRectRgn(0, edgeTop, rc.right, rc.bottom);
    HRGN inside = CreateRectRgn(2, edgeTop + 2, rc.right - 2, rc.bottom - 2);
    CombineRgn(shape, shape, inside, RGN_DIFF);
    if (extent.cx > 0) {
        HRGN caption = CreateRectRgn(6, 0, 8 + extent.cx + 2, tm.tmHeight + 2);
        CombineRgn(shape, shape, caption, RGN_OR);
        DeleteObject(caption);
    }
    DeleteObject(inside);
    CutOwnerControls(hwnd, shape);
    SetWindowRgn(hwnd, shape, TRUE); // the window owns the region from here on
}

LRESULT CALLBACK FrameSubclassProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    LRESULT result = DefSubclassProc(hwnd, uMsg, wParam, lParam);
    switch (uMsg) {
    case WM_SIZE:
    case WM_SETTEXT:
    case WM_SETFONT:
        ShapeFrame(hwnd);
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, FrameSubclassProc, kFrameSubclassId);
        break;
    }
    return result;
}

} // namespace

bool IsTopLevelGroupBox(HWND hwnd, const CREATESTRUCTW *lpcs)
{
    if (lpcs->style & WS_CHILD)
        return false;
    if ((lpcs->style & BS_TYPEMASK) != BS_GROUPBOX)
        return false;
    wchar_t className[16] = L"";
    GetClassNameW(hwnd, className, ARRAYSIZE(className));
    return lstrcmpiW(className, L"Button") == 0;
}

void ShowOnlyOutline(HWND hwnd, CREATESTRUCTW *)
{
    SetWindowSubclass(hwnd, FrameSubclassProc, kFrameSubclassId, 0);
}
