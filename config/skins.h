// The skins: folders under the skins root that hold a Skin.ini, listed for the General page.
#pragma once
#include <windows.h>

// Adds one root item per installed skin to the tree (sorted by the tree) and selects the current skin's item.
void FillSkinTree(HWND hwndTree);
