// The phone's stacking on desktop Win32: a window stands above the window that owns it, on the screen as in the
// z-order, from its first paint on. Applied to every top-level window as it is made (see windowing_rules.cpp).
#include <windows.h>

#include <commctrl.h>

#include "windowing_rules.h"

namespace
{

// The window property that holds a window's number in the order the thread made its windows.
const wchar_t kCreationProp[] = L"PhoneCreationNumber";
const wchar_t kFormerProcProp[] = L"PhoneStackingFormerProc"; // the window procedure the stacking rule wraps
// The most visible top-level windows of the thread that the rule keeps in order.
const int kMaxStacked = 256;

// One visible top-level window of the thread.
struct StackedWindow {
    HWND hwnd;
    int owner;         // index of its owner among the windows, -1 when it has none among them
    DWORD_PTR created; // its number in the order the thread made its windows (0: made before the rule)
    int rank;          // among the windows of one owner: 2 the screen in use, 1 a shell tool window, 0 the rest
};

// The thread's visible top-level windows, in z-order from the top.
struct StackedWindows {
    StackedWindow items[kMaxStacked];
    int count;
};

DWORD_PTR s_created; // how many windows the thread has made: the number of the last one
bool s_restacking;   // set while the rule moves windows, whose own moves must not start it again

DWORD_PTR CreationNumber(HWND hwnd)
{
    return (DWORD_PTR)GetPropW(hwnd, kCreationProp);
}

int IndexOf(const StackedWindows &list, HWND hwnd)
{
    for (int i = 0; i < list.count; i++) {
        if (list.items[i].hwnd == hwnd)
            return i;
    }
    return -1;
}

bool OwnsAny(const StackedWindows &list, int index)
{
    for (int i = 0; i < list.count; i++) {
        if (list.items[i].owner == index)
            return true;
    }
    return false;
}

// Whether hwnd is the active window or owns it, directly or through other windows.
bool LeadsToActiveWindow(HWND hwnd)
{
    for (HWND w = GetActiveWindow(); w; w = GetWindow(w, GW_OWNER)) {
        if (w == hwnd)
            return true;
    }
    return false;
}

// The screen in use (a dialog with its fields, the window the user works in) stands above its owner's other
// windows, and the shell's tool windows (a dialog's ok and soft-key bar) above the owner's controls.
int StackingRank(const StackedWindows &list, int index)
{
    HWND hwnd = list.items[index].hwnd;
    if (OwnsAny(list, index) || LeadsToActiveWindow(hwnd))
        return 2;
    return (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) ? 1 : 0;
}

void ListStackedWindows(StackedWindows *list)
{
    list->count = 0;
    DWORD thread = GetCurrentThreadId();
    for (HWND hwnd = GetTopWindow(NULL); hwnd && list->count < kMaxStacked; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        if (GetWindowThreadProcessId(hwnd, NULL) == thread && IsWindowVisible(hwnd)) {
            StackedWindow &item = list->items[list->count++];
            item.hwnd = hwnd;
            item.created = CreationNumber(hwnd);
        }
    }
    for (int i = 0; i < list->count; i++)
        list->items[i].owner = IndexOf(*list, GetWindow(list->items[i].hwnd, GW_OWNER));
    for (int i = 0; i < list->count; i++)
        list->items[i].rank = StackingRank(*list, i);
}

// Whether window a stands below window b among the windows of one owner (or among the windows without one).
bool StandsBelow(const StackedWindow &a, const StackedWindow &b)
{
    if (a.rank != b.rank)
        return a.rank < b.rank;
    return a.created < b.created;
}

// Appends, from the bottom up, the windows owned by owner (-1: the windows without an owner), each followed by
// its own windows: a window always stands above its owner, and later windows above earlier ones.
void AppendOwnedFromBottom(const StackedWindows &list, int owner, int *order, int *count, int depth)
{
    bool taken[kMaxStacked] = {};
    for (;;) {
        int next = -1;
        for (int i = 0; i < list.count; i++) {
            if (list.items[i].owner == owner && i != owner && !taken[i] &&
                (next < 0 || StandsBelow(list.items[i], list.items[next])))
                next = i;
        }
        if (next < 0 || *count >= kMaxStacked)
            return;
        taken[next] = true;
        order[(*count)++] = next;
        if (depth > 0)
            AppendOwnedFromBottom(list, next, order, count, depth - 1);
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

// The front window and the windows it owns in the phone's order, from the bottom up: the other windows, then
// those of the topmost band. Only these are moved: restacking every window of the thread makes Wine shuffle the
// windows of one owner among another's afterwards, with no message to any of them.
int PhoneOrderFromBottom(const StackedWindows &list, int *order)
{
    int front = IndexOf(list, FrontWindow());
    // With no active window (a box without owner just closed) the highest window without owner leads.
    for (int i = 0; i < list.count && front < 0; i++) {
        if (list.items[i].owner < 0 && !GetWindow(list.items[i].hwnd, GW_OWNER))
            front = i;
    }
    if (front < 0)
        return 0;
    int tree[kMaxStacked];
    int count = 0;
    tree[count++] = front;
    AppendOwnedFromBottom(list, front, tree, &count, kMaxStacked);
    int placed = 0;
    for (int band = 0; band < 2; band++) {
        for (int i = 0; i < count; i++) {
            if (IsInTopmostBand(list.items[tree[i]].hwnd) == (band == 1))
                order[placed++] = tree[i];
        }
    }
    return placed;
}

// A combo box's dropped list: a topmost window outside the front window's own, which stays above them while it
// is shown.
bool IsLooseTopmost(const StackedWindows &list, int index, const int *order, int count)
{
    for (int i = 0; i < count; i++) {
        if (order[i] == index)
            return false;
    }
    wchar_t className[16] = L"";
    HWND hwnd = list.items[index].hwnd;
    if (!(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST))
        return false;
    GetClassNameW(hwnd, className, ARRAYSIZE(className));
    return lstrcmpiW(className, L"ComboLBox") == 0;
}

// Whether the windows of order stand on top of the thread's windows, in that order, below loose topmost ones.
bool InPhoneOrder(const StackedWindows &list, const int *order, int count)
{
    int i = 0;
    while (i < list.count && IsLooseTopmost(list, i, order, count))
        i++;
    if (list.count - i < count)
        return false;
    for (int j = count - 1; j >= 0; j--, i++) { // list is from the top, order from the bottom
        if (i != order[j])
            return false;
    }
    return true;
}

// Brings the loose topmost windows back to the top of the screen after the front window's were raised.
void RaiseLooseTopmost(const StackedWindows &list, const int *order, int count)
{
    for (int i = list.count - 1; i >= 0; i--) {
        if (IsLooseTopmost(list, i, order, count))
            SetWindowPos(list.items[i].hwnd, HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
}

// Whether a visible window, of any program, stands above hwnd.
bool HasVisibleWindowAbove(HWND hwnd)
{
    for (HWND above = GetWindow(hwnd, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        if (IsWindowVisible(above))
            return true;
    }
    return false;
}

// Brings every window to the top of its band, from the lowest to the highest, in the phone's order. Wine's X11
// screen follows a window's move in the z-order only when the window comes to the very top: a window put
// anywhere lower keeps its old place on the screen and covers, or hides behind, the wrong windows.
void Restack(const StackedWindows &list, const int *order, int count)
{
    s_restacking = true;
    for (int i = 0; i < count; i++) {
        HWND hwnd = list.items[order[i]].hwnd;
        HWND band = IsInTopmostBand(hwnd) ? HWND_TOPMOST : HWND_TOP;
        SetWindowPos(hwnd, band, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
    RaiseLooseTopmost(list, order, count);
    s_restacking = false;
}

// Under Wine the z-order also changes after a move, while the thread waits for its messages, with no message to
// any window: the windows of one owner come to be shuffled among another's. So after every move the order is
// checked again on a timer, and put right, until it has held for a while.
const UINT kCheckPause = 25; // milliseconds between two checks
const int kQuietChecks = 20; // checks in a row that find the order right before the timer stops
UINT_PTR s_checkTimer;       // the thread's check timer, 0 while none runs
int s_checksLeft;            // checks still to come

void CALLBACK CheckAgain(HWND, UINT, UINT_PTR, DWORD);

void ArmCheck()
{
    s_checksLeft = kQuietChecks;
    s_checkTimer = SetTimer(NULL, s_checkTimer, kCheckPause, CheckAgain);
}

HWND s_front; // the front window when the order was last put right

// Restacks when the windows are not in the phone's order, when the front window changed, or when moved was
// shown or moved below another window: in the last two cases the order on the screen is not known. Answers
// whether it restacked.
bool KeepPhoneOrder(HWND moved)
{
    StackedWindows list;
    ListStackedWindows(&list);
    int order[kMaxStacked];
    int count = PhoneOrderFromBottom(list, order);
    if (count == 0)
        return false;
    HWND front = list.items[order[0]].hwnd;
    bool known = front == s_front && (!moved || !HasVisibleWindowAbove(moved));
    if (known && InPhoneOrder(list, order, count))
        return false;
    Restack(list, order, count);
    s_front = front;
    return true;
}

// A plain window-procedure subclass, not the common controls' one: every top-level window gets it as it is
// made, and binding comctl32 for it would load that library with the menu's first window.
LRESULT CALLBACK StackingWindowProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC former = (WNDPROC)GetPropW(hwnd, kFormerProcProp);
    LRESULT result =
        former ? CallWindowProcW(former, hwnd, uMsg, wParam, lParam) : DefWindowProcW(hwnd, uMsg, wParam, lParam);
    switch (uMsg) {
    case WM_WINDOWPOSCHANGED: {
        const WINDOWPOS *pos = (const WINDOWPOS *)lParam;
        bool restacked = !(pos->flags & SWP_NOZORDER) || (pos->flags & SWP_SHOWWINDOW);
        if (restacked && !s_restacking && IsWindowVisible(hwnd)) {
            KeepPhoneOrder(hwnd);
            ArmCheck();
        }
        break;
    }
    case WM_NCDESTROY:
        RemovePropW(hwnd, kCreationProp);
        RemovePropW(hwnd, kFormerProcProp);
        break;
    }
    return result;
}

void CALLBACK CheckAgain(HWND, UINT, UINT_PTR, DWORD)
{
    if (KeepPhoneOrder(NULL)) {
        s_checksLeft = kQuietChecks;
    } else if (--s_checksLeft <= 0) {
        KillTimer(NULL, s_checkTimer);
        s_checkTimer = 0;
    }
}

} // namespace

void WatchPhoneOrder()
{
    ArmCheck();
}

bool IsTopLevelWindow(HWND, const CREATESTRUCTW *lpcs)
{
    return !(lpcs->style & WS_CHILD);
}

void KeepOwnedWindowsAbove(HWND hwnd, CREATESTRUCTW *)
{
    SetPropW(hwnd, kCreationProp, (HANDLE)++s_created);
    SetPropW(hwnd, kFormerProcProp, (HANDLE)SetWindowLongPtrW(hwnd, GWLP_WNDPROC, (LONG_PTR)StackingWindowProc));
}
