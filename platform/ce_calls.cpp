// Windows CE calls on desktop Win32: TransparentImage over TransparentBlt, and the power and connection
// requests handed to the emulated phone's managers.
#include <wince.h>
#include <connmgr.h>

#include "phone_link.h"

// hSrc may be a device context or a bitmap selected nowhere, as on the phone.
BOOL WINAPI TransparentImage(HDC hdcDest, LONG DstX, LONG DstY, LONG DstCx, LONG DstCy, HANDLE hSrc, LONG SrcX,
                             LONG SrcY, LONG SrcCx, LONG SrcCy, COLORREF TransparentColor)
{
    if (!hSrc)
        return FALSE;
    if (GetObjectType(hSrc) != OBJ_BITMAP)
        return TransparentBlt(hdcDest, DstX, DstY, DstCx, DstCy, (HDC)hSrc, SrcX, SrcY, SrcCx, SrcCy,
                              TransparentColor);
    HDC hdcSrc = CreateCompatibleDC(hdcDest);
    HGDIOBJ old = SelectObject(hdcSrc, hSrc);
    BOOL ok = TransparentBlt(hdcDest, DstX, DstY, DstCx, DstCy, hdcSrc, SrcX, SrcY, SrcCx, SrcCy, TransparentColor);
    SelectObject(hdcSrc, old);
    DeleteDC(hdcSrc);
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

HRESULT WINAPI ConnMgrEstablishConnectionSync(CONNMGR_CONNECTIONINFO *pConnInfo, HANDLE *phConnection,
                                              DWORD dwTimeout, DWORD *pdwStatus)
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
