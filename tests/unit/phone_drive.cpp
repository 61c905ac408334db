// The unit tests' phone drive. The test runner maps TOLVANE_TEST_DRIVE to a private folder; this file keeps
// that drive current and gives the tests plain file access to it.
#include <windows.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "config/ini_document.h"
#include "phone_drive.h"

namespace
{

std::wstring DriveRoot()
{
    const char *letter = getenv("TOLVANE_TEST_DRIVE");
    std::wstring root = L"K:\\";
    if (letter && *letter)
        root[0] = (wchar_t)*letter;
    return root;
}

} // namespace

void ResetPhoneDrive()
{
    std::wstring root = DriveRoot();
    SetCurrentDirectoryW(root.c_str());
    std::error_code error;
    // Read-only files would refuse to go: everything is made writable first.
    for (const auto &entry : std::filesystem::recursive_directory_iterator(root, error))
        SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const auto &entry : std::filesystem::directory_iterator(root, error))
        std::filesystem::remove_all(entry.path(), error);
    std::filesystem::create_directories(root + L"Program Files\\Orsweld\\Tolvane", error);
}

std::wstring PhonePath(const wchar_t *phonePath)
{
    std::wstring root = DriveRoot();
    return root + (phonePath[0] == L'\\' ? phonePath + 1 : phonePath);
}

bool WritePhoneFile(const wchar_t *phonePath, const std::string &bytes)
{
    std::wstring path = PhonePath(phonePath);
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL) && written == bytes.size();
    CloseHandle(file);
    return ok;
}

std::string ReadPhoneFile(const wchar_t *phonePath)
{
    std::string bytes;
    if (!ReadWholeFile(PhonePath(phonePath).c_str(), bytes))
        bytes.clear();
    return bytes;
}

bool PhoneFileExists(const wchar_t *phonePath)
{
    std::error_code error;
    return std::filesystem::exists(PhonePath(phonePath), error);
}
