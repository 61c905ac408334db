// The file picker: the folder tree is read level by level as folders are expanded, each folder showing an
// expand button when it has a subfolder; the file list holds the listed folder's matching entries.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <wctype.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../config/bounded_text.h"
#include "../config/folder_entries.h"
#include "../config/language_texts.h"
#include "../resources/resource_ids.h"
#include "editor_frame.h"
#include "editor_state.h"
#include "file_picker.h"

namespace
{

// Item data of the items that name a folder; placeholders and files carry none.
const LPARAM kFolderItem = 1;
const wchar_t kRootText[] = L"\\";
const DWORD kFileListStyle = 0x50900430;
const DWORD kFolderTreeStyle = 0x50900037;

// Copies the path segment that starts at path (after any backslashes) into segment, cut to capacity, and
// returns where the walk goes on; null when no segment is left. "\a\\b" gives "a", then "b", then null.
const wchar_t *NextSegment(const wchar_t *path, wchar_t *segment, size_t capacity)
{
    while (*path == L'\\')
        path++;
    if (!*path)
        return NULL;
    size_t used = 0;
    for (; *path && *path != L'\\'; path++)
        if (used + 1 < capacity)
            segment[used++] = *path;
    segment[used] = L'\0';
    return path;
}

// The item's text, empty when it cannot be read.
void GetTreeItemText(HWND hwndTree, HTREEITEM item, wchar_t *text)
{
    text[0] = L'\0';
    TVITEMW tvi = {};
    tvi.mask = TVIF_TEXT;
    tvi.hItem = item;
    tvi.pszText = text;
    tvi.cchTextMax = kPathCapacity;
    if (!item || !SendMessageW(hwndTree, TVM_GETITEMW, 0, (LPARAM)&tvi))
        text[0] = L'\0';
    text[kPathCapacity - 1] = L'\0';
}

// The first of item and its following siblings whose text is name exactly, or null.
HTREEITEM FindSiblingByText(HWND hwndTree, HTREEITEM item, const wchar_t *name)
{
    wchar_t text[kPathCapacity];
    for (; item; item = (HTREEITEM)SendMessageW(hwndTree, TVM_GETNEXTITEM, TVGN_NEXT, (LPARAM)item)) {
        GetTreeItemText(hwndTree, item, text);
        if (wcscmp(text, name) == 0)
            return item;
    }
    return NULL;
}

HTREEITEM GetNextItem(HWND hwndTree, HTREEITEM item, UINT relation)
{
    return (HTREEITEM)SendMessageW(hwndTree, TVM_GETNEXTITEM, relation, (LPARAM)item);
}

HTREEITEM InsertItem(HWND hwndTree, HTREEITEM parent, HTREEITEM after, const wchar_t *text, int image,
                     int selectedImage, bool folder)
{
    wchar_t itemText[kPathCapacity];
    CopyText(itemText, text);
    TVINSERTSTRUCTW tvis = {};
    tvis.hParent = parent;
    tvis.hInsertAfter = after;
    tvis.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | (folder ? TVIF_PARAM : 0);
    tvis.item.pszText = itemText;
    tvis.item.iImage = image;
    tvis.item.iSelectedImage = selectedImage;
    tvis.item.lParam = folder ? kFolderItem : 0;
    return (HTREEITEM)SendMessageW(hwndTree, TVM_INSERTITEMW, 0, (LPARAM)&tvis);
}

// A tree being filled is not redrawn: with redrawing on, the control lays out and invalidates the rows below
// every item inserted, which makes a level of N items cost N x N. Resuming lays the tree out and redraws it once.
void HoldRedraw(HWND hwndTree)
{
    SendMessageW(hwndTree, WM_SETREDRAW, FALSE, 0);
}

void ResumeRedraw(HWND hwndTree)
{
    SendMessageW(hwndTree, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwndTree, NULL, TRUE);
}

int GetSmallIconIndex(const wchar_t *path)
{
    SHFILEINFOW sfi = {};
    SHGetFileInfoW(path, 0, &sfi, sizeof(sfi), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    return sfi.iIcon;
}

bool IsFolderEntry(const WIN32_FIND_DATAW &entry)
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsSelfOrParentEntry(entry.cFileName);
}

// Gives a new folder item a placeholder child named after its first subfolder, hidden or not, so that it shows
// an expand button before its level is read. Returns whether one was inserted.
bool AddExpandPlaceholder(HWND hwndTree, HTREEITEM item, const wchar_t *parentPath, const wchar_t *name)
{
    wchar_t pattern[kPathCapacity];
    CopyText(pattern, parentPath);
    AppendText(pattern, name);
    AppendText(pattern, L"\\*");
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool inserted = false;
    do {
        if (IsFolderEntry(entry))
            inserted = InsertItem(hwndTree, item, TVI_SORT, entry.cFileName, 0, 2, false) != NULL;
    } while (!inserted && FindNextFileW(search, &entry));
    FindClose(search);
    return inserted;
}

// Inserts the visible subfolders of folderPath under parent and sorts the level. Returns how many were inserted.
int FillFolderLevel(const wchar_t *folderPath, const wchar_t *pattern, HTREEITEM parent)
{
    HWND hwndTree = g_editor.picker.folderTree;
    wchar_t search[kPathCapacity], fullPath[kPathCapacity];
    CopyText(search, folderPath);
    AppendText(search, pattern);
    WIN32_FIND_DATAW entry;
    HANDLE handle = FindFirstFileW(search, &entry);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    HoldRedraw(hwndTree);
    int count = 0;
    do {
        if (!IsFolderEntry(entry) || (entry.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN))
            continue;
        CopyText(fullPath, folderPath);
        AppendText(fullPath, entry.cFileName);
        int icon = GetSmallIconIndex(fullPath);
        HTREEITEM item = InsertItem(hwndTree, parent, TVI_LAST, entry.cFileName, icon, icon, true);
        AddExpandPlaceholder(hwndTree, item, folderPath, entry.cFileName);
        count++;
    } while (FindNextFileW(handle, &entry));
    FindClose(handle);
    // The control's sort keeps equal names in the order they stand, so sorting the level once, after its last
    // folder, orders it as sorting after every folder would.
    if (count)
        SendMessageW(hwndTree, TVM_SORTCHILDREN, TRUE, (LPARAM)parent);
    ResumeRedraw(hwndTree);
    return count;
}

void InsertRoot(HWND hwndTree)
{
    InsertItem(hwndTree, TVI_ROOT, TVI_LAST, kRootText, 0, 0, true);
}

BOOL OnInitDialog(HWND hDlg)
{
    PickerWindows &picker = g_editor.picker;
    picker.softKeyBar = SetUpEditorDialog(hDlg, IDR_MENU_SELECT_CANCEL, g_lang.keySelect, g_lang.keyCancel);
    if (!picker.softKeyBar)
        return FALSE;
    RECT rc;
    GetClientRect(hDlg, &rc);
    int width = rc.right - rc.left, half = (rc.bottom - rc.top) / 2;
    picker.listedFolder[0] = L'\0';
    picker.fileList = CreateWindowExW(0, WC_TREEVIEWW, NULL, kFileListStyle, 2, half + 2, width - 4, half - 6, hDlg,
                                      NULL, g_editor.hInstance, NULL);
    picker.folderTree = CreateWindowExW(0, WC_TREEVIEWW, NULL, kFolderTreeStyle, 2, 2, width - 4, half - 6, hDlg, NULL,
                                        g_editor.hInstance, NULL);
    InsertRoot(picker.folderTree);
    HTREEITEM root = GetNextItem(picker.folderTree, NULL, TVGN_ROOT);
    FillFolderLevel(kRootText, L"*", root);
    SendMessageW(picker.folderTree, TVM_EXPAND, TVE_EXPAND, (LPARAM)root);

    wchar_t folderPart[kPathCapacity], namePart[kPathCapacity];
    SplitPickerPath(g_editor.handOver.pickerPath, folderPart, namePart);
    ExpandToFolder(picker.folderTree, folderPart);
    FillFileList(picker.fileList, folderPart, namePart);
    return TRUE;
}

// Every expansion and collapse reads the folder's level anew from the file system.
void OnItemExpanded(const NMTREEVIEWW *nmtv)
{
    HWND hwndTree = nmtv->hdr.hwndFrom;
    HTREEITEM item = nmtv->itemNew.hItem;
    wchar_t folderPath[kPathCapacity];
    BuildFolderPath(hwndTree, item, folderPath, kPathCapacity);
    for (HTREEITEM child; (child = GetNextItem(hwndTree, item, TVGN_CHILD)) != NULL;)
        SendMessageW(hwndTree, TVM_DELETEITEM, 0, (LPARAM)child);
    FillFolderLevel(folderPath, L"*", item);
}

void OnSelChanged(const NMTREEVIEWW *nmtv)
{
    if (nmtv->itemNew.lParam != kFolderItem)
        return;
    wchar_t folderPath[kPathCapacity];
    BuildFolderPath(nmtv->hdr.hwndFrom, nmtv->itemNew.hItem, folderPath, kPathCapacity);
    FillFileList(g_editor.picker.fileList, folderPath, L"");
}

BOOL OnNotify(const NMHDR *nmhdr)
{
    switch (nmhdr->code) {
    case TVN_ITEMEXPANDEDW:
        OnItemExpanded((const NMTREEVIEWW *)nmhdr);
        break;
    case TVN_SELCHANGEDW:
        OnSelChanged((const NMTREEVIEWW *)nmhdr);
        break;
    }
    return FALSE;
}

// The chosen file's full path goes to the picker path buffer: always from the folder whose files the list
// shows. No selected file leaves the buffer as it was.
BOOL Select(HWND hDlg)
{
    PickerWindows &picker = g_editor.picker;
    wchar_t fileName[kPathCapacity];
    GetTreeItemText(picker.fileList, GetNextItem(picker.fileList, NULL, TVGN_CARET), fileName);
    if (fileName[0]) {
        CopyText(g_editor.handOver.pickerPath, picker.listedFolder);
        AppendText(g_editor.handOver.pickerPath, fileName);
    }
    EndDialog(hDlg, 1);
    return TRUE;
}

BOOL OnCommand(HWND hDlg, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDOK:
    case IDM_SELECT:
        return Select(hDlg);
    case IDM_CANCEL:
        EndDialog(hDlg, 2);
        return FALSE;
    }
    return FALSE;
}

} // namespace

