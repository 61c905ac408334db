// The phone's stacking order worked out from a snapshot of a thread's top-level windows (see stacking_order.h).
#include "stacking_order.h"

namespace
{

// Whether the window and every owner above it in the snapshot are shown: a window owned by a hidden one (a dialog
// still making its fields) is not on the screen yet.
bool OnScreen(const StackingWindow *snapshot, int index)
{
    for (int depth = 0; index >= 0 && depth < kMaxStackedWindows; index = snapshot[index].owner, depth++) {
        if (!snapshot[index].visible)
            return false;
    }
    return true;
}

// Whether window a is window b or owns it, directly or through other windows.
bool Leads(const StackingWindow *snapshot, int a, int b)
{
    for (int depth = 0; b >= 0 && depth < kMaxStackedWindows; b = snapshot[b].owner, depth++) {
        if (b == a)
            return true;
    }
    return false;
}

// Among the windows of one owner: 2 the screen in use (it owns windows on the screen, or leads to the active
// window), 1 a shell tool window, 0 the rest.
int StackingRank(const StackingWindow *snapshot, int count, int index, int active)
{
    for (int i = 0; i < count; i++) {
        if (snapshot[i].owner == index && OnScreen(snapshot, i))
            return 2;
    }
    if (active >= 0 && Leads(snapshot, index, active))
        return 2;
    return snapshot[index].toolWindow ? 1 : 0;
}

// The window that takes the user's input: the active window, or, when that is a control a tap activated, the
// dialog or window that owns it (a dialog runs over its disabled owner). With no active window on the screen (a
// box without owner just closed) the highest window without owner leads.
int FrontWindow(const StackingWindow *snapshot, int count, int active)
{
    int front = active;
    for (int depth = 0; front >= 0 && depth < kMaxStackedWindows; depth++) {
        int owner = snapshot[front].owner;
        if (owner < 0 || !snapshot[owner].enabled)
            break;
        front = owner;
    }
    if (front >= 0 && OnScreen(snapshot, front) && !snapshot[front].droppedList)
        return front;
    for (int i = 0; i < count; i++) {
        if (!snapshot[i].owned && OnScreen(snapshot, i) && !snapshot[i].droppedList)
            return i;
    }
    return -1;
}

// Appends, from the bottom up, the windows on the screen that owner owns, each followed by its own windows: a
// window always stands above its owner, the higher rank above the lower, and later windows above earlier ones.
void AppendOwned(const StackingWindow *snapshot, int count, const int *rank, int owner, bool *placed, int *tree,
                 int *treeCount)
{
    for (;;) {
        int next = -1;
        for (int i = 0; i < count; i++) {
            if (placed[i] || snapshot[i].owner != owner || snapshot[i].droppedList || !OnScreen(snapshot, i))
                continue;
            if (next < 0 || rank[i] < rank[next] ||
                (rank[i] == rank[next] && snapshot[i].created < snapshot[next].created))
                next = i;
        }
        if (next < 0)
            return;
        placed[next] = true;
        tree[(*treeCount)++] = next;
        AppendOwned(snapshot, count, rank, next, placed, tree, treeCount);
    }
}

int IndexIn(const int *list, int count, int value)
{
    for (int i = 0; i < count; i++) {
        if (list[i] == value)
            return i;
    }
    return -1;
}

} // namespace

bool InTopmostBand(const StackingWindow *snapshot, int index)
{
    for (int depth = 0; index >= 0 && depth < kMaxStackedWindows; index = snapshot[index].owner, depth++) {
        if (snapshot[index].topmost)
            return true;
    }
    return false;
}

