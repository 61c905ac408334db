// Checks a skin folder as the menu will use it: the pictures through the program's own loader, Skin.ini through
// the program's own ini document. One line per problem, "File: what is wrong"; warnings say "warning:" and name
// what the program still draws sensibly. Exit status 1 when any problem is not a warning.
//
//   skin_check.exe FOLDER
#include <windows.h>
#include <aygshell.h>
#include <fcntl.h>
#include <io.h>
#include <math.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <wincodec.h>

#include <string>
#include <vector>

#include "config/action_codes.h"
#include "config/ini_document.h"
#include "menu/menu_buttons.h"
#include "menu/menu_paint.h"
#include "menu/menu_state.h"

namespace
{

const COLORREF kKeyColour = RGB(255, 0, 255);
const int kScreenWidth = 480;
const int kScreenHeight = 800;
// A state picture's caption part of Button.png: the part right of the picture, inside the button's rim.
const RECT kCaptionArea = {kStatePictureSize + 8, 10, kSlotWidth - 6, kSlotHeight - 10};
// Below this mean difference (of 255 per channel) an _on and its _off picture are hard to tell apart.
const double kLeastOnOffDifference = 0.04;
// WCAG's least contrast for normal text.
const double kLeastContrast = 4.5;

int g_errors = 0;

void Report(const wchar_t *file, bool error, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    printf("%ls: %s", file, error ? "" : "warning: ");
    vprintf(format, args);
    printf("\n");
    va_end(args);
    if (error)
        g_errors++;
}

// A decoded picture's pixels, top-down, as COLORREF values.
struct Picture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[(size_t)y * width + x]; }
};

// Loads a picture with the program's loader; false when the program would get no bitmap.
bool LoadPicture(const std::wstring &path, Picture *picture)
{
    HBITMAP bitmap = SHLoadImageFile(path.c_str());
    if (!bitmap)
        return false;
    BITMAP bm = {};
    GetObjectW(bitmap, sizeof bm, &bm);
    picture->width = bm.bmWidth;
    picture->height = bm.bmHeight;
    picture->pixels.resize((size_t)bm.bmWidth * bm.bmHeight);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = bm.bmWidth;
    bmi.bmiHeader.biHeight = -bm.bmHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    HDC hdc = GetDC(NULL);
    int rows = GetDIBits(hdc, bitmap, 0, bm.bmHeight, picture->pixels.data(), &bmi, DIB_RGB_COLORS);
    ReleaseDC(NULL, hdc);
    DeleteObject(bitmap);
    // GetDIBits gives blue, green, red: turn each into a COLORREF.
    for (COLORREF &pixel : picture->pixels)
        pixel = RGB(GetBValue(pixel), GetGValue(pixel), GetRValue(pixel));
    return rows == bm.bmHeight;
}

// Counts the pixels that the file marks as not fully opaque: the phone draws them opaque, in whatever colour
// they hold.
int CountTranslucentPixels(const std::wstring &path)
{
    IWICImagingFactory *factory = NULL;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, NULL, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                (void **)&factory)))
        return 0;
    int count = 0;
    IWICBitmapDecoder *decoder = NULL;
    IWICBitmapFrameDecode *frame = NULL;
    IWICFormatConverter *converter = NULL;
    UINT width = 0, height = 0;
    if (SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), NULL, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                     &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
        SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, NULL, 0.0,
                                        WICBitmapPaletteTypeCustom))) {
        std::vector<BYTE> bits((size_t)width * height * 4);
        if (SUCCEEDED(converter->CopyPixels(NULL, width * 4, (UINT)bits.size(), bits.data())))
            for (size_t i = 3; i < bits.size(); i += 4)
                count += bits[i] != 255;
    }
    if (converter)
        converter->Release();
    if (frame)
        frame->Release();
    if (decoder)
        decoder->Release();
    factory->Release();
    return count;
}

// The place where each picture is drawn.
enum PictureKind { WALLPAPER, BUTTON_FACE, CORNER_FACE, STATE_PICTURE };

