// The action-code table.
#include "action_codes.h"

const ActionInfo g_actions[ACTION_COUNT] = {
    {L"RestartManila", L"Restart Manila", L"Manila.png", nullptr},
    {L"Reset", L"Reset", L"Reset.png", nullptr},
    {L"Sleep", L"Sleep Mode", L"Sleep.png", nullptr},
    {L"Off", L"Power off", L"Off.png", nullptr},
    {L"Bluetooth", L"Bluetooth", L"Bluetooth_on.png", L"Bluetooth_off.png"},
    {L"BluetoothD", L"Bluetooth Discoverable", L"BluetoothDis.png", nullptr},
    {L"WiFi", L"WiFi", L"Wifi_on.png", L"Wifi_off.png"},
    {L"Phone", L"Phone", L"Phone_on.png", L"Phone_off.png"},
    {L"Vibro", L"Vibro", L"Vibro_on.png", L"Vibro_off.png"},
    {L"GPRS", L"GPRS", L"Gprs_on.png", L"Gprs_off.png"},
    {L"3G", L"3G", L"3g_on.png", L"3g_off.png"},
    {L"Flight", L"Flight mode", L"Flight_on.png", L"Flight_off.png"},
    {L"Prog", L"Running programm", nullptr, nullptr},
    {L"None", L"None", nullptr, nullptr},
};

bool ActionHasNoButton(int code)
{
    return code == ACTION_NONE || code == ACTION_3G;
}
