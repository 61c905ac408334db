// The action codes that bind a menu button slot to what it does, and the one table of each action's facts:
// label, pictures and the state that picks them, its button, whether the button page offers it, and its work.
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
    ActionCode code;             // the row's own code: the table is checked to hold every code, in order
    const wchar_t *langKey;      // its key in lang.ini, which names the action
    const wchar_t *defaultLabel; // the label when lang.ini does not give one
    const wchar_t *pictureOn;    // skin picture of the action, or of its "on" state; null: the slot's "Icon"
    const wchar_t *pictureOff;   // skin picture of the "off" state; null when the action has one picture
    bool (*isOn)();              // asks afresh whether what it controls is on (picks the picture); null: one picture
    bool hasButton;              // a slot bound to it gets a menu button
    bool offeredByPage;          // the button page lists it
    bool desktopFirst;           // the desktop comes in front of the menu before the work
    void (*run)(int slot);       // the work, for the pressed slot
};

// Indexed by action code, 0 to 13. Its rows hold the menu's work, so the menu defines it (menu/action_table.cpp);
// everything here only reads it.
extern const ActionInfo g_actions[ACTION_COUNT];

// The row of a code, or null for a code outside 0 to 13.
const ActionInfo *FindAction(int code);

// Whether a slot bound to code gets a menu button: codes outside the table do, as the menu has always made them.
bool ActionHasButton(int code);

// True when every row of table stands at the index of its own code: a missing or misplaced row fails.
constexpr bool RowsInCodeOrder(const ActionInfo (&table)[ACTION_COUNT])
{
    for (int code = 0; code < ACTION_COUNT; code++)
        if (table[code].code != code || !table[code].langKey || !table[code].run)
            return false;
    return true;
}
