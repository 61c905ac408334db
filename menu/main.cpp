// The program's entry point. The command line is ignored: settings come only from the ini files.
#include <windows.h>

#include "startup.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int nCmdShow)
{
    return RunMenu(hInstance, nCmdShow);
}
