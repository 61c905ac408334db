// The skin enumeration: every folder directly under the skins root holding a file named exactly "Skin.ini"
// is a skin.
#include <windows.h>

#include "bounded_text.h"
#include "folder_entries.h"
#include "settings_store.h"
#include "skins.h"

namespace
{

// True when the folder's own listing holds a file named "Skin.ini" in exactly these letter cases.
bool FolderHoldsSkinIni(const wchar_t *folderName)
{
    wchar_t pattern[kPathCapacity];
    CopyText(pattern, kSkinsRoot);
    AppendText(pattern, folderName);
    AppendText(pattern, L"\\*");
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool found = false;
    do {
        if (wcscmp(entry.cFileName, L"Skin.ini") == 0)
            found = true;
    } while (!found && FindNextFileW(search, &entry));
    FindClose(search);
    return found;
}

} // namespace

std::vector<std::wstring> ListInstalledSkins()
{
    std::vector<std::wstring> skins;
    wchar_t pattern[kPathCapacity];
    CopyText(pattern, kSkinsRoot);
    AppendText(pattern, L"*");
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return skins;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IsSelfOrParentEntry(entry.cFileName))
            continue;
        if (FolderHoldsSkinIni(entry.cFileName))
            skins.push_back(entry.cFileName);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return skins;
}
