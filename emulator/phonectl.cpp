// phonectl: the entry script's hand inside the emulated phone. A console program run under the phone's Wine
// prefix; each command does one thing and prints its answer to stdout as UTF-8.
//   windows [--json]              one line per window: handle, class, text, x, y, width, height, style, visible;
//                                 with --json a JSON list of records with those fields
//   screenshot FILE.png           the whole screen as a PNG
//   run PROGRAM [PARAMETERS]      starts PROGRAM with the phone's root current, waits, prints its exit code
//   wait-window CLASS SECONDS     waits until a visible window of CLASS exists (exit 0) or the time is up (1)
//   tap X Y, key NAME, type TEXT  real input
//   state                         the phone's state as one JSON object
//   set NAME VALUE                puts the phone in a state (radios, vibrate, gprs, manila, bttray, ...)
//   call LIBRARY EXPORT [N|cell]  calls a vendor library's export as the program does
//   power FLAGS, connect          power and connection requests through the platform layer
//   send CLASS|broadcast MSG W    sends a window message (MSG a number or a registered message's name)
//   start PROGRAM [PARAMETERS]    opens a program through the shell, without waiting
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <stdio.h>

#include <string>

#include "phone_actions.h"
#include "phone_input.h"
#include "phone_report.h"
#include "png_file.h"

namespace
{

void WriteOut(const std::wstring &text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), NULL, 0, NULL, NULL);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), &bytes[0], size, NULL, NULL);
    fwrite(bytes.data(), 1, bytes.size(), stdout);
}

int Fail(const wchar_t *reason)
{
    fflush(stdout);
    fwprintf(stderr, L"phonectl: %ls (error %lu)\n", reason, GetLastError());
    return 2;
}

// Tabs and line breaks in a window's text would break the line format.
std::wstring OneLine(const wchar_t *text)
{
    std::wstring s = text;
    for (wchar_t &c : s)
        if (c == L'\t' || c == L'\r' || c == L'\n')
            c = L' ';
    return s;
}

// The listing's format: tab-separated lines, or the records of a JSON list.
bool g_json = false;
bool g_firstRecord = true;

void PrintWindow(HWND hwnd)
{
    wchar_t className[256] = L"", text[512] = L"";
    GetClassNameW(hwnd, className, ARRAYSIZE(className));
    // WM_GETTEXT with a time limit: a hung program must not hang the listing.
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, ARRAYSIZE(text), (LPARAM)text, SMTO_ABORTIFHUNG, 500, &got))
        text[0] = L'\0';
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    unsigned long long handle = (ULONG_PTR)hwnd;
    unsigned long style = (unsigned long)GetWindowLongW(hwnd, GWL_STYLE);
    int visible = IsWindowVisible(hwnd) ? 1 : 0;
    if (g_json) { // built whole: an escaped text can be several times its length
        auto number = [](const wchar_t *name, long long value) {
            return L", \"" + std::wstring(name) + L"\": " + std::to_wstring(value);
        };
        WriteOut((g_firstRecord ? L"\n{\"handle\": " : L",\n{\"handle\": ") + std::to_wstring(handle) + L", \"cls\": " +
                 JsonText(className) + L", \"text\": " + JsonText(text) + number(L"x", rc.left) + number(L"y", rc.top) +
                 number(L"w", rc.right - rc.left) + number(L"h", rc.bottom - rc.top) + number(L"style", style) +
                 L", \"visible\": " + (visible ? L"true}" : L"false}"));
        g_firstRecord = false;
        return;
    }
    wchar_t line[1024];
    _snwprintf(line, ARRAYSIZE(line), L"0x%08llX\t%ls\t%ls\t%ld\t%ld\t%ld\t%ld\t0x%08lX\t%d\n", handle, className,
               OneLine(text).c_str(), rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, style, visible);
    line[ARRAYSIZE(line) - 1] = L'\0';
    WriteOut(line);
}

BOOL CALLBACK PrintChild(HWND hwnd, LPARAM)
{
    PrintWindow(hwnd);
    return TRUE;
}

BOOL CALLBACK PrintTopLevel(HWND hwnd, LPARAM)
{
    PrintWindow(hwnd);
    EnumChildWindows(hwnd, PrintChild, 0); // every descendant, depth first
    return TRUE;
}

