// The phone's stacking on Wine: a window stands above the window that owns it, on the screen as in the
// z-order, from its first paint on. Applied to every top-level window as it is made (see windowing_rules.cpp).
//
// Wine keeps two stackings: the z-order, and the X server's stacking of the windows on the screen, which decides
// where a tap goes. Its X11 driver follows a move in the z-order on the screen only when the window lands at the
// very top (a window put anywhere lower keeps its old place there), and it moves a window's owned windows along
// with it whatever SWP_NOOWNERZORDER says. It also raises a window on the screen, with no move in the z-order and
// no message, whenever the keyboard focus goes into it (set_input_focus, from its SetFocus and, later, from the
// MapNotify of a window shown with the focus inside). And when part of a window comes into view on the screen (an
// X Expose, after any raise), it moves the window up the z-order over the windows that cover that part there, again
// with no message (the server's update_window_zorder): an Expose left over from raising windows one by one puts a
// window over one raised after it. So the rule keeps a record of the screen's stacking, raises only the windows the
// screen shows out of place, and puts the z-order right by placing windows below others, which the screen does not
// follow and so cannot answer with another Expose.
#include <windows.h>

#include "phone_link.h"
#include "stacking_order.h"
#include "windowing_rules.h"

namespace
{

// The window property that holds a window's number in the order the thread made its windows.
const wchar_t kCreationProp[] = L"PhoneCreationNumber";
const wchar_t kFormerProcProp[] = L"PhoneStackingFormerProc"; // the window procedure the stacking rule wraps
// The emulated phone's count of the rule's restacks, under PHONE_STATE_KEY (phonectl's `state` reports it).
const wchar_t kRestacksValue[] = L"Restacks";

const UINT kCheckPause = 25;  // milliseconds between two checks after a move or an activation
const int kChecks = 20;       // checks after each move, activation or change of focus
const int kPlacingRounds = 4; // rounds of placing per restack: Wine moves a moved window's owned windows too

// The rule's record of the thread's top-level windows and its checks, for the life of the thread.
struct StackingState {
    DWORD_PTR created;  // how many windows the thread has made: the number of the last one
    bool restacking;    // set while the rule moves windows, whose own moves must not start it again
    bool mayRaise;      // no raise since the last move or activation: a raise that did not take
                        // (an owner below its owned windows) is not tried again until then
    bool sawFocusRaise; // the checks were started again for a focus raise seen since the last move or activation
    HWND screen[kMaxStackedWindows]; // the thread's top-level windows as the screen stacks them, from the bottom
    int screenCount;                 // how many of screen are in use
    UINT_PTR checkTimer;             // the thread's check timer, 0 while none runs
    int checksLeft;                  // checks still to come
};

StackingState s_stacking;

DWORD_PTR CreationNumber(HWND hwnd)
{
    return (DWORD_PTR)GetPropW(hwnd, kCreationProp);
}

// Forgets a window's place on the screen.
void DropFromScreen(HWND hwnd)
{
    int kept = 0;
    for (int i = 0; i < s_stacking.screenCount; i++) {
        if (s_stacking.screen[i] != hwnd)
            s_stacking.screen[kept++] = s_stacking.screen[i];
    }
    s_stacking.screenCount = kept;
}

// Records a window at the top of the screen, where a new X window or a raised one goes.
void PutOnTopOfScreen(HWND hwnd)
{
    DropFromScreen(hwnd);
    if (s_stacking.screenCount < kMaxStackedWindows)
        s_stacking.screen[s_stacking.screenCount++] = hwnd;
}

// Whether a visible window, of any program, stands above hwnd: then the X11 driver left hwnd's place on the screen
// as it was.
bool HasVisibleWindowAbove(HWND hwnd)
{
    for (HWND above = GetWindow(hwnd, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        if (GetWindowLongW(above, GWL_STYLE) & WS_VISIBLE)
            return true;
    }
    return false;
}

// The thread's top-level windows, shown or not, in z-order from the top.
int TakeSnapshot(StackingWindow *snapshot)
{
    int count = 0;
    DWORD thread = GetCurrentThreadId();
    HWND active = GetActiveWindow();
    for (HWND hwnd = GetTopWindow(NULL); hwnd && count < kMaxStackedWindows; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        if (GetWindowThreadProcessId(hwnd, NULL) != thread)
            continue;
        LONG style = GetWindowLongW(hwnd, GWL_STYLE), exStyle = GetWindowLongW(hwnd, GWL_EXSTYLE);
        wchar_t className[16] = L"";
        GetClassNameW(hwnd, className, ARRAYSIZE(className));
        StackingWindow &window = snapshot[count++];
        window.hwnd = hwnd;
        window.owned = GetWindow(hwnd, GW_OWNER) != NULL;
        window.created = CreationNumber(hwnd);
        window.visible = (style & WS_VISIBLE) != 0;
        window.enabled = !(style & WS_DISABLED);
        window.active = hwnd == active;
        window.toolWindow = (exStyle & WS_EX_TOOLWINDOW) != 0;
        window.topmost = (exStyle & WS_EX_TOPMOST) != 0;
        window.droppedList = window.topmost && lstrcmpiW(className, L"ComboLBox") == 0;
    }
    for (int i = 0; i < count; i++) {
        HWND owner = GetWindow(snapshot[i].hwnd, GW_OWNER);
        snapshot[i].owner = -1;
        for (int j = 0; j < count && owner; j++) {
            if (snapshot[j].hwnd == owner)
                snapshot[i].owner = j;
        }
    }
    return count;
}

// The recorded screen stacking as indices into the snapshot, from the bottom up.
int ScreenAsIndices(const StackingWindow *snapshot, int count, int *stacking)
{
    int stackingCount = 0;
    for (int i = 0; i < s_stacking.screenCount; i++) {
        for (int j = 0; j < count; j++) {
            if (snapshot[j].hwnd == s_stacking.screen[i])
                stacking[stackingCount++] = j;
        }
    }
    return stackingCount;
}

// Brings windows to the top of their band, from the lowest to the highest: the screen follows each, as it lands
// at the very top. Answers whether it moved any.
bool RaiseOutOfPlace(const StackingWindow *snapshot, int count, const PhoneOrder &order)
{
    int stacking[kMaxStackedWindows];
    int stackingCount = ScreenAsIndices(snapshot, count, stacking);
    int first = FirstWindowToRaise(order, stacking, stackingCount);
    for (int i = first; i < order.count; i++) {
        HWND band = InTopmostBand(snapshot, order.windows[i]) ? HWND_TOPMOST : HWND_TOP;
        SetWindowPos(snapshot[order.windows[i]].hwnd, band, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
    return first < order.count;
}

// Places windows directly below others until the z-order is the phone's order, from a snapshot taken now; the
// screen does not follow these moves. Answers whether it moved any.
bool PlaceInOrder(StackingWindow *snapshot, int count, PhoneOrder *order)
{
    bool moved = false;
    for (int round = 0; round < kPlacingRounds; round++) {
        StackingMove moves[kMaxStackedWindows];
        int moveCount = PlacingMoves(snapshot, count, *order, moves);
        if (moveCount == 0)
            break;
        for (int i = 0; i < moveCount; i++) {
            HWND below = moves[i].below < 0 ? HWND_TOP : snapshot[moves[i].below].hwnd;
            SetWindowPos(snapshot[moves[i].window].hwnd, below, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        }
        moved = true;
        count = TakeSnapshot(snapshot);
        WorkOutPhoneOrder(snapshot, count, order);
    }
    return moved;
}

// Adds one to the phone's count of restacks.
void CountRestack()
{
    HKEY hkey;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, PHONE_STATE_KEY, 0, NULL, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, NULL, &hkey,
                        NULL) != ERROR_SUCCESS)
        return;
    DWORD restacks = 0, type = 0, size = sizeof restacks;
    if (RegQueryValueExW(hkey, kRestacksValue, NULL, &type, (BYTE *)&restacks, &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        restacks = 0;
    restacks++;
    RegSetValueExW(hkey, kRestacksValue, 0, REG_DWORD, (const BYTE *)&restacks, sizeof restacks);
    RegCloseKey(hkey);
}

// The top-level window that holds the keyboard focus standing too high in the z-order: an Expose moved it up there,
// so the X11 driver raised it on the screen (the MapNotify of a window shown with the focus inside raises it a while
// after the show). It is raised over again, and the checks start again once per move or activation.
void NoteFocusRaisedByExpose(const StackingWindow *snapshot, int count, const PhoneOrder &order)
{
    HWND focus = GetFocus();
    HWND root = focus ? GetAncestor(focus, GA_ROOT) : NULL;
    for (int i = 0; i < count && root; i++) {
        if (snapshot[i].hwnd != root || !StandsTooHigh(order, count, i))
            continue;
        PutOnTopOfScreen(root);
        s_stacking.mayRaise = true;
        if (!s_stacking.sawFocusRaise)
            s_stacking.checksLeft = kChecks;
        s_stacking.sawFocusRaise = true;
    }
}

// Puts the screen, then the z-order, in the phone's order, and counts a restack when it moved a window.
void KeepPhoneOrder()
{
    s_stacking.restacking = true;
    StackingWindow snapshot[kMaxStackedWindows];
    int count = TakeSnapshot(snapshot);
    PhoneOrder order;
    WorkOutPhoneOrder(snapshot, count, &order);
    NoteFocusRaisedByExpose(snapshot, count, order);
    bool raised = s_stacking.mayRaise && RaiseOutOfPlace(snapshot, count, order);
    s_stacking.mayRaise = s_stacking.mayRaise && !raised;
    if (raised) {
        count = TakeSnapshot(snapshot);
        WorkOutPhoneOrder(snapshot, count, &order);
    }
    bool placed = PlaceInOrder(snapshot, count, &order);
    s_stacking.restacking = false;
    if (raised || placed)
        CountRestack();
}

void CALLBACK CheckAgain(HWND, UINT, UINT_PTR, DWORD)
{
    s_stacking.checksLeft--;
    KeepPhoneOrder();
    if (s_stacking.checksLeft <= 0) {
        KillTimer(NULL, s_stacking.checkTimer);
        s_stacking.checkTimer = 0;
    }
}

// After a move, an activation or a change of focus the rule checks the order again a fixed number of times: the
// Exposes of its raises and of the X11 driver's reach the z-order a while later. Its own moves start no checks.
void ArmChecks()
{
    s_stacking.mayRaise = true;
    s_stacking.sawFocusRaise = false;
    s_stacking.checksLeft = kChecks;
    s_stacking.checkTimer = SetTimer(NULL, s_stacking.checkTimer, kCheckPause, CheckAgain);
}

// A window shown or moved in the z-order: the X11 driver raised it on the screen when it landed at the very top.
void OnWindowPosChanged(HWND hwnd, const WINDOWPOS *pos)
{
    if ((pos->flags & SWP_NOZORDER) && !(pos->flags & SWP_SHOWWINDOW))
        return;
    if (!HasVisibleWindowAbove(hwnd))
        PutOnTopOfScreen(hwnd);
    if (s_stacking.restacking || !(GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE))
        return;
    ArmChecks();
    KeepPhoneOrder();
}

// A plain window-procedure subclass, not the common controls' one: every top-level window gets it as it is
// made, and binding comctl32 for it would load that library with the menu's first window.
LRESULT CALLBACK StackingWindowProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC former = (WNDPROC)GetPropW(hwnd, kFormerProcProp);
    LRESULT result =
        former ? CallWindowProcW(former, hwnd, uMsg, wParam, lParam) : DefWindowProcW(hwnd, uMsg, wParam, lParam);
    switch (uMsg) {
    case WM_WINDOWPOSCHANGED:
        OnWindowPosChanged(hwnd, (const WINDOWPOS *)lParam);
        break;
    case WM_NCDESTROY:
        DropFromScreen(hwnd);
        RemovePropW(hwnd, kCreationProp);
        RemovePropW(hwnd, kFormerProcProp);
        break;
    }
    return result;
}

} // namespace

void WatchPhoneOrder(HWND activated)
{
    // Activation moves the keyboard focus into the window unless it is there already.
    HWND focus = GetFocus();
    if (activated && (!focus || GetAncestor(focus, GA_ROOT) != activated))
        NoteFocus(activated);
    ArmChecks();
}

void NoteFocus(HWND hwnd)
{
    HWND root = hwnd ? GetAncestor(hwnd, GA_ROOT) : NULL;
    if (root && GetWindowThreadProcessId(root, NULL) == GetCurrentThreadId())
        PutOnTopOfScreen(root);
    ArmChecks();
}

bool IsTopLevelWindow(HWND, const CREATESTRUCTW *lpcs)
{
    return !(lpcs->style & WS_CHILD);
}

// The X11 driver makes the window's X window as the window is made, on top of the screen's stacking.
void KeepOwnedWindowsAbove(HWND hwnd, CREATESTRUCTW *)
{
    SetPropW(hwnd, kCreationProp, (HANDLE)++s_stacking.created);
    SetPropW(hwnd, kFormerProcProp, (HANDLE)SetWindowLongPtrW(hwnd, GWLP_WNDPROC, (LONG_PTR)StackingWindowProc));
    PutOnTopOfScreen(hwnd);
}
