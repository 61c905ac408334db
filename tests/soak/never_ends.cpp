// A program that never ends, for the soak's check of its own hang verdict: built once to spin in a busy loop
// (SPINS) and once to block in a wait for an event nobody sets.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
#ifdef SPINS
    for (volatile unsigned long turns = 0;; turns++) {
    }
#else
    WaitForSingleObject(CreateEventW(NULL, TRUE, FALSE, NULL), INFINITE);
#endif
    return 0;
}
