// phonectl's view of the phone's state and its way to set it: `state` prints one JSON object, `set NAME VALUE`
// puts the phone in a state before a scenario.
#pragma once

#include <string>

// text as a JSON string, quoted and escaped.
std::wstring JsonText(const std::wstring &text);

// Prints the phone's state as one JSON object on stdout. Returns the exit code.
int PrintPhoneState();

// Sets one named part of the phone's state. Unknown names and bad values fail with a one-line reason.
int SetPhoneState(const wchar_t *name, const wchar_t *value);
