// The list of installed skins: which folders under the skins root are skins, whatever shows them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "config/skins.h"
#include "phone_drive.h"

namespace
{

std::vector<std::wstring> SortedSkins()
{
    std::vector<std::wstring> skins = ListInstalledSkins();
    std::sort(skins.begin(), skins.end());
    return skins;
}

TEST(SkinList, HoldsTheFoldersWithAnExactSkinIniDirectlyInside)
{
    ResetPhoneDrive();
    const wchar_t *files[] = {
        L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Zebra\\Skin.ini",
        L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Default\\Skin.ini",
        L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Lower\\skin.ini",         // wrong letter case
        L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Deeper\\Inner\\Skin.ini", // not directly in the folder
        L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Pictures\\Wallpaper.png", // no Skin.ini at all
        L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Skin.ini",                // a plain file in the skins root
    };
    for (const wchar_t *file : files)
        ASSERT_TRUE(WritePhoneFile(file, "[Settings]\r\n")) << file;
    std::vector<std::wstring> expected = {L"Default", L"Zebra"};
    EXPECT_EQ(expected, SortedSkins()) << "no \".\" or \"..\", no Lower, Deeper, Pictures or plain file";
}

TEST(SkinList, MissingSkinsRootListsNone)
{
    ResetPhoneDrive();
    EXPECT_TRUE(ListInstalledSkins().empty());
}

} // namespace
