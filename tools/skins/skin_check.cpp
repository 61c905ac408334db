// Checks a skin folder as the menu will draw it: the pictures through the program's own loader, Skin.ini through
// the program's own skin document and caption style. One line per finding, "File: what the phone shows". An error
// is what the phone draws visibly wrong or not at all; a "warning:" is what it draws, but differently from what the
// author may expect; what the program never draws or reads gets no line. Exit status 1 when any error.
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

const int kScreenWidth = 480;
const int kScreenHeight = 800;
// A state picture's caption part of Button.png: the part right of the picture, inside the button's rim.
const RECT kCaptionArea = {kStatePictureSize + 8, 10, kSlotWidth - 6, kSlotHeight - 10};
// Below this mean difference (of 255 per channel) an _on and its _off picture are hard to tell apart.
const double kLeastOnOffDifference = 0.04;
// WCAG's least contrast for normal text.
const double kLeastContrast = 4.5;
// A pixel beside the key colour is a fringe when each of its channels is this close to the key's...
const int kNearKey = 48;
// ...or when it is the colour inside it moved at least this share of the way toward the key, by at least this
// distance, and off that way by no more than the tolerance (a share of the way, plus rounding).
const double kLeastBlendShare = 0.25;
const double kLeastBlendShift = 40;
const double kBlendTolerance = 0.08;
const double kBlendRounding = 6;

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

// What the phone shows, by kind, where a picture cannot be loaded.
const char *const kWithoutPicture[] = {
    "the menu's background is plain black",
    "every menu button shows a plain face in the system's button colour",
    "the button is a blank push button",
    "its menu button shows Button.png with no picture at the left",
};

struct PictureRule {
    std::wstring name;
    PictureKind kind;
    int width, height; // the part that is drawn, from the top-left corner
};

// The pictures the program draws. The state pictures are those of the actions that get a menu button: a 3G slot
// gets none, so its pictures are never drawn.
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
            if (action.hasButton && name)
                rules.push_back({name, STATE_PICTURE, kStatePictureSize, kStatePictureSize});
    return rules;
}

// Every picture is copied unscaled from its top-left corner: a larger one is cropped, a smaller one leaves the
// rest of its place to what lies below (the repeated wallpaper, Button.png beside a state picture, nothing on a
// button).
void CheckSize(const PictureRule &rule, const Picture &picture)
{
    const wchar_t *file = rule.name.c_str();
    int width = picture.width, height = picture.height;
    if (width == rule.width && height == rule.height)
        return;
    bool smaller = width < rule.width || height < rule.height;
    bool larger = width > rule.width || height > rule.height;
    int drawnWidth = width < rule.width ? width : rule.width;
    int drawnHeight = height < rule.height ? height : rule.height;
    switch (rule.kind) {
    case WALLPAPER:
        if (smaller)
            Report(file, false, "is %d × %d: repeated across the %d × %d screen", width, height, rule.width,
                   rule.height);
        else
            Report(file, false, "is %d × %d: drawn cropped to its top-left %d × %d", width, height, rule.width,
                   rule.height);
        break;
    case STATE_PICTURE:
        if (!smaller)
            Report(file, false, "is %d × %d: drawn cropped to its top-left %d × %d", width, height, drawnWidth,
                   drawnHeight);
        else
            Report(file, false, "is %d × %d: drawn %s %d × %d, with Button.png showing in the rest of the %d × %d",
                   width, height, larger ? "cropped to its top-left" : "whole at", drawnWidth, drawnHeight, rule.width,
                   rule.height);
        break;
    default:
        if (smaller)
            Report(file, true, "is %d × %d, smaller than the %d × %d it covers: the rest of the button is not painted",
                   width, height, rule.width, rule.height);
        else
            Report(file, false, "is %d × %d: drawn cropped to its top-left %d × %d", width, height, rule.width,
                   rule.height);
        break;
    }
}

double Distance2(double r, double g, double b)
{
    return r * r + g * g + b * b;
}

