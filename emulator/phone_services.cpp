// The phone's services in the shell process: the power manager, the connection manager and the Bluetooth
// manager, each a hidden top-level window that the phone's programs find by class; the dark screen; Manila's start.
#include <windows.h>

#include <connmgr.h>
#include <tlhelp32.h>
#include <wince.h>

#include <string>

#include "phone_link.h"
#include "phone_services.h"
#include "phone_state.h"

namespace
{

const wchar_t kDarkClass[] = L"PhoneDarkScreen";
const UINT_PTR kResetTimer = 1;
// A reset restarts the phone's programs a moment after it is answered, so the caller can finish its call.
const UINT kResetDelayMs = 1500;

// The shell's services, program-wide in the shell process.
struct PhoneServices {
    HINSTANCE hInstance;   // the shell's instance
    HWND hwndToday;        // the Today window, owner of the service windows
    HWND hwndPower;        // the power manager (PHONE_POWER_CLASS)
    HWND hwndConnection;   // the connection manager (PHONE_CONNECTION_CLASS)
    HWND hwndBtTray;       // the Bluetooth manager ("WCE_BTTRAY"), NULL while the phone has none
    HWND hwndDark;         // the black screen after a suspend or a power off, NULL while the screen is lit
    UINT btVisibleMessage; // the message registered as "WIDCOMM_WM_VISIBLE1"
};
PhoneServices s_services;

// Starts a program of the phone's \Windows\ folder with the phone's root current; nothing waits for it.
void StartPhoneProgram(const wchar_t *name)
{
    std::wstring program = WindowsFolder() + name;
    if (GetFileAttributesW(program.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    std::wstring commandLine = L"\"" + program + L"\"";
    std::wstring root = program.substr(0, 3);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (CreateProcessW(program.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, root.c_str(), &si, &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
}

// The screen goes dark until the next tap on it.
void DarkenScreen()
{
    WriteStateDword(STATE_SCREEN, 0);
    if (s_services.hwndDark)
        return;
    s_services.hwndDark = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kDarkClass, L"", WS_POPUP, 0, 0,
                                          GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), NULL, NULL,
                                          s_services.hInstance, NULL);
    if (s_services.hwndDark)
        SetWindowPos(s_services.hwndDark, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void LightScreen()
{
    WriteStateDword(STATE_SCREEN, 1);
    if (s_services.hwndDark)
        DestroyWindow(s_services.hwndDark);
    s_services.hwndDark = NULL;
}

// Ends every program started from the phone's drive except the shell and the entry script's hand, then starts
// Manila again, as a phone coming back from a reset does. The hand is told by the image of the process opened, not
// by the snapshot's name: a phonectl that is still starting has no name in the snapshot, and ending it before Wine
// has set up its signals kills it outright.
void RestartPhonePrograms(HWND hwnd)
{
    KillTimer(hwnd, kResetTimer);
    std::wstring drive = WindowsFolder().substr(0, 3);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID == GetCurrentProcessId())
            continue;
        HANDLE process = OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        if (!process)
            continue;
        wchar_t image[MAX_PATH] = L"";
        DWORD size = MAX_PATH;
        if (QueryFullProcessImageNameW(process, 0, image, &size) && _wcsnicmp(image, drive.c_str(), 3) == 0 &&
            _wcsicmp(wcsrchr(image, L'\\') + 1, L"phonectl.exe") != 0)
            TerminateProcess(process, 0);
        CloseHandle(process);
    }
    if (snapshot != INVALID_HANDLE_VALUE)
        CloseHandle(snapshot);
    LightScreen();
    StartPhoneProgram(L"Manila.exe");
}

// SetSystemPowerState's request: wParam = state flags. Answers an error code.
LRESULT OnPowerRequest(HWND hwnd, DWORD flags)
{
    if (flags & POWER_STATE_RESET) {
        AppendStateList(LIST_POWER, L"reset");
        SetTimer(hwnd, kResetTimer, kResetDelayMs, NULL);
    } else if (flags & POWER_STATE_SUSPEND) {
        // The phone sleeps and is woken at once; the screen stays dark until it is tapped.
        AppendStateList(LIST_POWER, L"suspend");
        DarkenScreen();
    } else if (flags & POWER_STATE_OFF) {
        AppendStateList(LIST_POWER, L"off");
        DarkenScreen();
    } else if (flags & POWER_STATE_ON) {
        LightScreen();
    } else {
        return ERROR_INVALID_PARAMETER;
    }
    return ERROR_SUCCESS;
}

// ConnMgrEstablishConnectionSync's request: the data link comes up when the phone radio is on.
LRESULT OnConnectRequest()
{
    WriteStateDword(STATE_CONNECT_REQUESTS, ReadStateDword(STATE_CONNECT_REQUESTS, 0) + 1);
    if (!ReadRadio(RADIO_PHONE) || ReadRadio(RADIO_FLIGHT))
        return CONNMGR_STATUS_PHONEOFF;
    WriteMachineDword(GPRS_KEY, GPRS_VALUE, 1);
    return CONNMGR_STATUS_CONNECTED;
}

// The Bluetooth manager's answer to "WIDCOMM_WM_VISIBLE1": Bluetooth on and visible to other devices.
LRESULT OnBluetoothVisible()
{
    SwitchRadioNow(RADIO_BLUETOOTH, true);
    WriteStateDword(STATE_DISCOVERABLE, 1);
    return 0;
}

LRESULT CALLBACK PowerManagerProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case PHONE_MSG_POWER:
        return OnPowerRequest(hwnd, (DWORD)wParam);
    case WM_TIMER:
        RestartPhonePrograms(hwnd);
        return 0;
    }
    return DefWindowProcW(hwnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK ConnectionManagerProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case PHONE_MSG_CONNECT:
        return OnConnectRequest();
    }
    return DefWindowProcW(hwnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK BtTrayProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == s_services.btVisibleMessage && uMsg != 0) // a registered message: no case label
        return OnBluetoothVisible();
    return DefWindowProcW(hwnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK DarkScreenProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_LBUTTONDOWN:
        LightScreen();
        return 0;
    }
    return DefWindowProcW(hwnd, uMsg, wParam, lParam);
}

void RegisterServiceClass(const wchar_t *name, WNDPROC proc, HBRUSH background)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = s_services.hInstance;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}

