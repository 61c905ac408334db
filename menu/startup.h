// Start-up and the main loop of the menu program.
#pragma once
#include <windows.h>

constexpr wchar_t kBtVisibleMessageName[] = L"WIDCOMM_WM_VISIBLE1";

// Exit code when the menu window cannot be created.
constexpr int kStartFailedExitCode = 1;

// Runs the menu from the settings loader to the quit message; returns the quit message's code.
int RunMenu(HINSTANCE hInstance, int nCmdShow);
