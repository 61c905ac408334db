// Probes of the phone's state in the registry and the process list, program launching and the vibrate switch.
#pragma once
#include <windows.h>

// Registry paths and values the menu reads.
constexpr wchar_t kPhoneStatePath[] = L"\\System\\State\\Phone\\";
constexpr wchar_t kGprsConnectedValue[] = L"Cellular System Connected";
constexpr wchar_t kUmtsPath[] = L"\\Software\\OEM\\UMTS\\";
constexpr wchar_t kUmtsOpModeValue[] = L"OpMode";

// The task bar's message that sets the vibrate mode (wParam: the mode), 0x484.
constexpr UINT kTaskBarSetVibrateMessage = WM_USER + 0x84;

// The first four bytes of a value under HKEY_LOCAL_MACHINE; 0 when it cannot be read. Each step is retried
// up to 10 times, 100 ms apart.
DWORD ReadRegistryDword(const wchar_t *keyPath, const wchar_t *valueName);

// True when a running process's executable is "Manila.exe" (any letter case).
bool IsManilaRunning();

// Opens file with parameters through the shell; nothing waits for it.
void LaunchProgram(const wchar_t *file, const wchar_t *parameters);

// 0 when the vibrate mode is off, otherwise the stored "Mode" + 1.
DWORD QueryVibroMode();

// Asks the task bar to set the vibrate mode: 2 = on, 0 = off.
void SetVibroMode(DWORD mode);
