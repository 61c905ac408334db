// In-process benchmarks of the menu program's code on the phone; each prints "name value floor unit" lines.
//   paint_bench paint RUNS     one full paint of the menu window vs. decoding its pictures once each and
//                              drawing them with the same blits and captions
//   paint_bench files N RUNS   opening the file picker on a folder of N files and N/10 folders (ms per entry)
//   paint_bench folders N RUNS opening the file picker on a folder of N subfolders (ms per entry)
//   paint_bench skins N        the skin list with N skins (ms per entry)
#include <windows.h>
#include <aygshell.h>
#include <commctrl.h>
#include <stdio.h>
#include <wince.h>
#include <wincodec.h>

#include <algorithm>
#include <string>
#include <vector>

#include "config/action_codes.h"
#include "config/bounded_text.h"
#include "config/settings_store.h"
#include "editor/editor_frame.h"
#include "editor/editor_state.h"
#include "editor/file_picker.h"
#include "editor/skin_tree.h"
#include "menu/menu_buttons.h"
#include "menu/menu_state.h"
#include "menu/menu_window.h"
#include "resources/resource_ids.h"

namespace
{

double Now()
{
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

HWND CreateMenu()
{
    LoadSettings();
    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MenuWindowProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = kMenuClassName;
    wc.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    RegisterClassW(&wc);
    g_menu.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    g_menu.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    HWND hwnd = CreateWindowExW(0, kMenuClassName, kMenuClassName, WS_VISIBLE, 0, 0, g_menu.screenWidth,
                                g_menu.screenHeight, NULL, NULL, wc.hInstance, NULL);
    g_menu.hInstance = wc.hInstance;
    UpdateWindow(hwnd);
    return hwnd;
}

std::wstring SkinPath(const wchar_t *name)
{
    return std::wstring(g_settings.skinFolder) + name;
}

// The floor's decoder: WIC straight into a DIB section, every time (the program's loads may be served from
// pictures decoded before; the floor must really decode).
HBITMAP DecodeOnce(const std::wstring &path)
{
    static IWICImagingFactory *factory = NULL;
    if (!factory)
        CoCreateInstance(CLSID_WICImagingFactory, NULL, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                         (void **)&factory);
    IWICBitmapDecoder *decoder = NULL;
    IWICBitmapFrameDecode *frame = NULL;
    IWICBitmapSource *converted = NULL;
    HBITMAP hbm = NULL;
    UINT width = 0, height = 0;
    if (factory &&
        SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), NULL, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                     &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, frame, &converted)) &&
        SUCCEEDED(converted->GetSize(&width, &height))) {
        BITMAPINFO bmi = {};
        bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), (LONG)width, -(LONG)height, 1, 32, BI_RGB};
        void *bits = NULL;
        hbm = CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, &bits, NULL, 0);
        if (hbm)
            converted->CopyPixels(NULL, width * 4, width * height * 4, (BYTE *)bits);
    }
    if (converted)
        converted->Release();
    if (frame)
        frame->Release();
    if (decoder)
        decoder->Release();
    return hbm;
}

