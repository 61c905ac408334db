// The emulated phone's state in its registry: radios with their switching delay and rules, values of the
// phone's own keys, and the lists that record calls, power requests, launches and input.
#include <windows.h>

#include <algorithm>

#include "phone_link.h"
#include "phone_state.h"

namespace
{

const wchar_t *const kRadioNames[RADIO_COUNT] = {L"Bluetooth", L"WLAN", L"Phone", L"Flight"};

// Milliseconds of wall-clock time: the same in every process of the phone and across its boots.
ULONGLONG NowMs()
{
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return (((ULONGLONG)ft.dwHighDateTime << 32) | ft.dwLowDateTime) / 10000;
}

DWORD ReadDword(HKEY root, const wchar_t *key, const wchar_t *value, DWORD fallback)
{
    DWORD data = 0, size = sizeof data, type = 0;
    if (RegGetValueW(root, key, value, RRF_RT_ANY, &type, &data, &size) != ERROR_SUCCESS || type != REG_DWORD)
        return fallback;
    return data;
}

void WriteValue(HKEY root, const wchar_t *key, const wchar_t *value, DWORD type, const void *data, DWORD size)
{
    HKEY hkey;
    if (RegCreateKeyExW(root, key, 0, NULL, 0, KEY_SET_VALUE, NULL, &hkey, NULL) != ERROR_SUCCESS)
        return;
    RegSetValueExW(hkey, value, 0, type, (const BYTE *)data, size);
    RegCloseKey(hkey);
}

void DeleteStateValue(const wchar_t *name)
{
    HKEY hkey;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, PHONE_STATE_KEY, 0, KEY_SET_VALUE, &hkey) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(hkey, name);
    RegCloseKey(hkey);
}

std::wstring TargetName(Radio radio)
{
    return std::wstring(kRadioNames[radio]) + L"Target";
}
std::wstring DueName(Radio radio)
{
    return std::wstring(kRadioNames[radio]) + L"Due";
}

// A switch waiting for its time: its target state and when it takes effect.
struct PendingSwitch {
    Radio radio;   // which radio
    bool on;       // the state it switches to
    ULONGLONG due; // wall-clock ms when Get starts to report it
};

bool ReadPending(Radio radio, PendingSwitch &pending)
{
    ULONGLONG due = 0;
    DWORD size = sizeof due, type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, PHONE_STATE_KEY, DueName(radio).c_str(), RRF_RT_ANY, &type, &due, &size) !=
            ERROR_SUCCESS ||
        type != REG_QWORD)
        return false;
    pending.radio = radio;
    pending.on = ReadStateDword(TargetName(radio).c_str(), 0) != 0;
    pending.due = due;
    return true;
}

void CancelPending(Radio radio)
{
    DeleteStateValue(DueName(radio).c_str());
    DeleteStateValue(TargetName(radio).c_str());
}

// Sets a radio and what follows from it: flight mode on silences every radio, flight mode off brings the phone
// radio back, the phone radio off drops the data connection, Bluetooth off ends its visibility.
void ApplyRadio(Radio radio, bool on)
{
    WriteStateDword(kRadioNames[radio], on ? 1 : 0);
    switch (radio) {
    case RADIO_BLUETOOTH:
        if (!on)
            WriteStateDword(STATE_DISCOVERABLE, 0);
        break;
    case RADIO_WLAN:
        break;
    case RADIO_PHONE:
        if (on)
            WriteStateDword(kRadioNames[RADIO_FLIGHT], 0);
        else
            WriteMachineDword(GPRS_KEY, GPRS_VALUE, 0);
        break;
    case RADIO_FLIGHT:
        if (on) {
            for (Radio other : {RADIO_BLUETOOTH, RADIO_WLAN, RADIO_PHONE}) {
                CancelPending(other);
                ApplyRadio(other, false);
            }
        } else {
            ApplyRadio(RADIO_PHONE, true);
        }
        break;
    default:
        break;
    }
}

} // namespace

PhoneStateLock::PhoneStateLock() : m_mutex(CreateMutexW(NULL, FALSE, L"EmulatedPhoneState"))
{
    if (m_mutex)
        WaitForSingleObject(m_mutex, 5000);
}

PhoneStateLock::~PhoneStateLock()
{
    if (m_mutex) {
        ReleaseMutex(m_mutex);
        CloseHandle(m_mutex);
    }
}

const wchar_t *RadioName(Radio radio)
{
    return kRadioNames[radio];
}

DWORD ReadStateDword(const wchar_t *name, DWORD fallback)
{
    return ReadDword(HKEY_CURRENT_USER, PHONE_STATE_KEY, name, fallback);
}

void WriteStateDword(const wchar_t *name, DWORD value)
{
    WriteValue(HKEY_CURRENT_USER, PHONE_STATE_KEY, name, REG_DWORD, &value, sizeof value);
}

DWORD ReadMachineDword(const wchar_t *key, const wchar_t *value, DWORD fallback)
{
    return ReadDword(HKEY_LOCAL_MACHINE, key, value, fallback);
}

