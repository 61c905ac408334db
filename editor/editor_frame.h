// The frame every settings editor dialog shares: the empty template, the opening of a dialog and the first
// steps of its WM_INITDIALOG (full screen, title-bar ok, two captioned soft keys).
#pragma once
#include <windows.h>

// Capacity of the caption buffer handed to the soft-key bar (15 characters and the terminator).
constexpr int kSoftKeyCaptionCapacity = 16;

// Opens a modal editor dialog from template 102 with the given parent and procedure; returns when it has ended.
void OpenEditorDialog(HWND hwndParent, DLGPROC dialogProc);

// The editor dialog set-up: full screen with the title-bar ok, then the soft-key bar of menuId with the two
// captions (cut to 15 characters). Returns the bar, or null when the dialog could not be set up, in which case
// the dialog must build nothing more.
HWND SetUpEditorDialog(HWND hDlg, UINT menuId, const wchar_t *leftCaption, const wchar_t *rightCaption);

// Where and how an editor control is made: every control has id 0 and the dialog as parent.
struct ControlLayout {
    const wchar_t *className; // the platform class
    DWORD style;              // the phone's style value, WS_CHILD only where the control is a child
    int x, y, width, height;  // pixels as passed to CreateWindowExW
};

// Creates one control of an editor dialog from its layout, with the given window text (may be null).
HWND CreateEditorControl(HWND hDlg, const ControlLayout &layout, const wchar_t *text);
