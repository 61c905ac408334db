// Action dispatch: what each press does, in which order, with which waits and boxes, and that the menu
// closes afterwards. Vendor libraries are the test doubles beside this program; waits, boxes, the shell launch
// and the process list are caught through the import table.
#include <windows.h>

#include <shellapi.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/language_texts.h"
#include "config/settings_store.h"
#include "device/radio_bridge.h"
#include "import_patch.h"
#include "menu/action_dispatch.h"
#include "menu/menu_state.h"
#include "menu/menu_window.h"
#include "phone_drive.h"
#include "phone_link.h"

namespace
{

// What the program did, in order: "desktop", "sleep 1000", "box <caption>|<text>|<style>", "power <flags>",
// "launch <file>|<parameters>|<directory>", "vibrate <mode>", "connect <params> <priority>", "bt-visible".
std::vector<std::string> s_events;
int s_boxAnswer = IDYES;
int s_manilaPollsLeft = 0; // process-list walks that still find Manila.exe; -1: always

std::string Narrow(const wchar_t *text)
{
    std::string s;
    for (; text && *text; text++)
        s += (char)*text;
    return s;
}

VOID WINAPI FakeSleep(DWORD ms)
{
    s_events.push_back("sleep " + std::to_string(ms));
}

int WINAPI FakeMessageBox(HWND, LPCWSTR text, LPCWSTR caption, UINT style)
{
    s_events.push_back("box " + Narrow(caption) + "|" + Narrow(text) + "|" + std::to_string(style));
    return s_boxAnswer;
}

BOOL WINAPI FakeSetForegroundWindow(HWND hwnd)
{
    if (hwnd == GetDesktopWindow())
        s_events.push_back("desktop");
    return TRUE;
}

BOOL WINAPI FakeShellExecuteEx(SHELLEXECUTEINFOW *sei)
{
    s_events.push_back("launch " + Narrow(sei->lpFile) + "|" +
                       (sei->lpParameters ? Narrow(sei->lpParameters) : "(null)") + "|" +
                       (sei->lpDirectory ? Narrow(sei->lpDirectory) : "(null)"));
    sei->hProcess = NULL;
    return TRUE;
}

// A process list that holds Manila.exe (in capitals) for s_manilaPollsLeft walks.
BOOL WINAPI FakeProcess32First(HANDLE, PROCESSENTRY32W *entry)
{
    wcscpy(entry->szExeFile, L"explorer.exe");
    return TRUE;
}

BOOL WINAPI FakeProcess32Next(HANDLE, PROCESSENTRY32W *entry)
{
    if (wcscmp(entry->szExeFile, L"explorer.exe") != 0)
        return FALSE;
    if (s_manilaPollsLeft == 0)
        return FALSE;
    if (s_manilaPollsLeft > 0)
        s_manilaPollsLeft--;
    wcscpy(entry->szExeFile, L"MANILA.EXE");
    return TRUE;
}

// The phone's windows that the actions talk to, as plain windows of this thread.
LRESULT CALLBACK PhoneWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == PHONE_MSG_POWER) {
        char text[64];
        snprintf(text, sizeof text, "power 0x%lx 0x%lx", (unsigned long)wParam, (unsigned long)lParam);
        s_events.push_back(text);
        return 0;
    }
    if (msg == PHONE_MSG_CONNECT) {
        s_events.push_back("connect " + std::to_string(wParam) + " " + std::to_string(lParam));
        return 0x10; // connected
    }
    if (msg == 0x484) { // the task bar's vibrate message
        s_events.push_back("vibrate " + std::to_string(wParam));
        return 0;
    }
    if (msg != 0 && msg == g_menu.btVisibleMessage) {
        s_events.push_back("bt-visible");
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakePhoneWindow(const wchar_t *className)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = PhoneWindowProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    return CreateWindowExW(0, className, L"", WS_POPUP, 0, 0, 1, 1, NULL, NULL, wc.hInstance, NULL);
}

typedef void(__cdecl *FakeReset)(int);
typedef void(__cdecl *FakeSetRadio)(int, int);
typedef const char *(__cdecl *FakeLog)();
typedef int(__cdecl *FakeOffCalls)();

