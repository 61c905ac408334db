// The phone's windowing rules, each a test of which windows it is for and what it does to one as it is made.
// windowing_rules.cpp holds them in one table, applied by one hook; each rule's file says why the phone needs it.
#pragma once
#include <windows.h>

// A window made without WS_CHILD: stacking_rule.cpp keeps it above its owner.
bool IsTopLevelWindow(HWND hwnd, const CREATESTRUCTW *lpcs);
void KeepOwnedWindowsAbove(HWND hwnd, CREATESTRUCTW *lpcs);
// An activation, and the keyboard focus going into a window: each raises a window on the screen with no message to
// any window, so the order is checked again for a while.
void WatchPhoneOrder(HWND activated);
void NoteFocus(HWND hwnd);

// combo_box_rule.cpp
bool IsTypelessComboBox(HWND hwnd, const CREATESTRUCTW *lpcs);
void MakeDropDownList(HWND hwnd, CREATESTRUCTW *lpcs);

// updown_rule.cpp
bool IsUpDownControl(HWND hwnd, const CREATESTRUCTW *lpcs);
void ReadEmptyBuddyAsNoPosition(HWND hwnd, CREATESTRUCTW *lpcs);

// group_box_rule.cpp
bool IsTopLevelGroupBox(HWND hwnd, const CREATESTRUCTW *lpcs);
void ShowOnlyOutline(HWND hwnd, CREATESTRUCTW *lpcs);
