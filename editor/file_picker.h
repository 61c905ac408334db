// The file picker: a folder tree of the phone above, the selected folder's .exe or .png files below.
// The button page hands it a path in the picker path buffer and gets the chosen file's full path back.
#pragma once
#include <windows.h>

#include <commctrl.h>

// The picker's dialog procedure.
INT_PTR CALLBACK FilePickerDialog(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// Splits a path into its folder part ("\" or "\a\b\") and its name part; both hold kPathCapacity characters
// and are cut, never overflowed.
void SplitPickerPath(const wchar_t *path, wchar_t *folderPart, wchar_t *namePart);

// Writes the folder path of a folder tree item into path (capacity characters, cut to fit): "\" for the root,
// "\Windows\Fonts\" for a folder below it, "" for no item.
void BuildFolderPath(HWND hwndTree, HTREEITEM item, wchar_t *path, size_t capacity);

// Opens the folder tree down to the folder part of a path and selects that folder; no selection when a part of
// it is not in the tree.
void ExpandToFolder(HWND hwndTree, const wchar_t *folderPart);

// Refills the file list with the folder's entries that carry the picker extension, sorted; selects the one
// named nameToSelect exactly.
void FillFileList(HWND hwndList, const wchar_t *folderPath, const wchar_t *nameToSelect);

// The lower-cased last three characters of a name that has a three-letter extension, else "---".
void GetThreeLetterExtension(const wchar_t *name, wchar_t extension[4]);
