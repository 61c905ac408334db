// The shell library's full-screen dialogs and soft-key bars, standing in for the phone's aygshell.
// A dialog fills the screen between the task bar and the soft-key bar; its ok sits at the top right.
#include <aygshell.h>
#include <commctrl.h>

#include "phone_link.h"

namespace
{

// The phone shows a dialog's ok in the task bar's right end and its menu bar as a strip along the bottom.
const wchar_t kDoneButtonClass[] = L"PhoneDoneButton";
const wchar_t kMenuBarClass[] = L"menu_worker";
const int kDoneButtonWidth = 80;

// The large, bold face of the phone's shell, shared by the ok and the soft keys for the life of the process.
HFONT ShellFont()
{
    static HFONT font = CreateFontW(-24, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    return font;
}

HWND OwnerOf(HWND hwnd)
{
    return GetWindow(hwnd, GW_OWNER);
}

// The ok holder forwards its button's click to the dialog as the title bar's IDOK.
LRESULT CALLBACK DoneButtonProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            SendMessageW(OwnerOf(hwnd), WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
        return 0;
    }
    return DefWindowProcW(hwnd, uMsg, wParam, lParam);
}

// The keys' captions in the shell's light text on the strip's dark ground; a flat toolbar would draw them in
// the dark button text colour, unreadable there.
LRESULT DrawSoftKey(NMTBCUSTOMDRAW *draw)
{
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        draw->clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
        draw->clrTextHighlight = GetSysColor(COLOR_HIGHLIGHTTEXT);
        return CDRF_DODEFAULT;
    }
    return CDRF_DODEFAULT;
}

// A stylus does not hover: no key is ever drawn hot under a pointer that stays where the last tap was (a hot key of
// a flat toolbar is drawn without its caption on the strip). Answering TBN_HOTITEMCHANGE with nonzero refuses it.
LRESULT OnMenuBarNotify(NMHDR *header)
{
    if (header->code == NM_CUSTOMDRAW)
        return DrawSoftKey((NMTBCUSTOMDRAW *)header);
    if (header->code == TBN_HOTITEMCHANGE)
        return TRUE;
    return 0;
}

// The soft-key strip forwards its keys' command ids to the dialog, as the phone's menu bar does.
LRESULT CALLBACK MenuBarProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_COMMAND:
        SendMessageW(OwnerOf(hwnd), WM_COMMAND, MAKEWPARAM(LOWORD(wParam), 0), 0);
        return 0;
    case WM_NOTIFY:
        return OnMenuBarNotify((NMHDR *)lParam);
    }
    return DefWindowProcW(hwnd, uMsg, wParam, lParam);
}

void RegisterFrameClass(const wchar_t *name, WNDPROC proc, int colour)
{
    WNDCLASSW wc = {};
    if (GetClassInfoW(GetModuleHandleW(NULL), name, &wc))
        return;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.hbrBackground = GetSysColorBrush(colour);
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}

// A window of the frame: owned by the dialog (a pop-up, as the phone's owned windows are), in front of everything,
// never taking the focus from it.
HWND CreateFrameWindow(const wchar_t *className, HWND hDlg, int x, int y, int width, int height)
{
    return CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, className, L"",
                           WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width, height, hDlg, NULL,
                           GetModuleHandleW(NULL), NULL);
}

// The phone draws the dialog's caption in the task bar: the dialog itself keeps no caption or frame and fills
// the screen below the task bar, above the soft-key bar unless it asked for none.
void SizeDialogFullScreen(HWND hDlg, DWORD dwFlags)
{
    LONG style = GetWindowLongW(hDlg, GWL_STYLE);
    SetWindowLongW(hDlg, GWL_STYLE, style & ~(WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME));
    LONG exStyle = GetWindowLongW(hDlg, GWL_EXSTYLE);
    SetWindowLongW(hDlg, GWL_EXSTYLE, exStyle & ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE));
    int width = GetSystemMetrics(SM_CXSCREEN);
    int bottom = GetSystemMetrics(SM_CYSCREEN);
    if (!(dwFlags & SHIDIF_FULLSCREENNOMENUBAR))
        bottom -= PHONE_MENUBAR_HEIGHT;
    SetWindowPos(hDlg, HWND_TOP, 0, PHONE_TASKBAR_HEIGHT, width, bottom - PHONE_TASKBAR_HEIGHT,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE);
}

