// The menu tests' stand-ins, installed by rewriting entries of this test program's import address table.
// The fake radio library is the test program itself: it exports the radio library's Get calls.
#include <windows.h>

#include <string.h>

#include "device/radio_bridge.h"
#include "import_patch.h"
#include "menu_fakes.h"

FakePhone g_fakePhone;

namespace
{

typedef HMODULE(WINAPI *LoadLibraryWProc)(LPCWSTR);
typedef BOOL(WINAPI *FreeLibraryProc)(HMODULE);
LoadLibraryWProc s_realLoadLibraryW;
FreeLibraryProc s_realFreeLibrary;

int WINAPI FakeMessageBoxW(HWND, LPCWSTR, LPCWSTR, UINT)
{
    g_fakePhone.messageBoxes++;
    return IDOK;
}

void WINAPI FakeSleep(DWORD) {}

HMODULE WINAPI FakeLoadLibraryW(LPCWSTR name)
{
    if (name && _wcsicmp(name, kRadioLibrary) == 0) {
        if (!g_fakePhone.radioLibraryPresent) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return NULL;
        }
        return GetModuleHandleW(NULL);
    }
    return s_realLoadLibraryW(name);
}

BOOL WINAPI FakeFreeLibrary(HMODULE module)
{
    return module == GetModuleHandleW(NULL) ? TRUE : s_realFreeLibrary(module);
}

int ReportRadio(int *cell, int state)
{
    g_fakePhone.radioGets++;
    *cell = state;
    return 1;
}

HKEY OpenKey(HKEY root, const wchar_t *path)
{
    HKEY key = NULL;
    if (path[0] == L'\\')
        path++;
    RegCreateKeyExW(root, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL);
    return key;
}

} // namespace

// The radio library's Get exports, found by GetProcAddress in this program.
extern "C" {
__declspec(dllexport) int CommManager_GetBluetooth(int *cell)
{
    return ReportRadio(cell, g_fakePhone.bluetooth);
}
__declspec(dllexport) int CommManager_GetWLAN(int *cell)
{
    return ReportRadio(cell, g_fakePhone.wlan);
}
__declspec(dllexport) int CommManager_GetPhone(int *cell)
{
    return ReportRadio(cell, g_fakePhone.phone);
}
__declspec(dllexport) int CommManager_GetFlightMode(int *cell)
{
    return ReportRadio(cell, g_fakePhone.flight);
}
}

void InstallMenuFakes()
{
    if (!s_realLoadLibraryW) {
        PatchImport("coredll.dll", "MessageBoxW", (void *)FakeMessageBoxW);
        PatchImport("coredll.dll", "Sleep", (void *)FakeSleep);
        s_realLoadLibraryW = (LoadLibraryWProc)PatchImport("coredll.dll", "LoadLibraryW", (void *)FakeLoadLibraryW);
        s_realFreeLibrary = (FreeLibraryProc)PatchImport("coredll.dll", "FreeLibrary", (void *)FakeFreeLibrary);
    }
    g_fakePhone = FakePhone();
    g_fakePhone.radioLibraryPresent = true;
}

void SetMachineDword(const wchar_t *keyPath, const wchar_t *valueName, DWORD value)
{
    HKEY key = OpenKey(HKEY_LOCAL_MACHINE, keyPath);
    RegSetValueExW(key, valueName, 0, REG_DWORD, (const BYTE *)&value, sizeof value);
    RegCloseKey(key);
}

void DeleteMachineValue(const wchar_t *keyPath, const wchar_t *valueName)
{
    HKEY key = OpenKey(HKEY_LOCAL_MACHINE, keyPath);
    RegDeleteValueW(key, valueName);
    RegCloseKey(key);
}

void SetVibrateMode(DWORD mode)
{
    HKEY key = OpenKey(HKEY_CURRENT_USER, L"ControlPanel\\Notifications\\ShellOverrides");
    RegSetValueExW(key, L"Mode", 0, REG_DWORD, (const BYTE *)&mode, sizeof mode);
    RegCloseKey(key);
}
