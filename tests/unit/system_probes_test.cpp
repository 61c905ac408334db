// System probes: four-byte registry reads with their retries, the vibrate mode, the Manila process check and
// the shell launch with its exact structure.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include "device/system_probes.h"
#include "device_test_support.h"
#include "import_patch.h"
#include "phone_drive.h"
#include "phone_link.h"
#include "phone_state.h"

namespace
{

const wchar_t kTestKey[] = L"Software\\TolvaneTests\\Probes";

void WriteTestValue(DWORD type, const void *data, DWORD size)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTestKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL));
    RegSetValueExW(key, L"Value", 0, type, (const BYTE *)data, size);
    RegCloseKey(key);
}

class SystemProbes : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetDeviceCatches();
        ResetPhoneDrive();
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTestKey);
    }
};

TEST_F(SystemProbes, ReadRegistryDwordTakesTheFirstFourBytesOfAnyType)
{
    struct Case {
        const char *what;
        DWORD type;
        std::string bytes;
        DWORD expected;
    };
    const Case cases[] = {
        {"OpMode 2", REG_DWORD, std::string("\x02\0\0\0", 4), 2},
        {"OpMode 1", REG_DWORD, std::string("\x01\0\0\0", 4), 1},
        {"a longer binary", REG_BINARY, std::string("\x01\x02\x03\x04\x05\x06", 6), 0x04030201},
        {"a text", REG_SZ, std::string("a\0b\0\0\0", 6), 0x00620061},
        {"a short binary", REG_BINARY, std::string("\x09\x08", 2), 0x0809},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        g_caught.sleeps.clear();
        WriteTestValue(c.type, c.bytes.data(), (DWORD)c.bytes.size());
        EXPECT_EQ(c.expected, ReadRegistryDword(L"\\Software\\TolvaneTests\\Probes\\", L"Value"));
        EXPECT_TRUE(g_caught.sleeps.empty()) << "a value that reads at once costs no pause";
    }
}

TEST_F(SystemProbes, AbsentValueReadsAsZeroAfterElevenAttempts)
{
    EXPECT_EQ(0u, ReadRegistryDword(L"\\Software\\TolvaneTests\\Probes\\", L"Cellular System Connected"));
    EXPECT_EQ(std::vector<DWORD>(10, 100), g_caught.sleeps);
}

TEST_F(SystemProbes, QueryVibroModeIsZeroOrTheStoredModePlusOne)
{
    const struct {
        bool present;
        DWORD mode;
        DWORD expected;
    } cases[] = {{false, 0, 0}, {true, 0, 0}, {true, 1, 2}, {true, 2, 3}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mode);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, VIBRATE_KEY, VIBRATE_VALUE);
        if (c.present)
            WriteUserDword(VIBRATE_KEY, VIBRATE_VALUE, c.mode);
        EXPECT_EQ(c.expected, QueryVibroMode());
    }
}

// A stand-in task bar: the messages it received.
std::vector<MSG> s_taskBarMessages;

LRESULT CALLBACK TaskBarProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg >= WM_USER)
        s_taskBarMessages.push_back({hwnd, uMsg, wParam, lParam});
    return DefWindowProcW(hwnd, uMsg, wParam, lParam);
}

TEST_F(SystemProbes, SetVibroModeAsksTheTaskBar)
{
    SetVibroMode(2); // no task bar: nothing to do, nothing to fail
    WNDCLASSW wc = {};
    wc.lpfnWndProc = TaskBarProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = L"HHTaskBar";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, L"HHTaskBar", L"", WS_POPUP, 0, 0, 0, 0, NULL, NULL, wc.hInstance, NULL);
    ASSERT_TRUE(hwnd);
    s_taskBarMessages.clear();
    SetVibroMode(2);
    SetVibroMode(0);
    DestroyWindow(hwnd);
    UnregisterClassW(L"HHTaskBar", wc.hInstance);
    ASSERT_EQ(2u, s_taskBarMessages.size());
    EXPECT_EQ(0x484u, s_taskBarMessages[0].message);
    EXPECT_EQ(2u, s_taskBarMessages[0].wParam);
    EXPECT_EQ(0, s_taskBarMessages[0].lParam);
    EXPECT_EQ(0u, s_taskBarMessages[1].wParam);
}

