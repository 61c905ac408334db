// The settings hub: two columns of tiles, the slots 1 to 4 on the left and 5 to 7 with General on the right.
// A slot tile hands its slot to the button page through the chosen slot and the slot section name.
#include <windows.h>

#include <aygshell.h>
#include <windowsx.h>

#include "../config/language_texts.h"
#include "../resources/resource_ids.h"
#include "button_page.h"
#include "editor_frame.h"
#include "editor_state.h"
#include "general_page.h"
#include "settings_hub.h"

namespace
{

// Tiles are plain push buttons created without WS_CHILD, so the phone places them in screen coordinates.
const DWORD kTileStyle = WS_VISIBLE | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER;
const int kTileWidth = 225, kTileHeight = 90;

// Where each tile stands, in creation order: slots 0 to 6, then General (tile index 7).
const POINT kTilePositions[kSlotCount + 1] = {{10, 10},  {10, 107},  {10, 204},  {10, 301},
                                              {245, 10}, {245, 107}, {245, 204}, {245, 301}};

HWND CreateTile(HWND hDlg, int index, const wchar_t *caption)
{
    return CreateWindowExW(0, L"BUTTON", caption, kTileStyle, kTilePositions[index].x, kTilePositions[index].y,
                           kTileWidth, kTileHeight, hDlg, NULL, g_editor.hInstance, NULL);
}

BOOL OnInitDialog(HWND hDlg, HWND, LPARAM)
{
    g_editor.hub.softKeyBar = SetUpEditorDialog(hDlg, IDR_MENU_SAVE_CANCEL, L"", g_lang.keyExit);
    if (!g_editor.hub.softKeyBar)
        return FALSE;
    for (int slot = 0; slot < kSlotCount; slot++)
        g_editor.hub.slotTiles[slot] = CreateTile(hDlg, slot, g_lang.slotTiles[slot]);
    g_editor.hub.generalTile = CreateTile(hDlg, kSlotCount, g_lang.general);
    return TRUE;
}

// The slot whose tile is hwndTile, or -1 for any other window.
int SlotOfTile(HWND hwndTile)
{
    for (int slot = 0; slot < kSlotCount; slot++)
        if (hwndTile && g_editor.hub.slotTiles[slot] == hwndTile)
            return slot;
    return -1;
}

// A tile press opens its page modal over the hub; a press from no tile does nothing.
void OnTilePressed(HWND hDlg, HWND hwndTile)
{
    if (hwndTile && hwndTile == g_editor.hub.generalTile) {
        OpenEditorDialog(hDlg, GeneralPageDialog);
        return;
    }
    int slot = SlotOfTile(hwndTile);
    if (slot < 0)
        return;
    g_editor.handOver.chosenSlot = slot;
    SlotSectionName(g_editor.handOver.slotSectionName, slot);
    OpenEditorDialog(hDlg, ButtonPageDialog);
}

BOOL OnCommand(HWND hDlg, WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case 0:
        OnTilePressed(hDlg, (HWND)lParam);
        return FALSE;
    case IDOK:
        EndDialog(hDlg, 1);
        return TRUE;
    case IDM_CANCEL:
        EndDialog(hDlg, 2);
        return FALSE;
    }
    return FALSE; // the empty left soft key and anything else
}

} // namespace

void RunSettingsEditor(HWND hwndMenu, HINSTANCE hInstance)
{
    g_editor.hInstance = hInstance;
    SHFullScreen(hwndMenu, SHFS_SHOWTASKBAR);
    OpenEditorDialog(hwndMenu, SettingsHubDialog);
    PostQuitMessage(0);
}

INT_PTR CALLBACK SettingsHubDialog(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        return OnInitDialog(hDlg, (HWND)wParam, lParam);
    case WM_COMMAND:
        return OnCommand(hDlg, wParam, lParam);
    }
    return FALSE;
}
