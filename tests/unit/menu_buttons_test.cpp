// The menu window's buttons: which slots get one and where, the Exit and Settings buttons under the phone's
// windowing rules, and the state picture chosen for every action code and state.
#include <gtest/gtest.h>

#include <string>

#include "config/bounded_text.h"
#include "config/settings_store.h"
#include "device/system_probes.h"
#include "menu/menu_buttons.h"
#include "menu/menu_state.h"
#include "menu/menu_window.h"
#include "menu_fakes.h"
#include "phone_drive.h"

namespace
{

#define SKIN L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Default\\"

// Settings.ini text with the given [slot] sections; each entry is the section's body.
std::string SettingsWithSlots(std::initializer_list<std::pair<int, std::string>> slots)
{
    std::string text = "[Settings]\r\nSkinName = Default\r\nTimeout = 0\r\n";
    for (const auto &slot : slots)
        text += "\r\n[" + std::to_string(slot.first) + "]\r\n" + slot.second;
    return text;
}

class MenuButtons : public testing::Test
{
protected:
    HWND menu = NULL;

    void SetUp() override
    {
        ResetPhoneDrive();
        InstallMenuFakes();
        g_settingsDoc.Reset();
        g_skinDoc.Reset();
        g_menu = MenuState();
        g_settings = ProgramSettings();
    }
    void TearDown() override
    {
        if (menu)
            DestroyWindow(menu);
        UnregisterClassW(kMenuClassName, GetModuleHandleW(NULL));
        MSG msg; // the quit posted by the destruction
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
            ;
    }
    // Loads settings and creates the menu window as start-up does (without showing or painting it).
    void CreateMenu(const std::string &settings)
    {
        WritePhoneFile(kSettingsPath, settings);
        LoadSettings();
        WNDCLASSW wc = {};
        wc.lpfnWndProc = MenuWindowProc;
        wc.hInstance = GetModuleHandleW(NULL);
        wc.lpszClassName = kMenuClassName;
        RegisterClassW(&wc);
        menu = CreateWindowExW(0, kMenuClassName, kMenuClassName, WS_VISIBLE, 0, 0, 480, 800, NULL, NULL,
                               GetModuleHandleW(NULL), NULL);
        ASSERT_NE(nullptr, menu);
    }
};

void ExpectWindowAt(HWND hwnd, int x, int y, int width, int height, const char *what)
{
    ASSERT_NE(nullptr, hwnd) << what;
    RECT rc;
    GetWindowRect(hwnd, &rc);
    EXPECT_EQ(x, rc.left) << what;
    EXPECT_EQ(y, rc.top) << what;
    EXPECT_EQ(width, rc.right - rc.left) << what;
    EXPECT_EQ(height, rc.bottom - rc.top) << what;
}

TEST_F(MenuButtons, BoundSlotsGetButtonsAtFixedPlacesAndUnboundOnesLeaveAGap)
{
    CreateMenu(SettingsWithSlots({{0, "UseButton = 6\r\nText = WiFi\r\n"},
                                  {1, "UseButton = 13\r\nText = hidden\r\n"},
                                  {2, "UseButton = 6\r\nText = Second\r\n"},
                                  {3, "UseButton = 10\r\nText = 3G\r\n"},
                                  {4, "UseButton = 14\r\nText = Odd\r\n"},
                                  {5, "UseButton = -1\r\n"},
                                  {6, "UseButton = 13\r\n"}}));
    struct Row {
        int code;
        bool hasButton;
        const wchar_t *text;
    } rows[kSlotCount] = {{6, true, L"WiFi"}, {13, false, L""}, {6, true, L"Second"}, {10, false, L""},
                          {14, true, L"Odd"}, {-1, true, L""},  {13, false, L""}};
    for (int i = 0; i < kSlotCount; i++) {
        const SlotButton &slot = g_menu.slots[i];
        const SlotSettings &settings = g_settings.slots[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(25 + 108 * i, slot.top);
        EXPECT_EQ(rows[i].code, settings.actionCode);
        EXPECT_STREQ(rows[i].text, settings.text);
        EXPECT_STREQ(L"", settings.iconPath);
        if (!rows[i].hasButton) {
            EXPECT_EQ(nullptr, slot.button);
            continue;
        }
        ExpectWindowAt(slot.button, 65, slot.top, 350, 100, "slot button");
        EXPECT_EQ(menu, GetParent(slot.button));
        EXPECT_EQ(0x50002000, GetWindowLongW(slot.button, GWL_STYLE) & ~(WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
        wchar_t className[16], caption[8] = L"x";
        GetClassNameW(slot.button, className, 16);
        GetWindowTextW(slot.button, caption, 8);
        EXPECT_STREQ(L"Button", className);
        EXPECT_STREQ(L"", caption);
        EXPECT_EQ(0, GetDlgCtrlID(slot.button));
    }
    // Slots 0 and 2 stand 216 pixels apart: slot 1's place stays empty.
    EXPECT_EQ(25, g_menu.slots[0].top);
    EXPECT_EQ(241, g_menu.slots[2].top);
}

TEST_F(MenuButtons, AbsentUseButtonGivesRestartManila)
{
    CreateMenu(SettingsWithSlots({{0, "Text = Restart\r\n"}}));
    EXPECT_EQ(0, g_settings.slots[0].actionCode);
    EXPECT_NE(nullptr, g_menu.slots[0].button);
    wchar_t path[kPathCapacity];
    ChooseButtonPicture(path, 0);
    EXPECT_STREQ(SKIN L"Manila.png", path);
}

TEST_F(MenuButtons, LongTextIsCutTo49Characters)
{
    std::string text(80, 'a');
    text[48] = 'Z';
    CreateMenu(SettingsWithSlots({{0, "UseButton = 2\r\nText = " + text + "\r\n"}}));
    EXPECT_EQ(49u, wcslen(g_settings.slots[0].text));
    EXPECT_EQ(L'Z', g_settings.slots[0].text[48]);
}

// Created without WS_CHILD, the two corner buttons are still bare 40 x 40 squares: on the phone, children of the menu.
TEST_F(MenuButtons, ExitAndSettingsAreCaptionlessChildSquares)
{
    CreateMenu(SettingsWithSlots({}));
    ExpectWindowAt(g_menu.exitButton, 430, 10, 40, 40, "Exit");
    ExpectWindowAt(g_menu.settingsButton, 10, 10, 40, 40, "Settings");
    for (HWND button : {g_menu.exitButton, g_menu.settingsButton}) {
        RECT client;
        GetClientRect(button, &client);
        EXPECT_EQ(40, client.right);
        EXPECT_EQ(40, client.bottom);
        EXPECT_EQ(menu, GetParent(button));
        EXPECT_EQ(nullptr, GetWindow(button, GW_OWNER)) << "a parent, not an owner";
        LONG style = GetWindowLongW(button, GWL_STYLE);
        EXPECT_EQ(0, style & (WS_CAPTION | WS_THICKFRAME));
        EXPECT_EQ(0x10000F00, style & 0x10000F00);
        EXPECT_TRUE(IsWindowVisible(button));
    }
    EXPECT_TRUE(GetWindowLongW(menu, GWL_STYLE) & WS_CLIPCHILDREN) << "the menu clips its buttons";
}

// One row per picture choice: the slot's code, the phone's state, and the file the slot shows.
struct PictureCase {
    int code;
    void (*arrange)();
    const wchar_t *expected; // a skin file name, or (for the "Icon" cases) the whole path
    bool inSkin;
};

void Nothing() {}
void BluetoothOn()
{
    g_fakePhone.bluetooth = 1;
}
void WlanOn()
{
    g_fakePhone.wlan = 7;
}
void PhoneOn()
{
    g_fakePhone.phone = 1;
}
void FlightOn()
{
    g_fakePhone.flight = 1;
}
void VibrateOn()
{
    SetVibrateMode(1);
}
void VibrateOff()
{
    SetVibrateMode(0);
}
void GprsConnected()
{
    SetMachineDword(kPhoneStatePath, kGprsConnectedValue, 1);
}
void GprsDropped()
{
    SetMachineDword(kPhoneStatePath, kGprsConnectedValue, 0);
}
void GprsUnknown()
{
    DeleteMachineValue(kPhoneStatePath, kGprsConnectedValue);
}
void OpMode(DWORD mode)
{
    SetMachineDword(kUmtsPath, kUmtsOpModeValue, mode);
}
void OpMode0()
{
    OpMode(0);
}
void OpMode1()
{
    OpMode(1);
}
void OpMode2()
{
    OpMode(2);
}
void OpModeUnknown()
{
    DeleteMachineValue(kUmtsPath, kUmtsOpModeValue);
}

const PictureCase kPictureCases[] = {
    {0, Nothing, L"Manila.png", true},
    {1, Nothing, L"Reset.png", true},
    {2, Nothing, L"Sleep.png", true},
    {3, Nothing, L"Off.png", true},
    {4, Nothing, L"Bluetooth_off.png", true},
    {4, BluetoothOn, L"Bluetooth_on.png", true},
    {5, Nothing, L"BluetoothDis.png", true},
    {6, Nothing, L"Wifi_off.png", true},
    {6, WlanOn, L"Wifi_on.png", true},
    {7, Nothing, L"Phone_off.png", true},
    {7, PhoneOn, L"Phone_on.png", true},
    {8, VibrateOff, L"Vibro_off.png", true},
    {8, VibrateOn, L"Vibro_on.png", true},
    {9, GprsDropped, L"Gprs_off.png", true},
    {9, GprsConnected, L"Gprs_on.png", true},
    {9, GprsUnknown, L"Gprs_off.png", true},
    {10, OpMode0, L"3g_on.png", true},
    {10, OpMode1, L"3g_off.png", true},
    {10, OpMode2, L"3g_on.png", true},
    {10, OpModeUnknown, L"3g_on.png", true},
    {11, Nothing, L"Flight_off.png", true},
    {11, FlightOn, L"Flight_on.png", true},
    {12, Nothing, L"\\My Documents\\icon.png", false},
    {13, Nothing, L"\\My Documents\\icon.png", false},
    {14, Nothing, L"\\My Documents\\icon.png", false},
    {-3, Nothing, L"\\My Documents\\icon.png", false},
};

TEST_F(MenuButtons, PictureFollowsTheCodeAndThePhoneState)
{
    g_settingsDoc.SetValue(L"3", L"Icon", L"\\My Documents\\icon.png");
    CopyText(g_settings.skinFolder, SKIN);
    for (const PictureCase &row : kPictureCases) {
        InstallMenuFakes();
        row.arrange();
        g_settings.slots[3].actionCode = row.code;
        wchar_t path[kPathCapacity];
        CopyText(path, L"left over");
        ChooseButtonPicture(path, 3);
        std::wstring expected = row.inSkin ? std::wstring(SKIN) + row.expected : std::wstring(row.expected);
        EXPECT_EQ(expected, std::wstring(path)) << "code " << row.code;
        EXPECT_EQ(0, g_fakePhone.messageBoxes) << "code " << row.code;
    }
    VibrateOff();
    GprsDropped();
    OpMode0();
}

TEST_F(MenuButtons, RadioIsAskedAtEveryChoice)
{
    CopyText(g_settings.skinFolder, SKIN);
    g_settings.slots[0].actionCode = 6;
    wchar_t path[kPathCapacity];
    g_fakePhone.wlan = 1;
    ChooseButtonPicture(path, 0);
    EXPECT_STREQ(SKIN L"Wifi_on.png", path);
    g_fakePhone.wlan = 0;
    ChooseButtonPicture(path, 0);
    EXPECT_STREQ(SKIN L"Wifi_off.png", path);
    EXPECT_EQ(2, g_fakePhone.radioGets);
}

// Without the radio library each radio face costs one error box and shows the cell as it stood.
TEST_F(MenuButtons, MissingRadioLibraryShowsOneBoxAndKeepsTheCell)
{
    CopyText(g_settings.skinFolder, SKIN);
    g_fakePhone.radioLibraryPresent = false;
    g_settings.slots[0].actionCode = 4;
    g_menu.radioBluetooth = 1;
    wchar_t path[kPathCapacity];
    ChooseButtonPicture(path, 0);
    EXPECT_STREQ(SKIN L"Bluetooth_on.png", path);
    EXPECT_EQ(1, g_fakePhone.messageBoxes);
    g_settings.slots[0].actionCode = 11;
    ChooseButtonPicture(path, 0);
    EXPECT_STREQ(SKIN L"Flight_off.png", path);
    EXPECT_EQ(2, g_fakePhone.messageBoxes);
}

TEST_F(MenuButtons, OverlongPathsAreCut)
{
    std::wstring longIcon = L"\\" + std::wstring(400, L'i') + L".png";
    g_settingsDoc.SetValue(L"0", L"Icon", longIcon.c_str());
    g_settings.slots[0].actionCode = 12;
    wchar_t path[kPathCapacity + 1];
    path[kPathCapacity] = L'#';
    ChooseButtonPicture(path, 0);
    EXPECT_EQ(longIcon.substr(0, 259), std::wstring(path));
    EXPECT_EQ(L'#', path[kPathCapacity]);

    std::wstring longFolder = L"\\" + std::wstring(255, L'f') + L"\\";
    CopyText(g_settings.skinFolder, longFolder.c_str());
    g_settings.slots[0].actionCode = 0;
    ChooseButtonPicture(path, 0);
    EXPECT_EQ(259u, wcslen(path));
    EXPECT_EQ(L'M', path[257]);
    EXPECT_EQ(L'#', path[kPathCapacity]);
}

} // namespace
