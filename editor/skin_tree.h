// The General page's tree of the installed skins.
#pragma once
#include <windows.h>

// Adds one root item per installed skin to the tree (sorted by the tree) and selects the current skin's item.
void FillSkinTree(HWND hwndTree);