int ListWindows(bool json)
{
    g_json = json;
    if (json)
        WriteOut(L"[");
    EnumWindows(PrintTopLevel, 0);
    if (json)
        WriteOut(L"\n]\n");
    return 0;
}

int Screenshot(const wchar_t *path)
{
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void *bits = NULL;
    HBITMAP hbm = CreateDIBSection(screen, &bmi, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(memory, hbm);
    BOOL copied = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    if (!hbm || !copied)
        return Fail(L"cannot copy the screen");
    // The screen has no alpha: make every pixel opaque.
    for (int i = 0; i < width * height; i++)
        ((BYTE *)bits)[i * 4 + 3] = 0xFF;

    bool ok = WritePngFile(path, width, height, 4, (const BYTE *)bits);
    DeleteObject(hbm);
    return ok ? 0 : Fail(L"cannot write the PNG file");
}

int Run(const wchar_t *program, const wchar_t *parameters)
{
    std::wstring commandLine = L"\"" + std::wstring(program) + L"\"";
    if (parameters && *parameters)
        commandLine += L" " + std::wstring(parameters);
    // The phone's programs run with the root of the phone's drive current.
    wchar_t root[4] = L"P:\\";
    if (program[0] && program[1] == L':')
        root[0] = program[0];
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(program, &commandLine[0], NULL, NULL, FALSE, 0, NULL, root, &si, &pi))
        return Fail(L"cannot start the program");
    CloseHandle(pi.hThread);
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(pi.hProcess, &exitCode);
    CloseHandle(pi.hProcess);
    printf("%lu\n", (unsigned long)exitCode);
    return 0;
}

int WaitWindow(const wchar_t *className, const wchar_t *seconds)
{
    DWORD limit = GetTickCount() + (DWORD)_wtoi(seconds) * 1000;
    for (;;) {
        HWND hwnd = FindWindowW(className, NULL);
        if (hwnd && IsWindowVisible(hwnd))
            return 0;
        if ((LONG)(GetTickCount() - limit) >= 0)
            return 1;
        Sleep(100);
    }
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    _setmode(_fileno(stdout), _O_BINARY); // "\n" line ends, whatever the console does
    // Like every program of the phone, phonectl works with the phone's root current ("\Windows\x.exe").
    wchar_t root[MAX_PATH] = L"";
    if (GetModuleFileNameW(NULL, root, MAX_PATH) && root[1] == L':') {
        root[3] = L'\0';
        SetCurrentDirectoryW(root);
    }
    std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"windows" && (argc == 2 || (argc == 3 && std::wstring(argv[2]) == L"--json")))
        return ListWindows(argc == 3);
    if (command == L"screenshot" && argc == 3)
        return Screenshot(argv[2]);
    if (command == L"run" && (argc == 3 || argc == 4))
        return Run(argv[2], argc == 4 ? argv[3] : L"");
    if (command == L"wait-window" && argc == 4)
        return WaitWindow(argv[2], argv[3]);
    if (command == L"tap" && argc == 4)
        return Tap(_wtoi(argv[2]), _wtoi(argv[3]));
    if (command == L"key" && argc == 3)
        return PressKey(argv[2]);
    if (command == L"type" && argc == 3)
        return TypeText(argv[2]);
    if (command == L"state" && argc == 2)
        return PrintPhoneState();
    if (command == L"set" && argc == 4)
        return SetPhoneState(argv[2], argv[3]);
    if (command == L"call" && (argc == 4 || argc == 5))
        return CallExport(argv[2], argv[3], argc == 5 ? argv[4] : NULL);
    if (command == L"power" && argc == 3)
        return RequestPower(argv[2]);
    if (command == L"connect" && argc == 2)
        return RequestConnection();
    if (command == L"send" && argc == 5)
        return SendPhoneMessage(argv[2], argv[3], argv[4]);
    if (command == L"start" && (argc == 3 || argc == 4))
        return StartProgram(argv[2], argc == 4 ? argv[3] : L"");
    fwprintf(stderr, L"phonectl: unknown command\n");
    return 2;
}
