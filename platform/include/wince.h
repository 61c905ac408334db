// Windows CE calls that desktop Win32 lacks: transparent blits, the power manager and toolhelp's close.
// On the desktop these calls are provided by platform/ce_calls.cpp.
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

BOOL WINAPI TransparentImage(HDC hdcDest, LONG DstX, LONG DstY, LONG DstCx, LONG DstCy, HANDLE hSrc, LONG SrcX,
                             LONG SrcY, LONG SrcCx, LONG SrcCy, COLORREF TransparentColor);
BOOL WINAPI CloseToolhelp32Snapshot(HANDLE hSnapshot);

#ifdef __cplusplus
}

// The phone's power call. Desktop Win32 has a two-argument call of the same name, so the phone's one is a
// C++ overload here; a call with the phone's three arguments reaches it.
DWORD WINAPI SetSystemPowerState(LPCWSTR pwsSystemState, DWORD StateFlags, DWORD Options);
#endif