class Dispatch : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        PatchImport("coredll.dll", "Sleep", (void *)FakeSleep);
        PatchImport("coredll.dll", "MessageBoxW", (void *)FakeMessageBox);
        PatchImport("coredll.dll", "SetForegroundWindow", (void *)FakeSetForegroundWindow);
        PatchImport("coredll.dll", "ShellExecuteExW", (void *)FakeShellExecuteEx);
        PatchImport("toolhelp.dll", "Process32First", (void *)FakeProcess32First);
        PatchImport("toolhelp.dll", "Process32Next", (void *)FakeProcess32Next);
        // The doubles are in "doubles" beside this program; held for the whole run, so they keep their state
        // between the program's loads.
        wchar_t folder[MAX_PATH];
        GetModuleFileNameW(NULL, folder, MAX_PATH);
        wcscpy(wcsrchr(folder, L'\\') + 1, L"doubles");
        SetDllDirectoryW(folder);
        s_comm = LoadLibraryW(kRadioLibrary);
        s_htc = LoadLibraryW(kDeviceLibrary);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = MenuWindowProc;
        wc.hInstance = GetModuleHandleW(NULL);
        wc.lpszClassName = L"DispatchTestMenu";
        RegisterClassW(&wc);
    }

    void SetUp() override
    {
        ASSERT_NE(nullptr, s_comm);
        ASSERT_NE(nullptr, s_htc);
        ResetPhoneDrive();
        ((FakeReset)GetProcAddress(s_comm, "Fake_Reset"))(1);
        ((FakeReset)GetProcAddress(s_htc, "Fake_Reset"))(1);
        s_events.clear();
        s_boxAnswer = IDYES;
        s_manilaPollsLeft = 0;
        g_settingsDoc.Reset();
        g_langDoc.Reset();
        FillLanguageTexts();
        UINT btMessage = g_menu.btVisibleMessage;
        g_menu = MenuState();
        g_settings = ProgramSettings();
        g_menu.btVisibleMessage = btMessage;
        g_menu.autoCloseTimerId = kAutoCloseTimerId;
        for (int slot = 0; slot < kSlotCount; slot++) {
            wchar_t section[4];
            SlotSectionName(section, slot);
            g_settingsDoc.SetValue(section, L"UseButton", L"13");
        }
        m_menu = CreateWindowExW(0, L"DispatchTestMenu", L"", WS_POPUP, 0, 0, 480, 800, NULL, NULL,
                                 GetModuleHandleW(NULL), NULL);
        ASSERT_NE(nullptr, m_menu);
        if (!g_menu.exitButton)
            g_menu.exitButton = MakeButton(430);
        if (!g_menu.settingsButton)
            g_menu.settingsButton = MakeButton(10);
    }

    void TearDown() override
    {
        if (IsWindow(m_menu))
            DestroyWindow(m_menu);
        for (HWND hwnd : m_phoneWindows)
            DestroyWindow(hwnd);
        MSG msg;
        // Dispatched, not just removed: a window that needs painting keeps its WM_PAINT until it is painted.
        for (int i = 0; i < 1000 && PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE); i++)
            DispatchMessageW(&msg);
    }

    HWND MakeButton(int x)
    {
        return CreateWindowExW(0, L"BUTTON", L"", WS_CHILD, x, 10, 40, 40, m_menu, NULL, GetModuleHandleW(NULL), NULL);
    }

    // Binds a slot to an action and gives it a button.
    HWND Bind(int slot, int code)
    {
        g_settings.slots[slot].actionCode = code;
        g_menu.slots[slot].button = MakeButton(65);
        return g_menu.slots[slot].button;
    }

    void Press(HWND button) { SendMessageW(m_menu, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), (LPARAM)button); }

    void AddPhoneWindow(const wchar_t *className) { m_phoneWindows.push_back(MakePhoneWindow(className)); }

    bool QuitPosted()
    {
        MSG msg;
        return PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE) && msg.wParam == 0;
    }

    std::string RadioLog() { return ((FakeLog)GetProcAddress(s_comm, "Fake_Log"))(); }
    void SetRadio(int radio, int state) { ((FakeSetRadio)GetProcAddress(s_comm, "Fake_SetRadio"))(radio, state); }
    void SwitchAfterGets(int gets) { ((FakeReset)GetProcAddress(s_comm, "Fake_Reset"))(gets); }

    HWND m_menu = NULL;
    std::vector<HWND> m_phoneWindows;
    static HMODULE s_comm, s_htc;
};

HMODULE Dispatch::s_comm, Dispatch::s_htc;

std::vector<std::string> Events(std::initializer_list<const char *> list)
{
    return std::vector<std::string>(list.begin(), list.end());
}

