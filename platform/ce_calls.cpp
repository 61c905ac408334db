// Windows CE calls on desktop Win32: TransparentImage over TransparentBlt, and the power and connection
// requests handed to the emulated phone's managers.
#include <connmgr.h>
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

} // namespace

// hSrc may be a device context or a bitmap selected nowhere, as on the phone. Only the colour of a pixel counts
// against the key, as on the phone.
BOOL WINAPI TransparentImage(HDC hdcDest, LONG DstX, LONG DstY, LONG DstCx, LONG DstCy, HANDLE hSrc, LONG SrcX,
                             LONG SrcY, LONG SrcCx, LONG SrcCy, COLORREF TransparentColor)
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
DWORD WINAPI SetSystemPowerState(LPCWSTR pwsSystemState, DWORD StateFlags, DWORD Options)
{
    if (pwsSystemState)
        return ERROR_NOT_SUPPORTED;
    HWND hwndManager = FindWindowW(PHONE_POWER_CLASS, NULL);
    if (!hwndManager)
        return ERROR_SERVICE_NOT_ACTIVE;
    return (DWORD)SendMessageW(hwndManager, PHONE_MSG_POWER, StateFlags, Options);
}

BOOL WINAPI CloseToolhelp32Snapshot(HANDLE hSnapshot)
{
    return CloseHandle(hSnapshot);
}

HRESULT WINAPI ConnMgrEstablishConnectionSync(CONNMGR_CONNECTIONINFO *pConnInfo, HANDLE *phConnection, DWORD dwTimeout,
                                              DWORD *pdwStatus)
{
    (void)dwTimeout;
    if (!pConnInfo || !phConnection)
        return E_INVALIDARG;
    *phConnection = NULL;
    DWORD status = CONNMGR_STATUS_CONNECTIONFAILED;
    HWND hwndManager = FindWindowW(PHONE_CONNECTION_CLASS, NULL);
    if (hwndManager && pConnInfo->cbSize == sizeof(*pConnInfo) &&
        IsEqualGUID(pConnInfo->guidDestNet, IID_DestNetInternet))
        status = (DWORD)SendMessageW(hwndManager, PHONE_MSG_CONNECT, pConnInfo->dwParams, pConnInfo->dwPriority);
    if (pdwStatus)
        *pdwStatus = status;
    if (status != CONNMGR_STATUS_CONNECTED)
        return E_FAIL;
    *phConnection = (HANDLE)(ULONG_PTR)0x1;
    return S_OK;
}

HRESULT WINAPI ConnMgrReleaseConnection(HANDLE hConnection, LONG lCache)
{
    (void)hConnection;
    (void)lCache;
    return S_OK;
}
