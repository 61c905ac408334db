// What the emulated phone's libraries and its programs agree on: window classes, messages and screen metrics.
// Shared by emulator/phone_libs/ (loaded into the program) and the rest of emulator/; the program never includes it.
#pragma once
#include <windows.h>

// Height of the task bar across the top of the screen and of the soft-key bar along the bottom.
#define PHONE_TASKBAR_HEIGHT 52
#define PHONE_MENUBAR_HEIGHT 52

// The power manager: wParam = state flags, lParam = options; answers an error code (0 = done).
#define PHONE_POWER_CLASS L"PhonePowerManager"
#define PHONE_MSG_POWER (WM_APP + 1)

// The connection manager: wParam = dwParams, lParam = dwPriority; answers a CONNMGR_STATUS_* value.
#define PHONE_CONNECTION_CLASS L"PhoneConnectionManager"
#define PHONE_MSG_CONNECT (WM_APP + 2)

// The task bar's own message to show or hide itself (wParam TRUE = show, lParam the requesting window), sent by
// SHFullScreen. A hidden task bar comes back when the window that hid it is gone.
#define PHONE_MSG_TASKBAR_SHOW (WM_APP + 3)

// Sent to the Today window ("DesktopExplorerWindow") when the phone's services changed in the registry (the
// Bluetooth manager added or removed): the shell creates or ends their windows to match.
#define PHONE_MSG_SERVICES (WM_APP + 4)

// The stand-in Manila shell's window class and the Bluetooth manager's.
#define PHONE_MANILA_CLASS L"Manila"
#define PHONE_BTTRAY_CLASS L"WCE_BTTRAY"
#define PHONE_BT_VISIBLE_MESSAGE L"WIDCOMM_WM_VISIBLE1"

// The emulated phone's own registry key (state that the real phone keeps inside its radios).
#define PHONE_STATE_KEY L"Software\\EmulatedPhone"
