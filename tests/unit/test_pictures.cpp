// Test pictures through WIC's PNG encoder.
#include <wincodec.h>

#include <vector>

#include "phone_drive.h"
#include "test_pictures.h"

bool WriteTestPng(const wchar_t *phonePath, UINT width, UINT height, COLORREF color, COLORREF cornerColor)
{
    WritePhoneFile(phonePath, ""); // creates the folders
    std::vector<BYTE> pixels(width * height * 3);
    for (UINT i = 0; i < width * height; i++) {
        COLORREF c = i == 0 ? cornerColor : color;
        pixels[i * 3] = GetBValue(c);
        pixels[i * 3 + 1] = GetGValue(c);
        pixels[i * 3 + 2] = GetRValue(c);
    }
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    IWICImagingFactory *factory = NULL;
    IWICStream *stream = NULL;
    IWICBitmapEncoder *encoder = NULL;
    IWICBitmapFrameEncode *frame = NULL;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    bool ok = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, NULL, CLSCTX_INPROC_SERVER,
                                         IID_IWICImagingFactory, (void **)&factory)) &&
              SUCCEEDED(factory->CreateStream(&stream)) &&
              SUCCEEDED(stream->InitializeFromFilename(PhonePath(phonePath).c_str(), GENERIC_WRITE)) &&
              SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, NULL, &encoder)) &&
              SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
              SUCCEEDED(encoder->CreateNewFrame(&frame, NULL)) && SUCCEEDED(frame->Initialize(NULL)) &&
              SUCCEEDED(frame->SetSize(width, height)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
              IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) &&
              SUCCEEDED(frame->WritePixels(height, width * 3, (UINT)pixels.size(), pixels.data())) &&
              SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    if (frame)
        frame->Release();
    if (encoder)
        encoder->Release();
    if (stream)
        stream->Release();
    if (factory)
        factory->Release();
    return ok;
}
