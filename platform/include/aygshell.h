// The Windows Mobile shell library (aygshell) as the program sees it on the phone.
// The program imports these calls from aygshell.dll.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#define SHFS_SHOWTASKBAR 0x0001
#define SHFS_HIDETASKBAR 0x0002
#define SHFS_SHOWSIPBUTTON 0x0004
#define SHFS_HIDESIPBUTTON 0x0008
#define SHFS_SHOWSTARTICON 0x0010
#define SHFS_HIDESTARTICON 0x0020

#define SHIDIM_FLAGS 0x0001
#define SHIDIF_DONEBUTTON 0x0001
#define SHIDIF_SIZEDLG 0x0002
#define SHIDIF_SIZEDLGFULLSCREEN 0x0004
#define SHIDIF_SIPDOWN 0x0008
#define SHIDIF_FULLSCREENNOMENUBAR 0x0010
#define SHIDIF_EMPTYMENU 0x0020
#define SHIDIF_WANTSCROLLBAR 0x0040
#define SHIDIF_CANCELBUTTON 0x0080

#define SHCMBF_EMPTYBAR 0x0001
#define SHCMBF_HIDDEN 0x0002
#define SHCMBF_HIDESIPBUTTON 0x0004
#define SHCMBF_COLORBK 0x0008
#define SHCMBF_HMENU 0x0010
#define SHCMBF_NOACTION 0x0020
#define SHCMBF_APPBARRES 0x0040

typedef struct tagSHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
} SHINITDLGINFO, *PSHINITDLGINFO;

typedef struct tagSHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB;
    COLORREF clrBk;
} SHMENUBARINFO, *PSHMENUBARINFO;

DECLSPEC_IMPORT BOOL WINAPI SHFullScreen(HWND hwndRequester, DWORD dwState);
DECLSPEC_IMPORT HBITMAP WINAPI SHLoadImageFile(LPCWSTR pszFileName);
DECLSPEC_IMPORT BOOL WINAPI SHInitDialog(PSHINITDLGINFO pshidi);
DECLSPEC_IMPORT BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO *pmbi);

#ifdef __cplusplus
}
#endif
