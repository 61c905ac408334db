// phonectl's `state` and `set`: the phone's state read from its registry, windows and process list as JSON, and
// the table of names that `set` knows with what each one changes.
#include <windows.h>

#include <stdio.h>
#include <tlhelp32.h>
#include <wchar.h>

#include <string>
#include <vector>

#include "phone_link.h"
#include "phone_report.h"
#include "phone_state.h"

std::wstring JsonText(const std::wstring &text)
{
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        if (c == L'"' || c == L'\\') {
            out += L'\\';
            out += c;
        } else if (c < 0x20) {
            wchar_t escape[8];
            _snwprintf(escape, 8, L"\\u%04x", (unsigned)c);
            escape[7] = L'\0';
            out += escape;
        } else {
            out += c;
        }
    }
    return out + L"\"";
}

namespace
{

const wchar_t *const kVendorLibraries[] = {L"CommManagerDll.dll", L"HTCUtil.dll"};

std::wstring JsonList(const std::vector<std::wstring> &items)
{
    std::wstring out = L"[";
    for (size_t i = 0; i < items.size(); i++)
        out += (i ? L", " : L"") + JsonText(items[i]);
    return out + L"]";
}

// Launch records are "program<TAB>parameters".
std::wstring JsonLaunches(const std::vector<std::wstring> &records)
{
    std::wstring out = L"[";
    for (size_t i = 0; i < records.size(); i++) {
        size_t tab = records[i].find(L'\t');
        std::wstring program = records[i].substr(0, tab);
        std::wstring parameters = tab == std::wstring::npos ? L"" : records[i].substr(tab + 1);
        if (parameters == L" ")
            parameters.clear();
        out += (i ? L", " : L"") + std::wstring(L"{\"program\": ") + JsonText(program) + L", \"parameters\": " +
               JsonText(parameters) + L"}";
    }
    return out + L"]";
}

std::vector<std::wstring> RunningProcesses()
{
    std::vector<std::wstring> names;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        names.push_back(entry.szExeFile);
    if (snapshot != INVALID_HANDLE_VALUE)
        CloseHandle(snapshot);
    return names;
}

bool IsProcessRunning(const std::vector<std::wstring> &processes, const wchar_t *name)
{
    for (const std::wstring &process : processes)
        if (_wcsicmp(process.c_str(), name) == 0)
            return true;
    return false;
}

bool LibraryPresent(const wchar_t *name)
{
    return GetFileAttributesW((WindowsFolder() + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteUtf8(const std::wstring &text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), NULL, 0, NULL, NULL);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), &bytes[0], size, NULL, NULL);
    fwrite(bytes.data(), 1, bytes.size(), stdout);
}

int SetFailed(const wchar_t *name, const wchar_t *reason)
{
    fwprintf(stderr, L"phonectl: set %ls: %ls\n", name, reason);
    return 2;
}

bool ParseNumber(const wchar_t *text, DWORD &number)
{
    if (!*text)
        return false;
    wchar_t *end = NULL;
    unsigned long value = wcstoul(text, &end, 10);
    if (*end || text[0] == L'-')
        return false;
    number = (DWORD)value;
    return true;
}

// Waits up to five seconds for a window of a class to appear (want = true) or to be gone.
bool WaitForWindow(const wchar_t *className, bool want)
{
    for (int i = 0; i < 50; i++) {
        if ((FindWindowW(className, NULL) != NULL) == want)
            return true;
        Sleep(100);
    }
    return false;
}

int SetManila(const wchar_t *value)
{
    if (wcscmp(value, L"running") == 0) {
        if (FindWindowW(PHONE_MANILA_CLASS, NULL))
            return 0;
        std::wstring program = WindowsFolder() + L"Manila.exe";
        std::wstring commandLine = L"\"" + program + L"\"";
        std::wstring root = program.substr(0, 3);
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessW(program.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, root.c_str(), &si, &pi))
            return SetFailed(L"manila", L"cannot start \\Windows\\Manila.exe");
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return WaitForWindow(PHONE_MANILA_CLASS, true) ? 0 : SetFailed(L"manila", L"Manila did not start");
    }
    if (wcscmp(value, L"stopped") == 0) {
        for (HWND hwnd; (hwnd = FindWindowW(PHONE_MANILA_CLASS, NULL)) != NULL;) {
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
            if (!WaitForWindow(PHONE_MANILA_CLASS, false))
                return SetFailed(L"manila", L"Manila did not stop");
        }
        // The window goes first; wait for the process too, so the process list agrees.
        for (int i = 0; i < 50 && IsProcessRunning(RunningProcesses(), L"Manila.exe"); i++)
            Sleep(100);
        return 0;
    }
    return SetFailed(L"manila", L"the value must be running or stopped");
}

