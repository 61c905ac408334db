// The shell library's full-screen switch and picture loader, standing in for the phone's aygshell.
// Pictures are decoded with the Windows Imaging Component; the task bar is the emulated phone's "HHTaskBar".
#include <aygshell.h>
#include <wincodec.h>

#include "phone_link.h"

namespace {

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
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = (LONG)cx;
        bmi.bmiHeader.biHeight = -(LONG)cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        void *bits = NULL;
        hbm = CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, &bits, NULL, 0);
        WICRect rect = {0, 0, (INT)cx, (INT)cy};
        if (hbm && FAILED(converter->CopyPixels(&rect, cx * 4, cx * 4 * cy, (BYTE *)bits))) {
            DeleteObject(hbm);
            hbm = NULL;
        }
    }
    converter->Release();
    return hbm;
}

} // namespace

// Hides or shows the emulated task bar; the input-panel button and the Start icon have no stand-in.
BOOL WINAPI SHFullScreen(HWND hwndRequester, DWORD dwState)
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
// The caller deletes the bitmap.
HBITMAP WINAPI SHLoadImageFile(LPCWSTR pszFileName)
{
    if (!pszFileName || !*pszFileName)
        return NULL;
    DWORD attributes = GetFileAttributesW(pszFileName);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
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