// The floor of a paint: every distinct picture decoded once, the same blits and captions into the buttons.
void PaintFloor()
{
    HBITMAP exitFace = DecodeOnce(SkinPath(L"Exit.png").c_str());
    HBITMAP settingsFace = DecodeOnce(SkinPath(L"Settings.png").c_str());
    HBITMAP background = DecodeOnce(SkinPath(L"Button.png").c_str());
    HBITMAP pictures[kSlotCount] = {};
    for (int slot = 0; slot < kSlotCount; slot++) {
        const ActionInfo &info = g_actions[g_settings.slots[slot].actionCode];
        pictures[slot] = info.pictureOn ? DecodeOnce(SkinPath(info.pictureOn).c_str()) : NULL;
    }
    HWND faces[2] = {g_menu.exitButton, g_menu.settingsButton};
    HBITMAP faceBitmaps[2] = {exitFace, settingsFace};
    for (int i = 0; i < 2; i++) {
        HDC hdc = GetDC(faces[i]);
        HDC memory = CreateCompatibleDC(hdc);
        HGDIOBJ old = SelectObject(memory, faceBitmaps[i]);
        BitBlt(hdc, 0, 0, 40, 40, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        ReleaseDC(faces[i], hdc);
    }
    LOGFONTW lf = {};
    lf.lfHeight = -21;
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = RUSSIAN_CHARSET;
    lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&lf);
    for (int slot = 0; slot < kSlotCount; slot++) {
        HWND button = g_menu.slots[slot].button;
        if (!button)
            continue;
        HDC hdc = GetDC(button);
        HDC a = CreateCompatibleDC(hdc), b = CreateCompatibleDC(a);
        HGDIOBJ oldA = SelectObject(a, background), oldB = SelectObject(b, pictures[slot]);
        TransparentImage(a, 0, 0, 100, 100, b, 0, 0, 100, 100, GetPixel(b, 0, 0));
        BitBlt(hdc, 0, 0, 350, 100, a, 0, 0, SRCCOPY);
        SetBkMode(hdc, TRANSPARENT);
        HGDIOBJ oldFont = SelectObject(hdc, font);
        RECT rc = {100, 0, 350, 100};
        DrawTextW(hdc, g_settings.slots[slot].text, -1, &rc, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
        RECT draw = {100, (100 - rc.bottom - rc.top) / 2, 350, 100};
        DrawTextW(hdc, g_settings.slots[slot].text, -1, &draw, DT_CENTER | DT_WORDBREAK);
        SelectObject(hdc, oldFont);
        SelectObject(b, oldB);
        SelectObject(a, oldA);
        DeleteDC(b);
        DeleteDC(a);
        ReleaseDC(button, hdc);
    }
    DeleteObject(font);
    for (HBITMAP picture : pictures)
        if (picture)
            DeleteObject(picture);
    DeleteObject(background);
    DeleteObject(settingsFace);
    DeleteObject(exitFace);
}

int BenchPaint(int runs)
{
    HWND hwnd = CreateMenu();
    std::vector<double> paint, floor;
    for (int run = 0; run < runs; run++) {
        InvalidateRect(hwnd, NULL, FALSE);
        double start = Now();
        UpdateWindow(hwnd);
        paint.push_back(Now() - start);
        start = Now();
        PaintFloor();
        floor.push_back(Now() - start);
    }
    printf("paint %.3f %.3f ms\n", Median(paint), Median(floor));
    DestroyWindow(hwnd);
    return 0;
}

void MakeFolder(const std::wstring &path)
{
    CreateDirectoryW(path.c_str(), NULL);
}

void MakeFile(const std::wstring &path, const char *bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written;
    WriteFile(file, bytes, (DWORD)strlen(bytes), &written, NULL);
    CloseHandle(file);
}

double s_pickerOpened;

void CALLBACK PickerShown(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(NULL, id);
    s_pickerOpened = Now();
    HWND hDlg = GetParent(g_editor.picker.folderTree);
    if (!hDlg || !IsWindow(hDlg))
        hDlg = GetWindow(g_editor.picker.folderTree, GW_OWNER);
    PostMessageW(hDlg, WM_COMMAND, IDM_CANCEL, 0);
}

// Opens the picker on a file of a bench folder that run_bench.py filled beforehand and prints ms per entry:
// \Bench\Files<N>\ holds N files and N/10 folders, and the picker lists its files; \Bench\Folders<N>\ holds N
// folders, and the picker opens on a file in the first of them, which expands the level of all N. The picker is opened
// RUNS times and the median taken: at large N one opening is long enough to stand for itself.
int BenchPicker(const wchar_t *kind, int n, int runs)
{
    bool folders = wcscmp(kind, L"folders") == 0;
    wchar_t folder[64];
    _snwprintf(folder, 64, L"\\Bench\\%ls%d\\", folders ? L"Folders" : L"Files", n);
    folder[63] = 0;
    std::vector<double> times;
    for (int run = 0; run < runs; run++) {
        CopyText(g_editor.handOver.pickerPath,
                 (std::wstring(folder) + (folders ? L"folder00000\\" : L"") + L"file000000.exe").c_str());
        CopyText(g_editor.handOver.pickerExtension, L"exe");
        SetTimer(NULL, 0, 0, PickerShown);
        double start = Now();
        OpenEditorDialog(NULL, FilePickerDialog);
        times.push_back(s_pickerOpened - start);
    }
    int entries = folders ? n : n + n / 10;
    printf("%ls%d %.5f 0 ms\n", kind, n, Median(times) / entries);
    return 0;
}

// The file list alone on a folder of N files: where the picker's time goes.
int BenchFileList(int n)
{
    wchar_t folder[64];
    _snwprintf(folder, 64, L"\\Bench\\Files%d\\", n);
    folder[63] = 0;
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 480, 800, NULL, NULL, NULL, NULL);
    HWND tree = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 480, 400, owner, NULL, NULL, NULL);
    CopyText(g_editor.handOver.pickerExtension, L"exe");
    double start = Now();
    FillFileList(tree, folder + 1, L"file000000.exe");
    printf("filelist%d %.5f 0 ms\n", n, (Now() - start) / n);
    DestroyWindow(owner);
    return 0;
}

int BenchSkins(int n)
{
    wchar_t name[64];
    for (int i = 0; i < n; i++) {
        _snwprintf(name, 64, L"%sBench%05d", kSkinsRoot, i);
        name[63] = 0;
        MakeFolder(name);
        MakeFile(std::wstring(name) + L"\\Skin.ini", "[Settings]\r\n");
    }
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 480, 800, NULL, NULL, NULL, NULL);
    std::vector<double> times;
    for (int run = 0; run < 3; run++) {
        HWND tree =
            CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 480, 400, owner, NULL, NULL, NULL);
        double start = Now();
        FillSkinTree(tree);
        times.push_back(Now() - start);
        DestroyWindow(tree);
    }
    for (int i = 0; i < n; i++) {
        _snwprintf(name, 64, L"%sBench%05d", kSkinsRoot, i);
        name[63] = 0;
        DeleteFileW((std::wstring(name) + L"\\Skin.ini").c_str());
        RemoveDirectoryW(name);
    }
    DestroyWindow(owner);
    printf("skins%d %.5f 0 ms\n", n, Median(times) / n);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    SetCurrentDirectoryW(L"P:\\");
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    if (argc == 3 && wcscmp(argv[1], L"paint") == 0)
        return BenchPaint(_wtoi(argv[2]));
    if (argc == 4 && (wcscmp(argv[1], L"files") == 0 || wcscmp(argv[1], L"folders") == 0))
        return BenchPicker(argv[1], _wtoi(argv[2]), _wtoi(argv[3]));
    if (argc == 3 && wcscmp(argv[1], L"filelist") == 0)
        return BenchFileList(_wtoi(argv[2]));
    if (argc == 3 && wcscmp(argv[1], L"skins") == 0) {
        LoadSettings();
        return BenchSkins(_wtoi(argv[2]));
    }
    fprintf(stderr, "paint_bench: paint RUNS | files N RUNS | folders N RUNS | filelist N | skins N\n");
    return 2;
}