int SetBtTray(const wchar_t *value)
{
    bool present = wcscmp(value, L"present") == 0;
    if (!present && wcscmp(value, L"absent") != 0)
        return SetFailed(L"bttray", L"the value must be present or absent");
    WriteStateDword(STATE_BTTRAY_PRESENT, present ? 1 : 0);
    HWND hwndToday = FindWindowW(L"DesktopExplorerWindow", NULL);
    if (hwndToday)
        SendMessageW(hwndToday, PHONE_MSG_SERVICES, 0, 0);
    return WaitForWindow(PHONE_BTTRAY_CLASS, present) ? 0 : SetFailed(L"bttray", L"the shell did not follow");
}

// A library is made absent by renaming it to NAME.absent in \Windows\; the entry script's provisioning keeps
// that name when it copies the libraries again at boot.
int SetLibrary(const wchar_t *name, const wchar_t *fileName, const wchar_t *value)
{
    bool present = wcscmp(value, L"present") == 0;
    if (!present && wcscmp(value, L"absent") != 0)
        return SetFailed(name, L"the value must be present or absent");
    std::wstring library = WindowsFolder() + fileName, hidden = library + L".absent";
    const std::wstring &from = present ? hidden : library, &to = present ? library : hidden;
    if (GetFileAttributesW(from.c_str()) == INVALID_FILE_ATTRIBUTES)
        return GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES ? 0 : SetFailed(name, L"no such file");
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : SetFailed(name, L"cannot rename");
}

int SetHistory(const wchar_t *value)
{
    if (wcscmp(value, L"clear") != 0)
        return SetFailed(L"history", L"the value must be clear");
    for (const wchar_t *list : {LIST_CALLS, LIST_POWER, LIST_LAUNCHED, LIST_INPUT})
        ClearStateList(list);
    WriteStateDword(STATE_CONNECT_REQUESTS, 0);
    return 0;
}

// A name that `set` knows, and where its number goes.
enum Target { TARGET_RADIO, TARGET_STATE, TARGET_MACHINE, TARGET_USER };
struct NumberSetting {
    const wchar_t *name;  // the name on the command line
    Target target;        // what kind of place it is stored in
    Radio radio;          // for TARGET_RADIO
    const wchar_t *key;   // the registry key (TARGET_MACHINE, TARGET_USER)
    const wchar_t *value; // the registry value name (not for TARGET_RADIO)
    bool zeroOrOne;       // only 0 and 1 are accepted
};

const NumberSetting kNumberSettings[] = {
    {L"bluetooth", TARGET_RADIO, RADIO_BLUETOOTH, NULL, NULL, true},
    {L"wlan", TARGET_RADIO, RADIO_WLAN, NULL, NULL, true},
    {L"phone", TARGET_RADIO, RADIO_PHONE, NULL, NULL, true},
    {L"flight", TARGET_RADIO, RADIO_FLIGHT, NULL, NULL, true},
    {L"bluetooth_discoverable", TARGET_STATE, RADIO_COUNT, NULL, STATE_DISCOVERABLE, true},
    {L"radio_delay_ms", TARGET_STATE, RADIO_COUNT, NULL, STATE_RADIO_DELAY, false},
    {L"vibrate", TARGET_USER, RADIO_COUNT, VIBRATE_KEY, VIBRATE_VALUE, false},
    {L"gprs", TARGET_MACHINE, RADIO_COUNT, GPRS_KEY, GPRS_VALUE, false},
    {L"umts_opmode", TARGET_MACHINE, RADIO_COUNT, UMTS_KEY, UMTS_VALUE, false},
    {L"today_item_enabled", TARGET_MACHINE, RADIO_COUNT, TODAY_ITEM_KEY, TODAY_ITEM_VALUE, false},
};

