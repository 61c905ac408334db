// Stand-ins for the menu tests: the test program's own imports of MessageBoxW, Sleep, LoadLibraryW and
// FreeLibrary are redirected, so a radio library can be present or missing and no box or pause holds a test up.
#pragma once

// The fake radio library's state and what the program did with it.
struct FakePhone {
    bool radioLibraryPresent;           // LoadLibraryW of CommManagerDll.dll succeeds
    int bluetooth, wlan, phone, flight; // what the Get exports report
    int radioGets;                      // calls of the Get exports
    int messageBoxes;                   // boxes the program tried to show (each answered IDOK at once)
};

extern FakePhone g_fakePhone;

// Redirects the imports once; later calls only reset g_fakePhone (library present, every radio off).
void InstallMenuFakes();

// Writes a DWORD under HKEY_LOCAL_MACHINE (keyPath may start with a backslash, as the phone's paths do).
void SetMachineDword(const wchar_t *keyPath, const wchar_t *valueName, DWORD value);
// Removes a value under HKEY_LOCAL_MACHINE.
void DeleteMachineValue(const wchar_t *keyPath, const wchar_t *valueName);
// Sets the vibrate mode's "Mode" under HKEY_CURRENT_USER.
void SetVibrateMode(DWORD mode);
