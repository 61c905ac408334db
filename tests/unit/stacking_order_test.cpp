// The phone's stacking order as a function of a snapshot of windows: the order the screen must show, the windows
// that must come to the top for it, and the moves that put the z-order right without bringing any to the top.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "stacking_order.h"

namespace
{

// A thread's windows, written as "name[>owner][:flags]" in the order they were made. Flags: a active, d disabled,
// h hidden, t tool window, T topmost, L dropped list. The z-order, from the top, is the reverse unless given.
struct Snapshot {
    std::vector<std::string> names; // in z-order from the top, as the snapshot
    std::vector<StackingWindow> windows;

    Snapshot(const std::string &made, const std::string &zOrder = "")
    {
        std::vector<std::string> specs = Words(made), z = Words(zOrder);
        for (const std::string &spec : specs)
            names.insert(names.begin(), spec.substr(0, spec.find_first_of(">:")));
        if (!z.empty())
            names = z;
        windows.resize(names.size());
        for (size_t number = 0; number < specs.size(); number++) {
            const std::string &spec = specs[number];
            size_t colon = spec.find(':'), arrow = spec.find('>');
            std::string flags = colon == std::string::npos ? "" : spec.substr(colon + 1);
            std::string owner = arrow == std::string::npos ? "" : spec.substr(arrow + 1, colon - arrow - 1);
            StackingWindow &w = windows[Index(spec.substr(0, spec.find_first_of(">:")))];
            w.hwnd = (HWND)(number + 1);
            w.created = number + 1;
            w.owned = !owner.empty();
            w.owner = owner.empty() ? -1 : Index(owner);
            w.visible = flags.find('h') == std::string::npos;
            w.enabled = flags.find('d') == std::string::npos;
            w.active = flags.find('a') != std::string::npos;
            w.toolWindow = flags.find('t') != std::string::npos;
            w.topmost = flags.find('T') != std::string::npos;
            w.droppedList = flags.find('L') != std::string::npos;
        }
    }

    static std::vector<std::string> Words(const std::string &text)
    {
        std::istringstream in(text);
        std::vector<std::string> words;
        for (std::string word; in >> word;)
            words.push_back(word);
        return words;
    }

    int Index(const std::string &name) const
    {
        for (size_t i = 0; i < names.size(); i++) {
            if (names[i] == name)
                return (int)i;
        }
        ADD_FAILURE() << "no window " << name;
        return 0;
    }

