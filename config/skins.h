// The skins: folders under the skins root that hold a Skin.ini.
#pragma once
#include <string>
#include <vector>

// The names of the installed skins: every folder directly under the skins root holding a file named exactly
// "Skin.ini", in the order the folder listing gives them. Empty when the skins root cannot be listed.
std::vector<std::wstring> ListInstalledSkins();
