// The skin tree: the installed skins as root items, sorted by the tree, with the current skin selected as soon
// as its item is in.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "../config/settings_store.h"
#include "../config/skins.h"
#include "skin_tree.h"

namespace
{

void AddSkinItem(HWND hwndTree, wchar_t *name)
{
    TVINSERTSTRUCTW tvis = {};
    tvis.hParent = TVI_ROOT;
    tvis.hInsertAfter = TVI_SORT;
    tvis.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tvis.item.pszText = name;
    tvis.item.iImage = 0;
    tvis.item.iSelectedImage = 2;
    HTREEITEM item = (HTREEITEM)SendMessageW(hwndTree, TVM_INSERTITEMW, 0, (LPARAM)&tvis);
    if (item && wcscmp(name, g_settings.skinName) == 0)
        SendMessageW(hwndTree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)item);
}

} // namespace

void FillSkinTree(HWND hwndTree)
{
    std::vector<std::wstring> skins = ListInstalledSkins();
    for (std::wstring &name : skins)
        AddSkinItem(hwndTree, &name[0]);
}
