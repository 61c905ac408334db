// The menu window's buttons and the state picture of each slot. The buttons are plain platform push buttons
// with empty captions; their faces are painted by the menu window (menu_paint.cpp).
#include <stdlib.h>
#include <windows.h>

#include "../config/action_codes.h"
#include "../config/bounded_text.h"
#include "../device/radio_bridge.h"
#include "../device/system_probes.h"
#include "menu_buttons.h"
#include "menu_state.h"

namespace {

HWND CreatePlainButton(HWND hwndParent, DWORD style, int x, int y, int width, int height)
{
    return CreateWindowExW(0, L"BUTTON", L"", style, x, y, width, height, hwndParent, NULL, g_menu.hInstance, NULL);
}

// Whether the thing an action controls is on now; asked afresh, nothing is cached between paints.
bool IsActionOn(int code)
{
    switch (code) {
    case ACTION_BLUETOOTH:
        RadioGetBluetooth(&g_menu.radioBluetooth);
        return g_menu.radioBluetooth != 0;
    case ACTION_WIFI:
        RadioGetWlan(&g_menu.radioWlan);
        return g_menu.radioWlan != 0;
    case ACTION_PHONE:
        RadioGetPhone(&g_menu.radioPhone);
        return g_menu.radioPhone != 0;
    case ACTION_FLIGHT:
        RadioGetFlightMode(&g_menu.radioFlight);
        return g_menu.radioFlight != 0;
    case ACTION_VIBRO:
        return QueryVibroMode() != 0;
    case ACTION_GPRS:
        return ReadRegistryDword(PHONE_STATE_PATH, GPRS_CONNECTED_VALUE) != 0;
    case ACTION_3G:
        // The phone reports 3G switched off with the operating mode 1 exactly.
        return ReadRegistryDword(UMTS_PATH, UMTS_OPMODE_VALUE) != 1;
    }
    return true;
}

} // namespace

void CreateMenuButtons(HWND hwnd)
{
    for (int i = 0; i < SLOT_COUNT; i++) {
        SlotEntry &slot = g_menu.slots[i];
        slot.top = SLOT_FIRST_TOP + SLOT_PITCH * i;
        slot.button = NULL;
        slot.text[0] = L'\0';
        slot.iconPath[0] = L'\0';

        wchar_t section[8];
        SlotSectionName(section, i);
        slot.actionCode = _wtol(g_settingsDoc.GetValue(section, L"UseButton", L""));
        if (ActionHasNoButton(slot.actionCode))
            continue;
        slot.button = CreatePlainButton(hwnd, SLOT_BUTTON_STYLE, SLOT_LEFT, slot.top, SLOT_WIDTH, SLOT_HEIGHT);
        CopyText(slot.text, g_settingsDoc.GetValue(section, L"Text", L""));
    }
}

BOOL OnMenuCreate(HWND hwnd, LPCREATESTRUCTW)
{
    CreateMenuButtons(hwnd);
    // Made without WS_CHILD: owned top-level windows, which stand at the same places as the menu is at (0, 0).
    g_menu.exitButton = CreatePlainButton(hwnd, CORNER_BUTTON_STYLE, EXIT_BUTTON_LEFT, CORNER_BUTTON_TOP,
                                          CORNER_BUTTON_SIZE, CORNER_BUTTON_SIZE);
    g_menu.settingsButton = CreatePlainButton(hwnd, CORNER_BUTTON_STYLE, SETTINGS_BUTTON_LEFT, CORNER_BUTTON_TOP,
                                              CORNER_BUTTON_SIZE, CORNER_BUTTON_SIZE);
    return TRUE;
}

void ChooseButtonPicture(wchar_t *path, int slot)
{
    path[0] = L'\0';
    int code = g_menu.slots[slot].actionCode;
    if (code >= 0 && code < ACTION_COUNT && g_actions[code].pictureOn) {
        const ActionInfo &action = g_actions[code];
        bool on = !action.pictureOff || IsActionOn(code);
        CopyText(path, PATH_CAPACITY, g_menu.skinFolder);
        AppendText(path, PATH_CAPACITY, on ? action.pictureOn : action.pictureOff);
        return;
    }
    // Prog, None and unknown codes: the slot's own picture, a full path used as it is stored.
    wchar_t section[8];
    SlotSectionName(section, slot);
    CopyText(path, PATH_CAPACITY, g_settingsDoc.GetValue(section, L"Icon", L""));
}
