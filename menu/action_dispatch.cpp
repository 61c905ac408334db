// Action dispatch: the command handler and one row per action code, each doing its work through the device
// bridge and the system probes before the menu closes.
#include <windows.h>
#include <connmgr.h>
#include <wince.h>

#include "action_dispatch.h"
#include "menu_state.h"
#include "../config/action_codes.h"
#include "../config/language_texts.h"
#include "../config/settings_store.h"
#include "../device/radio_bridge.h"
#include "../device/system_probes.h"
#include "../editor/settings_hub.h"

namespace {

const DWORD kPollPause = 1000;        // between two asks of a radio or of the process list
const DWORD kRadioSettlePause = 5000; // after a radio has switched
const DWORD kBluetoothVisiblePause = 1000;
const wchar_t kManilaItemKey[] = L"Software\\Microsoft\\Today\\Items\\HTC Sense\\";
const wchar_t kManilaPath[] = L"\\Windows\\Manila.exe";
const WPARAM kTodayItemsChanged = 0xF2;

// Brings the desktop in front of the menu while an action runs.
void DesktopFirst()
{
    SetForegroundWindow(GetDesktopWindow());
}

bool Confirmed()
{
    return MessageBoxW(NULL, g_lang.areYouSure, g_lang.warning, MB_YESNO | MB_ICONWARNING) == IDYES;
}

typedef int (*RadioGet)(int *cell);
typedef int (*RadioSet)(int on);

// Switches a radio over and waits until it reports the new state (at most RADIO_POLL_LIMIT polls), then
// lets it settle.
void ToggleRadio(RadioGet get, RadioSet set, int *cell)
{
    get(cell);
    bool wantOn = *cell == 0;
    set(wantOn ? 1 : 0);
    for (int poll = 0;; poll++) {
        get(cell);
        if ((*cell != 0) == wantOn || poll + 1 >= RADIO_POLL_LIMIT)
            break;
        Sleep(kPollPause);
    }
    Sleep(kRadioSettlePause);
}

void RestartManila(int)
{
    if (!IsManilaRunning())
        return;
    HKEY key = NULL;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kManilaItemKey, 0, NULL, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, NULL, &key,
                    NULL);
    DWORD enabled = 0;
    RegSetValueExW(key, L"Enabled", 0, REG_DWORD, (const BYTE *)&enabled, sizeof enabled);
    SendMessageW(HWND_BROADCAST, WM_WININICHANGE, kTodayItemsChanged, 0);
    for (int poll = 0; poll < MANILA_POLL_LIMIT && IsManilaRunning(); poll++)
        Sleep(kPollPause);
    // The item is enabled again even when the shell did not end within the bound.
    enabled = 1;
    RegSetValueExW(key, L"Enabled", 0, REG_DWORD, (const BYTE *)&enabled, sizeof enabled);
    RegCloseKey(key);
    if (!IsManilaRunning())
        LaunchProgram(kManilaPath, L"");
}

void Reset(int)
{
    if (Confirmed())
        SetSystemPowerState(NULL, POWER_STATE_RESET, POWER_FORCE);
}

void Suspend(int)
{
    SetSystemPowerState(NULL, POWER_STATE_SUSPEND, POWER_FORCE);
}

void PowerOff(int)
{
    if (Confirmed())
        DevicePowerOff();
}

void ToggleBluetooth(int) { ToggleRadio(RadioGetBluetooth, RadioSetBluetooth, &g_menu.radioBluetooth); }
void ToggleWlan(int) { ToggleRadio(RadioGetWlan, RadioSetWlan, &g_menu.radioWlan); }
void TogglePhone(int) { ToggleRadio(RadioGetPhone, RadioSetPhone, &g_menu.radioPhone); }
void ToggleFlightMode(int) { ToggleRadio(RadioGetFlightMode, RadioSetFlightMode, &g_menu.radioFlight); }

void MakeBluetoothVisible(int)
{
    HWND hwndTray = FindWindowW(L"WCE_BTTRAY", NULL);
    if (hwndTray)
        SendMessageW(hwndTray, g_menu.btVisibleMessage, 0, 0);
    else
        MessageBoxW(NULL, g_lang.noBtFound, g_lang.warning, MB_OK | MB_ICONWARNING);
    Sleep(kBluetoothVisiblePause);
}

void ToggleVibrate(int)
{
    SetVibroMode(QueryVibroMode() == 0 ? 2 : 0);
}

void ConnectData()
{
    CONNMGR_CONNECTIONINFO info = {};
    info.cbSize = sizeof info;
    info.dwParams = CONNMGR_PARAM_GUIDDESTNET;
    info.dwFlags = 0;
    info.dwPriority = CONNMGR_PRIORITY_USERINTERACTIVE;
    info.guidDestNet = IID_DestNetInternet;
    HANDLE connection = NULL;
    DWORD status = 0;
    ConnMgrEstablishConnectionSync(&info, &connection, 0, &status);
}

void ToggleGprs(int)
{
    if (ReadRegistryDword(PHONE_STATE_PATH, GPRS_CONNECTED_VALUE) != 0)
        RadioDisconnectAllGprs();
    else
        ConnectData();
}

void Nothing(int) {}

void RunProgram(int slot)
{
    wchar_t section[4];
    SlotSectionName(section, slot);
    const wchar_t *arg = g_settingsDoc.GetValue(section, L"Arg", L"");
    const wchar_t *path = g_settingsDoc.GetValue(section, L"Path", L"");
    LaunchProgram(path, arg);
}

struct ActionRow {
    bool desktopFirst;      // the desktop comes in front of the menu before the work
    void (*run)(int slot);  // the work
};

// Indexed by action code.
const ActionRow kActionRows[ACTION_COUNT] = {
    {true, RestartManila},  {false, Reset},        {false, Suspend},     {false, PowerOff},
    {true, ToggleBluetooth}, {true, MakeBluetoothVisible}, {true, ToggleWlan}, {true, TogglePhone},
    {true, ToggleVibrate},  {true, ToggleGprs},    {true, Nothing},      {true, ToggleFlightMode},
    {true, RunProgram},     {false, Nothing},
};

// The slot whose button is hwndSource (the last match), or -1.
int FindPressedSlot(HWND hwndSource)
{
    int pressed = -1;
    for (int slot = 0; slot < SLOT_COUNT; slot++)
        if (g_menu.slots[slot].button == hwndSource)
            pressed = slot;
    return pressed;
}

} // namespace

void RunSlotAction(int slot)
{
    int code = g_menu.slots[slot].actionCode;
    if (code < 0 || code >= ACTION_COUNT)
        return; // codes outside the table do nothing of their own
    const ActionRow &row = kActionRows[code];
    if (row.desktopFirst)
        DesktopFirst();
    row.run(slot);
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
        RunSettingsEditor(hwnd);
        return;
    }
    int slot = FindPressedSlot(hwndSource);
    if (slot < 0)
        return; // none of the nine buttons: no action, and the auto-close stays armed
    g_menu.autoCloseTimerId = 1;
    RunSlotAction(slot);
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
}