    // The phone's order from the bottom up, with "|" below the front screen's lowest window.
    std::string Order() const
    {
        PhoneOrder order;
        WorkOutPhoneOrder(windows.data(), (int)windows.size(), &order);
        std::string text;
        for (int i = 0; i <= order.count; i++) {
            if (i == order.frontFrom)
                text += " |";
            if (i < order.count)
                text += " " + names[order.windows[i]];
        }
        return text.substr(1);
    }
};

struct OrderCase {
    const char *what;
    const char *made;
    const char *zOrder;
    const char *order; // from the bottom up, "|" below the front screen
};

const char kHub[] = "menu:d set>menu exit>menu hub>menu:Ta ok>hub:Tt bar>hub:Tt b1>hub b5>hub gen>hub";

const OrderCase kOrderCases[] = {
    {"the menu alone", "menu:a set>menu exit>menu", "", "| menu set exit"},
    {"the hub over the menu, its ok and soft keys over its tiles",
     "menu:d set>menu exit>menu hub>menu:Ta ok>hub:Tt bar>hub:Tt b1>hub b5>hub gen>hub", "",
     "menu set exit | hub b1 b5 gen ok bar"},
    {"the hub's ok over its tiles, whatever the z-order says", kHub, "b5 ok gen bar b1 hub exit set menu",
     "menu set exit | hub b1 b5 gen ok bar"},
    {"a tapped tile in front of the hub's ok",
     "menu:d set>menu exit>menu hub>menu:T ok>hub:Tt bar>hub:Tt b1>hub b5>hub:a gen>hub", "",
     "menu set exit | hub b1 gen ok bar b5"},
    {"a page over the hub, the hub's windows below it in their order",
     "menu:d hub>menu:Td ok>hub:Tt bar>hub:Tt b1>hub b5>hub page>hub:Ta pok>page:Tt pbar>page:Tt frame>page "
     "field>page",
     "b5 pbar pok field frame page b1 bar ok hub menu", "menu hub ok bar b1 b5 | page frame field pok pbar"},
    {"a picker over the page",
     "hub:Td b1>hub page>hub:Td pok>page:Tt field>page picker>page:Ta kok>picker:Tt tree>picker", "",
     "hub b1 page pok field | picker tree kok"},
    {"a box without owner over the menu", "menu set>menu exit>menu box:a", "", "menu set exit | box"},
    {"a closed box that left no active window: the highest window without owner leads",
     "menu set>menu exit>menu ime:h box:h", "", "| menu set exit"},
    {"a dropped list in front of everything", "hub:Td page>hub:Ta list>page:TtL pok>page:Tt field>page", "",
     "hub | page field pok list"},
    {"a dialog still making its fields is not on the screen",
     "menu:d hub>menu:Ta ok>hub:Tt b1>hub page>hub:Th "
     "field>page",
     "", "menu | hub b1 ok"},
};

TEST(StackingOrder, FrontScreenLeadsInThePhoneOrder)
{
    for (const OrderCase &c : kOrderCases)
        EXPECT_EQ(Snapshot(c.made, c.zOrder).Order(), c.order) << c.what;
}

struct RaiseCase {
    const char *what;
    const char *made;
    const char *stacking; // the screen's stacking, from the bottom up
    const char *raised;   // the windows to bring to the top, in turn
};

const char kPage[] = "menu:d hub>menu:Td ok>hub:Tt b1>hub page>hub:Ta pok>page:Tt pbar>page:Tt frame>page field>page";

const RaiseCase kRaiseCases[] = {
    {"a screen already in order", kPage, "menu hub ok b1 page frame field pok pbar", ""},
    {"a page's fields made after its ok and soft-key bar", kPage, "menu hub ok b1 page pok pbar frame field",
     "pok pbar"},
    {"the screen below stacked over the front one", kPage, "menu page frame field pok pbar hub b1 ok",
     "page frame field pok pbar"},
    {"the screens below in another order than the z-order", kPage, "hub menu b1 ok page frame field pok pbar", ""},
    {"a window the stacking lacks", kPage, "menu hub ok b1 page frame pok pbar", "field pok pbar"},
    {"only a dropped list below", "hub:Td page>hub:Ta list>page:TtL field>page", "hub list page field", "list"},
};

TEST(StackingOrder, RaisesOnlyWhatTheScreenStacksOutOfPlace)
{
    for (const RaiseCase &c : kRaiseCases) {
        Snapshot snapshot(c.made);
        PhoneOrder order;
        WorkOutPhoneOrder(snapshot.windows.data(), (int)snapshot.windows.size(), &order);
        std::vector<int> stacking;
        for (const std::string &name : Snapshot::Words(c.stacking))
            stacking.push_back(snapshot.Index(name));
        std::string raised;
        for (int i = FirstWindowToRaise(order, stacking.data(), (int)stacking.size()); i < order.count; i++)
            raised += (raised.empty() ? "" : " ") + snapshot.names[order.windows[i]];
        EXPECT_EQ(raised, c.raised) << c.what;
    }
}

struct HeightCase {
    const char *what;
    const char *zOrder;
    const char *window;
    bool tooHigh;
};

const HeightCase kHeightCases[] = {
    {"a dialog the screen raised over its tiles", "hub bar ok gen b5 b1 exit set menu", "hub", true},
    {"a dialog below its tiles", "bar ok gen b5 b1 hub exit set menu", "hub", false},
    {"a tile over the ok", "b5 bar ok gen b1 hub exit set menu", "b5", true},
    {"the top of the screen", "bar ok gen b5 b1 hub exit set menu", "bar", false},
};

TEST(StackingOrder, TellsAWindowStandingAboveItsPlace)
{
    for (const HeightCase &c : kHeightCases) {
        Snapshot snapshot(kHub, c.zOrder);
        PhoneOrder order;
        WorkOutPhoneOrder(snapshot.windows.data(), (int)snapshot.windows.size(), &order);
        EXPECT_EQ(StandsTooHigh(order, (int)snapshot.windows.size(), snapshot.Index(c.window)), c.tooHigh) << c.what;
    }
}

struct MoveCase {
    const char *what;
    const char *made;
    const char *zOrder;
    const char *moves; // "window<below" each; "<top": the top of the windows outside the topmost band
};

const MoveCase kMoveCases[] = {
    {"a z-order in order", kHub, "bar ok gen b5 b1 hub exit set menu", ""},
    {"a tile raised over the hub's ok behind the rules' back", kHub, "b5 bar ok gen b1 hub exit set menu", "b5<gen"},
    {"the hub's windows over the page's", kPage, "ok b1 pbar pok field frame page hub menu", "ok<page b1<ok"},
    {"a window below the topmost band placed at its top", "menu:a set>menu exit>menu other t:T",
     "t other exit set menu", "exit<top set<exit menu<set"},
};

TEST(StackingOrder, PlacesWindowsWithoutBringingAnyToTheTop)
{
    for (const MoveCase &c : kMoveCases) {
        Snapshot snapshot(c.made, c.zOrder);
        PhoneOrder order;
        WorkOutPhoneOrder(snapshot.windows.data(), (int)snapshot.windows.size(), &order);
        StackingMove moves[kMaxStackedWindows];
        int count = PlacingMoves(snapshot.windows.data(), (int)snapshot.windows.size(), order, moves);
        std::string text;
        for (int i = 0; i < count; i++) {
            text += (text.empty() ? "" : " ") + snapshot.names[moves[i].window] + "<" +
                    (moves[i].below < 0 ? "top" : snapshot.names[moves[i].below]);
        }
        EXPECT_EQ(text, c.moves) << c.what;
    }
}

} // namespace
