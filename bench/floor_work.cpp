// The work floor of a start: the least a skinned seven-button menu must do before it is ready. The same window
// and nine buttons as the bare floor, the wallpaper as the window's background, and Button.png, seven state
// pictures, Exit.png and Settings.png decoded once each and blitted with the same captions. Runs until it is
// ended from outside.
//   floor_work [wic | wicpng]     the decoder: WIC by file name (default) or WIC's PNG decoder made directly
//   floor_work_gdiplus            the same with GDI+ (a program of its own: linking GDI+ costs every start)
#include <windows.h>
#include <wincodec.h>
#ifdef FLOOR_GDIPLUS
#include <gdiplus.h>
#include <objidl.h>
#include <propidl.h>
#endif

#include "floor_window.h"

namespace
{

const wchar_t kSkin[] = L"\\Program Files\\Orsweld\\Tolvane\\Skins\\Default\\";

// The bench's seven slots (bench/run_bench.py) with the pictures of their start state: every radio off.
struct FloorSlot {
    const wchar_t *picture;
    const wchar_t *caption;
};
const FloorSlot kSlots[7] = {{L"Bluetooth_off.png", L"Bluetooth"},
                             {L"Wifi_off.png", L"WiFi"},
                             {L"Phone_off.png", L"Phone"},
                             {L"Flight_off.png", L"Flight mode"},
                             {L"Manila.png", L"Restart Manila"},
                             {L"Vibro_off.png", L"Vibro"},
                             {L"Gprs_off.png", L"GPRS"}};

enum Decoder { DECODER_WIC, DECODER_WIC_PNG, DECODER_GDIPLUS };
Decoder s_decoder = DECODER_WIC;
IWICImagingFactory *s_factory;

FloorButtons s_buttons;
HBITMAP s_background, s_exitFace, s_settingsFace, s_pictures[7];
HFONT s_font;

HBITMAP NewDib(UINT width, UINT height, void **bits)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), (LONG)width, -(LONG)height, 1, 32, BI_RGB};
    return CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, bits, NULL, 0);
}

