// Test pictures, written as PNG files like the phone's screenshots.
#include <windows.h>

#include <vector>

#include "phone_drive.h"
#include "png_file.h"
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
    return WritePngFile(PhonePath(phonePath).c_str(), width, height, 3, pixels.data());
}
