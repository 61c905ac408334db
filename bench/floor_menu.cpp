// The bare window floor of a start: the least a program can do to show what the menu shows at start, a window
// over the screen with nine plain buttons, painted once. Runs until it is ended from outside.
#include <windows.h>

#include "floor_window.h"

namespace
{

LRESULT CALLBACK FloorWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int nCmdShow)
{
    FloorButtons buttons;
    HWND hwnd =
        CreateFloorWindow(hInstance, L"FloorMenu", FloorWindowProc, (HBRUSH)GetStockObject(BLACK_BRUSH), 0, &buttons);
    return RunFloorWindow(hwnd, nCmdShow);
}
