// The program's entry point, which wires the layers together: the menu runs, and gets the settings editor's
// entry for its Settings button. The command line is ignored: settings come only from the ini files.
#include <windows.h>

#include "../editor/settings_hub.h"
#include "startup.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int nCmdShow)
{
    return RunMenu(hInstance, nCmdShow, RunSettingsEditor);
}
