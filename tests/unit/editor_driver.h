// Drives the settings editor's real dialogs inside the test program: steps queued here run from a thread
// timer inside the innermost dialog's modal loop, as a person's taps would.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

// One step, given the innermost open editor dialog (the enabled one).
typedef std::function<void(HWND hDlg)> DialogStep;

// Queues a step; steps run one per timer tick, in order.
void QueueStep(DialogStep step);

// Runs the queued steps against the dialog opened by open() (which must not return before the dialog closes).
// A dialog still open when the queue is empty is ended, and the result is false.
bool RunDialogSteps(const std::function<void()> &open);

// Opens an editor dialog over a fresh owner window and runs the queued steps; false as above.
bool RunEditorDialog(DLGPROC dialogProc);

// The owned top-level windows and the children of a dialog, of a class, in creation order.
std::wstring WindowText(HWND hwnd);
HWND FindOwnedWindow(HWND hDlg, const wchar_t *className, int index);
HWND FindChildWindow(HWND hDlg, const wchar_t *className, int index);

// The child of the dialog whose top-left corner stands at (x, y) in the dialog's client area.
HWND ChildWindowAt(HWND hDlg, int x, int y);

// The caption of a soft key (0 left, 1 right) of a soft-key bar.
std::wstring SoftKeyCaption(HWND softKeyBar, int index);

// Presses a soft key by clicking it on the bar, as a tap would.
void TapSoftKey(HWND softKeyBar, int index);

// Presses a button window (a tile, "D", ">>") as a tap would.
void PressButton(HWND button);

// Sends the dialog the command a soft key or the title-bar ok sends.
void SendCommand(HWND hDlg, WORD id);

// Resets the program-wide state the editor reads: language defaults, menu state with the test program's
// instance, an empty settings document.
void ResetEditorWorld();
