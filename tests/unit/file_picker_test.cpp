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

TEST_F(FilePicker, CancelKeepsThePath)
{
    std::wstring picked = Pick(L"\\Windows\\SETUP.EXE", L"exe", [&](HWND hDlg) { SendCommand(hDlg, IDM_CANCEL); });
    EXPECT_EQ(picked, L"\\Windows\\SETUP.EXE");
}

} // namespace
