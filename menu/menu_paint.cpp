// The menu window's painting. Nothing is kept between paints: pictures and fonts are loaded for one face and
// released after it, and the radios and probes are asked afresh each time.
#include <windows.h>

#include <aygshell.h>
#include <limits.h>
#include <stdlib.h>
#include <wince.h>

#include "../config/action_codes.h"
#include "../config/bounded_text.h"
#include "menu_buttons.h"
#include "menu_paint.h"
#include "menu_state.h"

namespace
{

// A corner face is copied as large as the screen: the 40 x 40 button cuts it to its top-left part.
const int kCornerCopyWidth = 480;
const int kCornerCopyHeight = 800;

const DWORD kMeasureFlags = DT_CENTER | DT_WORDBREAK | DT_CALCRECT;
const DWORD kDrawFlags = DT_CENTER | DT_WORDBREAK;

const wchar_t kTextStyleSection[] = L"Settings";

int SkinNumber(const wchar_t *key)
{
    return _wtol(g_skinDoc.GetValue(kTextStyleSection, key, L""));
}

// The size of a picture; an empty size when it is no bitmap.
SIZE PictureSize(HBITMAP picture)
{
    BITMAP bm = {};
    SIZE size = {0, 0};
    if (picture && GetObjectW(picture, sizeof bm, &bm)) {
        size.cx = bm.bmWidth;
        size.cy = bm.bmHeight;
    }
    return size;
}

// Copies the top-left part of a skin picture onto the Exit or Settings button. A picture that cannot be loaded
// leaves the button's own face as it is.
void PaintCornerFace(HWND button, const wchar_t *fileName)
{
    if (!button)
        return;
    InvalidateRect(button, NULL, FALSE);
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(button, &ps);
    HDC hdcMem = CreateCompatibleDC(hdc);
    wchar_t path[kPathCapacity];
    CopyText(path, g_settings.skinFolder);
    AppendText(path, fileName);
    HBITMAP picture = SHLoadImageFile(path);
    if (picture) {
        HGDIOBJ old = SelectObject(hdcMem, picture);
        BitBlt(hdc, 0, 0, kCornerCopyWidth, kCornerCopyHeight, hdcMem, 0, 0, SRCCOPY);
        SelectObject(hdcMem, old);
        DeleteObject(picture);
    }
    DeleteDC(hdcMem);
    EndPaint(button, &ps);
}

// The slot button's background: Button.png, or a plain button face when it cannot be loaded.
HBITMAP LoadBackground(HDC hdc, const wchar_t *backgroundPath)
{
    HBITMAP background = SHLoadImageFile(backgroundPath);
    if (background)
        return background;
    background = CreateCompatibleBitmap(hdc, kSlotWidth, kSlotHeight);
    if (!background)
        return NULL;
    HDC hdcFill = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(hdcFill, background);
    RECT all = {0, 0, kSlotWidth, kSlotHeight};
    FillRect(hdcFill, &all, GetSysColorBrush(COLOR_BTNFACE));
    SelectObject(hdcFill, old);
    DeleteDC(hdcFill);
    return background;
}

// Draws the slot's text in the current caption style, centred in the part right of the state picture.
void DrawCaption(HDC hdc, const wchar_t *text)
{
    SetTextColor(hdc, g_menu.textStyle.color);
    SetBkMode(hdc, TRANSPARENT);
    LOGFONTW lf;
    FillCaptionFont(&lf, g_menu.textStyle, GetDeviceCaps(hdc, LOGPIXELSY));
    HFONT font = CreateFontIndirectW(&lf);
    HGDIOBJ oldFont = font ? SelectObject(hdc, font) : NULL;

    RECT measured = {kStatePictureSize, 0, kSlotWidth, kSlotHeight};
    DrawTextW(hdc, text, -1, &measured, kMeasureFlags);
    RECT rc = {kStatePictureSize, CaptionTop(measured), kSlotWidth, kSlotHeight};
    DrawTextW(hdc, text, -1, &rc, kDrawFlags);

    if (font) {
        SelectObject(hdc, oldFont);
        DeleteObject(font);
    }
}

} // namespace

