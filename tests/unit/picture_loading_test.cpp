// Picture loading: decoded pictures are reused only while their file is unchanged.
#include <aygshell.h>
#include <gtest/gtest.h>

#include "phone_drive.h"
#include "test_pictures.h"

namespace
{

COLORREF TopLeft(HBITMAP hbm)
{
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, hbm);
    COLORREF color = GetPixel(dc, 0, 0);
    SelectObject(dc, old);
    DeleteDC(dc);
    return color;
}

TEST(PictureLoading, ChangedMissingOrBrokenFilesAreNeverServedFromBefore)
{
    ResetPhoneDrive();
    const wchar_t *path = L"\\My Documents\\p.png";
    ASSERT_TRUE(WriteTestPng(path, 4, 4, RGB(200, 0, 0)));
    std::wstring full = PhonePath(path);
    for (int i = 0; i < 2; i++) { // the second load is the reused one
        HBITMAP hbm = SHLoadImageFile(full.c_str());
        ASSERT_NE(nullptr, hbm);
        EXPECT_EQ(RGB(200, 0, 0), TopLeft(hbm));
        DeleteObject(hbm); // each load is the caller's own bitmap
    }
    Sleep(20);
    ASSERT_TRUE(WriteTestPng(path, 4, 4, RGB(0, 0, 200)));
    HBITMAP hbm = SHLoadImageFile(full.c_str());
    ASSERT_NE(nullptr, hbm);
    EXPECT_EQ(RGB(0, 0, 200), TopLeft(hbm)) << "a rewritten file is decoded anew";
    DeleteObject(hbm);

    ASSERT_TRUE(WritePhoneFile(path, "\x89PNG\r\n\x1a\n broken"));
    EXPECT_EQ(nullptr, SHLoadImageFile(full.c_str()));
    DeleteFileW(full.c_str());
    EXPECT_EQ(nullptr, SHLoadImageFile(full.c_str()));
    CreateDirectoryW(full.c_str(), NULL);
    EXPECT_EQ(nullptr, SHLoadImageFile(full.c_str())) << "a folder named like a picture";
}

} // namespace
