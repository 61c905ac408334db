// The settings editor's dialog frame: every editor dialog is the empty template 102 made full screen by the
// shell, with a title-bar ok and a soft-key bar of two keys whose captions come from lang.ini.
#include <windows.h>

#include <aygshell.h>
#include <commctrl.h>

#include "../config/bounded_text.h"
#include "../resources/resource_ids.h"
#include "editor_frame.h"
#include "editor_state.h"

namespace
{

// SHInitDialog's flags for every editor dialog: title-bar ok, full screen, input panel down.
const DWORD kEditorDialogFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN;

// Replaces the caption of one soft key (0 left, 1 right), addressed by its index.
void SetSoftKeyCaption(HWND softKeyBar, WPARAM index, wchar_t *caption)
{
    TBBUTTONINFOW info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_BYINDEX | TBIF_TEXT;
    info.pszText = caption;
    SendMessageW(softKeyBar, TB_SETBUTTONINFOW, index, (LPARAM)&info);
}

} // namespace

void OpenEditorDialog(HWND hwndParent, DLGPROC dialogProc)
{
    HRSRC resource = FindResourceW(g_editor.hInstance, MAKEINTRESOURCEW(IDD_EDITOR_DIALOG), RT_DIALOG);
    // A loaded resource is its own data on every Win32 platform, so no LockResource is needed.
    HGLOBAL dialogTemplate = LoadResource(g_editor.hInstance, resource);
    DialogBoxIndirectParamW(g_editor.hInstance, (LPCDLGTEMPLATEW)dialogTemplate, hwndParent, dialogProc, 0);
}

HWND SetUpEditorDialog(HWND hDlg, UINT menuId, const wchar_t *leftCaption, const wchar_t *rightCaption)
{
    SHINITDLGINFO shidi = {};
    shidi.dwMask = SHIDIM_FLAGS;
    shidi.hDlg = hDlg;
    shidi.dwFlags = kEditorDialogFlags;
    if (!SHInitDialog(&shidi))
        return NULL;

    SHMENUBARINFO mbi = {};
    mbi.cbSize = sizeof(mbi);
    mbi.hwndParent = hDlg;
    mbi.dwFlags = SHCMBF_HMENU;
    mbi.nToolBarId = menuId;
    mbi.hInstRes = g_editor.hInstance;
    mbi.hwndMB = hDlg;
    SHCreateMenuBar(&mbi);
    HWND softKeyBar = mbi.hwndMB;

    // One buffer serves both keys; a caption over 15 characters is cut.
    wchar_t caption[kSoftKeyCaptionCapacity];
    CopyText(caption, leftCaption);
    SetSoftKeyCaption(softKeyBar, 0, caption);
    CopyText(caption, rightCaption);
    SetSoftKeyCaption(softKeyBar, 1, caption);
    return softKeyBar;
}

HWND CreateEditorControl(HWND hDlg, const ControlLayout &layout, const wchar_t *text)
{
    return CreateWindowExW(0, layout.className, text, layout.style, layout.x, layout.y, layout.width, layout.height,
                           hDlg, NULL, g_editor.hInstance, NULL);
}
