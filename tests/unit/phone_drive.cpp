// The unit tests' phone drive. The test runner maps TOLVANE_TEST_DRIVE to a private folder; this file keeps
// that drive current and gives the tests plain file access to it.
#include <windows.h>
#include <stdlib.h>

#include <string>

#include "phone_drive.h"

namespace {

std::wstring DriveRoot()
{
    const char *letter = getenv("TOLVANE_TEST_DRIVE");
    std::wstring root = L"K:\\";
    if (letter && *letter)
        root[0] = (wchar_t)*letter;
    return root;
}

// Deletes everything inside folder (a path ending in a backslash), leaving the folder itself.
void EmptyFolder(const std::wstring &folder)
{
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..")
            continue;
        std::wstring path = folder + name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            EmptyFolder(path + L"\\");
            RemoveDirectoryW(path.c_str());
        } else {
            DeleteFileW(path.c_str());
        }
    } while (FindNextFileW(find, &fd));
    FindClose(find);
}

void CreateFolders(const std::wstring &path)
{
    for (size_t i = 3; i < path.size(); i++)
        if (path[i] == L'\\')
            CreateDirectoryW(path.substr(0, i).c_str(), NULL);
}

} // namespace

void ResetPhoneDrive()
{
    std::wstring root = DriveRoot();
    SetCurrentDirectoryW(root.c_str());
    EmptyFolder(root);
    CreateFolders(root + L"Program Files\\Orsweld\\Tolvane\\");
}

std::wstring PhonePath(const wchar_t *phonePath)
{
    std::wstring root = DriveRoot();
    return root + (phonePath[0] == L'\\' ? phonePath + 1 : phonePath);
}

bool WritePhoneFile(const wchar_t *phonePath, const std::string &bytes)
{
    std::wstring path = PhonePath(phonePath);
    CreateFolders(path);
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
    HANDLE file = CreateFileW(PhonePath(phonePath).c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0,
                              NULL);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool PhoneFileExists(const wchar_t *phonePath)
{
    return GetFileAttributesW(PhonePath(phonePath).c_str()) != INVALID_FILE_ATTRIBUTES;
}
