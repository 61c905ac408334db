// The phone's windowing rules on desktop Win32: a window made without WS_CHILD is a caption-less owned
// top-level window in screen coordinates that stays above its owner, and every window clips its children.
#include <windows.h>

namespace
{

// The most top-level windows of the program's thread that the stacking rule keeps in order.
const int kMaxStacked = 256;

// Visible top-level windows of the thread, top first, with their owners.
struct StackedWindows {
    HWND windows[kMaxStacked]; // the windows, in z-order from the top
    HWND owners[kMaxStacked];  // the owner of each window, NULL when it has none among windows
    int count;                 // how many of windows are in use
};

// What the stacking rule keeps between the messages of the thread.
struct StackingState {
    StackedWindows last; // the order the rule last left the windows in
    HWND front;          // the front window when the rule last looked
    bool busy;           // set while the rule restacks, whose own moves must not start it again
    bool pending;        // a message is on its way to run the rule after a move made outside it
};

StackingState s_stacking;

// Desktop Win32 gives every top-level window without WS_POPUP a caption and a frame; the phone does not.
LRESULT CALLBACK PhoneStyleHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND) {
        HWND hwnd = (HWND)wParam;
        CREATESTRUCTW *lpcs = ((CBT_CREATEWNDW *)lParam)->lpcs;
        LONG style = lpcs->style | WS_CLIPCHILDREN;
        if (!(style & (WS_CHILD | WS_POPUP)))
            style |= WS_POPUP;
        if (style != lpcs->style) {
            lpcs->style = style;
            SetWindowLongW(hwnd, GWL_STYLE, style);
        }
    }
    return CallNextHookEx(NULL, nCode, wParam, lParam);
}

int IndexOf(const StackedWindows &list, HWND hwnd)
{
    for (int i = 0; i < list.count; i++) {
        if (list.windows[i] == hwnd)
            return i;
    }
    return -1;
}

// The thread's visible top-level windows in z-order, top first, each with its owner when that is one of them.
void ListStackedWindows(StackedWindows *list)
{
    list->count = 0;
    DWORD thread = GetCurrentThreadId();
    for (HWND hwnd = GetTopWindow(NULL); hwnd && list->count < kMaxStacked; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        if (GetWindowThreadProcessId(hwnd, NULL) == thread && IsWindowVisible(hwnd))
            list->windows[list->count++] = hwnd;
    }
    for (int i = 0; i < list->count; i++) {
        HWND owner = GetWindow(list->windows[i], GW_OWNER);
        list->owners[i] = IndexOf(*list, owner) >= 0 ? owner : NULL;
    }
}

bool SameStacking(const StackedWindows &a, const StackedWindows &b)
{
    if (a.count != b.count)
        return false;
    for (int i = 0; i < a.count; i++) {
        if (a.windows[i] != b.windows[i])
            return false;
    }
    return true;
}

// The window that takes the user's input: the active window, or, when that is a control a tap activated, the
// dialog or window that owns it. A dialog runs over its disabled owner; a window without owner runs by itself.
HWND FrontWindow()
{
    HWND hwnd = GetActiveWindow();
    while (hwnd) {
        HWND owner = GetWindow(hwnd, GW_OWNER);
        if (!owner || !IsWindowEnabled(owner))
            return hwnd;
        hwnd = owner;
    }
    return NULL;
}

// Among the windows of one owner: the one leading to the front window comes first, then the shell's tool
// windows (a dialog's ok and soft-key bar), then the owner's controls.
int StackingRank(HWND hwnd, HWND front)
{
    for (HWND w = front; w; w = GetWindow(w, GW_OWNER)) {
        if (w == hwnd)
            return 2;
    }
    return (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) ? 1 : 0;
}

// Appends the windows owner owns, each above its own windows, then owner itself: the phone's order, in which
// an owned window always stands above its owner.
void AppendOwnedOrder(const StackedWindows &now, const int *ranks, HWND owner, StackedWindows *order, int depth)
{
    for (int rank = 2; rank >= 0 && depth > 0; rank--) {
        for (int i = 0; i < now.count; i++) {
            if (now.owners[i] == owner && ranks[i] == rank && now.windows[i] != owner)
                AppendOwnedOrder(now, ranks, now.windows[i], order, depth - 1);
        }
    }
    if (owner && order->count < kMaxStacked && IndexOf(*order, owner) < 0)
        order->windows[order->count++] = owner;
}

// The front window with the windows it owns, in the phone's order, top first: what must stand on top.
void FrontOrder(const StackedWindows &now, HWND front, StackedWindows *order)
{
    int ranks[kMaxStacked];
    for (int i = 0; i < now.count; i++)
        ranks[i] = StackingRank(now.windows[i], front);
    order->count = 0;
    AppendOwnedOrder(now, ranks, front, order, kMaxStacked);
}

