// The action codes that bind a menu button slot to what it does, with their lang.ini keys, default labels and
// state pictures: one table read by the menu, the action dispatch and the button editor.
#pragma once

enum ActionCode {
    ACTION_RESTART_MANILA = 0,
    ACTION_RESET = 1,
    ACTION_SLEEP = 2,
    ACTION_OFF = 3,
    ACTION_BLUETOOTH = 4,
    ACTION_BLUETOOTH_DISCOVERABLE = 5,
    ACTION_WIFI = 6,
    ACTION_PHONE = 7,
    ACTION_VIBRO = 8,
    ACTION_GPRS = 9,
    ACTION_3G = 10,
    ACTION_FLIGHT = 11,
    ACTION_PROG = 12,
    ACTION_NONE = 13,
    ACTION_COUNT = 14
};

struct ActionInfo {
    const wchar_t *langKey;      // its key in lang.ini, which names the action
    const wchar_t *defaultLabel; // the label when lang.ini does not give one
    const wchar_t *pictureOn;    // skin picture of the action, or of its "on" state; null: the slot's "Icon"
    const wchar_t *pictureOff;   // skin picture of the "off" state; null when the action has one picture
};

// Indexed by action code, 0 to 13.
extern const ActionInfo g_actions[ACTION_COUNT];

// True for the codes that give a slot no menu button (None and 3G).
bool ActionHasNoButton(int code);
