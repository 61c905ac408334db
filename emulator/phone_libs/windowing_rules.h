// The phone's windowing rules, each a test of which windows it is for and what it does to one as it is made.
// windowing_rules.cpp holds them in one table, applied by one hook; each rule's file says why the phone needs it.
#pragma once
#include <windows.h>

// combo_box_rule.cpp
bool IsTypelessComboBox(HWND hwnd, const CREATESTRUCTW *lpcs);
void MakeDropDownList(HWND hwnd, CREATESTRUCTW *lpcs);

// updown_rule.cpp
bool IsUpDownControl(HWND hwnd, const CREATESTRUCTW *lpcs);
void ReadEmptyBuddyAsNoPosition(HWND hwnd, CREATESTRUCTW *lpcs);

// group_box_rule.cpp
bool IsGroupBox(HWND hwnd, const CREATESTRUCTW *lpcs);
void PaintInside(HWND hwnd, CREATESTRUCTW *lpcs);

// system_font_rule.cpp
void GiveSystemFont(HWND hwnd, CREATESTRUCTW *lpcs);
