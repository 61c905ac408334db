// Taps and keys through SendInput: the phone's programs see them exactly as real input.
#include <windows.h>
#include <stdio.h>
#include <wchar.h>

#include "phone_input.h"

namespace
{

struct KeyName {
    const wchar_t *name;
    WORD vk;
};

const KeyName kKeys[] = {
    {L"Return", VK_RETURN},  {L"Escape", VK_ESCAPE}, {L"Up", VK_UP},     {L"Down", VK_DOWN},
    {L"Left", VK_LEFT},      {L"Right", VK_RIGHT},   {L"Tab", VK_TAB},   {L"Space", VK_SPACE},
    {L"BackSpace", VK_BACK}, {L"Delete", VK_DELETE}, {L"Home", VK_HOME}, {L"End", VK_END},
    {L"Prior", VK_PRIOR},    {L"Next", VK_NEXT},
};

bool SendKey(WORD vk, WORD scan, DWORD flags)
{
    INPUT input[2] = {};
    for (int i = 0; i < 2; i++) {
        input[i].type = INPUT_KEYBOARD;
        input[i].ki.wVk = vk;
        input[i].ki.wScan = scan;
        input[i].ki.dwFlags = flags | (i ? KEYEVENTF_KEYUP : 0);
    }
    return SendInput(2, input, sizeof(INPUT)) == 2;
}

} // namespace

int Tap(int x, int y)
{
    SetCursorPos(x, y);
    INPUT input[3] = {};
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    for (INPUT &in : input) {
        in.type = INPUT_MOUSE;
        in.mi.dx = (x * 65535 + width / 2) / (width > 1 ? width - 1 : 1);
        in.mi.dy = (y * 65535 + height / 2) / (height > 1 ? height - 1 : 1);
    }
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(2, input, sizeof(INPUT));
    Sleep(60); // a finger rests a moment on the screen
    if (SendInput(1, &input[2], sizeof(INPUT)) != 1) {
        fwprintf(stderr, L"phonectl: the tap could not be sent\n");
        return 2;
    }
    Sleep(100);
    return 0;
}

int PressKey(const wchar_t *name)
{
    WORD vk = 0;
    for (const KeyName &key : kKeys)
        if (_wcsicmp(key.name, name) == 0)
            vk = key.vk;
    if (!vk && (name[0] == L'F' || name[0] == L'f') && name[1] >= L'1' && name[1] <= L'9') {
        int n = _wtoi(name + 1);
        if (n >= 1 && n <= 12)
            vk = (WORD)(VK_F1 + n - 1);
    }
    if (!vk && name[0] && !name[1] && iswalnum(name[0]))
        vk = (WORD)towupper(name[0]);
    if (!vk) {
        fwprintf(stderr, L"phonectl: unknown key %ls\n", name);
        return 2;
    }
    SendKey(vk, (WORD)MapVirtualKeyW(vk, MAPVK_VK_TO_VSC), 0);
    Sleep(100);
    return 0;
}

int TypeText(const wchar_t *text)
{
    for (const wchar_t *p = text; *p; p++)
        SendKey(0, *p, KEYEVENTF_UNICODE);
    Sleep(100);
    return 0;
}
