// The General page's skin tree: which folders are skins, their order and the current one's selection.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "config/settings_store.h"
#include "editor/skin_tree.h"
#include "phone_drive.h"

namespace
{

struct SkinTreeResult {
    std::vector<std::wstring> items; // in the tree's order
    std::wstring selected;
};

SkinTreeResult FillAndReadTree(const wchar_t *currentSkin)
{
    wcscpy(g_settings.skinName, currentSkin);
    HWND tree = CreateWindowExW(0, WC_TREEVIEWW, NULL, WS_POPUP, 0, 0, 200, 200, NULL, NULL, NULL, NULL);
    FillSkinTree(tree);
    SkinTreeResult result;
    HTREEITEM selected = TreeView_GetSelection(tree);
    for (HTREEITEM item = TreeView_GetRoot(tree); item; item = TreeView_GetNextSibling(tree, item)) {
        wchar_t text[260] = L"";
        TVITEMW tvi = {TVIF_TEXT | TVIF_CHILDREN, item};
        tvi.pszText = text;
        tvi.cchTextMax = 260;
        TreeView_GetItem(tree, &tvi);
        result.items.push_back(text);
        if (item == selected)
            result.selected = text;
        EXPECT_EQ(TreeView_GetChild(tree, item), (HTREEITEM)NULL) << "skins are root items";
    }
    DestroyWindow(tree);
    return result;
}

class SkinTree : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetPhoneDrive();
        g_settings = ProgramSettings();
        WritePhoneFile(L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Zebra\\Skin.ini", "");
        WritePhoneFile(L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Default\\Skin.ini", "[Settings]\r\n");
        WritePhoneFile(L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Default\\Button.png", "x");
        WritePhoneFile(L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Graphite\\Skin.ini", "[Settings]\r\n");
        WritePhoneFile(L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Lower\\skin.ini", ""); // wrong letter case
        WritePhoneFile(L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Deeper\\Inner\\Skin.ini",
                       ""); // not directly in the folder
        WritePhoneFile(L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Pictures\\Wallpaper.png", "x"); // no Skin.ini at all
        WritePhoneFile(L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Skin.ini", ""); // a plain file in the skins root
        WritePhoneFile(L"\\Program Files\\Orsweld\\Tolvane\\Skin.ini", "");        // and one in its parent
    }
};

TEST_F(SkinTree, ListsOnlyFoldersWithAnExactSkinIniSorted)
{
    SkinTreeResult result = FillAndReadTree(L"Graphite");
    std::vector<std::wstring> expected = {L"Default", L"Graphite", L"Zebra"};
    EXPECT_EQ(result.items, expected) << "no \".\" or \"..\", no Lower, Deeper or Pictures";
    EXPECT_EQ(result.selected, L"Graphite");
}

TEST_F(SkinTree, SelectsOnlyAnExactlyMatchingCurrentSkin)
{
    struct {
        const wchar_t *current;
        const wchar_t *selected;
    } rows[] = {{L"Default", L"Default"}, {L"default", L""}, {L"Lower", L""}, {L"", L""}, {L"Zebra", L"Zebra"}};
    for (auto &row : rows)
        EXPECT_EQ(FillAndReadTree(row.current).selected, row.selected) << row.current;
}

TEST_F(SkinTree, MissingSkinsRootLeavesTheTreeEmpty)
{
    ResetPhoneDrive();
    EXPECT_TRUE(FillAndReadTree(L"Default").items.empty());
}

} // namespace
