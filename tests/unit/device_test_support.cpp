// The device unit tests' shared harness: caught boxes and sleeps, vendor libraries on the phone drive, and the
// emulated phone's registry state.
#include <windows.h>

#include "device_test_support.h"
#include "import_patch.h"
#include "phone_drive.h"
#include "phone_link.h"
#include "phone_state.h"

DeviceCatches g_caught;

namespace
{

typedef VOID(WINAPI *SleepCall)(DWORD);
SleepCall s_realSleep = NULL;

int WINAPI CatchMessageBox(HWND, LPCWSTR text, LPCWSTR caption, UINT style)
{
    g_caught.boxes.push_back({text ? text : L"", caption ? caption : L"", style});
    return IDOK;
}

VOID WINAPI CatchSleep(DWORD ms)
{
    g_caught.sleeps.push_back(ms);
}

} // namespace

void ResetDeviceCatches()
{
    if (!s_realSleep) {
        s_realSleep = (SleepCall)PatchImport("coredll.dll", "Sleep", (void *)CatchSleep);
        PatchImport("coredll.dll", "MessageBoxW", (void *)CatchMessageBox);
    }
    g_caught = DeviceCatches();
}

void RealSleep(DWORD ms)
{
    if (s_realSleep)
        s_realSleep(ms);
    else
        WaitForSingleObject(GetCurrentProcess(), ms); // never signalled while we run: a plain wait
}

std::wstring BuildPath(const wchar_t *relative)
{
    wchar_t exe[MAX_PATH] = L"";
    GetModuleFileNameW(NULL, exe, MAX_PATH);
    std::wstring folder = exe;
    folder = folder.substr(0, folder.find_last_of(L'\\') + 1); // build\tests\ .
    return folder + L"..\\" + relative;
}

bool InstallVendorLibrary(VendorBuild build, const wchar_t *fileName)
{
    std::wstring source = BuildPath(build == VENDOR_FAKE ? L"tests\\fakes\\" : L"emulator\\phone\\") + fileName;
    return CopyFileW(source.c_str(), PhonePath((std::wstring(L"\\") + fileName).c_str()).c_str(), FALSE) != 0;
}

void RemoveVendorLibraries()
{
    DeleteFileW(PhonePath(L"\\CommManagerDll.dll").c_str());
    DeleteFileW(PhonePath(L"\\HTCUtil.dll").c_str());
}

void ResetEmulatedPhone(DWORD radioDelayMs)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, PHONE_STATE_KEY);
    WriteStateDword(STATE_RADIO_DELAY, radioDelayMs);
    WriteMachineDword(GPRS_KEY, GPRS_VALUE, 0);
}
