// Every gesture of play as one table: the position laid, what the player does, what must follow.
// After every single event the table must equal a full repaint of the position, the window must
// show the table and the hand, and no window pixel may change without being shown.
#include "DrawArt.h"
#include "Invariants.h"
#include "Printers.h"
#include "TestHost.h"
#include "keys/KeyPlay.h"
#include "keys/PlaceNames.h"
#include "model/Rules.h"
#include "play/Deck.h"
#include "play/Mouse.h"
#include "settings/UiTexts.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <sstream>

namespace {
using Point = std::pair<float, float>;
using std::to_string;
// "key: words | key: words" as pairs.
std::vector<std::pair<std::string, std::string>> Fields(const std::string& s) {
    static const std::regex field(R"((\w+): *([^|]*[^| ])?)");
    std::vector<std::pair<std::string, std::string>> fields;
    for (std::sregex_iterator m(s.begin(), s.end(), field), end; m != end; ++m)
        fields.emplace_back((*m)[1], (*m)[2]);
    return fields;
}
// The draw rule, the position ("p2: (3D) KH QS | W: 2C | fan: 2 | undo: p2 | armed: 0"), the
// gesture ("drag p2.2 p5; undo") and what must follow ("p5: K♥ Q♠ | hand: nothing | fan: 0 |
// menu: 1 | down: 100,164 | undo: 3 pile 2 > pile 5 | sounds: move move"); no undo record and
// silence unless the row says otherwise.
struct Row {
    uint8_t rule;
    const char *layout, *gesture, *expect;
};
class Gestures : public ::testing::Test {
  protected:
    drawtest::DressedGame d;
    Game& g = d.g;
    Table& t = g.table;
    TestHost& host = d.t.host;
    void SetUp() override {
        g.sounds.MoveSoundData = {'m', 'o', 'v', 'e'};
        g.sounds.GoalSoundData = {'g', 'o', 'a', 'l'};
        g.settings.PlaySounds = true;
        SetDefaultTexts(g);
    }
    // The sorted deck (card 13 * suit + rank, suits S C H D) dealt, every pile emptied, then the
    // cards of the layout laid bottom first; parentheses mean face down.
    void Lay(uint8_t rule, const std::string& layout) {
        mnuDebugNoshuffle_Click(g);
        host.tick += 1000; // the game began a second ago, and its clock is stopped
        host.SetTimerEnabled(TimerId::UpdateTime, false);
        host.played.clear(), host.shown.clear(), host.shownNow.clear();
        host.optionsPopups = host.reseeds = host.paused = host.doEventsCalls = 0;
        for (uint8_t n = 1; n <= 13; ++n)
            t.PileAt(n).Count = 0;
        t.WasteFan = 0;
        g.settings.DrawRule = rule;
        for (const auto& [key, value] : Fields(layout)) {
            if (key == "fan") t.WasteFan = static_cast<uint8_t>(std::stoi(value));
            if (key == "armed") t.InputArmed = value == "1";
            if (key == "answer") host.answers = {value == "no" ? MsgResult::No : MsgResult::Yes};
            if (key == "random")
                host.randomScript.assign(2 * 22600, std::stod(value)); // two shuffles
            if (key == "undo") t.UndoAvailable = true, t.UndoCount = 1;
            if (key == "undo") t.UndoFrom = t.UndoTo = PileNo(value);
            std::istringstream cards(key.size() <= 2 ? value : "");
            for (std::string w; cards >> w;) {
                const bool down = w[0] == '(';
                if (down) w = w.substr(1, w.size() - 2);
                const size_t rank =
                    w.size() == 3 ? 10 : std::string("A23456789-JQK").find(w[0]) + 1;
                const auto n = static_cast<uint8_t>(13 * std::string("SCHD").find(w.back()) + rank);
                t.Cards[n].State = down ? StateFaceDown : StateFaceUp;
                t.PileAt(PileNo(key)).Push(n);
            }
        }
    }
    // One event. A position laid by hand is painted first; afterwards the pictures must agree
    // with the position, no card may be lost, and the window may have changed only where it was
    // told to show.
    template <typename Event> void Checked(Event event) {
        if (!t.Dragging) RepaintQuietly(g);
        Surface expected = g.gfx.surfWindow;
        const size_t shown = host.invalidated.size();
        const int cards = CardsOnTable(t);
        event();
        EXPECT_EQ(PictureDiffers(g), "") << PositionText(t);
        EXPECT_EQ(BrokenInvariant(g, false), "") << PositionText(t);
        EXPECT_GE(CardsOnTable(t), cards) << "a card was lost" << PositionText(t);
        for (size_t i = shown; i < host.invalidated.size(); ++i) {
            const auto& r = host.invalidated[i];
            Blit(expected, r[0], r[1], r[2], r[3], g.gfx.surfWindow, r[0], r[1]);
        }
        EXPECT_TRUE(expected.Pixels == g.gfx.surfWindow.Pixels) << "a pixel changed unseen";
    }
    // "S", "W" (its top card), "g2", "p3" (its top card), "p3.2" (its second card), "x,y"; to
    // carry onto a pile is to lay the lowest carried card near its next place.
    Point At(const std::string& a, bool carry) {
        const int wasteTop = WasteX + 2 + WasteTopOffset(t, g.settings.DrawRule);
        if (a == "W") return {static_cast<float>(wasteTop), 32};
        const size_t c = a.find(','), at = a.find('.');
        if (c < a.size()) return {std::stof(a), std::stof(a.substr(c + 1))};
        const Pile& p = t.PileAt(PileNo(a.substr(0, at)));
        const int slot = at < a.size() ? std::stoi(a.substr(at + 1)) : std::max(1, p.Count + carry);
        const int y = p.Y + (a[0] == 'p') * TableauStep * (slot - 1) + (carry ? t.GrabDY + 2 : 5);
        return {static_cast<float>(p.X + (carry ? t.GrabDX + 3 : 10)), static_cast<float>(y)};
    }
    // Clicks as the platform delivers them; press2 is the right button, press4 the middle.
    void Run(std::string gesture) {
        for (const auto& [verb, events] : {std::pair{"click", "press $1 release $1"},
                                           {"dbl", "press $1 release $1 dblclick release $1"},
                                           {"right", "press2 $1 release2 $1"},
                                           {"drag", "press $1 carry"}})
            gesture =
                std::regex_replace(gesture, std::regex(Cat({"\\b", verb, " (\\S+)"})), events);
        std::replace(gesture.begin(), gesture.end(), ';', ' ');
        std::istringstream in(gesture);
        for (std::string v, a; in >> v;) {
            const auto command = v == "dblclick"    ? Form_DblClick
                                 : v == "undo"      ? mnuFileUndo_Click
                                 : v == "lost"      ? Form_CaptureLost
                                 : v == "newgame"   ? mnuFileNewgame_Click
                                 : v == "noshuffle" ? mnuDebugNoshuffle_Click
                                                    : nullptr;
            if (command) {
                Checked([&] { command(g); });
                continue;
            }
            in >> a;
            const Point p = At(a, v == "carry");
            const auto button = static_cast<uint8_t>(std::isdigit(v.back()) ? v.back() - '0' : 1);
            if (v == "carry") Checked([&] { Form_MouseMove(g, ButtonLeft, 0, p.first, p.second); });
            const auto h = v[0] == 'p'   ? Form_MouseDown
                           : v[0] == 'm' ? Form_MouseMove
                                         : Form_MouseUp;
            Checked([&] { h(g, button, 0, p.first, p.second); });
        }
    }
    std::string Actual(const std::string& key) {
        std::string heard, asked; // the sounds' data are their names
        for (const auto& s : host.played)
            heard += Cat({heard.empty() ? "" : " ", std::string(s.data.begin(), s.data.end()),
                          s.how == "async" ? "" : s.how});
        for (const auto& q : host.shown)
            asked +=
                Cat({q.text, " ", q.title, q.style == MsgStyle::YesNoQuestion ? " yes/no" : " ?"});
        const auto& steps = host.shownNow; // a flight back: its steps, each shown at once
        const auto first = steps.empty() ? std::array<int, 4>{} : host.invalidated.at(steps[0] - 1);
        if (key == "flight")
            return Cat({to_string(steps.size()), " steps in ", to_string(host.paused), " ms, ",
                        to_string(host.doEventsCalls), " presses served, first at ",
                        to_string(first[0]), ",", to_string(first[1])});
        if (key == "clock") // since the deal, and whether it ticks
            return Cat({to_string(host.tick - t.GameStart),
                        host.TimerEnabled(TimerId::UpdateTime) ? " on" : " off"});
        if (key == "down") return Cat({to_string(t.DownX), ",", to_string(t.DownY)});
        if (key == "sounds" || key == "asked") return key == "sounds" ? heard : asked;
        if (key == "hand" || key == "undo") return key == "hand" ? HandText(t) : UndoText(t);
        if (key == "fan" || key == "menu")
            return to_string(key == "fan" ? t.WasteFan : host.optionsPopups);
        if (key == "reseeds") return to_string(host.reseeds);
        return PileText(t, t.PileAt(PileNo(key)));
    }
};
// 600,450 below is bare felt.
const Row Rows[] = {
    // Tableau drops: rank and colour of the top card only, kings onto empty piles.
    {1, "p2: (3D) KH QS JD", "drag p2.2 p5",
     "p5: K♥ Q♠ J♦ | p2: 1 down | undo: 3 pile 2 > pile 5 | sounds: move"},
    {1, "p3: QC | undo: p3", "drag p3.1 p6", "p3: Q♣ | p6: empty | undo: 1 pile 3 > pile 3"},
    {1, "p1: AD | p2: 6H | p3: 6C | p4: 2S | p5: (KD) (7C) | p6: 7H",
     "drag p1 p4; drag p2 p5; drag p3 p6",
     "p4: 2♠ A♦ | p5: 2 down, 6♥ | p6: 7♥ 6♣ | undo: 1 pile 3 > pile 6 | sounds: move move move"},
    {1, "p1: AH | p2: 5H | p3: 6C | p4: 2D | p5: 7S", "drag p1 p4; drag p2 p5; drag p3 p5",
     "p4: 2♦ | p5: 7♠ | p1: A♥ | p2: 5♥ | p3: 6♣"},
    {1, "p1: 6H | p2: KH | p3: (7D) | p4: QS", "drag p1 p3; drag p2 p4",
     "p3: 1 down | p4: Q♠ | p1: 6♥ | p2: K♥"},
    {1, "p1: 9H 4H 4D | p4: 10C", "drag p1.1 p4",
     "p4: 10♣ 9♥ 4♥ 4♦ | undo: 3 pile 1 > pile 4 | sounds: move"},
    {1, "p2: (4C) 10D 9S", "drag p2.3 p2", "p2: 1 down, 10♦ 9♠ | undo: 1 pile 2 > pile 2"},
    // Goal drops: own suit, one card, next rank.
    {1, "p1: 3S 2H AH", "drag p1.3 g1; drag p1.3 g2; drag p1.3 g4; drag p1.3 g3",
     "g1: empty | g2: empty | g3: A♥ | g4: empty | p1: 3♠ 2♥ | undo: 1 pile 1 > goal 3 | sounds: "
     "goal"},
    {1, "g1: AS | g3: AH | p1: 3S | p2: 2C | p7: 2H 5C", "drag p1 g1; drag p2 g2; drag p7.1 g3",
     "g1: A♠ | g2: empty | g3: A♥ | p1: 3♠ | p2: 2♣ | p7: 2♥ 5♣"},
    {1, "p5: AS", "press 410,254; release 335,60", "g1: empty | p5: A♠"},
    {1, "p5: AS", "press 410,254; release 335,63",
     "g1: A♠ | undo: 1 pile 5 > goal 1 | sounds: goal"},
    {1, "g4: AD 2D", "drag g4 g4", "g4: A♦ 2♦ | undo: 1 goal 4 > goal 4"},
    {1, "g2: AC 2C 3C | p6: 4H", "drag g2 p6",
     "p6: 4♥ 3♣ | g2: A♣ 2♣ | undo: 1 goal 2 > pile 6 | sounds: move"},
    {3, "W: AS 2S 9H | p3: 10S | fan: 2", "drag W p3",
     "p3: 10♠ 9♥ | W: A♠ 2♠ | fan: 0 | undo: 1 waste > pile 3 | sounds: move"},
    {3, "W: AS 2S 2C | g2: AC | fan: 2", "drag W g2",
     "g2: A♣ 2♣ | fan: 0 | undo: 1 waste > goal 2 | sounds: goal"},
    // Refused cards go back to the slot they came from and give back their fan count.
    {3, "W: 2C 3C 4C 5C 6C", "press 132,32; release 400,400",
     "W: 2♣ 3♣ 4♣ 5♣ 6♣ | fan: 0 | down: 130,30"},
    {3, "W: 2C 3C 4C 5C 6C | fan: 1", "press 117,32; release 400,400", "fan: 1 | down: 115,30"},
    {3, "W: 2C 3C 4C 5C 6C | fan: 2", "press 102,32; release 400,400", "fan: 2 | down: 100,30"},
    {3, "W: 2C 3C", "press 117,32; release 400,400", "W: 2♣ 3♣ | fan: 0 | down: 115,30"},
    {1, "W: 2C 3C", "press 102,32; release 400,400; press 102,32; release 400,400",
     "fan: 1 | down: 100,30"},
    {1, "p3: (2D) 9H 8S | S: KC", "press p3.2; move 300,400; lost; lost; release 300,400",
     "p3: 1 down, 9♥ 8♠ | hand: nothing | S: K♣"},
    {1, "p1: AS", "press2 105,169; press p1; move 300,300; release2 300,300",
     "menu: 1 | g1: empty | p1: A♠ | down: 100,164"},
    // Carrying: near and far moves, off every edge, other buttons.
    {1, "p1: KS QH JS 10H 9S 8H 7S 6H 5S 4H 3S 2H AS",
     "press 110,169; move 111,170; move 48,66; move 128,169; move 128,273; move -30,-40; "
     "move 630,475; move3 300,300",
     "down: 620,470 | hand: K♠ Q♥ J♠ 10♥ 9♠ 8♥ 7♠ 6♥ 5♠ 4♥ 3♠ 2♥ A♠ from pile 1"},
    // Sending: double-click and right-click.
    {1, "g1: AS | p4: (9D) 3S 2S", "dbl p4.3; dbl p4.2",
     "g1: A♠ 2♠ 3♠ | p4: 1 down | undo: 1 pile 4 > goal 1 | sounds: goal goal"},
    {1, "g1: AS | p4: (9D)", "dbl p4.1", "p4: 9♦ | g1: A♠"},
    {1, "p6: (7H) (AD)", "dbl p6.2",
     "g4: A♦ | p6: 1 down | undo: 1 pile 6 > goal 4 | sounds: goal"},
    {1, "p2: AH 5C", "right p2.1", "p2: A♥ 5♣ | menu: 1"},
    {1, "S: 2H 3H 4H | undo: p1 | p1: KS", "dbl S", "W: 4♥ 3♥ | S: 2♥"},
    {1, "p3: AC", "right p3",
     "g2: A♣ | p3: empty | menu: 0 | undo: 1 pile 3 > goal 2 | sounds: goal"},
    {1, "undo: p1 | p1: KS", "right 600,450; right p3", "menu: 2 | undo: 1 pile 1 > pile 1"},
    {1, "S: KS", "right 89,134; right 88,134", "W: K♠ | menu: 0"},
    {3, "g1: AS 2S | W: QH 9D 8C 3S", "right 99,80; right 165,80; right 100,80",
     "g1: A♠ 2♠ 3♠ | menu: 2 | undo: 1 waste > goal 1 | sounds: goal"},
    {3, "g1: AS 2S | W: QH 9D 8C 3S", "right 164,80",
     "g1: A♠ 2♠ 3♠ | undo: 1 waste > goal 1 | sounds: goal"},
    {3, "W: KH 5D 3S 2S AS", "right W; right W; right W",
     "g1: A♠ 2♠ 3♠ | fan: 0 | W: K♥ 5♦ | undo: 1 waste > goal 1 | sounds: goal goal goal"},
    {3, "W: KH 5D", "right W", "W: K♥ 5♦ | menu: 1"},
    {1, "p1: AH", "click p1; press2 600,400; dblclick; press p1; dblclick",
     "g3: empty | hand: A♥ from pile 1"},
    // Undo.
    {1, "p1: (4S) (QD) 9S 8H 7C | p5: 10H", "drag p1.3 p5; undo; undo",
     "p1: 2 down, 9♠ 8♥ 7♣ | p5: 10♥ | sounds: move"},
    {3, "W: 5H 6H AH", "right W; undo", "W: 5♥ 6♥ A♥ | g3: empty | fan: 1 | sounds: goal"},
    {1, "p2: (4C) 10D 9S", "drag p2.3 p2; undo", "p2: 1 down, 10♦ 9♠"},
    {1, "p1: KS QH | p2: KC", "drag p1.2 p2; press p2.1; undo; release 5,470; undo",
     "p1: K♠ Q♥ | p2: K♣ | sounds: move"},
    // New games: the question, the clock, the shuffle from the deck's order as it is (every draw
    // of 0 picks card 1, so each shuffle rotates the deck by two places), the unshuffled deal.
    {1, "p1: KS | undo: p1 | answer: no", "newgame",
     "p1: K♠ | undo: 1 pile 1 > pile 1 "
     "| clock: 1000 off | asked: 是否结束当前游戏? 是否开始新游戏? yes/no"},
    {1, "p1: KS | undo: p1 | random: 0", "newgame; newgame",
     "p1: 5♠ | p4: 3 down, A♣ | p7: 6 down, 6♥ | clock: 0 on | reseeds: 2"},
    {1, "p7: KS", "press p7; newgame; release 300,300", "hand: nothing"},
    {3, "g2: AC | p1: (KS) | W: 2D | undo: g2 | fan: 2 | armed: 0",
     "noshuffle; newgame; noshuffle; press p1",
     "hand: A♠ from pile 1 | p4: 3 down, 10♠ | g2: empty "
     "| S: 3♥ 4♥ 5♥ 6♥ 7♥ 8♥ 9♥ 10♥ J♥ Q♥ K♥ A♦ 2♦ 3♦ 4♦ 5♦ 6♦ 7♦ 8♦ 9♦ 10♦ J♦ Q♦ K♦"},
    // The flight back: 25 steps (truncated: -37 / 25 is -1 on the first), paced on the tick count.
    {1, "p4: 8D", "press p4; move 372,219; release 372,219",
     "p4: 8♦ | flight: 25 steps in 175 ms, 0 presses served, first at 361,212"},
    // Presses: the stock, the waste fan, the tableau, the goals.
    {3, "S: AS 2S 3S 4S 5S 6S 7S | undo: p1 | p1: KC", "press S", "W: 7♠ 6♠ 5♠ | S: A♠ 2♠ 3♠ 4♠"},
    {3, "S: AS 2S 3S 4S 5S 6S 7S", "press S; press S; press S; press S",
     "S: A♠ 2♠ 3♠ 4♠ 5♠ 6♠ 7♠ | W: empty"},
    {3, "S: 9H KD | W: 2C | fan: 2", "press S", "W: 2♣ 9♥ K♦ | fan: 0 | S: empty"},
    {1, "S: 5D 6D", "press S; press S; press S", "S: 5♦ 6♦ | W: empty"},
    {3, "undo: p1 | p1: KC", "press S", "S: empty"},
    {3, "W: 2C 3C 4C 5C | undo: p1 | p1: KC", "press 137,39",
     "hand: 5♣ from waste | fan: 1 | down: 130,30 | undo: 1 pile 1 > pile 1"},
    {3, "W: 2C 3C 4C 5C | fan: 2", "press 164,35; press 163,35",
     "hand: 5♣ from waste | fan: 3 | down: 100,30"},
    {1, "p3: (2D) 9H 8S 7H", "press 270,198",
     "hand: 8♠ 7♥ from pile 3 | p3: 1 down, 9♥ | down: 250,192"},
    {1, "p2: (QS) (3D) 4C",
     "press 180,306; press 180,181; press 239,167; press p5; press W; press g2",
     "hand: nothing | p2: 2 down, 4♣"},
    {1, "p6: (KC) (5H) | undo: p6", "press p6.2", "p6: 1 down, 5♥ | hand: nothing"},
    {1, "g2: AC 2C 3C", "press 463,134", "hand: 3♣ from goal 2 | g2: A♣ 2♣ | down: 400,30"},
    {1, "p1: KS | S: 2D", "press4 p1; press p1; press S; press2 1,1",
     "S: 2♦ | hand: K♠ from pile 1 | down: 100,164"},
    {1, "p1: KS | armed: 0", "press p1", "hand: nothing | p1: K♠"},
};
} // namespace
TEST_F(Gestures, EveryRowLeavesItsPilesUndoAndSounds) {
    for (const Row& r : Rows) {
        SCOPED_TRACE(Cat({r.layout, " / ", r.gesture}));
        Lay(r.rule, r.layout);
        Run(r.gesture);
        std::map<std::string, std::string> expected = {{"undo", "none"}, {"sounds", ""}};
        for (const auto& [key, value] : Fields(r.expect))
            expected[key] = value;
        for (const auto& [key, value] : expected)
            EXPECT_EQ(Actual(key), value) << key << PositionText(t);
    }
}

