// Picture loading: decoded pictures are reused only while their file is unchanged, and a picture is refused when
// the phone could not hold its bitmap.
#include <aygshell.h>
#include <gtest/gtest.h>
#include <psapi.h>

#include <string>

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

// A phone process holds at most 32 MB: the largest picture whose 32-bit bitmap fits loads whole, one more column
// is refused, and so is the soak's 8000 x 8000 picture.
TEST(PictureLoading, APictureIsRefusedWhenItsBitmapWouldNotFitInAPhoneProcess)
{
    ResetPhoneDrive();
    const wchar_t *path = L"\\My Documents\\large.png";
    std::wstring full = PhonePath(path);
    const struct {
        UINT width, height;
        bool loads;
    } rows[] = {{2896, 2896, true}, {2897, 2896, false}, {8000, 8000, false}};
    for (const auto &row : rows) {
        ASSERT_TRUE(WriteTestPng(path, row.width, row.height, RGB(0, 90, 0)));
        HBITMAP hbm = SHLoadImageFile(full.c_str());
        EXPECT_EQ(row.loads, hbm != nullptr) << row.width << " x " << row.height;
        BITMAP bm = {};
        if (hbm && GetObjectW(hbm, sizeof bm, &bm)) {
            EXPECT_EQ((LONG)row.width, bm.bmWidth) << "the whole picture, not a part of it";
            EXPECT_EQ((LONG)row.height, bm.bmHeight);
        }
        if (hbm)
            DeleteObject(hbm);
    }
}

// A PNG chunk of TYPE whose length field says LENGTH, holding DATA, with a checksum the loader does not check.
std::string PngChunk(const char *type, unsigned long length, const std::string &data)
{
    std::string chunk;
    for (int shift = 24; shift >= 0; shift -= 8)
        chunk += (char)((length >> shift) & 0xFF);
    return chunk + type + data + std::string(4, '\0');
}

SIZE_T PeakWorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}

TEST(PictureLoading, AChunkClaimingMoreThanTheFileHoldsIsRefusedWithoutTakingWhatItClaims)
{
    ResetPhoneDrive();
    const wchar_t *path = L"\\My Documents\\text.png";
    ASSERT_TRUE(WriteTestPng(path, 4, 4, RGB(0, 200, 0)));
    const std::string png = ReadPhoneFile(path);
    ASSERT_GT(png.size(), 33u);
    // Signature and IHDR come first (8 + 25 bytes); the comment goes between them and the image data.
    const std::string comment = "Comment" + std::string(1, '\0') + "short";
    std::wstring full = PhonePath(path);

    ASSERT_TRUE(WritePhoneFile(path, png.substr(0, 33) + PngChunk("tEXt", comment.size(), comment) + png.substr(33)));
    HBITMAP hbm = SHLoadImageFile(full.c_str());
    ASSERT_NE(nullptr, hbm) << "a comment of its true length is no reason to refuse a picture";
    EXPECT_EQ(RGB(0, 200, 0), TopLeft(hbm));
    DeleteObject(hbm);

    const SIZE_T before = PeakWorkingSet();
    for (unsigned long claimed : {0x7FFFFFFFul, 1ul << 30, (unsigned long)png.size()}) {
        ASSERT_TRUE(WritePhoneFile(path, png.substr(0, 33) + PngChunk("tEXt", claimed, comment) + png.substr(33)));
        EXPECT_EQ(nullptr, SHLoadImageFile(full.c_str())) << "a comment claiming " << claimed << " bytes";
    }
    EXPECT_LT(PeakWorkingSet() - before, (SIZE_T)(64 << 20)) << "the loader took what the chunk claimed";
}

} // namespace
