// The phone's services in the shell process: the vibrate switch, the record of input on the Today screen, and
// the power, connection and Bluetooth managers that the phone's programs reach through their windows.
#pragma once
#include <windows.h>

// The task bar's message that sets the vibrate mode (wParam = the new "Mode").
#define PHONE_MSG_SET_VIBRATE 0x484

// Sets "Mode" in HKCU\ControlPanel\Notifications\ShellOverrides; answers 0.
LRESULT SetVibrateMode(DWORD mode);

// Records input that reached the Today screen: "tap X Y", "key VK", "char CODE".
void RecordInput(const wchar_t *kind, int a, int b, bool two);

// Creates or ends the optional service windows (the Bluetooth manager) as the phone's state says.
void UpdatePhoneServices();

// Creates the windows of the phone's services and starts Manila, as the phone does when it boots.
void StartPhoneServices(HINSTANCE hInstance, HWND hwndToday);
