// The menu window's procedure: it hands each message it handles to a helper named for what it does.
#include <windows.h>
#include <windowsx.h>

#include "action_dispatch.h"
#include "menu_buttons.h"
#include "menu_paint.h"
#include "menu_state.h"
#include "menu_window.h"

namespace
{

// The auto-close tick ends the program; ticks of a timer id that no longer matches are ignored.
void OnTimer(HWND, UINT id)
{
    if (id == g_menu.autoCloseTimerId)
        PostQuitMessage(0);
}

void OnDestroy(HWND)
{
    PostQuitMessage(0);
}

} // namespace

LRESULT CALLBACK MenuWindowProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE:
        return HANDLE_WM_CREATE(hwnd, wParam, lParam, OnMenuCreate);
    case WM_PAINT:
        return HANDLE_WM_PAINT(hwnd, wParam, lParam, OnMenuPaint);
    case WM_COMMAND: // every button has control id 0; other ids are not the menu's
        if (LOWORD(wParam) != 0)
            break;
        OnButtonCommand(hwnd, (HWND)lParam);
        return 0;
    case WM_TIMER:
        HANDLE_WM_TIMER(hwnd, wParam, lParam, OnTimer);
        return 0;
    case WM_DESTROY:
        HANDLE_WM_DESTROY(hwnd, wParam, lParam, OnDestroy);
        return 0;
    }
    return DefWindowProcW(hwnd, uMsg, wParam, lParam);
}