namespace {
// Each key gesture beside the mouse gesture it stands for: after both, the same position, undo
// record, sounds and window. The focus starts on the stock at every deal; down from the stock
// is pile 1, up from pile 5 is goal 2.
struct Twin {
    uint8_t rule;
    const char *layout, *keys, *mouse;
};
const Twin Twins[] = {
    {1, "p2: (3D) KH QS JD", "down right deeper deeper enter right right right enter",
     "drag p2.2 p5"},
    {1, "p3: (2D) 9H 8S | p5: 10C", "down right right deeper deeper deeper enter right right enter",
     "drag p3.2 p5"},
    {1, "p1: 9H 8S 7H | p4: 9D", "down deeper deeper shallower enter right right right enter",
     "drag p1.2 p4"},
    {1, "p1: AD | p4: 3S", "down enter right right right enter", "drag p1 p4"},
    {1, "p2: (4C) 10D 9S", "down right enter enter", "drag p2.3 p2"},
    {1, "p5: AS", "down right right right right enter up left enter", "drag p5 g1"},
    {1, "g2: AC 2C 3C | p6: 4H", "right right right enter down right enter", "drag g2 p6"},
    {3, "W: AS 2S 9H | p3: 10S | fan: 2", "right enter down right right enter", "drag W p3"},
    {1, "p3: (2D) 9H 8S | p5: 10D", "down right right deeper enter right right send escape",
     "press p3.2; move 400,300; release 600,450"},
    {1, "g1: AS | p4: (9D) 3S 2S", "down right right right send send", "dbl p4.3; dbl p4.2"},
    {1, "g1: AS | p4: 3S 2S", "down right right right deeper send", "dbl p4.2"},
    {3, "g1: AS 2S | W: QH 9D 8C 3S", "right send", "dbl W"},
    {1, "p6: (7H) (AD)", "down right right right right right send", "dbl p6.2"},
    {1, "p6: (KC) (5H) | undo: p6", "down right right right right right enter", "click p6.2"},
    {1, "S: 2H 3H 4H | undo: p1 | p1: KS", "left up enter enter", "click S; click S"},
    {1, "S: 2H 3H", "send", "dbl S"},
};
} // namespace
TEST_F(Gestures, EachKeyGestureEndsAsItsMouseTwin) {
    const std::map<std::string, PlayKey> keyNames = {
        {"left", PlayKey::Left}, {"right", PlayKey::Right},         {"up", PlayKey::Up},
        {"down", PlayKey::Down}, {"deeper", PlayKey::Deeper},       {"enter", PlayKey::Act},
        {"send", PlayKey::Send}, {"shallower", PlayKey::Shallower}, {"escape", PlayKey::PutBack}};
    for (const Twin& r : Twins) {
        SCOPED_TRACE(Cat({r.layout, " / ", r.keys}));
        const auto outcome = [&] { return Cat({PositionText(t), "sounds: ", Actual("sounds")}); };
        Lay(r.rule, r.layout);
        Run(r.mouse);
        const std::string mouse = outcome();
        const Surface window = g.gfx.surfWindow;
        Lay(r.rule, r.layout);
        KeyPlay keys;
        std::istringstream in(r.keys);
        for (std::string k; in >> k;)
            Checked([&] { keys.Handle(g, keyNames.at(k)); });
        EXPECT_EQ(outcome(), mouse);
        EXPECT_TRUE(drawtest::Same(g.gfx.surfWindow, window));
    }
}

// What a screen reader says of a place: its cards from the top down, the face-down ones counted;
// the focused pile also how many cards a press there takes.
TEST_F(Gestures, PlacesAreNamedForWhatTheyHold) {
    const std::tuple<const char*, uint8_t, int, const char*> rows[] = {
        {"p3: (2D) (5C) QH JS 10D", 3, 0, "第 3 列：方块 10 在上，下面 黑桃 J，红心 Q，2 张背面"},
        {"p5: 9H 8S 7D", 5, 2, "第 5 列：方块 7 在上，下面 黑桃 8，红心 9；选中 3 张"},
        {"p6: (2D) (5C)", 6, 0, "第 6 列：2 张背面"},
        {"W: 7C 8C", PileWaste, 0, "废牌堆：梅花 8"},
        {"S: AS 2S", PileStock, 0, "发牌堆：2 张"},
        {"W: AS", PileStock, 0, "发牌堆：空"},
        {"g4: AD 2D", 11, 0, "目标 4：方块 2"}};
    for (const auto& [layout, place, depth, name] : rows) {
        Lay(1, layout);
        EXPECT_EQ(FocusedPlaceName(t, place, depth), name) << layout;
    }
}