void WriteMachineDword(const wchar_t *key, const wchar_t *value, DWORD value32)
{
    WriteValue(HKEY_LOCAL_MACHINE, key, value, REG_DWORD, &value32, sizeof value32);
}

DWORD ReadUserDword(const wchar_t *key, const wchar_t *value, DWORD fallback)
{
    return ReadDword(HKEY_CURRENT_USER, key, value, fallback);
}

void WriteUserDword(const wchar_t *key, const wchar_t *value, DWORD value32)
{
    WriteValue(HKEY_CURRENT_USER, key, value, REG_DWORD, &value32, sizeof value32);
}

std::vector<std::wstring> ReadStateList(const wchar_t *name)
{
    std::vector<std::wstring> list;
    DWORD size = 0, type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, PHONE_STATE_KEY, name, RRF_RT_REG_MULTI_SZ, &type, NULL, &size) !=
            ERROR_SUCCESS ||
        size == 0)
        return list;
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 2, L'\0');
    if (RegGetValueW(HKEY_CURRENT_USER, PHONE_STATE_KEY, name, RRF_RT_REG_MULTI_SZ, &type, data.data(), &size) !=
        ERROR_SUCCESS)
        return list;
    for (const wchar_t *p = data.data(); *p; p += wcslen(p) + 1)
        list.push_back(p);
    return list;
}

void AppendStateList(const wchar_t *name, const std::wstring &entry)
{
    PhoneStateLock lock;
    std::vector<std::wstring> list = ReadStateList(name);
    // An empty text would end a REG_MULTI_SZ early.
    list.push_back(entry.empty() ? std::wstring(L" ") : entry);
    if (list.size() > MAX_LIST_ENTRIES)
        list.erase(list.begin(), list.end() - MAX_LIST_ENTRIES);
    std::wstring data;
    for (const std::wstring &item : list) {
        data += item;
        data += L'\0';
    }
    data += L'\0';
    WriteValue(HKEY_CURRENT_USER, PHONE_STATE_KEY, name, REG_MULTI_SZ, data.c_str(),
               (DWORD)(data.size() * sizeof(wchar_t)));
}

void ClearStateList(const wchar_t *name)
{
    DeleteStateValue(name);
}

void ResolveRadios()
{
    PhoneStateLock lock;
    std::vector<PendingSwitch> due;
    ULONGLONG now = NowMs();
    for (int r = 0; r < RADIO_COUNT; r++) {
        PendingSwitch pending;
        if (ReadPending((Radio)r, pending) && pending.due <= now)
            due.push_back(pending);
    }
    // Switches take effect in the order they came due, so a later request wins over an earlier one.
    std::stable_sort(due.begin(), due.end(),
                     [](const PendingSwitch &a, const PendingSwitch &b) { return a.due < b.due; });
    for (const PendingSwitch &pending : due) {
        PendingSwitch still;
        if (!ReadPending(pending.radio, still)) // cancelled by an earlier flight mode switch
            continue;
        CancelPending(pending.radio);
        ApplyRadio(pending.radio, pending.on);
    }
}

int ReadRadio(Radio radio)
{
    ResolveRadios();
    DWORD fallback = radio == RADIO_PHONE ? 1 : 0; // a new phone has its phone radio on
    return ReadStateDword(kRadioNames[radio], fallback) ? 1 : 0;
}

void RequestRadio(Radio radio, bool on)
{
    PhoneStateLock lock;
    ULONGLONG due = NowMs() + ReadStateDword(STATE_RADIO_DELAY, DEFAULT_RADIO_DELAY_MS);
    WriteStateDword(TargetName(radio).c_str(), on ? 1 : 0);
    WriteValue(HKEY_CURRENT_USER, PHONE_STATE_KEY, DueName(radio).c_str(), REG_QWORD, &due, sizeof due);
}

void SwitchRadioNow(Radio radio, bool on)
{
    PhoneStateLock lock;
    CancelPending(radio);
    ApplyRadio(radio, on);
}

std::wstring CommandLineParameters(const wchar_t *commandLine)
{
    const wchar_t *p = commandLine;
    while (*p == L' ' || *p == L'\t')
        p++;
    if (*p == L'"') {
        p++;
        while (*p && *p != L'"')
            p++;
        if (*p)
            p++;
    } else {
        while (*p && *p != L' ' && *p != L'\t')
            p++;
    }
    while (*p == L' ' || *p == L'\t')
        p++;
    return p;
}

void RecordLaunch()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(NULL, path, MAX_PATH);
    path[MAX_PATH - 1] = L'\0';
    // The phone knows no drive letters: "P:\Windows\x.exe" is "\Windows\x.exe" there.
    const wchar_t *phonePath = (path[0] && path[1] == L':') ? path + 2 : path;
    AppendStateList(LIST_LAUNCHED, std::wstring(phonePath) + L"\t" + CommandLineParameters(GetCommandLineW()));
}

std::wstring WindowsFolder()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(NULL, path, MAX_PATH);
    path[MAX_PATH - 1] = L'\0';
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}
