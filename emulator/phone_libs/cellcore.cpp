// The phone's connection manager on Wine: a request for the Internet is handed to the emulated phone's
// connection manager window, which answers with the connection's status.
#include <windows.h>

#include <connmgr.h>

#include "phone_link.h"

extern "C" HRESULT WINAPI Phone_ConnMgrEstablishConnectionSync(CONNMGR_CONNECTIONINFO *pConnInfo, HANDLE *phConnection,
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

extern "C" HRESULT WINAPI Phone_ConnMgrReleaseConnection(HANDLE hConnection, LONG lCache)
{
    (void)hConnection;
    (void)lCache;
    return S_OK;
}
