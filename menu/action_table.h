// The actions' work: for every action code, what the menu does when a slot bound to it is pressed and the state
// that picks its picture. The facts of each action (label, pictures, button) are config's table, g_actions.
#pragma once
#include "../config/action_codes.h"

struct ActionWork {
    ActionCode code;       // the row's own code: checked against g_actions when the menu is compiled
    bool (*isOn)();        // asks afresh whether what it controls is on (picks the picture); null: one picture
    bool desktopFirst;     // the desktop comes in front of the menu before the work
    void (*run)(int slot); // the work, for the pressed slot
};

// The work of a code, or null for a code outside 0 to 13.
const ActionWork *FindActionWork(int code);
