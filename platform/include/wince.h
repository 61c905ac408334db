// Windows CE calls that desktop Win32 lacks or spells otherwise: transparent blits, the power manager, a file's
// replacement, export look-up by wide name and toolhelp's close. All of them are coredll's, but toolhelp's close.
#pragma once
#include <windows.h>
#include <tlhelp32.h>

#ifdef __cplusplus
extern "C" {
#endif

#define POWER_STATE_ON 0x00010000
#define POWER_STATE_OFF 0x00020000
#define POWER_STATE_CRITICAL 0x00040000
#define POWER_STATE_BOOT 0x00080000
#define POWER_STATE_IDLE 0x00100000
#define POWER_STATE_SUSPEND 0x00200000
#define POWER_STATE_UNATTENDED 0x00400000
#define POWER_STATE_RESET 0x00800000
#define POWER_STATE_USERIDLE 0x01000000
#define POWER_STATE_BACKLIGHTON 0x02000000
#define POWER_FORCE 0x00001000

#ifndef TH32CS_SNAPNOHEAPS
#define TH32CS_SNAPNOHEAPS 0x40000000
#endif

DECLSPEC_IMPORT BOOL WINAPI TransparentImage(HDC hdcDest, LONG DstX, LONG DstY, LONG DstCx, LONG DstCy, HANDLE hSrc,
                                             LONG SrcX, LONG SrcY, LONG SrcCx, LONG SrcCy, COLORREF TransparentColor);
DECLSPEC_IMPORT BOOL WINAPI CloseToolhelp32Snapshot(HANDLE hSnapshot);
// Replaces the contents of the existing file lpszDestFile with those of lpszSourceFile, which is deleted.
DECLSPEC_IMPORT BOOL WINAPI DeleteAndRenameFile(LPCWSTR lpszDestFile, LPCWSTR lpszSourceFile);
// The phone's GetProcAddress: the export's name is wide text.
DECLSPEC_IMPORT FARPROC WINAPI GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName);

#ifdef __cplusplus
}

// The phone's power call. Desktop headers declare a two-argument call of the same name, so the phone's one is a
// C++ overload here, bound to the export's plain name: a call with the phone's three arguments reaches it.
extern "C++" DECLSPEC_IMPORT DWORD WINAPI SetSystemPowerState(LPCWSTR pwsSystemState, DWORD StateFlags,
                                                              DWORD Options) __asm__("SetSystemPowerState");
#endif
