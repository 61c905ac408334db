// The phone's connection manager (cellcore). Values defined here: old MinGW-era headers carry wrong ones.
// The program imports these calls from cellcore.dll.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#define CONNMGR_PARAM_GUIDDESTNET 0x1
#define CONNMGR_PRIORITY_USERINTERACTIVE 0x08000

#define CONNMGR_STATUS_CONNECTED 0x10
#define CONNMGR_STATUS_DISCONNECTED 0x20
#define CONNMGR_STATUS_CONNECTIONFAILED 0x21
#define CONNMGR_STATUS_NOPATHTODESTINATION 0x24
#define CONNMGR_STATUS_PHONEOFF 0x27

typedef struct _CONNMGR_CONNECTIONINFO {
    DWORD cbSize;
    DWORD dwParams;
    DWORD dwFlags;
    DWORD dwPriority;
    BOOL bExclusive;
    BOOL bDisabled;
    GUID guidDestNet;
    HWND hWnd;
    UINT uMsg;
    LPARAM lParam;
    ULONG ulMaxCost;
    ULONG ulMinRcvBw;
    ULONG ulMaxConnLatency;
} CONNMGR_CONNECTIONINFO;

// {436EF144-B4FB-4863-A041-8F905A62C572}
static const GUID IID_DestNetInternet = {0x436EF144, 0xB4FB, 0x4863, {0xA0, 0x41, 0x8F, 0x90, 0x5A, 0x62, 0xC5, 0x72}};

DECLSPEC_IMPORT HRESULT WINAPI ConnMgrEstablishConnectionSync(CONNMGR_CONNECTIONINFO *pConnInfo, HANDLE *phConnection,
                                                              DWORD dwTimeout, DWORD *pdwStatus);
DECLSPEC_IMPORT HRESULT WINAPI ConnMgrReleaseConnection(HANDLE hConnection, LONG lCache);

#ifdef __cplusplus
}
#endif