void GetThreeLetterExtension(const wchar_t *name, wchar_t extension[4])
{
    size_t length = wcslen(name);
    if (length < 4 || name[length - 4] != L'.') {
        CopyText(extension, 4, L"---");
        return;
    }
    for (int i = 0; i < 3; i++)
        extension[i] = (wchar_t)towlower(name[length - 3 + i]);
    extension[3] = L'\0';
}

void SplitPickerPath(const wchar_t *path, wchar_t *folderPart, wchar_t *namePart)
{
    // The name is what follows the last backslash; the folders before it keep their backslashes as typed,
    // apart from those at the start.
    while (*path == L'\\')
        path++;
    const wchar_t *name = wcsrchr(path, L'\\');
    name = name ? name + 1 : path;
    CopyText(folderPart, kPathCapacity, kRootText);
    size_t folderLength = (size_t)(name - path);
    if (folderLength + 2 > kPathCapacity)
        folderLength = kPathCapacity - 2;
    wcsncat(folderPart, path, folderLength);
    CopyText(namePart, kPathCapacity, name);
}

void BuildFolderPath(HWND hwndTree, HTREEITEM item, wchar_t *path, size_t capacity)
{
    path[0] = L'\0';
    if (!item)
        return;
    // Item texts are collected from the item up to the root: each one goes in front of what is collected.
    wchar_t collected[kPathCapacity] = L"", text[kPathCapacity], joined[kPathCapacity];
    for (; item; item = GetNextItem(hwndTree, item, TVGN_PARENT)) {
        GetTreeItemText(hwndTree, item, text);
        if (wcscmp(text, kRootText) == 0)
            continue;
        CopyText(joined, text);
        AppendText(joined, L"\\");
        AppendText(joined, collected);
        CopyText(collected, joined);
    }
    CopyText(path, capacity, kRootText);
    AppendText(path, capacity, collected);
}

