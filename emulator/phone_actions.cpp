// phonectl's commands that act on the phone as one of its programs would, through the same libraries, calls
// and messages the program uses.
#include <windows.h>

#include <connmgr.h>
#include <shellapi.h>
#include <stdio.h>
#include <wince.h>

#include <string>

#include "phone_actions.h"

namespace
{

typedef int (*IntExport)(int);
typedef int (*CellExport)(int *);
typedef int (*PlainExport)();

int ActionFailed(const wchar_t *what)
{
    fwprintf(stderr, L"phonectl: %ls\n", what);
    return 2;
}

std::string Narrow(const wchar_t *text)
{
    std::string out;
    for (; *text; text++)
        out += (char)*text;
    return out;
}

} // namespace

int CallExport(const wchar_t *library, const wchar_t *exportName, const wchar_t *argument)
{
    HMODULE module = LoadLibraryW(library);
    if (!module)
        return ActionFailed(L"call: the library was not found");
    FARPROC address = GetProcAddress(module, Narrow(exportName).c_str());
    if (!address) {
        FreeLibrary(module);
        return ActionFailed(L"call: no such export");
    }
    int cell = -1, result;
    if (!argument)
        result = ((PlainExport)address)();
    else if (wcscmp(argument, L"cell") == 0)
        result = ((CellExport)address)(&cell);
    else
        result = ((IntExport)address)(_wtoi(argument));
    FreeLibrary(module);
    if (argument && wcscmp(argument, L"cell") == 0)
        printf("%d %d\n", result, cell);
    else
        printf("%d\n", result);
    return 0;
}

int RequestPower(const wchar_t *flags)
{
    DWORD answer = SetSystemPowerState(NULL, wcstoul(flags, NULL, 0), POWER_FORCE);
    printf("%lu\n", (unsigned long)answer);
    return 0;
}

int RequestConnection()
{
    CONNMGR_CONNECTIONINFO info = {};
    info.cbSize = sizeof info;
    info.dwParams = CONNMGR_PARAM_GUIDDESTNET;
    info.dwPriority = CONNMGR_PRIORITY_USERINTERACTIVE;
    info.guidDestNet = IID_DestNetInternet;
    HANDLE connection = NULL;
    DWORD status = 0;
    ConnMgrEstablishConnectionSync(&info, &connection, 0, &status);
    if (connection)
        ConnMgrReleaseConnection(connection, 0);
    printf("0x%02lx\n", (unsigned long)status);
    return 0;
}

int SendPhoneMessage(const wchar_t *className, const wchar_t *message, const wchar_t *wParam)
{
    wchar_t *end = NULL;
    UINT uMsg = (UINT)wcstoul(message, &end, 0);
    if (*end || !*message)
        uMsg = RegisterWindowMessageW(message);
    HWND hwnd = wcscmp(className, L"broadcast") == 0 ? HWND_BROADCAST : FindWindowW(className, NULL);
    if (!hwnd)
        return ActionFailed(L"send: no window of that class");
    LRESULT answer = SendMessageW(hwnd, uMsg, (WPARAM)wcstoul(wParam, NULL, 0), 0);
    printf("%lld\n", (long long)answer);
    return 0;
}

int StartProgram(const wchar_t *program, const wchar_t *parameters)
{
    SHELLEXECUTEINFOW sei = {};
    sei.cbSize = sizeof sei;
    sei.lpVerb = L"open";
    sei.lpFile = program;
    sei.lpParameters = parameters;
    sei.lpDirectory = L"";
    sei.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&sei) ? 0 : ActionFailed(L"start: the program could not be started");
}
