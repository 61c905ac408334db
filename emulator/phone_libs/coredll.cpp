// The phone's core library on Wine: the calls that the phone has and Wine lacks or makes otherwise. Every other
// export of coredll.def is a forwarder to Wine's own library.
#include <windows.h>

#include <shellapi.h>
#include <wince.h>

#include "phone_link.h"

namespace
{

// Copies the source area into a fresh 24-bit bitmap. Wine's TransparentBlt compares whole 32-bit pixels with the
// key, so the fourth byte that decoded pictures carry would hide every key pixel; 24 bits have no such byte.
HBITMAP CopyTo24Bits(HDC hdcSrc, LONG SrcX, LONG SrcY, LONG SrcCx, LONG SrcCy)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = SrcCx;
    bmi.bmiHeader.biHeight = -SrcCy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    bmi.bmiHeader.biCompression = BI_RGB;
    void *bits = NULL;
    HBITMAP copy = CreateDIBSection(hdcSrc, &bmi, DIB_RGB_COLORS, &bits, NULL, 0);
    if (!copy)
        return NULL;
    HDC hdcCopy = CreateCompatibleDC(hdcSrc);
    HGDIOBJ old = SelectObject(hdcCopy, copy);
    BitBlt(hdcCopy, 0, 0, SrcCx, SrcCy, hdcSrc, SrcX, SrcY, SRCCOPY);
    SelectObject(hdcCopy, old);
    DeleteDC(hdcCopy);
    return copy;
}

// The phone's window styles. CE's CreateWindowEx (Remarks): a window made with a parent and an overlapped style,
// neither WS_CHILD nor WS_POPUP, is implicitly given WS_CHILD ("This gives the window a parent, not an owner"), and
// every window is implicitly WS_CLIPSIBLINGS and WS_CLIPCHILDREN. A window without a parent has no caption or
// frame unless it asks for them (CE spells WS_OVERLAPPED as WS_BORDER | WS_CAPTION); desktop Win32 adds both to
// every top-level window without WS_POPUP, so it is given WS_POPUP, which Wine draws bare.
DWORD PhoneWindowStyle(DWORD dwStyle, HWND hWndParent)
{
    dwStyle |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (!(dwStyle & (WS_CHILD | WS_POPUP)))
        dwStyle |= hWndParent ? WS_CHILD : WS_POPUP;
    return dwStyle;
}

// The end of a name-or-ordinal field of a dialog template: 0 (none), 0xFFFF and an ordinal, or a text.
const WORD *SkipNameOrOrdinal(const WORD *field)
{
    if (*field == 0xFFFF)
        return field + 2;
    while (*field++)
        ;
    return field;
}

const BYTE *AlignToDword(const BYTE *start, const BYTE *at)
{
    return start + ((at - start + 3) & ~(INT_PTR)3);
}

// The bytes of a dialog template's items, from the first to the end of the last (each DWORD-aligned).
size_t ItemBytes(const BYTE *items, WORD count)
{
    const BYTE *at = items;
    for (WORD i = 0; i < count; i++) {
        at = AlignToDword(items, at);
        const WORD *field = (const WORD *)(at + sizeof(DLGITEMTEMPLATE));
        field = SkipNameOrOrdinal(SkipNameOrOrdinal(field)); // class, then title
        at = (const BYTE *)(field + 1) + *field;             // creation data: its size, then its bytes
    }
    return at - items;
}

} // namespace

// Every window the program makes gets the phone's styles before Wine sees them (PhoneWindowStyle).
extern "C" HWND WINAPI Phone_CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle,
                                             int X, int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                                             HINSTANCE hInstance, LPVOID lpParam)
{
    return CreateWindowExW(dwExStyle, lpClassName, lpWindowName, PhoneWindowStyle(dwStyle, hWndParent), X, Y, nWidth,
                           nHeight, hWndParent, hMenu, hInstance, lpParam);
}

// The phone's dialog boxes do not support DS_SETFONT (the WM_SETFONT page of Windows Mobile) nor DS_FIXEDSYS (CE's
// DialogBoxIndirectParam page): the dialog is made from a copy of its template without them and without the font
// they name, so it and its controls keep the phone's system font. An extended template is passed on as it is.
extern "C" INT_PTR WINAPI Phone_DialogBoxIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW hDialogTemplate,
                                                        HWND hWndParent, DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    const DWORD kFontStyles = DS_SETFONT | DS_FIXEDSYS;
    if (!hDialogTemplate || ((const WORD *)hDialogTemplate)[1] == 0xFFFF || !(hDialogTemplate->style & kFontStyles))
        return DialogBoxIndirectParamW(hInstance, hDialogTemplate, hWndParent, lpDialogFunc, dwInitParam);
    const BYTE *start = (const BYTE *)hDialogTemplate;
    const WORD *field = (const WORD *)(start + sizeof(DLGTEMPLATE));
    const WORD *afterTitle = SkipNameOrOrdinal(SkipNameOrOrdinal(SkipNameOrOrdinal(field))); // menu, class, title
    const WORD *afterFont = afterTitle;
    if (hDialogTemplate->style & DS_SETFONT)
        afterFont = SkipNameOrOrdinal(afterTitle + 1); // the point size, then the face
    const BYTE *items = AlignToDword(start, (const BYTE *)afterFont);
    size_t head = (const BYTE *)afterTitle - start, itemBytes = ItemBytes(items, hDialogTemplate->cdit);
    BYTE *copy = (BYTE *)LocalAlloc(LPTR, head + 3 + itemBytes);
    if (!copy)
        return -1;
    memcpy(copy, start, head);
    ((DLGTEMPLATE *)copy)->style &= ~kFontStyles;
    memcpy((BYTE *)AlignToDword(copy, copy + head), items, itemBytes);
    INT_PTR result = DialogBoxIndirectParamW(hInstance, (LPCDLGTEMPLATEW)copy, hWndParent, lpDialogFunc, dwInitParam);
    LocalFree(copy);
    return result;
}

