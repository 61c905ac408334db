// The phone's stacking order worked out from a snapshot of a thread's top-level windows: the order the screen must
// show them in, which windows must come to the top of the screen for it, and which need only move among the others.
// Nothing here touches a window: stacking_rule.cpp takes the snapshot and makes the moves.
#pragma once
#include <windows.h>

// The most top-level windows of a thread that the order takes in.
const int kMaxStackedWindows = 256;

// One top-level window of the thread as the snapshot saw it.
struct StackingWindow {
    HWND hwnd;         // the window, carried for the caller
    int owner;         // index of its owner in the snapshot, -1 when it has none there
    bool owned;        // whether it has an owner at all, in the snapshot or not
    DWORD_PTR created; // its number in the order the thread made its windows (0: made before the rules)
    bool visible;      // shown (WS_VISIBLE)
    bool enabled;      // takes input (no WS_DISABLED)
    bool active;       // the thread's active window
    bool toolWindow;   // a shell tool window (WS_EX_TOOLWINDOW): a dialog's ok or its soft-key bar
    bool topmost;      // WS_EX_TOPMOST
    bool droppedList;  // a combo box's dropped list, in front of everything while it is shown
};

// The windows on the screen in the phone's order, as indices into the snapshot.
struct PhoneOrder {
    int windows[kMaxStackedWindows]; // from the bottom up
    int count;
    int frontFrom; // index in windows of the lowest window of the front screen: it and all above it lead
};

// Whether the window belongs in the topmost band: it is topmost, or so is a window that owns it (which the phone,
// like desktop Windows, keeps below its owned windows).
bool InTopmostBand(const StackingWindow *snapshot, int index);

// Works out the phone's order of the windows on the screen (shown, with every owner shown) from a snapshot in
// z-order from the top. The front window (the active one, or the dialog that owns it; with none, the highest
// window without owner) and the windows it owns, each above its owner, lead: the screen in use (a window that owns
// others or leads to the active window) above its owner's other windows, the shell's tool windows above the
// owner's controls, and later windows above earlier ones. Below them the other windows keep their order; the
// windows of the topmost band stand above the others, and a dropped list above all.
void WorkOutPhoneOrder(const StackingWindow *snapshot, int count, PhoneOrder *order);

// Where raising must start so that the front screen stands on top of the screen in the phone's order: the index
// in order.windows from which each window, in order, must come to the top. stacking holds the windows as the
// screen stacks them, from the bottom up (indices into the snapshot; windows it lacks count as out of place).
// order.count when the screen already shows them so.
int FirstWindowToRaise(const PhoneOrder &order, const int *stacking, int stackingCount);

// Whether the window at index of a snapshot of count windows stands higher in its z-order than the phone's order
// puts it: above a window that the order puts above it. False for a window the order leaves out.
bool StandsTooHigh(const PhoneOrder &order, int count, int index);

// A move of one window directly below another.
struct StackingMove {
    int window; // index in the snapshot of the window to move
    int below;  // index of the window it goes directly below; -1: the top of the windows outside the topmost band
};

// The moves that put the snapshot's z-order in the phone's order, each placing a window directly below another so
// that no window comes to the top of the screen. Returns how many moves there are, at most order.count.
int PlacingMoves(const StackingWindow *snapshot, int count, const PhoneOrder &order, StackingMove *moves);
