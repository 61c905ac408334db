// HTCUtil.dll of the emulated phone: device power off, handed to the phone's power manager.
#include <windows.h>

#include <wince.h>

#include "phone_link.h"
#include "phone_state.h"

extern "C" int HTCUtilDeviceOff()
{
    AppendStateList(LIST_CALLS, L"HTCUtilDeviceOff");
    HWND hwndManager = FindWindowW(PHONE_POWER_CLASS, NULL);
    if (!hwndManager) {
        AppendStateList(LIST_POWER, L"off"); // no power manager: the device goes off unseen
        return 0;
    }
    return (int)SendMessageW(hwndManager, PHONE_MSG_POWER, POWER_STATE_OFF, POWER_FORCE);
}
