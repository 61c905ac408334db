// The settings loader: first start, files that load oddly, and the crash-safe save.
#include <gtest/gtest.h>

#include "config/settings_store.h"
#include "phone_drive.h"

namespace
{

std::string DefaultSettingsFile()
{
    std::string text = "[Settings]\r\nSkinName = Default\r\nTimeout = 5\r\n";
    for (int slot = 0; slot < kSlotCount; slot++)
        text +=
            "\r\n\r\n[" + std::to_string(slot) + "]\r\nUseButton = 13\r\nPath = \r\nArg = \r\nText = \r\nIcon = \r\n";
    return text;
}

class SettingsLoader : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetPhoneDrive();
        g_settingsDoc.Reset();
        g_skinDoc.Reset();
        g_langDoc.Reset();
        g_settings = ProgramSettings();
    }
};

TEST_F(SettingsLoader, FirstStartWritesTheDefaultsByteForByte)
{
    LoadSettings();
    EXPECT_EQ(DefaultSettingsFile(), ReadPhoneFile(kSettingsPath));
    EXPECT_EQ(5, g_settings.timeout);
    EXPECT_STREQ(L"Default", g_settings.skinName);
    EXPECT_STREQ(L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Default\\", g_settings.skinFolder);
    EXPECT_FALSE(PhoneFileExists(L"\\Program Files\\Orsweld\\Tolvane\\Settings.ini.tmp"));
    EXPECT_FALSE(PhoneFileExists(L"\\Program Files\\Orsweld\\Tolvane\\Settings.ini.bak"));
}

TEST_F(SettingsLoader, EmptyFileCountsAsLoaded)
{
    ASSERT_TRUE(WritePhoneFile(kSettingsPath, ""));
    LoadSettings();
    EXPECT_EQ("", ReadPhoneFile(kSettingsPath)) << "an empty file gets no defaults";
    EXPECT_EQ(0, g_settings.timeout);
    EXPECT_STREQ(L"", g_settings.skinName);
    EXPECT_STREQ(L"\\Program Files\\Orsweld\\Tolvane\\Skins\\\\", g_settings.skinFolder);
}

struct TimeoutCase {
    const char *file;
    int timeout;
};

TEST_F(SettingsLoader, TimeoutIsReadLikeWtol)
{
    const TimeoutCase cases[] = {
        {"[settings]\r\nTIMEOUT = 7\r\n", 7}, // names compare without case
        {"[Settings]\r\nTimeout = 12abc\r\n", 12}, {"[Settings]\r\nTimeout = abc\r\n", 0},
        {"[Settings]\r\nTimeout =   -3\r\n", -3},  {"[Settings]\r\nSkinName = Default\r\n", 0}, // missing key
        {"[Settings]\nTimeout = 9\n", 9}, // LF-only line ends still load
    };
    for (const TimeoutCase &c : cases) {
        SetUp();
        ASSERT_TRUE(WritePhoneFile(kSettingsPath, c.file));
        LoadSettings();
        EXPECT_EQ(c.timeout, g_settings.timeout) << c.file;
        EXPECT_EQ(c.file, ReadPhoneFile(kSettingsPath)) << "a loadable file is not rewritten";
    }
}

TEST_F(SettingsLoader, ByteOrderMarkIsNotSkipped)
{
    ASSERT_TRUE(WritePhoneFile(kSettingsPath, "\xEF\xBB\xBF[Settings]\r\nTimeout = 4\r\n"));
    LoadSettings();
    // The first line is "<mark>[Settings]", so no section "Settings" exists.
    EXPECT_EQ(0, g_settings.timeout);
}

TEST_F(SettingsLoader, SaveKeepsKeysInPlaceAndAddsNewOnesLast)
{
    ASSERT_TRUE(WritePhoneFile(kSettingsPath, "[Settings]\r\nTimeout = 3\r\nMine = x\r\nSkinName = Graphite\r\n"));
    LoadSettings();
    EXPECT_STREQ(L"Graphite", g_settings.skinName);
    g_settingsDoc.SetValue(L"Settings", L"Timeout", L"8");
    g_settingsDoc.SetValue(L"Settings", L"Extra", L"1");
    ASSERT_EQ(SI_OK, g_settingsDoc.SaveFile(kSettingsPath, true));
    EXPECT_EQ("[Settings]\r\nTimeout = 8\r\nMine = x\r\nSkinName = Graphite\r\nExtra = 1\r\n",
              ReadPhoneFile(kSettingsPath));
}

TEST_F(SettingsLoader, UnloadableFileIsKeptAsBackup)
{
    // A folder in the way of Settings.ini.tmp is not needed: a folder named Settings.ini cannot be loaded.
    ASSERT_TRUE(CreateDirectoryW(PhonePath(kSettingsPath).c_str(), NULL));
    LoadSettings();
    EXPECT_EQ(5, g_settings.timeout) << "the defaults are used from memory";
    EXPECT_TRUE(PhoneFileExists(L"\\Program Files\\Orsweld\\Tolvane\\Settings.ini\\")) << "a folder is not moved away";
    RemoveDirectoryW(PhonePath(kSettingsPath).c_str());

    // A file that exists but cannot be read in full: locked for reading by another process.
    SetUp();
    ASSERT_TRUE(WritePhoneFile(kSettingsPath, "[Settings]\r\nTimeout = 3\r\n"));
    HANDLE lock =
        CreateFileW(PhonePath(kSettingsPath).c_str(), GENERIC_READ, FILE_SHARE_DELETE, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    LoadSettings();
    CloseHandle(lock);
    EXPECT_EQ(5, g_settings.timeout);
    EXPECT_EQ("[Settings]\r\nTimeout = 3\r\n", ReadPhoneFile(L"\\Program Files\\Orsweld\\Tolvane\\Settings.ini.bak"));
    EXPECT_EQ(DefaultSettingsFile(), ReadPhoneFile(kSettingsPath));
}

TEST_F(SettingsLoader, MissingInstallRootRunsOnDefaultsInMemory)
{
    RemoveDirectoryW(PhonePath(kInstallRoot).c_str());
    LoadSettings();
    EXPECT_EQ(5, g_settings.timeout);
    EXPECT_STREQ(L"Default", g_settings.skinName);
    EXPECT_FALSE(PhoneFileExists(kSettingsPath));
}

TEST_F(SettingsLoader, OverlongSkinNameIsCutToThePath)
{
    std::string name(300, 'n');
    ASSERT_TRUE(WritePhoneFile(kSettingsPath, "[Settings]\r\nSkinName = " + name + "\r\n"));
    LoadSettings();
    EXPECT_EQ(259u, wcslen(g_settings.skinName));
    EXPECT_EQ(259u, wcslen(g_settings.skinFolder));
}

TEST_F(SettingsLoader, SkinIniAndLangIniAreLoaded)
{
    ASSERT_TRUE(WritePhoneFile(L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Default\\Skin.ini",
                               "[Settings]\r\nFontName = Tahoma\r\n"));
    ASSERT_TRUE(WritePhoneFile(kLangPath, "[lang]\r\nKeyExit = Quit\r\n"));
    LoadSettings();
    EXPECT_STREQ(L"Tahoma", g_skinDoc.GetValue(L"Settings", L"FontName", L""));
    EXPECT_STREQ(L"Quit", g_langDoc.GetValue(L"lang", L"KeyExit", L""));
}

} // namespace