// A combo box's dropped list: a topmost window of the desktop outside the front window's own, which stays above
// them while it is shown.
bool IsLooseTopmost(HWND hwnd, const StackedWindows &order)
{
    wchar_t className[16] = L"";
    if (!(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) || IndexOf(order, hwnd) >= 0)
        return false;
    GetClassNameW(hwnd, className, ARRAYSIZE(className));
    return lstrcmpiW(className, L"ComboLBox") == 0;
}

// Whether the windows of order stand on top of the thread's windows, in that order, below loose topmost ones.
bool StandsOnTop(const StackedWindows &now, const StackedWindows &order)
{
    int i = 0;
    while (i < now.count && IsLooseTopmost(now.windows[i], order))
        i++;
    if (now.count - i < order.count)
        return false;
    for (int j = 0; j < order.count; j++, i++) {
        if (now.windows[i] != order.windows[j])
            return false;
    }
    return true;
}

// Brings the loose topmost windows back to the top of the screen after the front window's were raised.
void RaiseLooseTopmost(const StackedWindows &now, const StackedWindows &order)
{
    for (int i = now.count - 1; i >= 0; i--) {
        if (IsLooseTopmost(now.windows[i], order))
            SetWindowPos(now.windows[i], HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
}

// Whether hwnd belongs in the topmost band: it is topmost, or so is a window that owns it (which the phone, like
// desktop Windows, keeps below its owned windows).
bool IsInTopmostBand(HWND hwnd)
{
    for (int depth = 0; hwnd && depth < kMaxStacked; hwnd = GetWindow(hwnd, GW_OWNER), depth++) {
        if (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST)
            return true;
    }
    return false;
}

// Puts the windows in the order of the list. Wine's X11 screen follows a window's place in the z-order only
// when the window comes to the very top, so a window put anywhere lower keeps its old place on the screen and
// covers, or hides behind, the wrong windows: every window is brought to the top of its band (the topmost
// windows' or the others'), from the lowest to the highest, which puts the screen in line too.
void RestackFromBottom(const StackedWindows &list)
{
    for (int i = list.count - 1; i >= 0; i--) {
        HWND hwnd = list.windows[i];
        HWND band = IsInTopmostBand(hwnd) ? HWND_TOPMOST : HWND_TOP;
        SetWindowPos(hwnd, band, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
}

// On the phone the window that takes the input stands on top with its own windows above it. Under Wine it need
// not: while a message box without an owner is shown, the menu comes in front of its own Exit and Settings
// buttons; an activated dialog goes straight above its owner, below the owner's controls; and no z-order
// message tells of it. So whenever the thread takes a message from its queue and the order or the front window
// changed since last time, the front window and its windows are brought on top before the message is handled.
// Only these are moved: restacking every window makes Wine's X11 screen report a z-order back that it passed
// through on the way.
LRESULT CALLBACK PhoneStackingHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION && wParam == PM_REMOVE && !s_stacking.busy) {
        s_stacking.busy = true;
        s_stacking.pending = false;
        StackedWindows now;
        ListStackedWindows(&now);
        HWND front = FrontWindow();
        bool shown = front && IndexOf(now, front) >= 0;
        if (shown && (!SameStacking(now, s_stacking.last) || front != s_stacking.front)) {
            StackedWindows order;
            FrontOrder(now, front, &order);
            if (front != s_stacking.front || !StandsOnTop(now, order)) {
                RestackFromBottom(order);
                RaiseLooseTopmost(now, order);
            }
            ListStackedWindows(&s_stacking.last);
            s_stacking.front = front;
        }
        s_stacking.busy = false;
    }
    return CallNextHookEx(NULL, nCode, wParam, lParam);
}

// A dialog's activation moves it after the last message was taken, and the thread may then wait for input with
// the dialog over its own controls: a message is posted so the rule runs again.
LRESULT CALLBACK MovedWindowHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT *call = (const CWPRETSTRUCT *)lParam;
    if (nCode == HC_ACTION && call->message == WM_WINDOWPOSCHANGED && !s_stacking.busy && !s_stacking.pending) {
        const WINDOWPOS *pos = (const WINDOWPOS *)call->lParam;
        bool topLevel = !(GetWindowLongW(call->hwnd, GWL_STYLE) & WS_CHILD);
        if (topLevel && (pos->flags & (SWP_NOZORDER | SWP_SHOWWINDOW)) != SWP_NOZORDER)
            s_stacking.pending = PostMessageW(call->hwnd, WM_NULL, 0, 0) != FALSE;
    }
    return CallNextHookEx(NULL, nCode, wParam, lParam);
}

struct PhoneWindowingRules {
    PhoneWindowingRules()
    {
        SetWindowsHookExW(WH_CBT, PhoneStyleHook, NULL, GetCurrentThreadId());
        SetWindowsHookExW(WH_GETMESSAGE, PhoneStackingHook, NULL, GetCurrentThreadId());
        SetWindowsHookExW(WH_CALLWNDPROCRET, MovedWindowHook, NULL, GetCurrentThreadId());
    }
};

const PhoneWindowingRules s_rules;

} // namespace
