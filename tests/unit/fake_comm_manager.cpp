// A CommManagerDll.dll for the bridge's unit tests: it lacks "CommManager_SetWLAN" and
// "CommManager_GetFlightMode", answers known values, and appends each call to the calling process's
// environment variable FAKE_VENDOR_CALLS (which outlives the library's unloading).
#include <windows.h>

#include <string>

namespace
{

// The value every Get writes into its cell, and what every export answers.
const int kCellValue = 7;
const int kAnswer = 5;

void Record(const std::wstring &call)
{
    wchar_t calls[2048] = L"";
    GetEnvironmentVariableW(L"FAKE_VENDOR_CALLS", calls, 2048);
    std::wstring all = calls;
    all += call + L";";
    SetEnvironmentVariableW(L"FAKE_VENDOR_CALLS", all.c_str());
}

int Set(const wchar_t *name, int on)
{
    Record(std::wstring(name) + L" " + std::to_wstring(on));
    return kAnswer;
}

int Get(const wchar_t *name, int *cell)
{
    Record(name);
    *cell = kCellValue;
    return kAnswer;
}

} // namespace

extern "C" {
int CommManager_SetBluetooth(int on)
{
    return Set(L"SetBluetooth", on);
}
int CommManager_SetPhone(int on)
{
    return Set(L"SetPhone", on);
}
int CommManager_SetFlightMode(int on)
{
    return Set(L"SetFlightMode", on);
}
int CommManager_GetBluetooth(int *cell)
{
    return Get(L"GetBluetooth", cell);
}
int CommManager_GetWLAN(int *cell)
{
    return Get(L"GetWLAN", cell);
}
int CommManager_GetPhone(int *cell)
{
    return Get(L"GetPhone", cell);
}
int CommManager_DisconnectAllGPRS()
{
    Record(L"DisconnectAllGPRS");
    return kAnswer;
}
}
