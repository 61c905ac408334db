// The shell library's full-screen switch and picture loader, standing in for the phone's aygshell.
// Pictures are decoded with the Windows Imaging Component; the task bar is the emulated phone's "HHTaskBar".
#include <aygshell.h>
#include <wincodec.h>

#include <string>
#include <vector>

#include "phone_link.h"

namespace
{

// Only the top-left part of a picture is ever drawn on a 480 x 800 screen; bigger pictures are cut to this.
const UINT kMaxPictureSide = 2048;

// One imaging factory for the life of the process: making one per picture costs more than the decode.
IWICImagingFactory *ImagingFactory()
{
    static IWICImagingFactory *factory = NULL;
    if (!factory) {
        CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
        CoCreateInstance(CLSID_WICImagingFactory, NULL, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                         (void **)&factory);
    }
    return factory;
}

// A new top-down 32-bit DIB section.
HBITMAP NewDib(LONG width, LONG height, void **bits)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, bits, NULL, 0);
}

// Copies a decoded frame into a new top-down 32-bit DIB section; null when any step fails.
HBITMAP BitmapFromFrame(IWICImagingFactory *factory, IWICBitmapFrameDecode *frame)
{
    UINT width = 0, height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0)
        return NULL;
    UINT cx = width < kMaxPictureSide ? width : kMaxPictureSide;
    UINT cy = height < kMaxPictureSide ? height : kMaxPictureSide;

    IWICFormatConverter *converter = NULL;
    if (FAILED(factory->CreateFormatConverter(&converter)))
        return NULL;
    HBITMAP hbm = NULL;
    if (SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, NULL, 0.0,
                                        WICBitmapPaletteTypeCustom))) {
        void *bits = NULL;
        hbm = NewDib((LONG)cx, (LONG)cy, &bits);
        WICRect rect = {0, 0, (INT)cx, (INT)cy};
        if (hbm && FAILED(converter->CopyPixels(&rect, cx * 4, cx * 4 * cy, (BYTE *)bits))) {
            DeleteObject(hbm);
            hbm = NULL;
        }
    }
    converter->Release();
    return hbm;
}

// The decoded pictures: a few recent files with their size and time, as top-down 32-bit pixels.
struct DecodedPicture {
    std::wstring path;
    ULONGLONG size;
    FILETIME written;
    LONG width, height;
    std::vector<BYTE> pixels;
};
// Only pictures of button size and below are kept: a wallpaper is loaded once a run, so keeping it would only
// cost memory.
const size_t kDecodedPictureLimit = 24;
const size_t kDecodedPictureBytes = 256 << 10;
const size_t kDecodedBytesLimit = 2 << 20;
std::vector<DecodedPicture> s_decoded;

ULONGLONG FileSize(const WIN32_FILE_ATTRIBUTE_DATA &file)
{
    return ((ULONGLONG)file.nFileSizeHigh << 32) | file.nFileSizeLow;
}

bool SameFile(const DecodedPicture &picture, LPCWSTR path, const WIN32_FILE_ATTRIBUTE_DATA &file)
{
    return _wcsicmp(picture.path.c_str(), path) == 0 && picture.size == FileSize(file) &&
           CompareFileTime(&picture.written, &file.ftLastWriteTime) == 0;
}

HBITMAP CopyDecodedPicture(LPCWSTR path, const WIN32_FILE_ATTRIBUTE_DATA &file)
{
    for (const DecodedPicture &picture : s_decoded) {
        if (!SameFile(picture, path, file))
            continue;
        void *bits = NULL;
        HBITMAP hbm = NewDib(picture.width, picture.height, &bits);
        if (hbm)
            memcpy(bits, picture.pixels.data(), picture.pixels.size());
        return hbm;
    }
    return NULL;
}

void KeepDecodedPicture(LPCWSTR path, const WIN32_FILE_ATTRIBUTE_DATA &file, HBITMAP hbm)
{
    DIBSECTION dib;
    if (GetObjectW(hbm, sizeof dib, &dib) != sizeof dib || !dib.dsBm.bmBits)
        return;
    size_t bytes = (size_t)dib.dsBm.bmWidthBytes * dib.dsBm.bmHeight;
    if (bytes > kDecodedPictureBytes)
        return;
    size_t total = bytes;
    for (const DecodedPicture &picture : s_decoded)
        total += picture.pixels.size();
    while (!s_decoded.empty() && (s_decoded.size() >= kDecodedPictureLimit || total > kDecodedBytesLimit)) {
        total -= s_decoded.front().pixels.size();
        s_decoded.erase(s_decoded.begin());
    }
    DecodedPicture picture;
    picture.path = path;
    picture.size = FileSize(file);
    picture.written = file.ftLastWriteTime;
    picture.width = dib.dsBm.bmWidth;
    picture.height = dib.dsBm.bmHeight;
    const BYTE *bits = (const BYTE *)dib.dsBm.bmBits;
    picture.pixels.assign(bits, bits + bytes);
    s_decoded.push_back(std::move(picture));
}

