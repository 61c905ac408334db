// The menu window's buttons and the state picture of each slot. The buttons are plain platform push buttons
// with empty captions; their faces are painted by the menu window (menu_paint.cpp).
#include <windows.h>

#include <stdlib.h>

#include "../config/action_codes.h"
#include "../config/bounded_text.h"
#include "action_table.h"
#include "menu_buttons.h"
#include "menu_state.h"

namespace
{

HWND CreatePlainButton(HWND hwndParent, DWORD style, int x, int y, int width, int height)
{
    return CreateWindowExW(0, L"BUTTON", L"", style, x, y, width, height, hwndParent, NULL, g_menu.hInstance, NULL);
}

} // namespace

void CreateMenuButtons(HWND hwnd)
{
    ReadSlotSettings();
    for (int i = 0; i < kSlotCount; i++) {
        SlotButton &slot = g_menu.slots[i];
        slot.top = kSlotFirstTop + kSlotPitch * i;
        slot.button = NULL;
        if (ActionHasButton(g_settings.slots[i].actionCode))
            slot.button = CreatePlainButton(hwnd, kSlotButtonStyle, kSlotLeft, slot.top, kSlotWidth, kSlotHeight);
    }
}

BOOL OnMenuCreate(HWND hwnd, LPCREATESTRUCTW)
{
    CreateMenuButtons(hwnd);
    // Made without WS_CHILD: owned top-level windows, which stand at the same places as the menu is at (0, 0).
    g_menu.exitButton = CreatePlainButton(hwnd, kCornerButtonStyle, kExitButtonLeft, kCornerButtonTop,
                                          kCornerButtonSize, kCornerButtonSize);
    g_menu.settingsButton = CreatePlainButton(hwnd, kCornerButtonStyle, kSettingsButtonLeft, kCornerButtonTop,
                                              kCornerButtonSize, kCornerButtonSize);
    return TRUE;
}

void ChooseButtonPicture(wchar_t *path, int slot)
{
    path[0] = L'\0';
    const ActionInfo *action = FindAction(g_settings.slots[slot].actionCode);
    if (action && action->pictureOn) {
        bool on = !action->pictureOff || FindActionWork(action->code)->isOn();
        CopyText(path, kPathCapacity, g_settings.skinFolder);
        AppendText(path, kPathCapacity, on ? action->pictureOn : action->pictureOff);
        return;
    }
    // Prog, None and unknown codes: the slot's own picture, a full path used as it is stored.
    wchar_t section[8];
    SlotSectionName(section, slot);
    CopyText(path, kPathCapacity, g_settingsDoc.GetValue(section, L"Icon", L""));
}