// Whether a non-key pixel beside the key colour shows as a rim: it is nearly the key colour, or it is the colour
// inside it blended visibly toward the key, as an edge drawn smooth against the key colour is.
bool IsFringe(COLORREF pixel, COLORREF inside, COLORREF key)
{
    int r = GetRValue(pixel), g = GetGValue(pixel), b = GetBValue(pixel);
    if (abs(r - GetRValue(key)) <= kNearKey && abs(g - GetGValue(key)) <= kNearKey &&
        abs(b - GetBValue(key)) <= kNearKey)
        return true;
    // The way from the inside colour to the key, and where the pixel stands on it.
    double wayR = GetRValue(key) - GetRValue(inside), wayG = GetGValue(key) - GetGValue(inside),
           wayB = GetBValue(key) - GetBValue(inside);
    double way2 = Distance2(wayR, wayG, wayB);
    if (way2 == 0)
        return false;
    double fromR = r - GetRValue(inside), fromG = g - GetGValue(inside), fromB = b - GetBValue(inside);
    double share = (fromR * wayR + fromG * wayG + fromB * wayB) / way2;
    double off2 = Distance2(fromR - share * wayR, fromG - share * wayG, fromB - share * wayB);
    return share >= kLeastBlendShare && share * share * way2 >= kLeastBlendShift * kLeastBlendShift &&
           off2 <= kBlendTolerance * kBlendTolerance * way2 + kBlendRounding * kBlendRounding;
}

// The program makes the colour of a state picture's own pixel (0, 0) transparent in the drawn part. A pixel beside
// it that is nearly that colour, or blends into it, is drawn as it is and shows as a rim around the picture.
void CheckKeyFringe(const PictureRule &rule, const Picture &picture)
{
    COLORREF key = picture.At(0, 0);
    int width = picture.width < rule.width ? picture.width : rule.width;
    int height = picture.height < rule.height ? picture.height : rule.height;
    auto fromKey = [key](COLORREF c) {
        return Distance2(GetRValue(c) - GetRValue(key), GetGValue(c) - GetGValue(key), GetBValue(c) - GetBValue(key));
    };
    int fringe = 0, firstX = 0, firstY = 0;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            COLORREF pixel = picture.At(x, y);
            if (pixel == key)
                continue;
            // The colour it would blend from: its neighbour farthest from the key, or itself.
            COLORREF inside = pixel;
            bool touchesKey = false;
            for (int ny = y - 1; ny <= y + 1; ny++)
                for (int nx = x - 1; nx <= x + 1; nx++) {
                    if (nx < 0 || ny < 0 || nx >= width || ny >= height)
                        continue;
                    COLORREF n = picture.At(nx, ny);
                    if (n == key)
                        touchesKey = true;
                    else if (fromKey(n) > fromKey(inside))
                        inside = n;
                }
            if (touchesKey && IsFringe(pixel, inside, key) && fringe++ == 0) {
                firstX = x;
                firstY = y;
            }
        }
    if (fringe)
        Report(rule.name.c_str(), true,
               "%d pixels beside the key colour %d,%d,%d of pixel (0, 0) are nearly it or blend into it (first at %d, "
               "%d): they are drawn as a rim along the transparent part",
               fringe, GetRValue(key), GetGValue(key), GetBValue(key), firstX, firstY);
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
        Report(on.c_str(), false, "is the same picture as %ls: the button looks the same on and off", off.c_str());
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