void CreateDoneButton(HWND hDlg)
{
    RegisterFrameClass(kDoneButtonClass, DoneButtonProc, COLOR_WINDOWTEXT);
    int width = GetSystemMetrics(SM_CXSCREEN);
    HWND holder =
        CreateFrameWindow(kDoneButtonClass, hDlg, width - kDoneButtonWidth, 0, kDoneButtonWidth, PHONE_TASKBAR_HEIGHT);
    if (!holder)
        return;
    HWND ok = CreateWindowExW(0, L"BUTTON", L"ok", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 4, 4, kDoneButtonWidth - 8,
                              PHONE_TASKBAR_HEIGHT - 8, holder, NULL, GetModuleHandleW(NULL), NULL);
    SendMessageW(ok, WM_SETFONT, (WPARAM)ShellFont(), FALSE);
}

// Adds the top-level items of a menu resource to the toolbar as its keys, in menu order.
void AddMenuKeys(HWND toolbar, HINSTANCE hInstRes, UINT menuId)
{
    HMENU menu = LoadMenuW(hInstRes, MAKEINTRESOURCEW(menuId));
    if (!menu)
        return;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; i++) {
        wchar_t text[64] = L"";
        MENUITEMINFOW mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_ID | MIIM_STRING;
        mii.dwTypeData = text;
        mii.cch = ARRAYSIZE(text);
        if (!GetMenuItemInfoW(menu, i, TRUE, &mii))
            continue;
        TBBUTTON button = {};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = (int)mii.wID;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = BTNS_BUTTON | BTNS_SHOWTEXT;
        button.iString = (INT_PTR)text;
        SendMessageW(toolbar, TB_ADDBUTTONSW, 1, (LPARAM)&button);
    }
    DestroyMenu(menu);
}

} // namespace

// Sizes the dialog as the flags say and gives it the title bar's ok; FALSE when there is no dialog to set up.
extern "C" BOOL WINAPI Phone_SHInitDialog(PSHINITDLGINFO pshidi)
{
    if (!pshidi || !(pshidi->dwMask & SHIDIM_FLAGS) || !IsWindow(pshidi->hDlg))
        return FALSE;
    if (pshidi->dwFlags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN))
        SizeDialogFullScreen(pshidi->hDlg, pshidi->dwFlags);
    if (pshidi->dwFlags & SHIDIF_DONEBUTTON)
        CreateDoneButton(pshidi->hDlg);
    return TRUE;
}

// Makes the soft-key bar of a menu resource (SHCMBF_HMENU) along the bottom of the screen; hwndMB receives the
// toolbar, which takes TB_SETBUTTONINFOW by key index. FALSE when the request cannot be met.
extern "C" BOOL WINAPI Phone_SHCreateMenuBar(SHMENUBARINFO *pmbi)
{
    if (!pmbi || pmbi->cbSize < sizeof(SHMENUBARINFO) || !IsWindow(pmbi->hwndParent))
        return FALSE;
    if (!(pmbi->dwFlags & (SHCMBF_HMENU | SHCMBF_EMPTYBAR)))
        return FALSE; // toolbar resources are not used by the program
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    RegisterFrameClass(kMenuBarClass, MenuBarProc, COLOR_WINDOWTEXT);
    int width = GetSystemMetrics(SM_CXSCREEN);
    int top = GetSystemMetrics(SM_CYSCREEN) - PHONE_MENUBAR_HEIGHT;
    HWND bar = CreateFrameWindow(kMenuBarClass, pmbi->hwndParent, 0, top, width, PHONE_MENUBAR_HEIGHT);
    if (!bar)
        return FALSE;
    HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                                   WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NORESIZE |
                                       CCS_NOPARENTALIGN | CCS_NODIVIDER,
                                   0, 0, width, PHONE_MENUBAR_HEIGHT, bar, NULL, GetModuleHandleW(NULL), NULL);
    if (!toolbar) {
        DestroyWindow(bar);
        return FALSE;
    }
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar, WM_SETFONT, (WPARAM)ShellFont(), FALSE);
    SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    SendMessageW(toolbar, TB_SETBUTTONWIDTH, 0, MAKELPARAM(width / 2, width / 2));
    if (!(pmbi->dwFlags & SHCMBF_EMPTYBAR))
        AddMenuKeys(toolbar, pmbi->hInstRes, pmbi->nToolBarId);
    SendMessageW(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(width / 2, PHONE_MENUBAR_HEIGHT));
    pmbi->hwndMB = toolbar;
    return TRUE;
}