struct PictureRule {
    std::wstring name;
    PictureKind kind;
    int width, height;
};

std::vector<PictureRule> SkinPictures()
{
    std::vector<PictureRule> rules = {
        {L"Wallpaper.png", WALLPAPER, kScreenWidth, kScreenHeight},
        {L"Button.png", BUTTON_FACE, kSlotWidth, kSlotHeight},
        {L"Exit.png", CORNER_FACE, kCornerButtonSize, kCornerButtonSize},
        {L"Settings.png", CORNER_FACE, kCornerButtonSize, kCornerButtonSize},
    };
    for (const ActionInfo &action : g_actions)
        for (const wchar_t *name : {action.pictureOn, action.pictureOff})
            if (name)
                rules.push_back({name, STATE_PICTURE, kStatePictureSize, kStatePictureSize});
    return rules;
}

void CheckSize(const PictureRule &rule, const Picture &picture)
{
    const wchar_t *file = rule.name.c_str();
    if (picture.width == rule.width && picture.height == rule.height)
        return;
    bool larger = picture.width > rule.width || picture.height > rule.height;
    switch (rule.kind) {
    case WALLPAPER:
        Report(file, false, "is %d x %d, not %d x %d: it is %s", picture.width, picture.height, rule.width, rule.height,
               larger ? "cut to the screen" : "repeated across the screen");
        break;
    case STATE_PICTURE:
        if (larger)
            Report(file, true, "is %d x %d: only its top-left %d x %d is drawn", picture.width, picture.height,
                   rule.width, rule.height);
        else
            Report(file, false, "is %d x %d, smaller than %d x %d: Button.png shows beside it", picture.width,
                   picture.height, rule.width, rule.height);
        break;
    default:
        Report(file, true, "is %d x %d, not %d x %d: %s", picture.width, picture.height, rule.width, rule.height,
               larger ? "only its top-left part is drawn" : "part of the button is left unpainted");
        break;
    }
}

// The key colour and the fringe around it: a pixel next to the key whose colour is a blend with it shows as a
// magenta rim around the drawn part.
void CheckKeyColour(const PictureRule &rule, const Picture &picture)
{
    const wchar_t *file = rule.name.c_str();
    COLORREF corner = picture.At(0, 0);
    if (corner != kKeyColour) {
        Report(file, true, "pixel (0, 0) is %d,%d,%d, not the key colour 255,0,255: that colour is made transparent",
               GetRValue(corner), GetGValue(corner), GetBValue(corner));
        return;
    }
    int fringe = 0, firstX = 0, firstY = 0;
    for (int y = 0; y < picture.height; y++)
        for (int x = 0; x < picture.width; x++) {
            COLORREF c = picture.At(x, y);
            int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
            if (c == kKeyColour || (r < b ? r : b) - g < 64)
                continue;
            bool touchesKey = false;
            for (int dy = -1; dy <= 1 && !touchesKey; dy++)
                for (int dx = -1; dx <= 1 && !touchesKey; dx++) {
                    int nx = x + dx, ny = y + dy;
                    touchesKey = nx >= 0 && ny >= 0 && nx < picture.width && ny < picture.height &&
                                 picture.At(nx, ny) == kKeyColour;
                }
            if (touchesKey && fringe++ == 0) {
                firstX = x;
                firstY = y;
            }
        }
    if (fringe)
        Report(file, true, "%d near-key pixels beside the key colour (first at %d, %d): they show as a magenta fringe",
               fringe, firstX, firstY);
}