HBITMAP DibFromSource(IWICBitmapSource *source)
{
    IWICFormatConverter *converter = NULL;
    UINT width = 0, height = 0;
    HBITMAP hbm = NULL;
    if (SUCCEEDED(s_factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(source, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, NULL, 0.0,
                                        WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->GetSize(&width, &height))) {
        void *bits = NULL;
        hbm = NewDib(width, height, &bits);
        if (hbm)
            converter->CopyPixels(NULL, width * 4, width * height * 4, (BYTE *)bits);
    }
    if (converter)
        converter->Release();
    return hbm;
}

// The first frame of a decoder as a DIB section; the decoder is released.
HBITMAP DibFromDecoder(IWICBitmapDecoder *decoder)
{
    IWICBitmapFrameDecode *frame = NULL;
    HBITMAP hbm = NULL;
    if (SUCCEEDED(decoder->GetFrame(0, &frame))) {
        hbm = DibFromSource(frame);
        frame->Release();
    }
    decoder->Release();
    return hbm;
}

HBITMAP DecodeWithWic(const wchar_t *path)
{
    IWICBitmapDecoder *decoder = NULL;
    if (FAILED(
            s_factory->CreateDecoderFromFilename(path, NULL, GENERIC_READ, WICDecodeMetadataCacheOnDemand, &decoder)))
        return NULL;
    return DibFromDecoder(decoder);
}

// WIC's PNG decoder made by its class id: no search through the installed decoders for one that takes the file.
HBITMAP DecodeWithWicPng(const wchar_t *path)
{
    IWICStream *stream = NULL;
    IWICBitmapDecoder *decoder = NULL;
    HBITMAP hbm = NULL;
    if (SUCCEEDED(s_factory->CreateStream(&stream)) && SUCCEEDED(stream->InitializeFromFilename(path, GENERIC_READ)) &&
        SUCCEEDED(CoCreateInstance(CLSID_WICPngDecoder, NULL, CLSCTX_INPROC_SERVER, IID_IWICBitmapDecoder,
                                   (void **)&decoder))) {
        if (SUCCEEDED(decoder->Initialize(stream, WICDecodeMetadataCacheOnDemand)))
            hbm = DibFromDecoder(decoder);
        else
            decoder->Release();
    }
    if (stream)
        stream->Release();
    return hbm;
}

HBITMAP DecodeWithGdiplus(const wchar_t *path)
{
    HBITMAP hbm = NULL;
#ifdef FLOOR_GDIPLUS
    Gdiplus::GpBitmap *bitmap = NULL;
    if (Gdiplus::DllExports::GdipCreateBitmapFromFile(path, &bitmap) == Gdiplus::Ok) {
        Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap(bitmap, &hbm, 0);
        Gdiplus::DllExports::GdipDisposeImage(bitmap);
    }
#endif
    return hbm;
}

HBITMAP Decode(const wchar_t *name)
{
    wchar_t path[MAX_PATH];
    lstrcpyW(path, kSkin);
    lstrcatW(path, name);
    switch (s_decoder) {
    case DECODER_WIC_PNG:
        return DecodeWithWicPng(path);
    case DECODER_GDIPLUS:
        return DecodeWithGdiplus(path);
    default:
        return DecodeWithWic(path);
    }
}

void StartDecoder()
{
#ifdef FLOOR_GDIPLUS
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token;
    Gdiplus::GdiplusStartup(&token, &input, NULL);
    return;
#endif
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    CoCreateInstance(CLSID_WICImagingFactory, NULL, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory, (void **)&s_factory);
}

void BlitFace(HWND button, HBITMAP face)
{
    PAINTSTRUCT ps;
    InvalidateRect(button, NULL, FALSE);
    HDC hdc = BeginPaint(button, &ps);
    HDC memory = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(memory, face);
    BitBlt(hdc, 0, 0, 40, 40, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    EndPaint(button, &ps);
}

void PaintSlot(int slot)
{
    PAINTSTRUCT ps;
    InvalidateRect(s_buttons.slots[slot], NULL, FALSE);
    HDC hdc = BeginPaint(s_buttons.slots[slot], &ps);
    HDC memory = CreateCompatibleDC(hdc);
    // The background goes straight to the button and the state picture over it: one copy serves all seven faces.
    HGDIOBJ old = SelectObject(memory, s_background);
    BitBlt(hdc, 0, 0, 350, 100, memory, 0, 0, SRCCOPY);
    SelectObject(memory, s_pictures[slot]);
    TransparentBlt(hdc, 0, 0, 100, 100, memory, 0, 0, 100, 100, GetPixel(memory, 0, 0));
    SelectObject(memory, old);
    DeleteDC(memory);
    SetTextColor(hdc, RGB(16, 44, 84));
    SetBkMode(hdc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(hdc, s_font);
    RECT measured = {100, 0, 350, 100};
    DrawTextW(hdc, kSlots[slot].caption, -1, &measured, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
    RECT rc = {100, (100 - measured.bottom - measured.top) / 2, 350, 100};
    DrawTextW(hdc, kSlots[slot].caption, -1, &rc, DT_CENTER | DT_WORDBREAK);
    SelectObject(hdc, oldFont);
    EndPaint(s_buttons.slots[slot], &ps);
}

void OnPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    BlitFace(s_buttons.exit, s_exitFace);
    BlitFace(s_buttons.settings, s_settingsFace);
    for (int slot = 0; slot < 7; slot++)
        PaintSlot(slot);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK FloorWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        OnPaint(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR cmdLine, int nCmdShow)
{
#ifdef FLOOR_GDIPLUS
    s_decoder = DECODER_GDIPLUS;
#endif
    if (wcsstr(cmdLine, L"wicpng"))
        s_decoder = DECODER_WIC_PNG;
    StartDecoder();
    HBITMAP wallpaper = Decode(L"Wallpaper.png");
    s_background = Decode(L"Button.png");
    s_exitFace = Decode(L"Exit.png");
    s_settingsFace = Decode(L"Settings.png");
    for (int slot = 0; slot < 7; slot++)
        s_pictures[slot] = Decode(kSlots[slot].picture);
    LOGFONTW lf = {};
    lf.lfHeight = -21;
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = RUSSIAN_CHARSET;
    lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
    s_font = CreateFontIndirectW(&lf);

    HBRUSH background = wallpaper ? CreatePatternBrush(wallpaper) : (HBRUSH)GetStockObject(BLACK_BRUSH);
    DeleteObject(wallpaper);
    HWND hwnd = CreateFloorWindow(hInstance, L"FloorWork", FloorWindowProc, background, WS_CLIPCHILDREN, &s_buttons);
    return RunFloorWindow(hwnd, nCmdShow);
}