TEST_F(Dispatch, ExitQuitsAtOnceAndLeavesTheTimer)
{
    Bind(0, ACTION_WIFI);
    Press(g_menu.exitButton);
    EXPECT_TRUE(QuitPosted());
    EXPECT_EQ((UINT_PTR)kAutoCloseTimerId, g_menu.autoCloseTimerId);
    EXPECT_TRUE(IsWindow(m_menu));
    EXPECT_EQ("", RadioLog());
}

// What the Settings button handed the settings editor's entry, and the auto-close timer id when the entry ran.
struct EditorEntryCall {
    int calls;
    HWND hwndMenu;
    HINSTANCE hInstance;
    UINT_PTR timerId;
} s_editorCall;

void RecordEditorEntry(HWND hwndMenu, HINSTANCE hInstance)
{
    s_editorCall = {s_editorCall.calls + 1, hwndMenu, hInstance, g_menu.autoCloseTimerId};
}

TEST_F(Dispatch, SettingsRunsTheHandedOverEditorEntryOnceTheTimerIsStopped)
{
    Bind(0, ACTION_WIFI);
    g_menu.hInstance = GetModuleHandleW(NULL);
    g_menu.runSettingsEditor = RecordEditorEntry;
    s_editorCall = EditorEntryCall();
    Press(g_menu.settingsButton);
    EXPECT_EQ(1, s_editorCall.calls);
    EXPECT_EQ(m_menu, s_editorCall.hwndMenu);
    EXPECT_EQ(GetModuleHandleW(NULL), s_editorCall.hInstance);
    EXPECT_EQ(1u, s_editorCall.timerId) << "ticks while the editor is open must not end the program";
    EXPECT_TRUE(IsWindow(m_menu));
    EXPECT_FALSE(QuitPosted()) << "the editor's entry ends the program, not the press";
    EXPECT_EQ("", RadioLog());
}

TEST_F(Dispatch, SourcesThatAreNoButtonDoNothing)
{
    Bind(0, ACTION_NONE);
    g_menu.slots[0].button = NULL; // a slot without a button
    HWND stranger = MakeButton(200);
    for (HWND source : {(HWND)NULL, stranger}) {
        Press(source);
        EXPECT_TRUE(IsWindow(m_menu));
        EXPECT_FALSE(QuitPosted());
        EXPECT_EQ((UINT_PTR)kAutoCloseTimerId, g_menu.autoCloseTimerId);
    }
    // Another control id is not a press at all.
    SendMessageW(m_menu, WM_COMMAND, MAKEWPARAM(7, 0), (LPARAM)stranger);
    EXPECT_TRUE(IsWindow(m_menu));
    EXPECT_TRUE(s_events.empty());
}

TEST_F(Dispatch, TimerTicksAreIgnoredAfterAPress)
{
    Bind(2, ACTION_PROG);
    SendMessageW(m_menu, WM_TIMER, kAutoCloseTimerId, 0);
    EXPECT_TRUE(QuitPosted()) << "a tick before any press ends the program";
    EXPECT_TRUE(IsWindow(m_menu)) << "the tick does not close the window";
    Press(g_menu.slots[2].button);
    EXPECT_EQ(1u, g_menu.autoCloseTimerId);
    EXPECT_TRUE(QuitPosted()); // from the window's destruction
    SendMessageW(m_menu, WM_TIMER, kAutoCloseTimerId, 0);
    EXPECT_FALSE(QuitPosted());
}

struct RadioCase {
    int code;
    int radio; // index in the double: 0 Bluetooth, 1 WLAN, 2 phone, 3 flight
    const char *set;
    const char *get;
    int before; // the radio's state before the press
};

class RadioToggle : public Dispatch, public testing::WithParamInterface<RadioCase>
{
};

TEST_P(RadioToggle, SwitchesOverPollsAndSettles)
{
    const RadioCase &c = GetParam();
    SwitchAfterGets(3); // the third Get after the Set reports the new state
    SetRadio(c.radio, c.before);
    Press(Bind(4, c.code));
    std::string g = c.get, s = c.set, b = std::to_string(c.before), a = std::to_string(!c.before);
    EXPECT_EQ(g + "(" + b + ");" + s + "(" + a + ");" + g + "(" + b + ");" + g + "(" + b + ");" + g + "(" + a + ");",
              RadioLog());
    EXPECT_EQ(Events({"desktop", "sleep 1000", "sleep 1000", "sleep 5000"}), s_events);
    EXPECT_FALSE(IsWindow(m_menu)) << "the menu closes after the action";
    EXPECT_TRUE(QuitPosted());
}

