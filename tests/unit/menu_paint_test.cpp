// The menu's painting: the caption style read from Skin.ini, the caption's centring, and faces painted into a
// memory bitmap and into the real buttons, with pictures present, missing or of odd sizes.
#include <gtest/gtest.h>

#include <string>

#include "config/bounded_text.h"
#include "config/settings_store.h"
#include "menu/menu_buttons.h"
#include "menu/menu_paint.h"
#include "menu/menu_state.h"
#include "menu/menu_window.h"
#include "menu_fakes.h"
#include "phone_drive.h"
#include "test_pictures.h"

namespace
{

#define SKIN L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Default\\"

const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kBackground = RGB(20, 60, 120);
const COLORREF kPicture = RGB(230, 120, 10);
const COLORREF kCaption = RGB(250, 250, 40);
const COLORREF kUntouched = RGB(1, 2, 3);

TEST(CaptionStyle, ReadFromTheSkinDocument)
{
    struct Row {
        const wchar_t *red, *green, *blue, *bold, *italic;
        COLORREF color;
        bool isBold, isItalic;
    } rows[] = {
        {L"300", L"0", L"0", L"2", nullptr, RGB(44, 0, 0), true, false},
        {L"16", L"44", L"84", L"1", L"1", RGB(16, 44, 84), true, true},
        {L"-1", L"256", L"511", L"0", L"0", RGB(255, 0, 255), false, false},
        {nullptr, L"green", nullptr, nullptr, L"-7", RGB(0, 0, 0), false, true},
    };
    for (const Row &row : rows) {
        g_skinDoc.Reset();
        const wchar_t *keys[] = {L"Red", L"Green", L"Blue", L"Bold", L"Italic"};
        const wchar_t *values[] = {row.red, row.green, row.blue, row.bold, row.italic};
        for (int k = 0; k < 5; k++)
            if (values[k])
                g_skinDoc.SetValue(L"Settings", keys[k], values[k]);
        ReadTextStyle();
        EXPECT_EQ(row.color, g_menu.textStyle.color) << row.red;
        EXPECT_EQ(row.isBold, g_menu.textStyle.bold) << row.red;
        EXPECT_EQ(row.isItalic, g_menu.textStyle.italic) << row.red;
    }
}

TEST(CaptionStyle, FontRequest)
{
    struct Row {
        int fontSize, logPixelsY, height;
    } rows[] = {{9, 96, -12}, {10, 192, -26}, {12, 192, -32}, {12, 96, -16}, {0, 96, 0}, {7, 96, -9}, {-9, 96, 12}};
    TextStyle style = {};
    for (const Row &row : rows) {
        style.fontSize = row.fontSize;
        LOGFONTW lf;
        FillCaptionFont(&lf, style, row.logPixelsY);
        EXPECT_EQ(row.height, lf.lfHeight) << row.fontSize << " pt at " << row.logPixelsY;
    }

    g_skinDoc.Reset();
    g_skinDoc.SetValue(L"Settings", L"FontName", L"Tahoma");
    g_skinDoc.SetValue(L"Settings", L"Bold", L"2");
    ReadTextStyle();
    LOGFONTW lf;
    memset(&lf, 0x55, sizeof lf);
    FillCaptionFont(&lf, g_menu.textStyle, 96);
    EXPECT_EQ(FW_BOLD, lf.lfWeight);
    EXPECT_EQ(0, lf.lfItalic);
    EXPECT_EQ(RUSSIAN_CHARSET, lf.lfCharSet);
    EXPECT_EQ(0, lf.lfWidth + lf.lfEscapement + lf.lfOrientation + lf.lfUnderline + lf.lfStrikeOut);
    EXPECT_EQ(0, lf.lfOutPrecision + lf.lfClipPrecision + lf.lfQuality + lf.lfPitchAndFamily);
    EXPECT_STREQ(L"Tahoma", lf.lfFaceName);

    // A face name longer than the font request holds is cut to 31 characters.
    g_skinDoc.SetValue(L"Settings", L"FontName", std::wstring(40, L'F').c_str());
    g_skinDoc.SetValue(L"Settings", L"Bold", L"0");
    ReadTextStyle();
    FillCaptionFont(&lf, g_menu.textStyle, 96);
    EXPECT_EQ(std::wstring(31, L'F'), std::wstring(lf.lfFaceName));
    EXPECT_EQ(0, lf.lfWeight);

    // An absurd size must not wrap round to a positive height.
    style.fontSize = 2147483647;
    FillCaptionFont(&lf, style, 192);
    EXPECT_LT(lf.lfHeight, 0);
}

TEST(CaptionStyle, CentredInTheButtonsHeight)
{
    struct Row {
        RECT measured;
        int top;
    } rows[] = {{{100, 0, 350, 40}, 30}, {{100, 0, 350, 19}, 40}, {{100, 0, 350, 120}, -10}, {{100, 0, 350, 0}, 50}};
    for (const Row &row : rows)
        EXPECT_EQ(row.top, CaptionTop(row.measured)) << row.measured.bottom;
}

// A 350 x 100 memory bitmap to paint a face into, pre-filled with a colour no picture uses.
class FaceCanvas
{
public:
    FaceCanvas()
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
        bmi.bmiHeader.biWidth = 350;
        bmi.bmiHeader.biHeight = -100;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        hdc = CreateCompatibleDC(NULL);
        bitmap = CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, NULL, NULL, 0);
        old = SelectObject(hdc, bitmap);
        HBRUSH brush = CreateSolidBrush(kUntouched);
        RECT all = {0, 0, 350, 100};
        FillRect(hdc, &all, brush);
        DeleteObject(brush);
    }
    ~FaceCanvas()
    {
        SelectObject(hdc, old);
        DeleteObject(bitmap);
        DeleteDC(hdc);
    }
    COLORREF At(int x, int y) const { return GetPixel(hdc, x, y); }
    // The bounding box of the pixels of one colour; empty when there are none.
    RECT Find(COLORREF color) const
    {
        RECT box = {350, 100, -1, -1};
        for (int y = 0; y < 100; y++)
            for (int x = 0; x < 350; x++)
                if (At(x, y) == color) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x);
                    box.bottom = std::max<LONG>(box.bottom, y);
                }
        return box;
    }
    HDC hdc;