void ReadTextStyle()
{
    TextStyle &style = g_menu.textStyle;
    CopyText(style.fontName, g_skinDoc.GetValue(kTextStyleSection, L"FontName", L""));
    style.fontSize = SkinNumber(L"FontSize");
    style.red = SkinNumber(L"Red");
    style.green = SkinNumber(L"Green");
    style.blue = SkinNumber(L"Blue");
    style.color = RGB(style.red & 0xFF, style.green & 0xFF, style.blue & 0xFF);
    style.bold = SkinNumber(L"Bold") != 0;
    style.italic = SkinNumber(L"Italic") != 0;
}

void FillCaptionFont(LOGFONTW *lf, const TextStyle &style, int logPixelsY)
{
    ZeroMemory(lf, sizeof *lf);
    // Worked out in 64 bits: an absurd FontSize must not overflow; C++ division truncates toward zero.
    long long height = -((long long)logPixelsY * style.fontSize) / 72;
    if (height > INT_MAX)
        height = INT_MAX;
    if (height < INT_MIN + 1)
        height = INT_MIN + 1;
    lf->lfHeight = (LONG)height;
    lf->lfWeight = style.bold ? FW_BOLD : 0;
    lf->lfItalic = style.italic ? 1 : 0;
    lf->lfCharSet = RUSSIAN_CHARSET;
    CopyText(lf->lfFaceName, style.fontName);
}

int CaptionTop(const RECT &measured)
{
    return (kSlotHeight - measured.bottom - measured.top) / 2;
}

void PaintSlotFace(HDC hdc, int slot, const wchar_t *backgroundPath)
{
    HDC hdcA = CreateCompatibleDC(hdc);
    HDC hdcB = CreateCompatibleDC(hdcA);
    HBITMAP background = LoadBackground(hdc, backgroundPath);
    wchar_t picturePath[kPathCapacity];
    ChooseButtonPicture(picturePath, slot);
    HBITMAP picture = SHLoadImageFile(picturePath);
    HGDIOBJ oldA = background ? SelectObject(hdcA, background) : NULL;
    HGDIOBJ oldB = picture ? SelectObject(hdcB, picture) : NULL;

    if (background && picture) {
        // The state picture's top-left pixel names its transparent colour; a smaller picture is drawn whole.
        COLORREF key = GetPixel(hdcB, 0, 0);
        SIZE size = PictureSize(picture);
        int cx = size.cx < kStatePictureSize ? size.cx : kStatePictureSize;
        int cy = size.cy < kStatePictureSize ? size.cy : kStatePictureSize;
        TransparentImage(hdcA, 0, 0, cx, cy, hdcB, 0, 0, cx, cy, key);
    }
    if (background)
        BitBlt(hdc, 0, 0, kSlotWidth, kSlotHeight, hdcA, 0, 0, SRCCOPY);
    DrawCaption(hdc, g_settings.slots[slot].text);

    if (picture) {
        SelectObject(hdcB, oldB);
        DeleteObject(picture);
    }
    if (background) {
        SelectObject(hdcA, oldA);
        DeleteObject(background);
    }
    DeleteDC(hdcB);
    DeleteDC(hdcA);
}

void OnMenuPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    wchar_t backgroundPath[kPathCapacity];
    CopyText(backgroundPath, g_settings.skinFolder);
    AppendText(backgroundPath, L"Button.png");

    PaintCornerFace(g_menu.exitButton, L"Exit.png");
    PaintCornerFace(g_menu.settingsButton, L"Settings.png");
    ReadTextStyle();

    // A slot whose action has no button (None, 3G) has nothing to draw into.
    for (int i = 0; i < kSlotCount; i++) {
        const SlotButton &slot = g_menu.slots[i];
        if (!ActionHasButton(g_settings.slots[i].actionCode) || !slot.button)
            continue;
        // The whole face is drawn even when the button painted itself in between (a box of the radio library
        // shown while an earlier face was painted lets the other buttons paint their plain faces).
        InvalidateRect(slot.button, NULL, FALSE);
        PAINTSTRUCT psButton;
        HDC hdcButton = BeginPaint(slot.button, &psButton);
        PaintSlotFace(hdcButton, i, backgroundPath);
        EndPaint(slot.button, &psButton);
    }
    EndPaint(hwnd, &ps);
}
