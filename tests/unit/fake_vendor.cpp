// Test doubles of the phone's two vendor libraries, built as CommManagerDll.dll and HTCUtil.dll beside the
// test programs. A radio switches after a set number of Get calls; every call is logged. A test keeps its own
// reference to the library, so its state outlives the program's load-call-release of each operation.
#include <stdio.h>
#include <string>

#define FAKE_EXPORT extern "C" __declspec(dllexport)

namespace
{

struct Radio {
    int state;    // what Get reports
    int target;   // what a Set asked for
    int getsToGo; // Get calls before the target takes effect; -1: nothing pending
};

Radio s_radios[4] = {{0, 0, -1}, {0, 0, -1}, {0, 0, -1}, {0, 0, -1}};
int s_switchAfterGets = 1; // 0: at once; -1: never
std::string s_log;
int s_offCalls = 0;

void Log(const char *name, int argument)
{
    char line[64];
    snprintf(line, sizeof line, "%s(%d);", name, argument);
    s_log += line;
}

int Set(int radio, const char *name, int on)
{
    Log(name, on);
    s_radios[radio].target = on;
    s_radios[radio].getsToGo = s_switchAfterGets;
    if (s_switchAfterGets == 0) {
        s_radios[radio].state = on;
        s_radios[radio].getsToGo = -1;
    }
    return 100 + radio;
}

int Get(int radio, const char *name, int *cell)
{
    Radio &r = s_radios[radio];
    if (r.getsToGo > 0 && --r.getsToGo == 0) {
        r.state = r.target;
        r.getsToGo = -1;
    }
    Log(name, r.state);
    *cell = r.state;
    return 200 + radio;
}

} // namespace

#ifdef FAKE_COMM_MANAGER
FAKE_EXPORT int CommManager_SetBluetooth(int on)
{
    return Set(0, "SetBluetooth", on);
}
FAKE_EXPORT int CommManager_SetWLAN(int on)
{
    return Set(1, "SetWLAN", on);
}
FAKE_EXPORT int CommManager_SetPhone(int on)
{
    return Set(2, "SetPhone", on);
}
FAKE_EXPORT int CommManager_SetFlightMode(int on)
{
    return Set(3, "SetFlightMode", on);
}
FAKE_EXPORT int CommManager_GetBluetooth(int *cell)
{
    return Get(0, "GetBluetooth", cell);
}
FAKE_EXPORT int CommManager_GetWLAN(int *cell)
{
    return Get(1, "GetWLAN", cell);
}
FAKE_EXPORT int CommManager_GetPhone(int *cell)
{
    return Get(2, "GetPhone", cell);
}
FAKE_EXPORT int CommManager_GetFlightMode(int *cell)
{
    return Get(3, "GetFlightMode", cell);
}
FAKE_EXPORT int CommManager_DisconnectAllGPRS()
{
    Log("DisconnectAllGPRS", 0);
    return 300;
}
#else
FAKE_EXPORT int HTCUtilDeviceOff()
{
    s_offCalls++;
    return 400;
}
FAKE_EXPORT int Fake_OffCalls()
{
    return s_offCalls;
}
#endif

// Test controls: radio states, how many Gets a switch takes, and the call log.
FAKE_EXPORT void Fake_Reset(int switchAfterGets)
{
    for (Radio &r : s_radios)
        r = Radio{0, 0, -1};
    s_switchAfterGets = switchAfterGets;
    s_log.clear();
    s_offCalls = 0;
}
FAKE_EXPORT void Fake_SetRadio(int radio, int state)
{
    s_radios[radio].state = state;
}
FAKE_EXPORT const char *Fake_Log()
{
    return s_log.c_str();
}
