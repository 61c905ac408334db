// The file picker: path splitting, extension matching, the lazy folder tree and what Select hands back.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "config/bounded_text.h"
#include "editor/editor_state.h"
#include "editor/file_picker.h"
#include "editor_driver.h"
#include "phone_drive.h"
#include "resources/resource_ids.h"

namespace
{

TEST(PickerPaths, ThreeLetterExtensionsAreLowerCased)
{
    struct {
        const wchar_t *name, *extension;
    } rows[] = {{L"A.EXE", L"exe"},     {L"tahoma.png", L"png"}, {L"a.jpeg", L"---"},
                {L"x.exe.bak", L"bak"}, {L".exe", L"exe"},       {L"exe", L"---"},
                {L"", L"---"},          {L"..", L"---"},         {L"Run.ExE", L"exe"}};
    for (auto &row : rows) {
        wchar_t extension[4] = L"?";
        GetThreeLetterExtension(row.name, extension);
        EXPECT_STREQ(extension, row.extension) << row.name;
    }
}

TEST(PickerPaths, SplitGivesFolderAndNameParts)
{
    std::wstring longFolder(150, L'f'); // over the 98 characters a short scratch would hold
    std::wstring longPath = L"\\" + longFolder + L"\\x.exe";
    struct {
        std::wstring path, folder, name;
    } rows[] = {{L"\\Windows\\Fonts\\tahoma.png", L"\\Windows\\Fonts\\", L"tahoma.png"},
                {L"\\app.exe", L"\\", L"app.exe"},
                {L"app.exe", L"\\", L"app.exe"},
                {L"", L"\\", L""},
                {L"\\Windows\\", L"\\Windows\\", L""},
                {L"\\\\Windows\\x.exe", L"\\Windows\\", L"x.exe"},         // leading backslashes are one root
                {L"\\Windows\\\\Fonts\\x", L"\\Windows\\\\Fonts\\", L"x"}, // inner ones stay as typed
                {longPath, L"\\" + longFolder + L"\\", L"x.exe"}};
    for (auto &row : rows) {
        wchar_t folder[kPathCapacity] = L"?", name[kPathCapacity] = L"?";
        SplitPickerPath(row.path.c_str(), folder, name);
        EXPECT_EQ(folder, row.folder) << std::string(row.path.begin(), row.path.end());
        EXPECT_EQ(name, row.name);
    }
}

std::vector<std::wstring> Items(HWND tree, HTREEITEM first)
{
    std::vector<std::wstring> items;
    for (HTREEITEM item = first; item; item = TreeView_GetNextSibling(tree, item)) {
        wchar_t text[kPathCapacity] = L"";
        TVITEMW tvi = {TVIF_TEXT, item};
        tvi.pszText = text;
        tvi.cchTextMax = kPathCapacity;
        TreeView_GetItem(tree, &tvi);
        items.push_back(text);
    }
    return items;
}

std::wstring ItemText(HWND tree, HTREEITEM item)
{
    std::vector<std::wstring> items = Items(tree, item);
    return item ? items[0] : L"(none)";
}

HTREEITEM Child(HWND tree, HTREEITEM parent, const wchar_t *name)
{
    for (HTREEITEM item = TreeView_GetChild(tree, parent); item; item = TreeView_GetNextSibling(tree, item))
        if (ItemText(tree, item) == name)
            return item;
    return NULL;
}

class FilePicker : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetPhoneDrive();
        ResetEditorWorld();
        WritePhoneFile(L"\\Windows\\Fonts\\tahoma.png", "x");
        WritePhoneFile(L"\\Windows\\Fonts\\b.png", "x");
        WritePhoneFile(L"\\Windows\\SETUP.EXE", "x");
        WritePhoneFile(L"\\Windows\\notes.txt", "x");
        WritePhoneFile(L"\\Windows\\x.exe.bak", "x");
        WritePhoneFile(L"\\Windows\\secret.exe", "x");
        SetFileAttributesW(PhonePath(L"\\Windows\\secret.exe").c_str(), FILE_ATTRIBUTE_HIDDEN);
        WritePhoneFile(L"\\Windows\\tools.exe\\inside.txt", "x");
        WritePhoneFile(L"\\Windows\\Hidden\\Sub\\a.exe", "x");
        SetFileAttributesW(PhonePath(L"\\Windows\\Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
        WritePhoneFile(L"\\a.exe", "x");
        CreateDirectoryW(PhonePath(L"\\My Documents").c_str(), NULL);
    }
    // Opens the picker on a path and extension; the step sees the open picker.
    std::wstring Pick(const wchar_t *path, const wchar_t *extension, DialogStep step)
    {
        CopyText(g_editor.handOver.pickerPath, path);
        CopyText(g_editor.handOver.pickerExtension, extension);
        QueueStep(step);
        EXPECT_TRUE(RunEditorDialog(FilePickerDialog));
        return g_editor.handOver.pickerPath;
    }
};

TEST_F(FilePicker, OpensAtTheInitialFileAndSelectsItsFullPath)
{
    std::wstring folder, file;
    std::wstring picked = Pick(L"\\Windows\\Fonts\\tahoma.png", L"png", [&](HWND hDlg) {
        folder = ItemText(g_editor.picker.folderTree, TreeView_GetSelection(g_editor.picker.folderTree));
        file = ItemText(g_editor.picker.fileList, TreeView_GetSelection(g_editor.picker.fileList));
        SendCommand(hDlg, IDM_SELECT);
    });
    EXPECT_EQ(folder, L"Fonts");
    EXPECT_EQ(file, L"tahoma.png");
    EXPECT_EQ(picked, L"\\Windows\\Fonts\\tahoma.png");
}

TEST_F(FilePicker, FolderTreeShowsVisibleFoldersWithExpandButtonsOnly)
{
    std::vector<std::wstring> rootLevel, windowsLevel;
    std::vector<std::wstring> placeholderOfWindows;
    Pick(L"\\Windows\\SETUP.EXE", L"exe", [&](HWND hDlg) {
        HWND tree = g_editor.picker.folderTree;
        HTREEITEM root = TreeView_GetRoot(tree);
        rootLevel = Items(tree, TreeView_GetChild(tree, root));
        HTREEITEM windows = Child(tree, root, L"Windows");
        placeholderOfWindows = Items(tree, TreeView_GetChild(tree, windows));
        TreeView_Expand(tree, windows, TVE_EXPAND);
        windowsLevel = Items(tree, TreeView_GetChild(tree, windows));
        SendCommand(hDlg, IDM_CANCEL);
    });
    std::vector<std::wstring> expectedRoot = {L"My Documents", L"Program Files", L"Windows"};
    EXPECT_EQ(rootLevel, expectedRoot) << "no \".\" or \"..\"";
    std::vector<std::wstring> expectedWindows = {L"Fonts", L"tools.exe"};
    EXPECT_EQ(windowsLevel, expectedWindows) << "no hidden folder";
    EXPECT_EQ(placeholderOfWindows.size(), 1u) << "one placeholder before the level is read";
}

TEST_F(FilePicker, FileListHoldsEntriesWithTheExtension)
{
    std::vector<std::wstring> files;
    std::wstring picked = Pick(L"\\Windows\\nothing.exe", L"exe", [&](HWND hDlg) {
        files = Items(g_editor.picker.fileList, TreeView_GetRoot(g_editor.picker.fileList));
        TreeView_SelectItem(g_editor.picker.fileList, NULL);
        SendCommand(hDlg, IDM_SELECT);
    });
    std::vector<std::wstring> expected = {L"secret.exe", L"SETUP.EXE", L"tools.exe"};
    EXPECT_EQ(files, expected) << "hidden files and folders named *.exe are listed";
    EXPECT_EQ(picked, L"\\Windows\\nothing.exe") << "Select without a file keeps the path";
}

TEST_F(FilePicker, EmptyPathListsTheRootAndSelectBuildsRootPaths)
{
    std::wstring folder;
    std::wstring picked = Pick(L"", L"exe", [&](HWND hDlg) {
        folder = ItemText(g_editor.picker.folderTree, TreeView_GetSelection(g_editor.picker.folderTree));
        TreeView_SelectItem(g_editor.picker.fileList, TreeView_GetRoot(g_editor.picker.fileList));
        SendCommand(hDlg, IDOK);
    });
    EXPECT_EQ(folder, L"\\");
    EXPECT_EQ(picked, L"\\a.exe");
}

TEST_F(FilePicker, SelectingAFolderListsItsFilesForANestedPath)
{
    std::wstring picked = Pick(L"", L"png", [&](HWND hDlg) {
        HWND tree = g_editor.picker.folderTree;
        HTREEITEM windows = Child(tree, TreeView_GetRoot(tree), L"Windows");
        TreeView_Expand(tree, windows, TVE_EXPAND);
        TreeView_SelectItem(tree, Child(tree, windows, L"Fonts"));
        HWND list = g_editor.picker.fileList;
        TreeView_SelectItem(list, TreeView_GetRoot(list)); // b.png sorts first
        SendCommand(hDlg, IDM_SELECT);
    });
    EXPECT_EQ(picked, L"\\Windows\\Fonts\\b.png");
}

// A path whose folder is not in the tree (letter case differs) leaves no selection; Select then builds the
// path from the folder the list shows.
TEST_F(FilePicker, SelectWithoutTreeSelectionUsesTheListedFolder)
{
    std::wstring folder;
    std::wstring picked = Pick(L"\\windows\\fonts\\b.png", L"png", [&](HWND hDlg) {
        folder = ItemText(g_editor.picker.folderTree, TreeView_GetSelection(g_editor.picker.folderTree));
        SendCommand(hDlg, IDM_SELECT);
    });
    EXPECT_EQ(folder, L"(none)");
    EXPECT_EQ(picked, L"\\windows\\fonts\\b.png");
}

TEST_F(FilePicker, CollapsedAndReexpandedFolderIsReadAnew)
{
    std::vector<std::wstring> after;
    Pick(L"\\Windows\\SETUP.EXE", L"exe", [&](HWND hDlg) {
        HWND tree = g_editor.picker.folderTree;
        HTREEITEM windows = Child(tree, TreeView_GetRoot(tree), L"Windows");
        TreeView_Expand(tree, windows, TVE_COLLAPSE);
        CreateDirectoryW(PhonePath(L"\\Windows\\Added").c_str(), NULL);
        TreeView_Expand(tree, windows, TVE_EXPAND);
        after = Items(tree, TreeView_GetChild(tree, windows));
        SendCommand(hDlg, IDM_CANCEL);
    });
    std::vector<std::wstring> expected = {L"Added", L"Fonts", L"tools.exe"};
    EXPECT_EQ(after, expected);
}

// Creates an empty file whose name differs from an existing one's only in letter case, as the phone's drive can
// hold them. Every file call of Wine looks names up without regard to case and would open the existing file, so
// the host's touch makes it.
bool CreateCaseTwin(const std::wstring &path)
{
    typedef char *(CDECL * UnixNameProc)(LPCWSTR);
    UnixNameProc unixName = (UnixNameProc)GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
    std::wstring folder = path.substr(0, path.rfind(L'\\'));
    char *unixFolder = unixName ? unixName(folder.c_str()) : NULL;
    if (!unixFolder)
        return false;
    std::wstring command = L"/usr/bin/touch \"";
    for (const char *c = unixFolder; *c; c++)
        command += (wchar_t)(unsigned char)*c;
    command += L"/" + path.substr(path.rfind(L'\\') + 1) + L"\"";
    HeapFree(GetProcessHeap(), 0, unixFolder);
    STARTUPINFOW si = {sizeof si};
    PROCESS_INFORMATION pi;
    if (!CreateProcessW(L"Z:\\usr\\bin\\touch", &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return false;
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

// The trees are filled without redrawing, the file list from its last name to its first: once the picker is open
// both must list their level in the control's order (letter case aside), draw again and show their selection,
// scrolled into view even when it lies far down a long level or list.
TEST_F(FilePicker, LongListsShowTheirSelection)
{
    std::vector<std::wstring> files, folders;
    wchar_t name[32];
    for (int i = 0; i < 80; i++) {
        _snwprintf(name, 32, i % 2 ? L"F%02d.EXE" : L"f%02d.exe", i);
        files.push_back(name);
        WritePhoneFile((L"\\Many\\" + files.back()).c_str(), "x");
    }
    // Names equal but for case, each made after its twin, small letter or capital: the small letter comes first.
    files.insert(files.begin() + 41, L"F40.exe");
    files.insert(files.begin() + 42, L"f41.EXE");
    for (const wchar_t *twin : {L"F40.exe", L"f41.EXE"})
        ASSERT_TRUE(CreateCaseTwin(PhonePath((std::wstring(L"\\Many\\") + twin).c_str())));
    for (int i = 0; i < 40; i++) {
        _snwprintf(name, 32, i % 2 ? L"D%02d" : L"d%02d", i);
        folders.push_back(name);
        WritePhoneFile((L"\\Many\\" + folders.back() + L"\\x.exe").c_str(), "x");
    }
    struct {
        const wchar_t *path;
        bool inFolderTree;
        const wchar_t *selected;
        const std::vector<std::wstring> &level;
    } rows[] = {{L"\\Many\\f70.exe", false, L"f70.exe", files}, {L"\\Many\\D35\\x.exe", true, L"D35", folders}};
    for (auto &row : rows) {
        std::wstring selected;
        std::vector<std::wstring> level;
        bool inView = false, drawn[2] = {false, false};
        Pick(row.path, L"exe", [&](HWND hDlg) {
            HWND trees[2] = {g_editor.picker.fileList, g_editor.picker.folderTree};
            HWND tree = trees[row.inFolderTree];
            HTREEITEM item = TreeView_GetSelection(tree);
            selected = ItemText(tree, item);
            level = Items(tree, TreeView_GetChild(tree, TreeView_GetParent(tree, item)));
            RECT client, rect;
            GetClientRect(tree, &client);
            inView =
                item && TreeView_GetItemRect(tree, item, &rect, TRUE) && rect.top >= 0 && rect.bottom <= client.bottom;
            for (int t = 0; t < 2; t++) {
                // What a tree paints into a blank picture: only its background while it is not redrawn.
                GetClientRect(trees[t], &client);
                HDC screen = GetDC(trees[t]), dc = CreateCompatibleDC(screen);
                HBITMAP picture = CreateCompatibleBitmap(screen, client.right, client.bottom);
                HGDIOBJ old = SelectObject(dc, picture);
                SendMessageW(trees[t], WM_PAINT, (WPARAM)dc, 0);
                COLORREF background = GetPixel(dc, client.right - 1, client.bottom - 1);
                for (int y = 0; y < client.bottom && !drawn[t]; y++)
                    for (int x = 0; x < client.right && !drawn[t]; x++)
                        drawn[t] = GetPixel(dc, x, y) != background;
                SelectObject(dc, old);
                DeleteObject(picture);
                DeleteDC(dc);
                ReleaseDC(trees[t], screen);
            }
            SendCommand(hDlg, IDM_CANCEL);
        });
        std::string path(row.path, row.path + wcslen(row.path));
        EXPECT_EQ(selected, row.selected) << path;
        EXPECT_EQ(level, row.level) << path;
        EXPECT_TRUE(inView) << path << ": the selection is scrolled into view";
        EXPECT_TRUE(drawn[0]) << path << ": the file list draws again after it is filled";
        EXPECT_TRUE(drawn[1]) << path << ": the folder tree draws again after a level is filled";
    }
}

TEST_F(FilePicker, CancelKeepsThePath)
{
    std::wstring picked = Pick(L"\\Windows\\SETUP.EXE", L"exe", [&](HWND hDlg) { SendCommand(hDlg, IDM_CANCEL); });
    EXPECT_EQ(picked, L"\\Windows\\SETUP.EXE");
}

} // namespace
