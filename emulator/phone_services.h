// The phone's services that live in the shell process: its state in the registry, the vibrate switch, and the
// managers the program reaches through the platform layer.
#pragma once
#include <windows.h>

// The task bar's message that sets the vibrate mode (wParam = the new "Mode").
#define PHONE_MSG_SET_VIBRATE 0x484

// Stores a value of the phone's own state under HKCU\Software\EmulatedPhone.
void WritePhoneState(const wchar_t *name, DWORD value);

// Sets "Mode" in HKCU\ControlPanel\Notifications\ShellOverrides; answers 0.
LRESULT SetVibrateMode(DWORD mode);

// Creates the windows of the phone's other services, owned by the Today screen.
void StartPhoneServices(HINSTANCE hInstance, HWND hwndToday);