private:
    HBITMAP bitmap;
    HGDIOBJ old;
};

class FacePainting : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetPhoneDrive();
        InstallMenuFakes();
        g_settingsDoc.Reset();
        g_skinDoc.Reset();
        g_menu = MenuState();
        g_settings = ProgramSettings();
        CopyText(g_settings.skinFolder, SKIN);
        g_skinDoc.SetValue(L"Settings", L"FontName", L"Tahoma");
        g_skinDoc.SetValue(L"Settings", L"FontSize", L"20");
        g_skinDoc.SetValue(L"Settings", L"Red", L"250");
        g_skinDoc.SetValue(L"Settings", L"Green", L"250");
        g_skinDoc.SetValue(L"Settings", L"Blue", L"40");
        g_skinDoc.SetValue(L"Settings", L"Bold", L"1");
        ReadTextStyle();
        g_settings.slots[0].actionCode = 6; // WiFi, reported on by the fake radio library
        g_fakePhone.wlan = 1;
        CopyText(g_settings.slots[0].text, L"WWW");
    }
};

TEST_F(FacePainting, BackgroundStatePictureKeyAndCaption)
{
    ASSERT_TRUE(WriteTestPng(SKIN L"Button.png", 350, 100, kBackground));
    ASSERT_TRUE(WriteTestPng(SKIN L"Wifi_on.png", 100, 100, kPicture, kMagenta));
    FaceCanvas canvas;
    HGDIOBJ fontBefore = GetCurrentObject(canvas.hdc, OBJ_FONT);
    PaintSlotFace(canvas.hdc, 0, SKIN L"Button.png");

    EXPECT_EQ(kBackground, canvas.At(0, 0)) << "the key pixel lets the background through";
    EXPECT_EQ(kPicture, canvas.At(1, 0));
    EXPECT_EQ(kPicture, canvas.At(99, 99));
    EXPECT_EQ(kBackground, canvas.At(100, 0));
    EXPECT_EQ(kBackground, canvas.At(349, 99));
    EXPECT_EQ(kBackground, canvas.At(110, 50));

    RECT caption = canvas.Find(kCaption);
    ASSERT_GE(caption.right, caption.left) << "the caption is drawn in the skin's colour";
    EXPECT_GE(caption.left, 100) << "the caption stays right of the state picture";
    EXPECT_NEAR(225, (caption.left + caption.right) / 2, 3) << "centred in the 250 pixels right of the picture";
    EXPECT_NEAR(50, (caption.top + caption.bottom) / 2, 6) << "centred in the button's height";
    EXPECT_GT(caption.bottom - caption.top, 14) << "a 20-point caption";
    EXPECT_EQ(fontBefore, GetCurrentObject(canvas.hdc, OBJ_FONT)) << "the caption font is released";
}

