// The phone's process list on Wine: the one call the phone has and Wine lacks. The others are forwarders.
#include <windows.h>

// A snapshot is closed by its own call on the phone; on Wine it is a handle like any other.
extern "C" BOOL WINAPI Phone_CloseToolhelp32Snapshot(HANDLE hSnapshot)
{
    return CloseHandle(hSnapshot);
}