// Whether the phone has the face in the character set (DEFAULT_CHARSET: in any).
bool FaceHasCharset(HDC hdc, const wchar_t *face, BYTE charset)
{
    LOGFONTW lf = {};
    lf.lfCharSet = charset;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExW(
        hdc, &lf,
        [](const LOGFONTW *, const TEXTMETRICW *, DWORD, LPARAM found) -> int {
            *(bool *)found = true;
            return 0;
        },
        (LPARAM)&found, 0);
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
        Report(L"Skin.ini", false,
               "the caption colour has a contrast of %.1f to Button.png (less than %.1f): captions are hard to read",
               contrast, kLeastContrast);
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

const wchar_t kSkinIni[] = L"Skin.ini";
const wchar_t kSkinSection[] = L"Settings";
// The keys the menu's paint reads from the section.
const wchar_t *const kSkinKeys[] = {L"FontName", L"FontSize", L"Red", L"Green", L"Blue", L"Bold", L"Italic"};

// The value of a key as the program's document finds it, or null when the section lacks it.
const wchar_t *SkinValue(const wchar_t *key)
{
    return g_skinDoc.GetValue(kSkinSection, key, NULL);
}

// The caption face: the program's own font request, with its character set, as the phone's font mapper gets it.
void CheckFace(HDC hdc, const LOGFONTW &lf)
{
    const wchar_t *written = SkinValue(L"FontName");
    if (!written || !*written) {
        Report(kSkinIni, false, "no FontName: the caption is drawn in the phone's default face");
        return;
    }
    if (wcslen(written) >= kFaceNameCapacity)
        Report(kSkinIni, false, "FontName is longer than %d characters: the phone asks for the face %ls",
               kFaceNameCapacity - 1, lf.lfFaceName);
    if (FaceHasCharset(hdc, lf.lfFaceName, lf.lfCharSet))
        return;
    wchar_t drawn[LF_FACESIZE] = L"";
    HFONT font = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(hdc, font);
    GetTextFaceW(hdc, LF_FACESIZE, drawn);
    int drawnCharset = GetTextCharset(hdc);
    SelectObject(hdc, old);
    DeleteObject(font);
    char lacks[120], how[80] = "";
    if (FaceHasCharset(hdc, lf.lfFaceName, DEFAULT_CHARSET))
        snprintf(lacks, sizeof lacks, "has no characters of the caption's character set %d%s on the phone",
                 lf.lfCharSet, lf.lfCharSet == RUSSIAN_CHARSET ? " (Cyrillic)" : "");
    else
        snprintf(lacks, sizeof lacks, "is no face of the phone");
    // The font mapper keeps a symbol face by its name, in its own characters.
    if (_wcsicmp(drawn, lf.lfFaceName) == 0)
        snprintf(how, sizeof how, " in its own character set %d", drawnCharset);
    Report(kSkinIni, false, "FontName %ls %s: the caption is drawn in %ls%s", lf.lfFaceName, lacks, drawn, how);
}

// The phone's screen: a 480 x 800 Windows Mobile phone runs at 192 dots per inch ("High DPI Display").
const int kPhoneDotsPerInch = 192;

// FontSize in points: 0 gives the default height, a negative size is taken as the height of a whole line, and a
// line taller than the button is cut at its top and bottom.
void CheckFontSize(HDC hdc, const TextStyle &style, const LOGFONTW &lf)
{
    const wchar_t *written = SkinValue(L"FontSize");
    char reading[40] = "";
    if (written && !IsWholeNumber(written))
        snprintf(reading, sizeof reading, " reads as %d", style.fontSize);
    if (!written)
        Report(kSkinIni, false, "no FontSize: the caption is drawn in the default height");
    else if (style.fontSize == 0)
        Report(kSkinIni, false, "FontSize = %ls%s: the caption is drawn in the default height", written, reading);
    else if (style.fontSize < 0)
        Report(kSkinIni, false,
               "FontSize = %ls%s is negative: it is taken as the height of a whole line, a caption smaller than %d "
               "points",
               written, reading, -style.fontSize);
    else if (*reading)
        Report(kSkinIni, false, "FontSize = %ls%s: the caption is drawn in %d points", written, reading,
               style.fontSize);
    TEXTMETRICW tm = {};
    HFONT font = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(hdc, font);
    GetTextMetricsW(hdc, &tm);
    SelectObject(hdc, old);
    DeleteObject(font);
    if (tm.tmHeight > kSlotHeight)
        Report(kSkinIni, true,
               "FontSize = %ls: a line of the caption is %ld pixels high, more than the button's %d: its top and "
               "bottom are cut off",
               written, tm.tmHeight, kSlotHeight);
}

// The caption colour: each part is taken as its low 8 bits.
void CheckColour(const TextStyle &style)
{
    const wchar_t *keys[] = {L"Red", L"Green", L"Blue"};
    int taken[] = {GetRValue(style.color), GetGValue(style.color), GetBValue(style.color)};
    int read[] = {style.red, style.green, style.blue};
    for (int i = 0; i < 3; i++) {
        const wchar_t *written = SkinValue(keys[i]);
        if (!written)
            Report(kSkinIni, false, "no %ls: it reads as 0, the caption is drawn in %d,%d,%d", keys[i], taken[0],
                   taken[1], taken[2]);
        else if (!IsWholeNumber(written) || read[i] != taken[i])
            Report(kSkinIni, false, "%ls = %ls is taken as %d%s: the caption is drawn in %d,%d,%d", keys[i], written,
                   taken[i], IsWholeNumber(written) ? ", its low 8 bits" : "", taken[0], taken[1], taken[2]);
    }
}

// Bold and Italic: any number but 0 switches them on; a text that is no number reads as 0 or as its leading digits.
void CheckSwitches(const TextStyle &style)
{
    struct {
        const wchar_t *key;
        bool on;
        const char *what;
    } switches[] = {{L"Bold", style.bold, "bold"}, {L"Italic", style.italic, "italic"}};
    for (const auto &s : switches) {
        const wchar_t *written = SkinValue(s.key);
        if (written && !IsWholeNumber(written))
            Report(kSkinIni, false, "%ls = %ls is no whole number: the caption is %s%s", s.key, written,
                   s.on ? "" : "not ", s.what);
    }
}

// Keys of the section that the program does not read, found as its document finds keys (without regard to case).
void CheckUnreadKeys()
{
    CSimpleIniW::TNamesDepend keys;
    g_skinDoc.GetAllKeys(kSkinSection, keys);
    for (const auto &key : keys) {
        bool read = false;
        for (const wchar_t *name : kSkinKeys)
            read = read || SkinValue(name) == SkinValue(key.pItem);
        if (!read)
            Report(kSkinIni, false, "%ls is no key the program reads: it changes nothing", key.pItem);
    }
}

// Skin.ini as the menu reads it: the program's skin document and its caption style, so every value is what the
// paint makes of it. False when the phone gets no caption style from the file.
bool CheckSkinIni(const std::wstring &folder)
{
    std::wstring path = folder + kSkinIni;
    if (!HoldsExactly(folder, kSkinIni)) {
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            Report(kSkinIni, true, "missing: the folder is no skin, the General page does not list it");
        else
            Report(kSkinIni, true, "not named exactly Skin.ini: the General page does not list the skin");
    }
    if (g_skinDoc.LoadFile(path.c_str()) != SI_OK) {
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            Report(kSkinIni, true, "cannot be read: captions are drawn in the default font, in black");
        return false;
    }
    if (!g_skinDoc.GetSection(kSkinSection)) {
        Report(kSkinIni, true, "no [Settings] section: captions are drawn in the default font, in black");
        return false;
    }
    ReadTextStyle();
    const TextStyle &style = g_menu.textStyle;
    HDC hdc = GetDC(NULL);
    LOGFONTW lf;
    FillCaptionFont(&lf, style, kPhoneDotsPerInch); // the phone's, whatever the screen this check runs on
    CheckFace(hdc, lf);
    CheckFontSize(hdc, style, lf);
    ReleaseDC(NULL, hdc);
    CheckColour(style);
    CheckSwitches(style);
    CheckUnreadKeys();
    return true;
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

    bool captionStyled = CheckSkinIni(folder);
    std::vector<PictureRule> rules = SkinPictures();
    std::vector<Picture> pictures(rules.size());
    std::vector<bool> loaded(rules.size());
    for (size_t i = 0; i < rules.size(); i++) {
        const PictureRule &rule = rules[i];
        const wchar_t *file = rule.name.c_str();
        std::wstring path = folder + rule.name;
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            Report(file, true, "missing: %s", kWithoutPicture[rule.kind]);
            continue;
        }
        loaded[i] = LoadPicture(path, &pictures[i]);
        if (!loaded[i]) {
            Report(file, true, "cannot be decoded by the phone's picture loader: %s", kWithoutPicture[rule.kind]);
            continue;
        }
        CheckSize(rule, pictures[i]);
        if (int translucent = CountTranslucentPixels(path))
            Report(file, true, "%d pixels are not opaque: the phone draws them opaque, in the colour each holds%s",
                   translucent, rule.kind == STATE_PICTURE ? " (make them the key colour of pixel (0, 0))" : "");
        if (rule.kind == STATE_PICTURE)
            CheckKeyFringe(rule, pictures[i]);
        if (rule.kind == BUTTON_FACE && captionStyled)
            CheckContrast(g_menu.textStyle.color, pictures[i]);
    }
    for (const ActionInfo &action : g_actions) {
        if (!action.hasButton || !action.pictureOn || !action.pictureOff)
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