void ExpandToFolder(HWND hwndTree, const wchar_t *folderPart)
{
    HTREEITEM root = GetNextItem(hwndTree, NULL, TVGN_ROOT);
    SendMessageW(hwndTree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)root);
    HTREEITEM level = GetNextItem(hwndTree, root, TVGN_CHILD);
    wchar_t segment[kPathCapacity];
    for (const wchar_t *rest = folderPart; (rest = NextSegment(rest, segment, kPathCapacity)) != NULL;) {
        if (*rest != L'\\')
            break; // text after the last backslash names no folder
        HTREEITEM found = FindSiblingByText(hwndTree, level, segment);
        if (rest[1] != L'\0') {
            if (found)
                SendMessageW(hwndTree, TVM_EXPAND, TVE_EXPAND, (LPARAM)found);
            level = found ? GetNextItem(hwndTree, found, TVGN_CHILD) : NULL;
        } else {
            SendMessageW(hwndTree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)found);
        }
    }
}

void FillFileList(HWND hwndList, const wchar_t *folderPath, const wchar_t *nameToSelect)
{
    // The listed folder is kept from the root, whichever way the caller wrote it.
    CopyText(g_editor.picker.listedFolder, kRootText);
    AppendText(g_editor.picker.listedFolder, folderPath[0] == L'\\' ? folderPath + 1 : folderPath);
    folderPath = g_editor.picker.listedFolder;
    HoldRedraw(hwndList);
    SendMessageW(hwndList, TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT);
    SetCursor(LoadCursorW(NULL, IDC_WAIT));
    wchar_t search[kPathCapacity], extension[4];
    CopyText(search, folderPath);
    AppendText(search, L"*");
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE handle = FindFirstFileW(search, &entry);
    if (handle != INVALID_HANDLE_VALUE) {
        do {
            if (IsSelfOrParentEntry(entry.cFileName))
                continue;
            GetThreeLetterExtension(entry.cFileName, extension);
            if (wcscmp(extension, g_editor.handOver.pickerExtension) == 0)
                names.push_back(entry.cFileName);
        } while (FindNextFileW(handle, &entry));
        FindClose(handle);
    }
    // A sorted insertion looks for its place from the first item on, comparing as lstrcmpW does (the locale's word
    // sort), and puts a name after the first item it compares equal to. Inserting the names from the last in that order
    // to the first, and names that compare equal in the order they were listed, gives every insertion its place at the
    // first item and leaves the list as inserting in listing order would.
    std::stable_sort(names.begin(), names.end(), [](const std::wstring &a, const std::wstring &b) {
        return CompareStringW(LOCALE_USER_DEFAULT, 0, a.c_str(), -1, b.c_str(), -1) == CSTR_GREATER_THAN;
    });
    HTREEITEM remembered = NULL;
    for (const std::wstring &name : names) {
        HTREEITEM item = InsertItem(hwndList, TVI_ROOT, TVI_SORT, name.c_str(), 0, 2, false);
        if (wcscmp(name.c_str(), nameToSelect) == 0)
            remembered = item;
    }
    SendMessageW(hwndList, TVM_SORTCHILDREN, TRUE, 0);
    // Redrawing resumes before the selection, so that the list is laid out when the selection scrolls into view.
    ResumeRedraw(hwndList);
    if (remembered)
        SendMessageW(hwndList, TVM_SELECTITEM, TVGN_CARET, (LPARAM)remembered);
    SetCursor(NULL);
}

INT_PTR CALLBACK FilePickerDialog(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        return OnInitDialog(hDlg);
    case WM_NOTIFY:
        return OnNotify((const NMHDR *)lParam);
    case WM_COMMAND:
        return OnCommand(hDlg, wParam);
    }
    return FALSE;
}
