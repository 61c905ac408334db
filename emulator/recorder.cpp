// recorder.exe of the emulated phone: a program for launch scenarios. It records its own path and parameters
// in the phone's list of launched programs and ends.
#include <windows.h>

#include "phone_state.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    RecordLaunch();
    return 0;
}
