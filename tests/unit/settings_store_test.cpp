// The settings loader: first start, files that load oddly, and the crash-safe save.
#include <gtest/gtest.h>

#include "config/settings_store.h"
#include "menu/menu_state.h"
#include "phone_drive.h"

namespace {

std::string DefaultSettingsFile()
{
    std::string text = "[Settings]\r\nSkinName = Default\r\nTimeout = 5\r\n";
    for (int slot = 0; slot < SLOT_COUNT; slot++)
        text += "\r\n\r\n[" + std::to_string(slot) +
                "]\r\nUseButton = 13\r\nPath = \r\nArg = \r\nText = \r\nIcon = \r\n";
    return text;
}

class SettingsLoader : public testing::Test {
protected:
    void SetUp() override
    {
        ResetPhoneDrive();
        g_settingsDoc.Reset();
        g_skinDoc.Reset();
        g_langDoc.Reset();
        g_menu = MenuState();
    }
};

TEST_F(SettingsLoader, FirstStartWritesTheDefaultsByteForByte)
{
    LoadSettings();
    EXPECT_EQ(DefaultSettingsFile(), ReadPhoneFile(SETTINGS_PATH));
    EXPECT_EQ(5, g_menu.timeout);
    EXPECT_STREQ(L"Default", g_menu.skinName);
    EXPECT_STREQ(L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Default\\", g_menu.skinFolder);
    EXPECT_FALSE(PhoneFileExists(SETTINGS_PATH L".tmp"));
    EXPECT_FALSE(PhoneFileExists(SETTINGS_PATH L".bak"));
}

TEST_F(SettingsLoader, EmptyFileCountsAsLoaded)
{
    ASSERT_TRUE(WritePhoneFile(SETTINGS_PATH, ""));
    LoadSettings();
    EXPECT_EQ("", ReadPhoneFile(SETTINGS_PATH)) << "an empty file gets no defaults";
    EXPECT_EQ(0, g_menu.timeout);
    EXPECT_STREQ(L"", g_menu.skinName);
    EXPECT_STREQ(L"\\Program Files\\Orsweld\\Tolvane\\Skins\\\\", g_menu.skinFolder);
}

struct TimeoutCase {
    const char *file;
    int timeout;
};

TEST_F(SettingsLoader, TimeoutIsReadLikeWtol)
{
    const TimeoutCase cases[] = {
        {"[settings]\r\nTIMEOUT = 7\r\n", 7}, // names compare without case
        {"[Settings]\r\nTimeout = 12abc\r\n", 12},
        {"[Settings]\r\nTimeout = abc\r\n", 0},
        {"[Settings]\r\nTimeout =   -3\r\n", -3},
        {"[Settings]\r\nSkinName = Default\r\n", 0}, // missing key
        {"[Settings]\nTimeout = 9\n", 9},             // LF-only line ends still load
    };
    for (const TimeoutCase &c : cases) {
        SetUp();
        ASSERT_TRUE(WritePhoneFile(SETTINGS_PATH, c.file));
        LoadSettings();
        EXPECT_EQ(c.timeout, g_menu.timeout) << c.file;
        EXPECT_EQ(c.file, ReadPhoneFile(SETTINGS_PATH)) << "a loadable file is not rewritten";
    }
}

TEST_F(SettingsLoader, ByteOrderMarkIsNotSkipped)
{
    ASSERT_TRUE(WritePhoneFile(SETTINGS_PATH, "\xEF\xBB\xBF[Settings]\r\nTimeout = 4\r\n"));
    LoadSettings();
    // The first line is "<mark>[Settings]", so no section "Settings" exists.
    EXPECT_EQ(0, g_menu.timeout);
}

TEST_F(SettingsLoader, SaveKeepsKeysInPlaceAndAddsNewOnesLast)
{
    ASSERT_TRUE(WritePhoneFile(SETTINGS_PATH, "[Settings]\r\nTimeout = 3\r\nMine = x\r\nSkinName = Graphite\r\n"));
    LoadSettings();
    EXPECT_STREQ(L"Graphite", g_menu.skinName);
    g_settingsDoc.SetValue(L"Settings", L"Timeout", L"8");
    g_settingsDoc.SetValue(L"Settings", L"Extra", L"1");
    ASSERT_EQ(SI_OK, g_settingsDoc.SaveFile(SETTINGS_PATH, true));
    EXPECT_EQ("[Settings]\r\nTimeout = 8\r\nMine = x\r\nSkinName = Graphite\r\nExtra = 1\r\n",
              ReadPhoneFile(SETTINGS_PATH));
}

TEST_F(SettingsLoader, UnloadableFileIsKeptAsBackup)
{
    // A folder in the way of Settings.ini.tmp is not needed: a folder named Settings.ini cannot be loaded.
    ASSERT_TRUE(CreateDirectoryW(PhonePath(SETTINGS_PATH).c_str(), NULL));
    LoadSettings();
    EXPECT_EQ(5, g_menu.timeout) << "the defaults are used from memory";
    EXPECT_TRUE(PhoneFileExists(SETTINGS_PATH L"\\")) << "a folder is not moved away";
    RemoveDirectoryW(PhonePath(SETTINGS_PATH).c_str());

    // A file that exists but cannot be read in full: locked for reading by another process.
    SetUp();
    ASSERT_TRUE(WritePhoneFile(SETTINGS_PATH, "[Settings]\r\nTimeout = 3\r\n"));
    HANDLE lock = CreateFileW(PhonePath(SETTINGS_PATH).c_str(), GENERIC_READ, FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    LoadSettings();
    CloseHandle(lock);
    EXPECT_EQ(5, g_menu.timeout);
    EXPECT_EQ("[Settings]\r\nTimeout = 3\r\n", ReadPhoneFile(SETTINGS_PATH L".bak"));
    EXPECT_EQ(DefaultSettingsFile(), ReadPhoneFile(SETTINGS_PATH));
}

TEST_F(SettingsLoader, MissingInstallRootRunsOnDefaultsInMemory)
{
    RemoveDirectoryW(PhonePath(INSTALL_ROOT).c_str());
    LoadSettings();
    EXPECT_EQ(5, g_menu.timeout);
    EXPECT_STREQ(L"Default", g_menu.skinName);
    EXPECT_FALSE(PhoneFileExists(SETTINGS_PATH));
}

TEST_F(SettingsLoader, OverlongSkinNameIsCutToThePath)
{
    std::string name(300, 'n');
    ASSERT_TRUE(WritePhoneFile(SETTINGS_PATH, "[Settings]\r\nSkinName = " + name + "\r\n"));
    LoadSettings();
    EXPECT_EQ(259u, wcslen(g_menu.skinName));
    EXPECT_EQ(259u, wcslen(g_menu.skinFolder));
}

TEST_F(SettingsLoader, SkinIniAndLangIniAreLoaded)
{
    ASSERT_TRUE(WritePhoneFile(SKINS_ROOT L"Default\\Skin.ini", "[Settings]\r\nFontName = Tahoma\r\n"));
    ASSERT_TRUE(WritePhoneFile(LANG_PATH, "[lang]\r\nKeyExit = Quit\r\n"));
    LoadSettings();
    EXPECT_STREQ(L"Tahoma", g_skinDoc.GetValue(L"Settings", L"FontName", L""));
    EXPECT_STREQ(L"Quit", g_langDoc.GetValue(L"lang", L"KeyExit", L""));
}

} // namespace
