// The skin enumeration: every folder directly under the skins root holding a file named exactly "Skin.ini"
// is a skin; the tree shows them sorted with the current skin selected.
#include <windows.h>

#include <commctrl.h>

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

void AddSkinItem(HWND hwndTree, wchar_t *name)
{
    TVINSERTSTRUCTW tvis = {};
    tvis.hParent = TVI_ROOT;
    tvis.hInsertAfter = TVI_SORT;
    tvis.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tvis.item.pszText = name;
    tvis.item.iImage = 0;
    tvis.item.iSelectedImage = 2;
    HTREEITEM item = (HTREEITEM)SendMessageW(hwndTree, TVM_INSERTITEMW, 0, (LPARAM)&tvis);
    if (item && wcscmp(name, g_settings.skinName) == 0)
        SendMessageW(hwndTree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)item);
}

} // namespace

void FillSkinTree(HWND hwndTree)
{
    wchar_t pattern[kPathCapacity];
    CopyText(pattern, kSkinsRoot);
    AppendText(pattern, L"*");
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IsSelfOrParentEntry(entry.cFileName))
            continue;
        if (FolderHoldsSkinIni(entry.cFileName))
            AddSkinItem(hwndTree, entry.cFileName);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}
