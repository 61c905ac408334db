// The language texts: defaults, lang.ini values and texts over their capacity.
#include <gtest/gtest.h>

#include "config/language_texts.h"

namespace
{

class LanguageTextsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_langDoc.Reset();
        g_lang = LanguageTexts();
    }
};

TEST_F(LanguageTextsTest, EmptyDocumentGivesEveryDefault)
{
    FillLanguageTexts();
    EXPECT_STREQ(L"Restart Manila", g_lang.actionLabels[ACTION_RESTART_MANILA]);
    EXPECT_STREQ(L"Running programm", g_lang.actionLabels[ACTION_PROG]);
    EXPECT_STREQ(L"None", g_lang.actionLabels[ACTION_NONE]);
    EXPECT_STREQ(L"General", g_lang.general);
    EXPECT_STREQ(L"Button 1", g_lang.slotTiles[0]);
    EXPECT_STREQ(L"Button 7", g_lang.slotTiles[6]);
    EXPECT_STREQ(L"Are You sure?", g_lang.areYouSure);
    EXPECT_STREQ(L"Warning!", g_lang.warning);
    EXPECT_STREQ(L"No BT-manager found", g_lang.noBtFound);
    EXPECT_STREQ(L"Select", g_lang.keySelect);
}

TEST_F(LanguageTextsTest, KeysAreFoundWithoutCaseAndOthersKeepDefaults)
{
    g_langDoc.LoadData("[LANG]\r\nkeyexit = Beenden\r\nwifi = WLAN\r\nBl = Taste 1\r\n");
    FillLanguageTexts();
    EXPECT_STREQ(L"Beenden", g_lang.keyExit);
    EXPECT_STREQ(L"WLAN", g_lang.actionLabels[ACTION_WIFI]);
    EXPECT_STREQ(L"Taste 1", g_lang.slotTiles[0]);
    EXPECT_STREQ(L"Save", g_lang.keySave);
}

TEST_F(LanguageTextsTest, TextsOverCapacityAreCut)
{
    std::string longText(400, 'x');
    g_langDoc.LoadData(("[lang]\r\nWarning = " + longText + "\r\nNoBTfound = " + longText + "\r\nReset = " + longText +
                        "\r\nKeySave = " + std::string(19, 's') + "\r\n")
                           .c_str());
    FillLanguageTexts();
    EXPECT_EQ(19u, wcslen(g_lang.warning));
    EXPECT_EQ(99u, wcslen(g_lang.noBtFound));
    EXPECT_EQ(255u, wcslen(g_lang.actionLabels[ACTION_RESET]));
    EXPECT_EQ(19u, wcslen(g_lang.keySave)) << "a text at capacity stays whole";
    EXPECT_STREQ(L"Cancel", g_lang.keyCancel) << "neighbouring texts are untouched";
}

} // namespace