void CheckOnOffPair(const std::wstring &on, const std::wstring &off, const Picture &a, const Picture &b)
{
    if (a.width != b.width || a.height != b.height)
        return;
    double sum = 0;
    for (size_t i = 0; i < a.pixels.size(); i++) {
        COLORREF p = a.pixels[i], q = b.pixels[i];
        sum += abs(GetRValue(p) - GetRValue(q)) + abs(GetGValue(p) - GetGValue(q)) + abs(GetBValue(p) - GetBValue(q));
    }
    double mean = sum / (3.0 * 255.0 * (a.pixels.empty() ? 1 : a.pixels.size()));
    if (mean == 0)
        Report(on.c_str(), true, "is the same picture as %ls: on and off look alike", off.c_str());
    else if (mean < kLeastOnOffDifference)
        Report(on.c_str(), false, "differs from %ls by %.1f%% only: on and off are hard to tell apart", off.c_str(),
               100 * mean);
}

// Whether a value is a whole number as written, so that _wtol reads what the author wrote.
bool IsWholeNumber(const wchar_t *text)
{
    const wchar_t *p = text[0] == L'-' ? text + 1 : text;
    if (!*p)
        return false;
    for (; *p; p++)
        if (*p < L'0' || *p > L'9')
            return false;
    return true;
}

bool FontExists(const wchar_t *face)
{
    LOGFONTW lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    HDC hdc = GetDC(NULL);
    EnumFontFamiliesExW(
        hdc, &lf,
        [](const LOGFONTW *, const TEXTMETRICW *, DWORD, LPARAM found) -> int {
            *(bool *)found = true;
            return 0;
        },
        (LPARAM)&found, 0);
    ReleaseDC(NULL, hdc);
    return found;
}

