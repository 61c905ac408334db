// The emulated phone's state in its registry, shared by every process of the phone: the shell, the vendor
// libraries, Manila.exe, recorder.exe and phonectl. Radios switch after a delay; lists record what happened.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The four radios, in the order of the state record.
enum Radio { RADIO_BLUETOOTH, RADIO_WLAN, RADIO_PHONE, RADIO_FLIGHT, RADIO_COUNT };

// Value names under PHONE_STATE_KEY (HKCU\Software\EmulatedPhone).
#define STATE_RADIO_DELAY L"RadioDelayMs"           // ms from a radio Set until Get reports it; 1500 if absent
#define STATE_DISCOVERABLE L"BluetoothDiscoverable" // 1 after the Bluetooth manager made Bluetooth visible
#define STATE_BTTRAY_PRESENT L"BtTrayPresent"       // 0 when the phone has no Bluetooth manager window
#define STATE_TASKBAR_VISIBLE L"TaskbarVisible"     // 1 while the task bar is shown
#define STATE_SCREEN L"Screen"                      // 1 lit, 0 dark after a suspend or power off
#define STATE_CONNECT_REQUESTS L"ConnectRequests"   // data connection requests received
#define LIST_CALLS L"Calls"                         // vendor library export calls, "Name argument"
#define LIST_POWER L"Power"                         // power requests: "reset", "suspend", "off"
#define LIST_LAUNCHED L"Launched"                   // programs started: "\Windows\x.exe|parameters"
#define LIST_INPUT L"Input"                         // input the Today screen received: "tap X Y", "key VK"

// The registry places outside the emulator's own key that the phone's programs read.
#define GPRS_KEY L"System\\State\\Phone"
#define GPRS_VALUE L"Cellular System Connected"
#define UMTS_KEY L"Software\\OEM\\UMTS"
#define UMTS_VALUE L"OpMode"
#define VIBRATE_KEY L"ControlPanel\\Notifications\\ShellOverrides"
#define VIBRATE_VALUE L"Mode"
#define TODAY_ITEM_KEY L"Software\\Microsoft\\Today\\Items\\HTC Sense"
#define TODAY_ITEM_VALUE L"Enabled"

#define DEFAULT_RADIO_DELAY_MS 1500
#define MAX_LIST_ENTRIES 200

// Serialises changes to the phone's state between the phone's processes for the life of the object.
class PhoneStateLock
{
public:
    PhoneStateLock();
    ~PhoneStateLock();

private:
    HANDLE m_mutex; // the phone-wide named mutex
};

// A radio's value name in the state key ("Bluetooth", "WLAN", "Phone", "Flight").
const wchar_t *RadioName(Radio radio);

DWORD ReadStateDword(const wchar_t *name, DWORD fallback);
void WriteStateDword(const wchar_t *name, DWORD value);
DWORD ReadMachineDword(const wchar_t *key, const wchar_t *value, DWORD fallback);
void WriteMachineDword(const wchar_t *key, const wchar_t *value, DWORD value32);
DWORD ReadUserDword(const wchar_t *key, const wchar_t *value, DWORD fallback);
void WriteUserDword(const wchar_t *key, const wchar_t *value, DWORD value32);

// Lists kept as REG_MULTI_SZ under the state key, oldest first; the oldest entries go beyond MAX_LIST_ENTRIES.
std::vector<std::wstring> ReadStateList(const wchar_t *name);
void AppendStateList(const wchar_t *name, const std::wstring &entry);
void ClearStateList(const wchar_t *name);

// A radio's state as a Get sees it now: a pending switch whose time has come is applied first.
int ReadRadio(Radio radio);

// Asks a radio to switch; the switch takes effect after the radio delay.
void RequestRadio(Radio radio, bool on);

// Switches a radio at once, with the rules that tie the radios together (used by phonectl set).
void SwitchRadioNow(Radio radio, bool on);

// Applies every pending switch whose time has come.
void ResolveRadios();

// Records that a program started, with its parameters (the rest of its command line).
void RecordLaunch();

// The rest of a command line after the program's name.
std::wstring CommandLineParameters(const wchar_t *commandLine);

// The phone's \Windows\ folder with its closing backslash: where the phone's own programs run from.
std::wstring WindowsFolder();
