// The action codes that bind a menu button slot to what it does, and the one table of each action's facts:
// its label, its pictures, whether it has a button and whether the button page offers it. What an action does
// is the menu's (menu/action_table.h), in a table checked against this one when the menu is compiled.
#pragma once

enum ActionCode {
    ACTION_RESTART_MANILA = 0,
    ACTION_RESET = 1,
    ACTION_SLEEP = 2,
    ACTION_OFF = 3,
    ACTION_BLUETOOTH = 4,
    ACTION_BLUETOOTH_DISCOVERABLE = 5,
    ACTION_WIFI = 6,
    ACTION_PHONE = 7,
    ACTION_VIBRO = 8,
    ACTION_GPRS = 9,
    ACTION_3G = 10,
    ACTION_FLIGHT = 11,
    ACTION_PROG = 12,
    ACTION_NONE = 13,
    ACTION_COUNT = 14
};

struct ActionInfo {
    ActionCode code;             // the row's own code: the table is checked to hold every code, in order
    const wchar_t *langKey;      // its key in lang.ini, which names the action
    const wchar_t *defaultLabel; // the label when lang.ini does not give one
    const wchar_t *pictureOn;    // skin picture of the action, or of its "on" state; null: the slot's "Icon"
    const wchar_t *pictureOff;   // skin picture of the "off" state; null when the action has one picture
    bool hasButton;              // a slot bound to it gets a menu button
    bool offeredByPage;          // the button page lists it
};

// One row per action code, indexed by code. 3G has no button, and the button page does not offer it.
inline constexpr ActionInfo g_actions[ACTION_COUNT] = {
    // code, lang.ini key, default label, picture (on), picture off, button, offered by the button page
    {ACTION_RESTART_MANILA, L"RestartManila", L"Restart Manila", L"Manila.png", nullptr, true, true},
    {ACTION_RESET, L"Reset", L"Reset", L"Reset.png", nullptr, true, true},
    {ACTION_SLEEP, L"Sleep", L"Sleep Mode", L"Sleep.png", nullptr, true, true},
    {ACTION_OFF, L"Off", L"Power off", L"Off.png", nullptr, true, true},
    {ACTION_BLUETOOTH, L"Bluetooth", L"Bluetooth", L"Bluetooth_on.png", L"Bluetooth_off.png", true, true},
    {ACTION_BLUETOOTH_DISCOVERABLE, L"BluetoothD", L"Bluetooth Discoverable", L"BluetoothDis.png", nullptr, true, true},
    {ACTION_WIFI, L"WiFi", L"WiFi", L"Wifi_on.png", L"Wifi_off.png", true, true},
    {ACTION_PHONE, L"Phone", L"Phone", L"Phone_on.png", L"Phone_off.png", true, true},
    {ACTION_VIBRO, L"Vibro", L"Vibro", L"Vibro_on.png", L"Vibro_off.png", true, true},
    {ACTION_GPRS, L"GPRS", L"GPRS", L"Gprs_on.png", L"Gprs_off.png", true, true},
    {ACTION_3G, L"3G", L"3G", L"3g_on.png", L"3g_off.png", false, false},
    {ACTION_FLIGHT, L"Flight", L"Flight mode", L"Flight_on.png", L"Flight_off.png", true, true},
    {ACTION_PROG, L"Prog", L"Running programm", nullptr, nullptr, true, true},
    {ACTION_NONE, L"None", L"None", nullptr, nullptr, false, true},
};

// True when every row of table stands at the index of its own code and names its label: a missing or
// misplaced row fails.
constexpr bool RowsInCodeOrder(const ActionInfo (&table)[ACTION_COUNT])
{
    for (int code = 0; code < ACTION_COUNT; code++)
        if (table[code].code != code || !table[code].langKey || !table[code].defaultLabel)
            return false;
    return true;
}
static_assert(RowsInCodeOrder(g_actions), "the action table needs one row per code, in code order");

// The row of a code, or null for a code outside 0 to 13.
const ActionInfo *FindAction(int code);

// Whether a slot bound to code gets a menu button: codes outside the table do, as the menu has always made them.
bool ActionHasButton(int code);