INSTANTIATE_TEST_SUITE_P(Radios, RadioToggle,
                         testing::Values(RadioCase{ACTION_BLUETOOTH, 0, "SetBluetooth", "GetBluetooth", 0},
                                         RadioCase{ACTION_BLUETOOTH, 0, "SetBluetooth", "GetBluetooth", 1},
                                         RadioCase{ACTION_WIFI, 1, "SetWLAN", "GetWLAN", 0},
                                         RadioCase{ACTION_WIFI, 1, "SetWLAN", "GetWLAN", 1},
                                         RadioCase{ACTION_PHONE, 2, "SetPhone", "GetPhone", 0},
                                         RadioCase{ACTION_PHONE, 2, "SetPhone", "GetPhone", 1},
                                         RadioCase{ACTION_FLIGHT, 3, "SetFlightMode", "GetFlightMode", 0},
                                         RadioCase{ACTION_FLIGHT, 3, "SetFlightMode", "GetFlightMode", 1}),
                         [](const testing::TestParamInfo<RadioCase> &info) {
                             return std::string(info.param.set) + "From" + std::to_string(info.param.before);
                         });

TEST_F(Dispatch, RadioThatSwitchesAtOnceCostsOnlyTheSettlePause)
{
    SwitchAfterGets(0);
    Press(Bind(0, ACTION_WIFI));
    EXPECT_EQ("GetWLAN(0);SetWLAN(1);GetWLAN(1);", RadioLog());
    EXPECT_EQ(Events({"desktop", "sleep 5000"}), s_events);
}

TEST_F(Dispatch, RadioThatNeverSwitchesGivesUpAndStillCloses)
{
    SwitchAfterGets(-1);
    Press(Bind(0, ACTION_BLUETOOTH));
    int polls = 0;
    for (size_t at = RadioLog().find("GetBluetooth"); at != std::string::npos;
         at = RadioLog().find("GetBluetooth", at + 1))
        polls++;
    EXPECT_EQ(1 + kRadioPollLimit, polls);
    int waited = 0;
    for (const std::string &e : s_events)
        if (e.rfind("sleep ", 0) == 0)
            waited += std::stoi(e.substr(6));
    EXPECT_LE(waited, 40000) << "the wait is bounded";
    EXPECT_FALSE(IsWindow(m_menu));
}

TEST_F(Dispatch, ResetAndPowerOffAskFirst)
{
    AddPhoneWindow(PHONE_POWER_CLASS);
    const std::string box = "box Warning!|Are You sure?|52";
    Press(Bind(1, ACTION_RESET));
    EXPECT_EQ(std::vector<std::string>({box, "power 0x800000 0x1000"}), s_events);
    EXPECT_FALSE(IsWindow(m_menu));

    SetUp();
    AddPhoneWindow(PHONE_POWER_CLASS);
    s_boxAnswer = IDNO;
    Press(Bind(1, ACTION_RESET));
    EXPECT_EQ(std::vector<std::string>({box}), s_events) << "No skips the reset";
    EXPECT_FALSE(IsWindow(m_menu)) << "the menu closes anyway";
    TearDown();

    for (int answer : {IDYES, IDCANCEL}) {
        SetUp();
        s_boxAnswer = answer;
        Press(Bind(3, ACTION_OFF));
        EXPECT_EQ(std::vector<std::string>({box}), s_events);
        EXPECT_EQ(answer == IDYES ? 1 : 0, ((FakeOffCalls)GetProcAddress(s_htc, "Fake_OffCalls"))());
        EXPECT_FALSE(IsWindow(m_menu));
        TearDown();
    }
}

TEST_F(Dispatch, SleepSuspendsWithoutAsking)
{
    AddPhoneWindow(PHONE_POWER_CLASS);
    Press(Bind(5, ACTION_SLEEP));
    EXPECT_EQ(Events({"power 0x200000 0x1000"}), s_events);
}

TEST_F(Dispatch, BluetoothVisibleNeedsTheManager)
{
    AddPhoneWindow(L"WCE_BTTRAY");
    Press(Bind(0, ACTION_BLUETOOTH_DISCOVERABLE));
    EXPECT_EQ(Events({"desktop", "bt-visible", "sleep 1000"}), s_events);
    TearDown();

    SetUp();
    Press(Bind(0, ACTION_BLUETOOTH_DISCOVERABLE));
    EXPECT_EQ(Events({"desktop", "box Warning!|No BT-manager found|48", "sleep 1000"}), s_events);
    EXPECT_FALSE(IsWindow(m_menu));
}

class VibroMode : public Dispatch, public testing::WithParamInterface<DWORD>
{
};

