// The phone's services in the shell process. The radios, the power and connection managers and the Bluetooth
// manager are added here as the phone grows.
#include <windows.h>

#include "phone_link.h"
#include "phone_services.h"

void WritePhoneState(const wchar_t *name, DWORD value)
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, PHONE_STATE_KEY, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(key, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value);
    RegCloseKey(key);
}

LRESULT SetVibrateMode(DWORD mode)
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"ControlPanel\\Notifications\\ShellOverrides", 0, NULL, 0,
                        KEY_SET_VALUE, NULL, &key, NULL) == ERROR_SUCCESS) {
        RegSetValueExW(key, L"Mode", 0, REG_DWORD, (const BYTE *)&mode, sizeof mode);
        RegCloseKey(key);
    }
    return 0;
}

void StartPhoneServices(HINSTANCE, HWND)
{
}