// A hidden top-level window: FindWindowW finds it, and it hears broadcasts as the phone's services do.
HWND CreateServiceWindow(const wchar_t *className)
{
    return CreateWindowExW(WS_EX_TOOLWINDOW, className, className, WS_POPUP, 0, 0, 0, 0, NULL, NULL,
                           s_services.hInstance, NULL);
}

} // namespace

LRESULT SetVibrateMode(DWORD mode)
{
    WriteUserDword(VIBRATE_KEY, VIBRATE_VALUE, mode);
    return 0;
}

void RecordInput(const wchar_t *kind, int a, int b, bool two)
{
    std::wstring entry = std::wstring(kind) + L" " + std::to_wstring(a);
    if (two)
        entry += L" " + std::to_wstring(b);
    AppendStateList(LIST_INPUT, entry);
}

void UpdatePhoneServices()
{
    bool present = ReadStateDword(STATE_BTTRAY_PRESENT, 1) != 0;
    if (present && !s_services.hwndBtTray)
        s_services.hwndBtTray = CreateServiceWindow(PHONE_BTTRAY_CLASS);
    if (!present && s_services.hwndBtTray) {
        DestroyWindow(s_services.hwndBtTray);
        s_services.hwndBtTray = NULL;
    }
}

void StartPhoneServices(HINSTANCE hInstance, HWND hwndToday)
{
    s_services.hInstance = hInstance;
    s_services.hwndToday = hwndToday;
    s_services.btVisibleMessage = RegisterWindowMessageW(PHONE_BT_VISIBLE_MESSAGE);
    RegisterServiceClass(PHONE_POWER_CLASS, PowerManagerProc, NULL);
    RegisterServiceClass(PHONE_CONNECTION_CLASS, ConnectionManagerProc, NULL);
    RegisterServiceClass(PHONE_BTTRAY_CLASS, BtTrayProc, NULL);
    RegisterServiceClass(kDarkClass, DarkScreenProc, (HBRUSH)GetStockObject(BLACK_BRUSH));
    s_services.hwndPower = CreateServiceWindow(PHONE_POWER_CLASS);
    s_services.hwndConnection = CreateServiceWindow(PHONE_CONNECTION_CLASS);
    UpdatePhoneServices();
    WriteStateDword(STATE_SCREEN, 1);
    StartPhoneProgram(L"Manila.exe");
}