TEST_F(FacePainting, EveryPixelOfTheKeyColourIsTransparent)
{
    ASSERT_TRUE(WriteTestPng(SKIN L"Button.png", 350, 100, kBackground));
    ASSERT_TRUE(WriteTestPng(SKIN L"Wifi_on.png", 100, 100, kMagenta));
    FaceCanvas canvas;
    PaintSlotFace(canvas.hdc, 0, SKIN L"Button.png");
    RECT magenta = canvas.Find(kMagenta);
    EXPECT_LT(magenta.right, magenta.left) << "no magenta pixel is drawn";
    EXPECT_EQ(kBackground, canvas.At(50, 50));
}

TEST_F(FacePainting, StateFollowsTheRadio)
{
    ASSERT_TRUE(WriteTestPng(SKIN L"Button.png", 350, 100, kBackground));
    ASSERT_TRUE(WriteTestPng(SKIN L"Wifi_on.png", 100, 100, kPicture, kMagenta));
    ASSERT_TRUE(WriteTestPng(SKIN L"Wifi_off.png", 100, 100, RGB(90, 90, 90), kMagenta));
    FaceCanvas canvas;
    PaintSlotFace(canvas.hdc, 0, SKIN L"Button.png");
    EXPECT_EQ(kPicture, canvas.At(50, 50));
    g_fakePhone.wlan = 0;
    PaintSlotFace(canvas.hdc, 0, SKIN L"Button.png");
    EXPECT_EQ(RGB(90, 90, 90), canvas.At(50, 50));
}

// A background the phone cannot load, missing or too large for its memory (its bitmap over 32 MB).
TEST_F(FacePainting, MissingBackgroundGivesAPlainButtonFace)
{
    ASSERT_TRUE(WriteTestPng(SKIN L"Wifi_on.png", 100, 100, kPicture, kMagenta));
    for (bool tooLarge : {false, true}) {
        if (tooLarge)
            ASSERT_TRUE(WriteTestPng(SKIN L"Button.png", 2897, 2896, kBackground));
        FaceCanvas canvas;
        PaintSlotFace(canvas.hdc, 0, SKIN L"Button.png");
        COLORREF face = GetSysColor(COLOR_BTNFACE);
        EXPECT_EQ(face, canvas.At(0, 0)) << tooLarge;
        EXPECT_EQ(kPicture, canvas.At(50, 50));
        EXPECT_EQ(face, canvas.At(340, 5));
        RECT caption = canvas.Find(kCaption);
        EXPECT_GE(caption.right, caption.left) << "the caption is still drawn";
    }
}

TEST_F(FacePainting, MissingOrBrokenStatePictureLeavesTheBackground)
{
    ASSERT_TRUE(WriteTestPng(SKIN L"Button.png", 350, 100, kBackground));
    WritePhoneFile(SKIN L"Wifi_on.png", "not a picture");
    FaceCanvas canvas;
    PaintSlotFace(canvas.hdc, 0, SKIN L"Button.png");
    EXPECT_EQ(kBackground, canvas.At(50, 50));
    EXPECT_EQ(kBackground, canvas.At(0, 0));

    // A Prog slot whose "Icon" names nothing draws the same way.
    g_settings.slots[0].actionCode = 12;
    PaintSlotFace(canvas.hdc, 0, SKIN L"Button.png");
    EXPECT_EQ(kBackground, canvas.At(50, 50));
}

TEST_F(FacePainting, NothingAtAllStillDrawsTheCaption)
{
    FaceCanvas canvas;
    PaintSlotFace(canvas.hdc, 0, SKIN L"Button.png");
    RECT caption = canvas.Find(kCaption);
    EXPECT_GE(caption.right, caption.left);
}

TEST_F(FacePainting, OddSizedPicturesAreDrawnUnscaledFromTheirTopLeft)
{
    ASSERT_TRUE(WriteTestPng(SKIN L"Button.png", 500, 150, kBackground));
    ASSERT_TRUE(WriteTestPng(SKIN L"Wifi_on.png", 40, 30, kPicture, kMagenta));
    FaceCanvas canvas;
    PaintSlotFace(canvas.hdc, 0, SKIN L"Button.png");
    EXPECT_EQ(kBackground, canvas.At(0, 0));
    EXPECT_EQ(kPicture, canvas.At(39, 29));
    EXPECT_EQ(kBackground, canvas.At(40, 29));
    EXPECT_EQ(kBackground, canvas.At(39, 30));
    EXPECT_EQ(kBackground, canvas.At(349, 99));

    // Without a caption, so that only the pictures touch the face.
    ASSERT_TRUE(WriteTestPng(SKIN L"Button.png", 200, 50, kBackground));
    CopyText(g_settings.slots[0].text, L"");
    FaceCanvas fresh;
    PaintSlotFace(fresh.hdc, 0, SKIN L"Button.png");
    EXPECT_EQ(kBackground, fresh.At(199, 49));
    EXPECT_EQ(kUntouched, fresh.At(200, 49)) << "beyond a small Button.png the face is left as it was";
    EXPECT_EQ(kUntouched, fresh.At(199, 50));
    EXPECT_EQ(kUntouched, fresh.At(300, 90));
}

