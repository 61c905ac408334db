// The unit tests' phone drive: a private folder mapped to a drive letter and made current, so the program's
// root-relative paths ("\Program Files\Orsweld\Tolvane\...") land in it.
#pragma once
#include <string>

// Empties the phone drive and creates the install root in it.
void ResetPhoneDrive();

// Host path of a file on the phone drive, for a root-relative phone path such as L"\\Windows\\x.dll".
std::wstring PhonePath(const wchar_t *phonePath);

// Writes bytes to a phone path, creating its folders. Returns false when it cannot.
bool WritePhoneFile(const wchar_t *phonePath, const std::string &bytes);

// Reads a whole phone file; empty when it cannot be read.
std::string ReadPhoneFile(const wchar_t *phonePath);

bool PhoneFileExists(const wchar_t *phonePath);