constexpr BYTE kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr int kMaxPngHeadChunks = 4096;

// Reads COUNT bytes at OFFSET; false when the file has fewer.
bool ReadAt(HANDLE file, ULONGLONG offset, BYTE *bytes, DWORD count)
{
    LARGE_INTEGER at;
    at.QuadPart = (LONGLONG)offset;
    DWORD got = 0;
    return SetFilePointerEx(file, at, NULL, FILE_BEGIN) && ReadFile(file, bytes, count, &got, NULL) && got == count;
}

// Whether a PNG file's chunks before its image data all end inside the file. The imaging component reads each
// of those chunks whole into a buffer of the length the chunk claims, so one that claims gigabytes cannot
// decode yet costs about a second and that much memory to fail, at every load of a face. Files that are no PNG,
// and heads too long to walk, are left to the decoder.
bool PngHeadFitsFile(LPCWSTR pszFileName, ULONGLONG fileSize)
{
    HANDLE file = CreateFileW(pszFileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return true;
    bool fits = true;
    BYTE head[8];
    if (ReadAt(file, 0, head, sizeof head) && memcmp(head, kPngSignature, sizeof head) == 0) {
        ULONGLONG at = sizeof kPngSignature;
        for (int i = 0; i < kMaxPngHeadChunks && ReadAt(file, at, head, sizeof head); i++) {
            if (memcmp(head + 4, "IDAT", 4) == 0 || memcmp(head + 4, "IEND", 4) == 0)
                break;
            // Length, type, data and checksum.
            ULONGLONG length = ((ULONGLONG)head[0] << 24) | (head[1] << 16) | (head[2] << 8) | head[3];
            if (at + 12 + length > fileSize) {
                fits = false;
                break;
            }
            at += 12 + length;
        }
    }
    CloseHandle(file);
    return fits;
}

// Decodes a picture file through WIC; null when it is not a picture.
HBITMAP DecodePicture(LPCWSTR pszFileName, ULONGLONG fileSize)
{
    if (!PngHeadFitsFile(pszFileName, fileSize))
        return NULL;
    IWICImagingFactory *factory = ImagingFactory();
    if (!factory)
        return NULL;
    IWICBitmapDecoder *decoder = NULL;
    if (FAILED(factory->CreateDecoderFromFilename(pszFileName, NULL, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  &decoder)))
        return NULL;
    HBITMAP hbm = NULL;
    IWICBitmapFrameDecode *frame = NULL;
    if (SUCCEEDED(decoder->GetFrame(0, &frame))) {
        hbm = BitmapFromFrame(factory, frame);
        frame->Release();
    }
    decoder->Release();
    return hbm;
}

} // namespace

// Hides or shows the emulated task bar; the input-panel button and the Start icon have no stand-in.
extern "C" BOOL WINAPI Phone_SHFullScreen(HWND hwndRequester, DWORD dwState)
{
    if (!hwndRequester)
        return FALSE;
    HWND hwndTaskBar = FindWindowW(L"HHTaskBar", NULL);
    if (!hwndTaskBar)
        return TRUE;
    if (dwState & SHFS_HIDETASKBAR)
        SendMessageW(hwndTaskBar, PHONE_MSG_TASKBAR_SHOW, FALSE, (LPARAM)hwndRequester);
    else if (dwState & SHFS_SHOWTASKBAR)
        SendMessageW(hwndTaskBar, PHONE_MSG_TASKBAR_SHOW, TRUE, (LPARAM)hwndRequester);
    return TRUE;
}

// Decodes a picture file into a 32-bit DIB section; null when it is missing or not a picture.
// The caller deletes the bitmap. A file decoded before and unchanged since (same size and time) is copied
// from the decoded pictures instead of being decoded again: a paint loads the same button picture many times.
extern "C" HBITMAP WINAPI Phone_SHLoadImageFile(LPCWSTR pszFileName)
{
    if (!pszFileName || !*pszFileName)
        return NULL;
    WIN32_FILE_ATTRIBUTE_DATA file;
    if (!GetFileAttributesExW(pszFileName, GetFileExInfoStandard, &file) ||
        (file.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return NULL;
    if (HBITMAP copy = CopyDecodedPicture(pszFileName, file))
        return copy;
    HBITMAP hbm = DecodePicture(pszFileName, FileSize(file));
    if (hbm)
        KeepDecodedPicture(pszFileName, file, hbm);
    return hbm;
}