// The whole WM_PAINT through the real menu window and its buttons.
class MenuPaint : public FacePainting
{
protected:
    HWND menu = NULL;
    void TearDown() override
    {
        if (menu)
            DestroyWindow(menu);
        UnregisterClassW(kMenuClassName, GetModuleHandleW(NULL));
        MSG msg;
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
            ;
    }
    void CreateMenu()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = MenuWindowProc;
        wc.hInstance = GetModuleHandleW(NULL);
        wc.lpszClassName = kMenuClassName;
        RegisterClassW(&wc);
        menu = CreateWindowExW(0, kMenuClassName, kMenuClassName, WS_VISIBLE, 0, 0, 480, 800, NULL, NULL,
                               GetModuleHandleW(NULL), NULL);
        ASSERT_NE(nullptr, menu);
    }
    static COLORREF PixelOf(HWND hwnd, int x, int y)
    {
        HDC hdc = GetDC(hwnd);
        COLORREF color = GetPixel(hdc, x, y);
        ReleaseDC(hwnd, hdc);
        return color;
    }
};

TEST_F(MenuPaint, FacesOfEveryButton)
{
    ASSERT_TRUE(WriteTestPng(SKIN L"Button.png", 350, 100, kBackground));
    ASSERT_TRUE(WriteTestPng(SKIN L"Wifi_on.png", 100, 100, kPicture, kMagenta));
    ASSERT_TRUE(WriteTestPng(SKIN L"Sleep.png", 100, 100, RGB(0, 200, 0), kMagenta));
    ASSERT_TRUE(WriteTestPng(SKIN L"Exit.png", 60, 60, RGB(200, 0, 0)));
    ASSERT_TRUE(WriteTestPng(SKIN L"Settings.png", 40, 40, RGB(0, 0, 200)));
    g_settingsDoc.SetValue(L"0", L"UseButton", L"6");
    g_settingsDoc.SetValue(L"1", L"UseButton", L"13");
    g_settingsDoc.SetValue(L"2", L"UseButton", L"2");
    g_settingsDoc.SetValue(L"3", L"UseButton", L"10");
    for (const wchar_t *slot : {L"4", L"5", L"6"})
        g_settingsDoc.SetValue(slot, L"UseButton", L"13");
    CreateMenu();
    UpdateWindow(menu);

    EXPECT_EQ(RGB(200, 0, 0), PixelOf(g_menu.exitButton, 39, 39));
    EXPECT_EQ(RGB(0, 0, 200), PixelOf(g_menu.settingsButton, 20, 20));
    EXPECT_EQ(kPicture, PixelOf(g_menu.slots[0].button, 50, 50));
    EXPECT_EQ(kBackground, PixelOf(g_menu.slots[0].button, 0, 0));
    EXPECT_EQ(RGB(0, 200, 0), PixelOf(g_menu.slots[2].button, 50, 50));
    EXPECT_EQ(kBackground, PixelOf(g_menu.slots[2].button, 300, 5));
    EXPECT_EQ(1, g_fakePhone.radioGets) << "one radio face, asked once";
    EXPECT_EQ(0, g_fakePhone.messageBoxes);
}

// Without the radio library each paint of a radio face shows one box, and the menu window still paints and can
// be closed afterwards.
TEST_F(MenuPaint, MissingRadioLibraryCostsOneBoxPerRadioFacePerPaint)
{
    g_fakePhone.radioLibraryPresent = false;
    g_settingsDoc.SetValue(L"0", L"UseButton", L"6");
    g_settingsDoc.SetValue(L"1", L"UseButton", L"4");
    g_settingsDoc.SetValue(L"2", L"UseButton", L"2");
    for (const wchar_t *slot : {L"3", L"4", L"5", L"6"})
        g_settingsDoc.SetValue(slot, L"UseButton", L"13");
    CreateMenu();
    UpdateWindow(menu);
    EXPECT_EQ(2, g_fakePhone.messageBoxes);
    InvalidateRect(menu, NULL, TRUE);
    UpdateWindow(menu);
    EXPECT_EQ(4, g_fakePhone.messageBoxes);
    EXPECT_TRUE(DestroyWindow(menu));
    menu = NULL;
}

} // namespace
