// The phone's stacking order as a function of a snapshot of windows: the order the screen must show, the windows
// that must come to the top for it, and the moves that put the z-order right without bringing any to the top.
#include <gtest/gtest.h>

#include <string.h>

#include <sstream>
#include <string>
#include <vector>

#include "stacking_order.h"

namespace
{

std::vector<std::string> Words(const std::string &text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// A thread's windows, written as "name[>owner][:flags]" in the order they were made. Flags: a active, d disabled,
// h hidden, t tool window, T topmost, L dropped list. The z-order, from the top, is the reverse unless given.
struct Snapshot {
    std::vector<std::string> names; // in z-order from the top
    std::vector<StackingWindow> windows;
    PhoneOrder order;

    Snapshot(const std::string &made, const std::string &zOrder = "")
    {
        std::vector<std::string> entries = Words(made);
        for (const std::string &entry : entries)
            names.insert(names.begin(), entry.substr(0, entry.find_first_of(">:")));
        if (!zOrder.empty())
            names = Words(zOrder);
        windows.resize(names.size());
        for (size_t number = 0; number < entries.size(); number++) {
            std::string entry = entries[number] + ":", flags = entry.substr(entry.find(':'));
            size_t arrow = entry.find('>');
            StackingWindow &w = windows[Index(entry.substr(0, entry.find_first_of(">:")))];
            w.hwnd = (HWND)(number + 1);
            w.created = number + 1;
            w.owned = arrow != std::string::npos;
            w.owner = w.owned ? Index(entry.substr(arrow + 1, entry.find(':') - arrow - 1)) : -1;
            w.visible = !strchr(flags.c_str(), 'h');
            w.enabled = !strchr(flags.c_str(), 'd');
            w.active = strchr(flags.c_str(), 'a');
            w.toolWindow = strchr(flags.c_str(), 't');
            w.topmost = strchr(flags.c_str(), 'T');
            w.droppedList = strchr(flags.c_str(), 'L');
        }
        WorkOutPhoneOrder(windows.data(), (int)windows.size(), &order);
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

    std::string Name(int index) const { return index < 0 ? "top" : names[index]; }
};

std::string Joined(const std::vector<std::string> &words)
{
    std::string text;
    for (const std::string &word : words)
        text += (text.empty() ? "" : " ") + word;
    return text;
}

struct OrderCase {
    const char *what;
    const char *made;
    const char *zOrder;
    const char *order; // from the bottom up, "|" below the front screen
};

const char kHub[] = "menu:d set>menu exit>menu hub>menu:Ta ok>hub:Tt bar>hub:Tt b1>hub b5>hub gen>hub";
const char kPage[] = "menu:d hub>menu:Td ok>hub:Tt b1>hub page>hub:Ta pok>page:Tt pbar>page:Tt frame>page field>page";

const OrderCase kOrderCases[] = {
    {"the menu alone", "menu:a set>menu exit>menu", "", "| menu set exit"},
    {"the hub over the menu, its ok and soft keys over its tiles", kHub, "", "menu set exit | hub b1 b5 gen ok bar"},
    {"the hub's ok over its tiles, whatever the z-order says", kHub, "b5 ok gen bar b1 hub exit set menu",
     "menu set exit | hub b1 b5 gen ok bar"},
    {"a tapped tile in front of the hub's ok",
     "menu:d set>menu exit>menu hub>menu:T ok>hub:Tt bar>hub:Tt b1>hub b5>hub:a gen>hub", "",
     "menu set exit | hub b1 gen ok bar b5"},
    {"a page over the hub, the hub's windows below it in their order", kPage,
     "pbar ok pok field frame page b1 hub menu", "menu hub b1 ok | page frame field pok pbar"},
    {"a picker over the page",
     "hub:Td b1>hub page>hub:Td pok>page:Tt field>page picker>page:Ta kok>picker:Tt tree>picker", "",
     "hub b1 page pok field | picker tree kok"},
    {"a box without owner over the menu", "menu set>menu exit>menu box:a", "", "menu set exit | box"},
    {"a closed box that left no active window: the highest window without owner leads",
     "menu set>menu exit>menu ime:h box:h", "", "| menu set exit"},
    {"a dropped list in front of everything", "hub:Td page>hub:Ta list>page:TtL pok>page:Tt field>page", "",
     "hub | page field pok list"},
    {"a dialog still making its fields is not on the screen",
     "menu:d hub>menu:Ta ok>hub:Tt b1>hub page>hub:Th field>page", "", "menu | hub b1 ok"},
};

TEST(StackingOrder, FrontScreenLeadsInThePhoneOrder)
{
    for (const OrderCase &c : kOrderCases) {
        Snapshot s(c.made, c.zOrder);
        std::vector<std::string> names;
        for (int i = 0; i <= s.order.count; i++) {
            if (i == s.order.frontFrom)
                names.push_back("|");
            if (i < s.order.count)
                names.push_back(s.names[s.order.windows[i]]);
        }
        EXPECT_EQ(Joined(names), c.order) << c.what;
    }
}

struct RaiseCase {
    const char *what;
    const char *made;
    const char *stacking; // the screen's stacking, from the bottom up
    const char *raised;   // the windows to bring to the top, in turn
};

const RaiseCase kRaiseCases[] = {
    {"a screen already in order", kPage, "menu hub ok b1 page frame field pok pbar", ""},
    {"a page's fields made after its ok and soft-key bar", kPage, "menu hub ok b1 page pok pbar frame field",
     "pok pbar"},
    {"the screen below stacked over the front one", kPage, "menu page frame field pok pbar hub b1 ok",
     "page frame field pok pbar"},
    {"the focus window raised over its own windows", kPage, "menu hub ok b1 frame field pok pbar page",
     "frame field pok pbar"},
    {"the screens below in another order than the z-order", kPage, "hub menu b1 ok page frame field pok pbar", ""},
    {"a window the stacking lacks", kPage, "menu hub ok b1 page frame pok pbar", "field pok pbar"},
    {"only a dropped list below", "hub:Td page>hub:Ta list>page:TtL field>page", "hub list page field", "list"},
};

TEST(StackingOrder, RaisesOnlyWhatTheScreenStacksOutOfPlace)
{
    for (const RaiseCase &c : kRaiseCases) {
        Snapshot s(c.made);
        std::vector<int> stacking;
        for (const std::string &name : Words(c.stacking))
            stacking.push_back(s.Index(name));
        std::vector<std::string> raised;
        for (int i = FirstWindowToRaise(s.order, stacking.data(), (int)stacking.size()); i < s.order.count; i++)
            raised.push_back(s.names[s.order.windows[i]]);
        EXPECT_EQ(Joined(raised), c.raised) << c.what;
    }
}

struct MoveCase {
    const char *what;
    const char *made;
    const char *zOrder;
    const char *moves;   // "window<below" each; "<top": the top of the windows outside the topmost band
    const char *tooHigh; // the windows standing above their place
};

const MoveCase kMoveCases[] = {
    {"a z-order in order", kHub, "bar ok gen b5 b1 hub exit set menu", "", ""},
    {"a tile an Expose put over the hub's ok", kHub, "b5 bar ok gen b1 hub exit set menu", "b5<gen", "b5"},
    {"a dialog an Expose put over its tiles", kHub, "hub bar ok gen b5 b1 exit set menu", "hub<b1", "hub"},
    {"the hub's windows over the page's", kPage, "ok b1 pbar pok field frame page hub menu", "ok<page b1<ok", "ok b1"},
    {"a window below the topmost band placed at its top", "menu:a set>menu exit>menu other t:T",
     "t other exit set menu", "exit<top set<exit menu<set", "other"},
};

TEST(StackingOrder, PlacesWindowsWithoutBringingAnyToTheTop)
{
    for (const MoveCase &c : kMoveCases) {
        Snapshot s(c.made, c.zOrder);
        StackingMove moves[kMaxStackedWindows];
        std::vector<std::string> made, tooHigh;
        for (int i = 0, count = PlacingMoves(s.windows.data(), (int)s.windows.size(), s.order, moves); i < count; i++)
            made.push_back(s.Name(moves[i].window) + "<" + s.Name(moves[i].below));
        for (int i = 0; i < (int)s.windows.size(); i++) {
            if (StandsTooHigh(s.order, (int)s.windows.size(), i))
                tooHigh.push_back(s.names[i]);
        }
        EXPECT_EQ(Joined(made), c.moves) << c.what;
        EXPECT_EQ(Joined(tooHigh), c.tooHigh) << c.what;
    }
}

} // namespace