// hSrc may be a device context or a bitmap selected nowhere, as on the phone. Only the colour of a pixel counts
// against the key, as on the phone.
extern "C" BOOL WINAPI Phone_TransparentImage(HDC hdcDest, LONG DstX, LONG DstY, LONG DstCx, LONG DstCy, HANDLE hSrc,
                                              LONG SrcX, LONG SrcY, LONG SrcCx, LONG SrcCy, COLORREF TransparentColor)
{
    if (!hSrc || SrcCx <= 0 || SrcCy <= 0)
        return FALSE;
    bool srcIsBitmap = GetObjectType(hSrc) == OBJ_BITMAP;
    HDC hdcSrc = srcIsBitmap ? CreateCompatibleDC(hdcDest) : (HDC)hSrc;
    HGDIOBJ oldSrc = srcIsBitmap ? SelectObject(hdcSrc, hSrc) : NULL;
    HBITMAP copy = CopyTo24Bits(hdcSrc, SrcX, SrcY, SrcCx, SrcCy);
    BOOL ok = FALSE;
    if (copy) {
        HDC hdcCopy = CreateCompatibleDC(hdcDest);
        HGDIOBJ old = SelectObject(hdcCopy, copy);
        ok =
            TransparentBlt(hdcDest, DstX, DstY, DstCx, DstCy, hdcCopy, 0, 0, SrcCx, SrcCy, TransparentColor & 0xFFFFFF);
        SelectObject(hdcCopy, old);
        DeleteDC(hdcCopy);
        DeleteObject(copy);
    }
    if (srcIsBitmap) {
        SelectObject(hdcSrc, oldSrc);
        DeleteDC(hdcSrc);
    }
    return ok;
}

// A named power state is not modelled: only the flags reach the phone's power manager.
extern "C" DWORD WINAPI Phone_SetSystemPowerState(LPCWSTR pwsSystemState, DWORD StateFlags, DWORD Options)
{
    if (pwsSystemState)
        return ERROR_NOT_SUPPORTED;
    HWND hwndManager = FindWindowW(PHONE_POWER_CLASS, NULL);
    if (!hwndManager)
        return ERROR_SERVICE_NOT_ACTIVE;
    return (DWORD)SendMessageW(hwndManager, PHONE_MSG_POWER, StateFlags, Options);
}

// The phone's replace of an existing file, in one step: on Wine a rename over the destination.
extern "C" BOOL WINAPI Phone_DeleteAndRenameFile(LPCWSTR lpszDestFile, LPCWSTR lpszSourceFile)
{
    if (GetFileAttributesW(lpszDestFile) == INVALID_FILE_ATTRIBUTES ||
        GetFileAttributesW(lpszSourceFile) == INVALID_FILE_ATTRIBUTES)
        return FALSE; // both files must exist, as on the phone
    return MoveFileExW(lpszSourceFile, lpszDestFile, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

// The phone looks an export up by its wide name; Wine's GetProcAddress takes it as ANSI text.
extern "C" FARPROC WINAPI Phone_GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName)
{
    if (IS_INTRESOURCE(lpProcName))
        return GetProcAddress(hModule, (LPCSTR)lpProcName);
    char name[256];
    if (!WideCharToMultiByte(CP_ACP, 0, lpProcName, -1, name, sizeof name, NULL, NULL)) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return NULL;
    }
    return GetProcAddress(hModule, name);
}

// The phone's shell calls live in coredll; on Wine they are shell32's, which is bound at their first call
// (delay-loaded): loading shell32 with every start of the menu would cost each start its set-up.
extern "C" BOOL WINAPI Phone_ShellExecuteExW(SHELLEXECUTEINFOW *pExecInfo)
{
    return ShellExecuteExW(pExecInfo);
}

extern "C" DWORD_PTR WINAPI Phone_SHGetFileInfoW(LPCWSTR pszPath, DWORD dwFileAttributes, SHFILEINFOW *psfi,
                                                 UINT cbFileInfo, UINT uFlags)
{
    return SHGetFileInfoW(pszPath, dwFileAttributes, psfi, cbFileInfo, uFlags);
}