void WorkOutPhoneOrder(const StackingWindow *snapshot, int count, PhoneOrder *order)
{
    if (count > kMaxStackedWindows)
        count = kMaxStackedWindows;
    int active = -1;
    for (int i = 0; i < count && active < 0; i++) {
        if (snapshot[i].active)
            active = i;
    }
    int rank[kMaxStackedWindows];
    for (int i = 0; i < count; i++)
        rank[i] = StackingRank(snapshot, count, i, active);

    bool inTree[kMaxStackedWindows] = {};
    int tree[kMaxStackedWindows];
    int treeCount = 0;
    int front = FrontWindow(snapshot, count, active);
    if (front >= 0) {
        inTree[front] = true;
        tree[treeCount++] = front;
        AppendOwned(snapshot, count, rank, front, inTree, tree, &treeCount);
    }

    // From the bottom up: in each band, the other windows in their present order, then the front window's.
    order->count = 0;
    order->frontFrom = -1;
    for (int band = 0; band < 2; band++) {
        for (int i = count - 1; i >= 0; i--) {
            if (!inTree[i] && !snapshot[i].droppedList && OnScreen(snapshot, i) &&
                InTopmostBand(snapshot, i) == (band == 1))
                order->windows[order->count++] = i;
        }
        for (int t = 0; t < treeCount; t++) {
            if (InTopmostBand(snapshot, tree[t]) != (band == 1))
                continue;
            if (order->frontFrom < 0)
                order->frontFrom = order->count;
            order->windows[order->count++] = tree[t];
        }
    }
    if (order->frontFrom < 0)
        order->frontFrom = order->count;
    for (int i = count - 1; i >= 0; i--) {
        if (snapshot[i].droppedList && OnScreen(snapshot, i))
            order->windows[order->count++] = i;
    }
}

int FirstWindowToRaise(const PhoneOrder &order, const int *stacking, int stackingCount)
{
    bool listed[kMaxStackedWindows] = {}, raised[kMaxStackedWindows] = {};
    for (int i = 0; i < order.count; i++)
        listed[order.windows[i]] = true;
    // Raising the windows from `from` up leaves the others where they stand: the front screen is right when the
    // highest of those left are the front's windows below `from`, in order.
    for (int from = order.count; from > order.frontFrom; from--) {
        int kept[kMaxStackedWindows];
        int keptCount = 0;
        for (int i = 0; i < stackingCount; i++) {
            int window = stacking[i];
            if (window >= 0 && window < kMaxStackedWindows && listed[window] && !raised[window])
                kept[keptCount++] = window;
        }
        int leading = from - order.frontFrom;
        bool inPlace = keptCount >= leading;
        for (int i = 0; inPlace && i < leading; i++)
            inPlace = kept[keptCount - leading + i] == order.windows[order.frontFrom + i];
        if (inPlace)
            return from;
        raised[order.windows[from - 1]] = true;
    }
    return order.frontFrom;
}

bool StandsTooHigh(const PhoneOrder &order, int count, int index)
{
    int place = IndexIn(order.windows, order.count, index);
    if (place < 0)
        return false;
    for (int below = index + 1; below < count; below++) { // the snapshot is in z-order from the top
        if (IndexIn(order.windows, order.count, below) > place)
            return true;
    }
    return false;
}

int PlacingMoves(const StackingWindow *snapshot, int count, const PhoneOrder &order, StackingMove *moves)
{
    // The windows of the order as the z-order stacks them now, from the top.
    bool listed[kMaxStackedWindows] = {};
    for (int i = 0; i < order.count; i++)
        listed[order.windows[i]] = true;
    int now[kMaxStackedWindows];
    int nowCount = 0;
    for (int i = 0; i < count && i < kMaxStackedWindows; i++) {
        if (listed[i])
            now[nowCount++] = i;
    }
    // From the top down, each window directly below the one the order puts above it: the windows placed form one
    // run from the highest down, and the run ends as the order.
    int made = 0;
    for (int j = order.count - 2; j >= 0; j--) {
        int window = order.windows[j], above = order.windows[j + 1];
        int at = IndexIn(now, nowCount, window), aboveAt = IndexIn(now, nowCount, above);
        if (at < 0 || aboveAt < 0 || at == aboveAt + 1)
            continue;
        for (int i = at; i < nowCount - 1; i++)
            now[i] = now[i + 1];
        aboveAt = IndexIn(now, nowCount - 1, above);
        for (int i = nowCount - 1; i > aboveAt + 1; i--)
            now[i] = now[i - 1];
        now[aboveAt + 1] = window;
        // Below the topmost band's lowest window is the top of the band below it.
        bool crossing = InTopmostBand(snapshot, above) && !InTopmostBand(snapshot, window);
        moves[made++] = {window, crossing ? -1 : above};
    }
    return made;
}
