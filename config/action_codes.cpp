// Looking up the action table.
#include "action_codes.h"

const ActionInfo *FindAction(int code)
{
    return code >= 0 && code < ACTION_COUNT ? &g_actions[code] : nullptr;
}

bool ActionHasButton(int code)
{
    const ActionInfo *action = FindAction(code);
    return !action || action->hasButton;
}