double Luminance(int r, int g, int b)
{
    auto linear = [](int c) {
        double v = c / 255.0;
        return v <= 0.03928 ? v / 12.92 : pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
}

// The caption colour against the mean colour of Button.png where captions are drawn.
void CheckContrast(COLORREF text, const Picture &button)
{
    if (button.width < kCaptionArea.right || button.height < kCaptionArea.bottom)
        return;
    double r = 0, g = 0, b = 0;
    int n = 0;
    for (int y = kCaptionArea.top; y < kCaptionArea.bottom; y++)
        for (int x = kCaptionArea.left; x < kCaptionArea.right; x++, n++) {
            r += GetRValue(button.At(x, y));
            g += GetGValue(button.At(x, y));
            b += GetBValue(button.At(x, y));
        }
    double a = Luminance(GetRValue(text), GetGValue(text), GetBValue(text));
    double c = Luminance((int)(r / n), (int)(g / n), (int)(b / n));
    double contrast = ((a > c ? a : c) + 0.05) / ((a > c ? c : a) + 0.05);
    if (contrast < kLeastContrast)
        Report(L"Skin.ini", false, "the caption colour has a contrast of %.1f to Button.png (less than %.1f)", contrast,
               kLeastContrast);
}

// Whether the folder's own listing holds a file of exactly this name, as the skin list asks for Skin.ini.
bool HoldsExactly(const std::wstring &folder, const wchar_t *name)
{
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool found = false;
    do
        found = wcscmp(entry.cFileName, name) == 0;
    while (!found && FindNextFileW(search, &entry));
    FindClose(search);
    return found;
}

// Skin.ini in the shape the menu reads it: section "Settings", the caption keys, numbers that _wtol reads as
// written. Returns the caption colour, or -1 when the skin gives none.
long CheckSkinIni(const std::wstring &folder)
{
    const wchar_t *file = L"Skin.ini";
    std::wstring path = folder + file;
    if (!HoldsExactly(folder, file)) {
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            Report(file, true, "missing: the folder is no skin");
        else
            Report(file, true, "not named exactly Skin.ini: the General page does not list the skin");
    }
    IniDocument ini;
    if (ini.LoadFile(path.c_str()) != SI_OK) {
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            Report(file, true, "cannot be read");
        return -1;
    }
    const wchar_t *section = L"Settings";
    if (!ini.GetSection(section)) {
        Report(file, true, "no [Settings] section: captions are drawn in the default font, in black");
        return -1;
    }
    const wchar_t *face = ini.GetValue(section, L"FontName", NULL);
    if (!face || !*face)
        Report(file, false, "no FontName: captions use the platform's default face");
    else if (wcslen(face) >= kFaceNameCapacity)
        Report(file, true, "FontName is longer than %d characters", kFaceNameCapacity - 1);
    else if (!FontExists(face))
        Report(file, false, "FontName %ls is no font of the phone: captions use another face", face);

    struct NumberKey {
        const wchar_t *key;
        bool needed;
        int least, most;
    };
    const NumberKey numbers[] = {
        {L"FontSize", true, 1, 72}, {L"Red", true, 0, 255}, {L"Green", true, 0, 255},
        {L"Blue", true, 0, 255},    {L"Bold", false, 0, 1}, {L"Italic", false, 0, 1},
    };
    int value[6] = {};
    for (size_t i = 0; i < ARRAYSIZE(numbers); i++) {
        const NumberKey &n = numbers[i];
        const wchar_t *text = ini.GetValue(section, n.key, NULL);
        if (!text) {
            if (n.needed)
                Report(file, false, "no %ls: it reads as 0", n.key);
            continue;
        }
        if (!IsWholeNumber(text)) {
            Report(file, true, "%ls = %ls is no whole number: it reads as %ld", n.key, text, _wtol(text));
            continue;
        }
        value[i] = _wtol(text);
        if (value[i] < n.least || value[i] > n.most)
            Report(file, true, "%ls = %d is outside %d to %d", n.key, value[i], n.least, n.most);
    }
    CSimpleIniW::TNamesDepend keys;
    ini.GetAllKeys(section, keys);
    for (const auto &key : keys) {
        bool known = wcscmp(key.pItem, L"FontName") == 0;
        for (const NumberKey &n : numbers)
            known = known || _wcsicmp(key.pItem, n.key) == 0;
        if (!known)
            Report(file, false, "%ls is no key the program reads", key.pItem);
    }
    return (long)RGB(value[1] & 0xFF, value[2] & 0xFF, value[3] & 0xFF);
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc != 2) {
        fprintf(stderr, "usage: skin_check FOLDER\n");
        return 2;
    }
    std::wstring folder = argv[1];
    if (folder.empty() || folder.back() != L'\\')
        folder += L'\\';
    DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        fprintf(stderr, "skin_check: %ls is no folder\n", argv[1]);
        return 2;
    }
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);

    long captionColour = CheckSkinIni(folder);
    std::vector<PictureRule> rules = SkinPictures();
    std::vector<Picture> pictures(rules.size());
    std::vector<bool> loaded(rules.size());
    for (size_t i = 0; i < rules.size(); i++) {
        const PictureRule &rule = rules[i];
        std::wstring path = folder + rule.name;
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            Report(rule.name.c_str(), true, "missing");
            continue;
        }
        loaded[i] = LoadPicture(path, &pictures[i]);
        if (!loaded[i]) {
            Report(rule.name.c_str(), true, "cannot be decoded by the phone's picture loader");
            continue;
        }
        CheckSize(rule, pictures[i]);
        if (int translucent = CountTranslucentPixels(path))
            Report(rule.name.c_str(), true, "%d pixels are not opaque: the phone ignores transparency%s", translucent,
                   rule.kind == STATE_PICTURE ? ", use the key colour" : "");
        if (rule.kind == STATE_PICTURE)
            CheckKeyColour(rule, pictures[i]);
        if (rule.kind == BUTTON_FACE && captionColour >= 0)
            CheckContrast((COLORREF)captionColour, pictures[i]);
    }
    for (const ActionInfo &action : g_actions) {
        if (!action.pictureOn || !action.pictureOff)
            continue;
        size_t on = 0, off = 0;
        for (size_t i = 0; i < rules.size(); i++) {
            on = rules[i].name == action.pictureOn ? i : on;
            off = rules[i].name == action.pictureOff ? i : off;
        }
        if (loaded[on] && loaded[off])
            CheckOnOffPair(rules[on].name, rules[off].name, pictures[on], pictures[off]);
    }
    return g_errors ? 1 : 0;
}