// Runs the emulator's Manila stand-in under another file name; the process stays until it is ended.
PROCESS_INFORMATION StartCopyAs(const wchar_t *name)
{
    std::wstring path = PhonePath(name);
    PROCESS_INFORMATION pi = {};
    if (!CopyFileW(BuildPath(L"emulator\\phone\\Manila.exe").c_str(), path.c_str(), FALSE))
        return pi;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    std::wstring commandLine = L"\"" + path + L"\"";
    CreateProcessW(path.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi);
    return pi;
}

void EndProcess(PROCESS_INFORMATION &pi)
{
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
}

TEST_F(SystemProbes, IsManilaRunningComparesTheFileNameWithoutCase)
{
    EXPECT_FALSE(IsManilaRunning());
    const struct {
        const wchar_t *name;
        bool running;
    } cases[] = {{L"\\MANILA.EXE", true}, {L"\\Manila2.exe", false}, {L"\\Windows\\manila.exe", true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << (c.name + 1));
        if (wcschr(c.name + 1, L'\\'))
            CreateDirectoryW(PhonePath(L"\\Windows").c_str(), NULL);
        PROCESS_INFORMATION pi = StartCopyAs(c.name);
        ASSERT_TRUE(pi.hProcess);
        EXPECT_EQ(c.running, IsManilaRunning());
        EndProcess(pi);
    }
    EXPECT_FALSE(IsManilaRunning());
}

SHELLEXECUTEINFOW s_opened;
std::wstring s_openedVerb, s_openedFile, s_openedParameters, s_openedDirectory;
bool s_parametersNull, s_directoryNull;

BOOL WINAPI CatchShellExecuteEx(SHELLEXECUTEINFOW *sei)
{
    s_opened = *sei;
    s_openedVerb = sei->lpVerb ? sei->lpVerb : L"(null)";
    s_openedFile = sei->lpFile ? sei->lpFile : L"(null)";
    s_parametersNull = sei->lpParameters == NULL;
    s_openedParameters = sei->lpParameters ? sei->lpParameters : L"";
    s_directoryNull = sei->lpDirectory == NULL;
    s_openedDirectory = sei->lpDirectory ? sei->lpDirectory : L"";
    return FALSE;
}

TEST_F(SystemProbes, LaunchProgramOpensWithEmptyTextsNeverNull)
{
    void *real = PatchImport("coredll.dll", "ShellExecuteExW", (void *)CatchShellExecuteEx);
    ASSERT_TRUE(real);
    LaunchProgram(L"\\Windows\\Manila.exe", L"");
    PatchImport("coredll.dll", "ShellExecuteExW", real);
    EXPECT_EQ(sizeof(SHELLEXECUTEINFOW), s_opened.cbSize);
    EXPECT_EQ((ULONG)SEE_MASK_NOCLOSEPROCESS, s_opened.fMask);
    EXPECT_EQ(NULL, s_opened.hwnd);
    EXPECT_EQ(L"open", s_openedVerb);
    EXPECT_EQ(L"\\Windows\\Manila.exe", s_openedFile);
    EXPECT_FALSE(s_parametersNull);
    EXPECT_EQ(L"", s_openedParameters);
    EXPECT_FALSE(s_directoryNull);
    EXPECT_EQ(L"", s_openedDirectory);
    EXPECT_EQ(0, s_opened.nShow);
}

// A real launch of the phone's recorder: it finds its parameters as they were given.
TEST_F(SystemProbes, LaunchProgramStartsTheProgramWithItsParameters)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, PHONE_STATE_KEY);
    CreateDirectoryW(PhonePath(L"\\Windows").c_str(), NULL);
    ASSERT_TRUE(CopyFileW(BuildPath(L"emulator\\phone\\recorder.exe").c_str(),
                          PhonePath(L"\\Windows\\recorder.exe").c_str(), FALSE));
    LaunchProgram(L"\\Windows\\recorder.exe", L"-x \"two words\"");
    std::vector<std::wstring> launched;
    for (int i = 0; i < 100 && launched.empty(); i++) {
        RealSleep(50);
        launched = ReadStateList(LIST_LAUNCHED);
    }
    EXPECT_EQ(std::vector<std::wstring>{L"\\Windows\\recorder.exe\t-x \"two words\""}, launched);
}

} // namespace
