// The test driver of the settings editor's dialogs.
#include "editor_driver.h"

#include <commctrl.h>

#include <deque>
#include <vector>

#include "config/language_texts.h"
#include "config/settings_store.h"
#include "editor/editor_frame.h"
#include "editor/editor_state.h"

namespace
{

std::deque<DialogStep> s_steps;
bool s_leftOpen;
std::vector<HWND> s_dialogs;

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM)
{
    wchar_t className[32] = L"";
    GetClassNameW(hwnd, className, ARRAYSIZE(className));
    if (wcscmp(className, L"#32770") == 0 && IsWindowEnabled(hwnd))
        s_dialogs.push_back(hwnd);
    return TRUE;
}

HWND InnermostDialog()
{
    s_dialogs.clear();
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, 0);
    return s_dialogs.empty() ? NULL : s_dialogs.front();
}

void CALLBACK StepTimer(HWND, UINT, UINT_PTR, DWORD)
{
    HWND hDlg = InnermostDialog();
    if (!hDlg)
        return;
    if (s_steps.empty()) {
        s_leftOpen = true;
        EndDialog(hDlg, 99);
        return;
    }
    DialogStep step = s_steps.front();
    s_steps.pop_front();
    step(hDlg);
}

struct FindRecord {
    HWND owner;
    const wchar_t *className;
    int index;
    HWND found;
};

BOOL CALLBACK FindOwned(HWND hwnd, LPARAM lParam)
{
    FindRecord *record = (FindRecord *)lParam;
    wchar_t className[64] = L"";
    GetClassNameW(hwnd, className, ARRAYSIZE(className));
    if (GetWindow(hwnd, GW_OWNER) == record->owner && lstrcmpiW(className, record->className) == 0)
        if (record->index-- == 0) {
            record->found = hwnd;
            return FALSE;
        }
    return TRUE;
}

// EnumThreadWindows lists the newest window first: collect and walk backwards for creation order.
std::vector<HWND> s_threadWindows;
BOOL CALLBACK CollectAll(HWND hwnd, LPARAM)
{
    s_threadWindows.push_back(hwnd);
    return TRUE;
}

} // namespace

void QueueStep(DialogStep step)
{
    s_steps.push_back(step);
}

bool RunDialogSteps(const std::function<void()> &open)
{
    s_leftOpen = false;
    UINT_PTR timer = SetTimer(NULL, 0, 20, StepTimer);
    open();
    KillTimer(NULL, timer);
    bool ok = !s_leftOpen && s_steps.empty();
    s_steps.clear();
    return ok;
}

bool RunEditorDialog(DLGPROC dialogProc)
{
    return RunDialogSteps([dialogProc]() { OpenEditorDialog(NULL, dialogProc); });
}

std::wstring WindowText(HWND hwnd)
{
    wchar_t text[1024] = L"";
    GetWindowTextW(hwnd, text, ARRAYSIZE(text));
    return text;
}

HWND FindOwnedWindow(HWND hDlg, const wchar_t *className, int index)
{
    s_threadWindows.clear();
    EnumThreadWindows(GetCurrentThreadId(), CollectAll, 0);
    FindRecord record = {hDlg, className, index, NULL};
    for (auto it = s_threadWindows.rbegin(); it != s_threadWindows.rend(); ++it)
        if (!FindOwned(*it, (LPARAM)&record))
            break;
    return record.found;
}

HWND ChildWindowAt(HWND hDlg, int x, int y)
{
    for (HWND child = GetWindow(hDlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rc;
        GetWindowRect(child, &rc);
        MapWindowPoints(NULL, hDlg, (POINT *)&rc, 2);
        if (rc.left == x && rc.top == y)
            return child;
    }
    return NULL;
}

HWND FindChildWindow(HWND hDlg, const wchar_t *className, int index)
{
    for (HWND child = GetWindow(hDlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = L"";
        GetClassNameW(child, name, ARRAYSIZE(name));
        if (lstrcmpiW(name, className) == 0 && index-- == 0)
            return child;
    }
    return NULL;
}

std::wstring SoftKeyCaption(HWND softKeyBar, int index)
{
    wchar_t text[64] = L"";
    TBBUTTONINFOW info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_BYINDEX | TBIF_TEXT;
    info.pszText = text;
    info.cchText = ARRAYSIZE(text);
    SendMessageW(softKeyBar, TB_GETBUTTONINFOW, index, (LPARAM)&info);
    return text;
}

void TapSoftKey(HWND softKeyBar, int index)
{
    RECT rc = {};
    SendMessageW(softKeyBar, TB_GETITEMRECT, index, (LPARAM)&rc);
    LPARAM point = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    SendMessageW(softKeyBar, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(softKeyBar, WM_LBUTTONUP, 0, point);
}

void PressButton(HWND button)
{
    SendMessageW(button, BM_CLICK, 0, 0);
}

void SendCommand(HWND hDlg, WORD id)
{
    SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void ResetEditorWorld()
{
    g_langDoc.Reset();
    FillLanguageTexts();
    g_settingsDoc.Reset();
    g_settings = ProgramSettings();
    g_editor = EditorState();
    g_editor.hInstance = GetModuleHandleW(NULL);
    g_editor.handOver.chosenSlot = -1;
}