TEST_P(VibroMode, FlipsTheStoredMode)
{
    DWORD stored = GetParam();
    AddPhoneWindow(L"HHTaskBar");
    HKEY key;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"ControlPanel\\Notifications\\ShellOverrides", 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                    &key, NULL);
    RegSetValueExW(key, L"Mode", 0, REG_DWORD, (const BYTE *)&stored, sizeof stored);
    RegCloseKey(key);
    Press(Bind(6, ACTION_VIBRO));
    EXPECT_EQ(Events({"desktop", stored == 0 ? "vibrate 2" : "vibrate 0"}), s_events);
}

INSTANTIATE_TEST_SUITE_P(StoredModes, VibroMode, testing::Values(0u, 1u, 2u));

class GprsState : public Dispatch, public testing::WithParamInterface<DWORD>
{
};

TEST_P(GprsState, DropsOrConnects)
{
    DWORD connected = GetParam();
    AddPhoneWindow(PHONE_CONNECTION_CLASS);
    HKEY key;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"System\\State\\Phone", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL);
    RegSetValueExW(key, L"Cellular System Connected", 0, REG_DWORD, (const BYTE *)&connected, sizeof connected);
    RegCloseKey(key);
    Press(Bind(0, ACTION_GPRS));
    if (connected) {
        EXPECT_EQ("DisconnectAllGPRS(0);", RadioLog());
        EXPECT_EQ(Events({"desktop"}), s_events);
    } else {
        EXPECT_EQ("", RadioLog());
        EXPECT_EQ(Events({"desktop", "connect 1 32768"}), s_events);
    }
    EXPECT_FALSE(IsWindow(m_menu));
}

INSTANTIATE_TEST_SUITE_P(Connected, GprsState, testing::Values(1u, 0u));

TEST_F(Dispatch, ProgramSlotLaunchesPathWithArg)
{
    g_settingsDoc.SetValue(L"3", L"Path", L"\\Windows\\recorder.exe");
    Press(Bind(3, ACTION_PROG));
    EXPECT_EQ(Events({"desktop", "launch \\Windows\\recorder.exe||"}), s_events) << "empty Arg is \"\", not null";
    TearDown();

    SetUp();
    g_settingsDoc.SetValue(L"6", L"Path", L"\\Program Files\\x.exe");
    g_settingsDoc.SetValue(L"6", L"Arg", L"-a \"b c\"");
    Press(Bind(6, ACTION_PROG));
    EXPECT_EQ(Events({"desktop", "launch \\Program Files\\x.exe|-a \"b c\"|"}), s_events);
}

TEST_F(Dispatch, CodesWithoutWorkOnlyClose)
{
    for (int code : {(int)ACTION_3G, (int)ACTION_NONE, 14, -1}) {
        SetUp();
        Press(Bind(0, code));
        EXPECT_EQ(code == ACTION_3G ? Events({"desktop"}) : Events({}), s_events) << code;
        EXPECT_FALSE(IsWindow(m_menu)) << code;
        TearDown();
    }
}

DWORD ManilaEnabled()
{
    DWORD value = 99, size = sizeof value;
    RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Today\\Items\\HTC Sense", L"Enabled", RRF_RT_REG_DWORD,
                 NULL, &value, &size);
    return value;
}

TEST_F(Dispatch, ManilaRestartWaitsForTheShellAndStartsItAgain)
{
    // Running for the first check and two polls, then gone.
    s_manilaPollsLeft = 3;
    Press(Bind(0, ACTION_RESTART_MANILA));
    EXPECT_EQ(Events({"desktop", "sleep 1000", "sleep 1000", "launch \\Windows\\Manila.exe||"}), s_events);
    EXPECT_EQ(1u, ManilaEnabled());
    EXPECT_FALSE(IsWindow(m_menu));
    TearDown();

    // Not running: nothing but the desktop and the close.
    SetUp();
    Press(Bind(0, ACTION_RESTART_MANILA));
    EXPECT_EQ(Events({"desktop"}), s_events);
    TearDown();

    // Never ends: the wait gives up, the item is enabled again, and a running shell is not started twice.
    SetUp();
    s_manilaPollsLeft = -1;
    Press(Bind(0, ACTION_RESTART_MANILA));
    EXPECT_EQ((size_t)1 + kManilaPollLimit, s_events.size());
    EXPECT_EQ("sleep 1000", s_events.back());
    EXPECT_EQ(1u, ManilaEnabled());
    EXPECT_FALSE(IsWindow(m_menu));
}

} // namespace
