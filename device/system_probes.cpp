// System probes: registry reads with retries, the process list, the shell launch and the vibrate switch.
#include <windows.h>

#include <shellapi.h>
#include <tlhelp32.h>
#include <wince.h>

#include "system_probes.h"

namespace
{

const int kRegistryRetries = 10;
const DWORD kRegistryRetryPause = 100;

// The phone's registry paths start with a backslash; the desktop registry does not take one.
const wchar_t *RegistryPath(const wchar_t *path)
{
    return path[0] == L'\\' ? path + 1 : path;
}

// Reads the first four bytes of a value, as the phone's registry does for a four-byte buffer. The desktop
// refuses a longer value with ERROR_MORE_DATA and fills nothing: then the whole value is read and cut.
LONG ReadFirstFourBytes(HKEY key, const wchar_t *valueName, BYTE (&data)[4])
{
    DWORD size = sizeof data;
    LONG rc = RegQueryValueExW(key, valueName, NULL, NULL, data, &size);
    if (rc != ERROR_MORE_DATA)
        return rc;
    DWORD whole = 0;
    rc = RegQueryValueExW(key, valueName, NULL, NULL, NULL, &whole);
    BYTE *buffer = rc == ERROR_SUCCESS ? (BYTE *)LocalAlloc(LPTR, whole) : NULL;
    if (buffer && whole >= sizeof data)
        rc = RegQueryValueExW(key, valueName, NULL, NULL, buffer, &whole);
    else
        rc = ERROR_OUTOFMEMORY; // the value changed under us or no memory: a failed attempt
    if (rc == ERROR_SUCCESS)
        CopyMemory(data, buffer, sizeof data);
    LocalFree(buffer);
    return rc;
}

} // namespace

DWORD ReadRegistryDword(const wchar_t *keyPath, const wchar_t *valueName)
{
    DWORD result = 0;
    HKEY key = NULL;
    LONG rc = RegCreateKeyExW(HKEY_LOCAL_MACHINE, RegistryPath(keyPath), 0, NULL, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                              NULL, &key, NULL);
    for (int retry = 0; rc != ERROR_SUCCESS && retry < kRegistryRetries; retry++) {
        Sleep(kRegistryRetryPause);
        rc = RegCreateKeyExW(HKEY_LOCAL_MACHINE, RegistryPath(keyPath), 0, NULL, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                             NULL, &key, NULL);
    }
    if (rc != ERROR_SUCCESS)
        return 0;

    // The type is not asked for: the first four bytes of whatever is stored are the answer.
    BYTE data[4] = {};
    rc = ReadFirstFourBytes(key, valueName, data);
    for (int retry = 0; rc != ERROR_SUCCESS && retry < kRegistryRetries; retry++) {
        Sleep(kRegistryRetryPause);
        rc = ReadFirstFourBytes(key, valueName, data);
    }
    if (rc == ERROR_SUCCESS)
        CopyMemory(&result, data, sizeof result);

    rc = RegCloseKey(key);
    for (int retry = 0; rc != ERROR_SUCCESS && retry < kRegistryRetries; retry++) {
        Sleep(kRegistryRetryPause);
        rc = RegCloseKey(key);
    }
    return result;
}

bool IsManilaRunning()
{
    bool running = false;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPNOHEAPS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, L"Manila.exe") == 0)
            running = true;
    if (snapshot != INVALID_HANDLE_VALUE)
        CloseToolhelp32Snapshot(snapshot);
    return running;
}

void LaunchProgram(const wchar_t *file, const wchar_t *parameters)
{
    SHELLEXECUTEINFOW sei = {};
    sei.cbSize = sizeof sei;
    sei.fMask = SEE_MASK_NOCLOSEPROCESS;
    sei.hwnd = NULL;
    sei.lpVerb = L"open";
    sei.lpFile = file;
    sei.lpParameters = parameters;
    sei.lpDirectory = L"";
    sei.nShow = SW_HIDE;
    // The phone keeps the process handle unused; here it is closed so it does not leak.
    if (ShellExecuteExW(&sei) && sei.hProcess)
        CloseHandle(sei.hProcess);
}

DWORD QueryVibroMode()
{
    DWORD mode = 0;
    HKEY key = NULL;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"ControlPanel\\Notifications\\ShellOverrides", 0, NULL, 0, KEY_ALL_ACCESS,
                        NULL, &key, &disposition) != ERROR_SUCCESS)
        return 0;
    DWORD size = sizeof mode;
    if (RegQueryValueExW(key, L"Mode", NULL, NULL, (BYTE *)&mode, &size) != ERROR_SUCCESS)
        mode = 0;
    RegCloseKey(key);
    return mode == 0 ? 0 : mode + 1;
}

void SetVibroMode(DWORD mode)
{
    HWND hwndTaskBar = FindWindowW(L"HHTaskBar", NULL);
    if (hwndTaskBar)
        SendMessageW(hwndTaskBar, kTaskBarSetVibrateMessage, mode, 0);
}