int SetNumber(const NumberSetting &setting, const wchar_t *text)
{
    DWORD number = 0;
    if (!ParseNumber(text, number) || (setting.zeroOrOne && number > 1))
        return SetFailed(setting.name, setting.zeroOrOne ? L"the value must be 0 or 1" : L"the value must be a number");
    switch (setting.target) {
    case TARGET_RADIO:
        SwitchRadioNow(setting.radio, number != 0);
        break;
    case TARGET_STATE:
        WriteStateDword(setting.value, number);
        break;
    case TARGET_MACHINE:
        WriteMachineDword(setting.key, setting.value, number);
        break;
    case TARGET_USER:
        WriteUserDword(setting.key, setting.value, number);
        break;
    }
    return 0;
}

} // namespace

int PrintPhoneState()
{
    ResolveRadios();
    std::vector<std::wstring> processes = RunningProcesses();
    HWND hwndTaskBar = FindWindowW(L"HHTaskBar", NULL);
    std::wstring json = L"{";
    auto number = [&json](const wchar_t *name, unsigned long value) {
        json += (json.size() > 1 ? L", \"" : L"\"") + std::wstring(name) + L"\": " + std::to_wstring(value);
    };
    auto raw = [&json](const wchar_t *name, const std::wstring &value) {
        json += (json.size() > 1 ? L", \"" : L"\"") + std::wstring(name) + L"\": " + value;
    };
    number(L"bluetooth", ReadRadio(RADIO_BLUETOOTH));
    number(L"wlan", ReadRadio(RADIO_WLAN));
    number(L"phone", ReadRadio(RADIO_PHONE));
    number(L"flight", ReadRadio(RADIO_FLIGHT));
    number(L"bluetooth_discoverable", ReadStateDword(STATE_DISCOVERABLE, 0));
    number(L"vibrate", ReadUserDword(VIBRATE_KEY, VIBRATE_VALUE, 0));
    number(L"gprs", ReadMachineDword(GPRS_KEY, GPRS_VALUE, 0));
    number(L"umts_opmode", ReadMachineDword(UMTS_KEY, UMTS_VALUE, 0));
    number(L"today_item_enabled", ReadMachineDword(TODAY_ITEM_KEY, TODAY_ITEM_VALUE, 0));
    number(L"manila_running", IsProcessRunning(processes, L"Manila.exe"));
    number(L"taskbar_visible", hwndTaskBar && IsWindowVisible(hwndTaskBar));
    number(L"screen_on", ReadStateDword(STATE_SCREEN, 1));
    number(L"bttray_present", FindWindowW(PHONE_BTTRAY_CLASS, NULL) != NULL);
    number(L"commmanager_present", LibraryPresent(kVendorLibraries[0]));
    number(L"htcutil_present", LibraryPresent(kVendorLibraries[1]));
    number(L"radio_delay_ms", ReadStateDword(STATE_RADIO_DELAY, DEFAULT_RADIO_DELAY_MS));
    number(L"connect_requests", ReadStateDword(STATE_CONNECT_REQUESTS, 0));
    raw(L"power", JsonList(ReadStateList(LIST_POWER)));
    raw(L"launched", JsonLaunches(ReadStateList(LIST_LAUNCHED)));
    raw(L"calls", JsonList(ReadStateList(LIST_CALLS)));
    raw(L"input", JsonList(ReadStateList(LIST_INPUT)));
    raw(L"processes", JsonList(processes));
    WriteUtf8(json + L"}\n");
    return 0;
}

int SetPhoneState(const wchar_t *name, const wchar_t *value)
{
    for (const NumberSetting &setting : kNumberSettings)
        if (wcscmp(name, setting.name) == 0)
            return SetNumber(setting, value);
    if (wcscmp(name, L"manila") == 0)
        return SetManila(value);
    if (wcscmp(name, L"bttray") == 0)
        return SetBtTray(value);
    if (wcscmp(name, L"commmanager") == 0)
        return SetLibrary(name, kVendorLibraries[0], value);
    if (wcscmp(name, L"htcutil") == 0)
        return SetLibrary(name, kVendorLibraries[1], value);
    if (wcscmp(name, L"history") == 0)
        return SetHistory(value);
    fwprintf(stderr, L"phonectl: set: unknown name %ls\n", name);
    return 2;
}
