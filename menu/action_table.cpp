// The action table: every action's facts in one row, with the work each does through the device bridge and
// the system probes, and the state that picks its picture.
#include <windows.h>
#include <connmgr.h>
#include <wince.h>

#include "../config/action_codes.h"
#include "../config/language_texts.h"
#include "../config/settings_store.h"
#include "../device/radio_bridge.h"
#include "../device/system_probes.h"
#include "action_dispatch.h"
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

} // namespace

// One row per action code, in code order; RowsInCodeOrder below rejects a missing or misplaced row.
// 3G has no work of its own and no button, and the button page does not offer it.
constexpr ActionInfo g_actions[ACTION_COUNT] = {
    // code, lang.ini key, default label, picture (on), picture off, state, button, offered, desktop first, work
    {ACTION_RESTART_MANILA, L"RestartManila", L"Restart Manila", L"Manila.png", nullptr, nullptr, true, true, true,
     RestartManila},
    {ACTION_RESET, L"Reset", L"Reset", L"Reset.png", nullptr, nullptr, true, true, false, Reset},
    {ACTION_SLEEP, L"Sleep", L"Sleep Mode", L"Sleep.png", nullptr, nullptr, true, true, false, Suspend},
    {ACTION_OFF, L"Off", L"Power off", L"Off.png", nullptr, nullptr, true, true, false, PowerOff},
    {ACTION_BLUETOOTH, L"Bluetooth", L"Bluetooth", L"Bluetooth_on.png", L"Bluetooth_off.png", IsBluetoothOn, true, true,
     true, ToggleBluetooth},
    {ACTION_BLUETOOTH_DISCOVERABLE, L"BluetoothD", L"Bluetooth Discoverable", L"BluetoothDis.png", nullptr, nullptr,
     true, true, true, MakeBluetoothVisible},
    {ACTION_WIFI, L"WiFi", L"WiFi", L"Wifi_on.png", L"Wifi_off.png", IsWlanOn, true, true, true, ToggleWlan},
    {ACTION_PHONE, L"Phone", L"Phone", L"Phone_on.png", L"Phone_off.png", IsPhoneOn, true, true, true, TogglePhone},
    {ACTION_VIBRO, L"Vibro", L"Vibro", L"Vibro_on.png", L"Vibro_off.png", IsVibrateOn, true, true, true, ToggleVibrate},
    {ACTION_GPRS, L"GPRS", L"GPRS", L"Gprs_on.png", L"Gprs_off.png", IsGprsConnected, true, true, true, ToggleGprs},
    {ACTION_3G, L"3G", L"3G", L"3g_on.png", L"3g_off.png", Is3gOn, false, false, true, Nothing},
    {ACTION_FLIGHT, L"Flight", L"Flight mode", L"Flight_on.png", L"Flight_off.png", IsFlightModeOn, true, true, true,
     ToggleFlightMode},
    {ACTION_PROG, L"Prog", L"Running programm", nullptr, nullptr, nullptr, true, true, true, RunProgram},
    {ACTION_NONE, L"None", L"None", nullptr, nullptr, nullptr, false, true, false, Nothing},
};
static_assert(RowsInCodeOrder(g_actions), "the action table needs one row per code, in code order");
