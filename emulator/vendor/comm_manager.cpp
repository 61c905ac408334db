// CommManagerDll.dll of the emulated phone: radio switching and state, and GPRS disconnection. A Set takes
// effect after the phone's radio delay; every call is recorded with its argument.
#include <windows.h>

#include <string>

#include "phone_state.h"

namespace
{

void RecordCall(const wchar_t *name, const std::wstring &argument)
{
    AppendStateList(LIST_CALLS, argument.empty() ? std::wstring(name) : std::wstring(name) + L" " + argument);
}

int SetRadio(const wchar_t *name, Radio radio, int on)
{
    RecordCall(name, std::to_wstring(on));
    RequestRadio(radio, on != 0);
    return 0;
}

int GetRadio(const wchar_t *name, Radio radio, int *state)
{
    int now = ReadRadio(radio);
    RecordCall(name, L"-> " + std::to_wstring(now));
    if (!state)
        return -1;
    *state = now;
    return 0;
}

} // namespace

extern "C" {

int CommManager_SetBluetooth(int on)
{
    return SetRadio(L"CommManager_SetBluetooth", RADIO_BLUETOOTH, on);
}
int CommManager_SetWLAN(int on)
{
    return SetRadio(L"CommManager_SetWLAN", RADIO_WLAN, on);
}
int CommManager_SetPhone(int on)
{
    return SetRadio(L"CommManager_SetPhone", RADIO_PHONE, on);
}
int CommManager_SetFlightMode(int on)
{
    return SetRadio(L"CommManager_SetFlightMode", RADIO_FLIGHT, on);
}
int CommManager_GetBluetooth(int *state)
{
    return GetRadio(L"CommManager_GetBluetooth", RADIO_BLUETOOTH, state);
}
int CommManager_GetWLAN(int *state)
{
    return GetRadio(L"CommManager_GetWLAN", RADIO_WLAN, state);
}
int CommManager_GetPhone(int *state)
{
    return GetRadio(L"CommManager_GetPhone", RADIO_PHONE, state);
}
int CommManager_GetFlightMode(int *state)
{
    return GetRadio(L"CommManager_GetFlightMode", RADIO_FLIGHT, state);
}

int CommManager_DisconnectAllGPRS()
{
    RecordCall(L"CommManager_DisconnectAllGPRS", L"");
    WriteMachineDword(GPRS_KEY, GPRS_VALUE, 0);
    return 0;
}

} // extern "C"
