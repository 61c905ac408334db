// The shell library's full-screen switch and picture loader, standing in for the phone's aygshell.
// Pictures are decoded with the Windows Imaging Component; the task bar is the emulated phone's "HHTaskBar".
#include <aygshell.h>
#include <wincodec.h>

#include <string>
#include <vector>

#include "phone_link.h"

namespace
{

// The largest bitmap the phone can hand back. A Windows CE 5 process has only 32 MB of virtual address space, which
// its code, libraries, heaps and stacks share ("Virtual Memory (Windows CE 5.0)",
// https://learn.microsoft.com/en-us/previous-versions/windows/embedded/aa450669(v=msdn.10)), and a bitmap is held in
// such a space: the phone's CreateDIBSection allocates the bits itself, taking no file mapping to put them in
// (hSection must be NULL, https://learn.microsoft.com/en-us/previous-versions/windows/embedded/ms908174(v=msdn.10)),
// and developers of the phone report DIB sections held in the caller's slot, other bitmaps in the window manager's
// (http://stackoverflow.com/questions/518119/windows-mobile-creating-a-device-independent-bitmap-by-size-in-cf-net).
// So a picture whose 32-bit bitmap alone is larger than 32 MB (8,388,608 pixels; an 8000 x 8000 picture takes
// 256 MB) can never load. The phone fails smaller ones too, once code and heaps are counted, but only this bound is
// certain. A 480 x 800 wallpaper takes 1.5 MB, a five-megapixel photo 20 MB.
const ULONGLONG kMaxBitmapBytes = 32 << 20;

bool BitmapFitsProcess(ULONGLONG width, ULONGLONG height)
{
    return width * height * 4 <= kMaxBitmapBytes;
}

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
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0 || !BitmapFitsProcess(width, height))
        return NULL;

    IWICFormatConverter *converter = NULL;
    if (FAILED(factory->CreateFormatConverter(&converter)))
        return NULL;
    HBITMAP hbm = NULL;
    if (SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, NULL, 0.0,
                                        WICBitmapPaletteTypeCustom))) {
        void *bits = NULL;
        hbm = NewDib((LONG)width, (LONG)height, &bits);
        WICRect rect = {0, 0, (INT)width, (INT)height};
        if (hbm && FAILED(converter->CopyPixels(&rect, width * 4, width * 4 * height, (BYTE *)bits))) {
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

ULONGLONG BigEndian32(const BYTE *bytes)
{
    return ((ULONGLONG)bytes[0] << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3];
}

// Whether a PNG file's head lets it be decoded: its chunks before the image data all end inside the file, and its
// header chunk's size fits the phone's bitmap. The imaging component reads each of those chunks whole into a
// buffer of the length the chunk claims, so one that claims gigabytes cannot decode yet costs about a second and
// that much memory to fail, at every load of a face; and it decodes a whole picture before it tells its size.
// Files that are no PNG, and heads too long to walk, are left to the decoder.
bool PngHeadAllowsDecoding(LPCWSTR pszFileName, ULONGLONG fileSize)
{
    HANDLE file = CreateFileW(pszFileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return true;
    bool allows = true;
    BYTE head[8];
    if (ReadAt(file, 0, head, sizeof head) && memcmp(head, kPngSignature, sizeof head) == 0) {
        ULONGLONG at = sizeof kPngSignature;
        for (int i = 0; i < kMaxPngHeadChunks && ReadAt(file, at, head, sizeof head); i++) {
            if (memcmp(head + 4, "IDAT", 4) == 0 || memcmp(head + 4, "IEND", 4) == 0)
                break;
            // Length, type, data and checksum; the header's data begins with the width and the height.
            ULONGLONG length = BigEndian32(head);
            BYTE size[8];
            if (at + 12 + length > fileSize ||
                (memcmp(head + 4, "IHDR", 4) == 0 && length >= sizeof size && ReadAt(file, at + 8, size, sizeof size) &&
                 !BitmapFitsProcess(BigEndian32(size), BigEndian32(size + 4)))) {
                allows = false;
                break;
            }
            at += 12 + length;
        }
    }
    CloseHandle(file);
    return allows;
}

// Decodes a picture file through WIC; null when it is not a picture.
HBITMAP DecodePicture(LPCWSTR pszFileName, ULONGLONG fileSize)
{
    if (!PngHeadAllowsDecoding(pszFileName, fileSize))
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

// Decodes a picture file into a 32-bit DIB section; null when it is missing, not a picture, or too large for the
// phone to hold.
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
