// The actions' work, done through the device bridge and the system probes, and the state that picks each
// action's picture; one row per code beside config's facts of the same code.
#include <windows.h>
#include <connmgr.h>
#include <wince.h>

#include "../config/action_codes.h"
#include "../config/language_texts.h"
#include "../config/settings_store.h"
#include "../device/radio_bridge.h"
#include "../device/system_probes.h"
#include "action_dispatch.h"
#include "action_table.h"
#include "menu_state.h"

namespace
{

const DWORD kPollPause = 1000;        // between two asks of a radio or of the process list
const DWORD kRadioSettlePause = 5000; // after a radio has switched
const DWORD kBluetoothVisiblePause = 1000;
const wchar_t kManilaItemKey[] = L"Software\\Microsoft\\Today\\Items\\HTC Sense\\";
const wchar_t kManilaPath[] = L"\\Windows\\Manila.exe";
const WPARAM kTodayItemsChanged = 0xF2;

bool Confirmed()
{
    return MessageBoxW(NULL, g_lang.areYouSure, g_lang.warning, MB_YESNO | MB_ICONWARNING) == IDYES;
}

typedef int (*RadioGet)(int *cell);
typedef int (*RadioSet)(int on);

// Switches a radio over and waits until it reports the new state (at most kRadioPollLimit polls), then
// lets it settle.
void ToggleRadio(RadioGet get, RadioSet set, int *cell)
{
    get(cell);
    bool wantOn = *cell == 0;
    set(wantOn ? 1 : 0);
    for (int poll = 0;; poll++) {
        get(cell);
        if ((*cell != 0) == wantOn || poll + 1 >= kRadioPollLimit)
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
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kManilaItemKey, 0, NULL, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, NULL, &key, NULL);
    DWORD enabled = 0;
    RegSetValueExW(key, L"Enabled", 0, REG_DWORD, (const BYTE *)&enabled, sizeof enabled);
    SendMessageW(HWND_BROADCAST, WM_WININICHANGE, kTodayItemsChanged, 0);
    for (int poll = 0; poll < kManilaPollLimit && IsManilaRunning(); poll++)
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

void ToggleBluetooth(int)
{
    ToggleRadio(RadioGetBluetooth, RadioSetBluetooth, &g_menu.radioBluetooth);
}
void ToggleWlan(int)
{
    ToggleRadio(RadioGetWlan, RadioSetWlan, &g_menu.radioWlan);
}
void TogglePhone(int)
{
    ToggleRadio(RadioGetPhone, RadioSetPhone, &g_menu.radioPhone);
}
void ToggleFlightMode(int)
{
    ToggleRadio(RadioGetFlightMode, RadioSetFlightMode, &g_menu.radioFlight);
}

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
    if (ReadRegistryDword(kPhoneStatePath, kGprsConnectedValue) != 0)
        RadioDisconnectAllGprs();
    else
        ConnectData();
}

void Nothing(int) {}

void RunProgram(int slot)
{
    wchar_t section[8];
    SlotSectionName(section, slot);
    const wchar_t *arg = g_settingsDoc.GetValue(section, L"Arg", L"");
    const wchar_t *path = g_settingsDoc.GetValue(section, L"Path", L"");
    LaunchProgram(path, arg);
}

// The state that picks an action's picture, asked afresh at every paint: nothing is cached between paints.
bool IsBluetoothOn()
{
    RadioGetBluetooth(&g_menu.radioBluetooth);
    return g_menu.radioBluetooth != 0;
}

bool IsWlanOn()
{
    RadioGetWlan(&g_menu.radioWlan);
    return g_menu.radioWlan != 0;
}

bool IsPhoneOn()
{
    RadioGetPhone(&g_menu.radioPhone);
    return g_menu.radioPhone != 0;
}

bool IsFlightModeOn()
{
    RadioGetFlightMode(&g_menu.radioFlight);
    return g_menu.radioFlight != 0;
}

bool IsVibrateOn()
{
    return QueryVibroMode() != 0;
}

bool IsGprsConnected()
{
    return ReadRegistryDword(kPhoneStatePath, kGprsConnectedValue) != 0;
}

// The phone reports 3G switched off with the operating mode 1 exactly.
bool Is3gOn()
{
    return ReadRegistryDword(kUmtsPath, kUmtsOpModeValue) != 1;
}

// One row per action code, in code order. 3G has no work of its own.
constexpr ActionWork kActionWork[ACTION_COUNT] = {
    // code, state, desktop first, work
    {ACTION_RESTART_MANILA, nullptr, true, RestartManila},
    {ACTION_RESET, nullptr, false, Reset},
    {ACTION_SLEEP, nullptr, false, Suspend},
    {ACTION_OFF, nullptr, false, PowerOff},
    {ACTION_BLUETOOTH, IsBluetoothOn, true, ToggleBluetooth},
    {ACTION_BLUETOOTH_DISCOVERABLE, nullptr, true, MakeBluetoothVisible},
    {ACTION_WIFI, IsWlanOn, true, ToggleWlan},
    {ACTION_PHONE, IsPhoneOn, true, TogglePhone},
    {ACTION_VIBRO, IsVibrateOn, true, ToggleVibrate},
    {ACTION_GPRS, IsGprsConnected, true, ToggleGprs},
    {ACTION_3G, Is3gOn, true, Nothing},
    {ACTION_FLIGHT, IsFlightModeOn, true, ToggleFlightMode},
    {ACTION_PROG, nullptr, true, RunProgram},
    {ACTION_NONE, nullptr, false, Nothing},
};

// True when every row of work stands at the index of its own code, as config's facts do, has its work, and has a
// state exactly where the facts give an "off" picture to choose: a missing, misplaced or mismatched row fails.
constexpr bool WorkMatchesFacts(const ActionWork (&work)[ACTION_COUNT], const ActionInfo (&facts)[ACTION_COUNT])
{
    for (int code = 0; code < ACTION_COUNT; code++)
        if (work[code].code != code || work[code].code != facts[code].code || !work[code].run ||
            !work[code].isOn != !facts[code].pictureOff)
            return false;
    return true;
}
static_assert(WorkMatchesFacts(kActionWork, g_actions), "the work table needs one row per code of g_actions, in order");

} // namespace

const ActionWork *FindActionWork(int code)
{
    return code >= 0 && code < ACTION_COUNT ? &kActionWork[code] : nullptr;
}
