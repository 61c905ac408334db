// Action dispatch: what a press of Exit, Settings or a menu button does; each action's work is its row of the
// work table (action_table.cpp).
#include <windows.h>

#include "../config/settings_store.h"
#include "action_dispatch.h"
#include "action_table.h"
#include "menu_state.h"

namespace
{

// The slot whose button is hwndSource (the last match), or -1.
int FindPressedSlot(HWND hwndSource)
{
    int pressed = -1;
    for (int slot = 0; slot < kSlotCount; slot++)
        if (g_menu.slots[slot].button == hwndSource)
            pressed = slot;
    return pressed;
}

} // namespace

void RunSlotAction(int slot)
{
    const ActionWork *work = FindActionWork(g_settings.slots[slot].actionCode);
    if (!work)
        return; // codes outside the table do nothing of their own
    // The desktop stands in front of the menu while the action runs.
    if (work->desktopFirst)
        SetForegroundWindow(GetDesktopWindow());
    work->run(slot);
}

void OnButtonCommand(HWND hwnd, HWND hwndSource)
{
    if (!hwndSource)
        return; // a press always names its button: a null source is none of the nine
    if (hwndSource == g_menu.exitButton) {
        PostQuitMessage(0);
        return;
    }
    if (hwndSource == g_menu.settingsButton) {
        g_menu.autoCloseTimerId = 1;
        g_menu.runSettingsEditor(hwnd, g_menu.hInstance);
        return;
    }
    int slot = FindPressedSlot(hwndSource);
    if (slot < 0)
        return; // none of the nine buttons: no action, and the auto-close stays armed
    g_menu.autoCloseTimerId = 1;
    RunSlotAction(slot);
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
}
