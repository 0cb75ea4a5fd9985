// Every gesture of play as one table: the position laid, what the player does, and the piles,
// undo record and sound that must follow. After every single event the table must equal a full
// repaint of the position, the window must show the table and the hand, and every changed window
// pixel must have been shown (see PlayTest).
#include "Positions.h"
#include "play/Deck.h"
#include "model/Rules.h"
#include <numeric>
#include <sstream>

namespace {
std::vector<std::string> Split(const std::string& s, char by) {
    std::vector<std::string> parts;
    std::stringstream in(s);
    for (std::string part; std::getline(in, part, by);) {
        part.erase(0, part.find_first_not_of(' '));
        part.erase(part.find_last_not_of(' ') + 1);
        if (!part.empty()) parts.push_back(part);
    }
    return parts;
}

// "p1".."p7", "g1".."g4", "S", "W" as pile numbers.
uint8_t PileNo(const std::string& key) {
    if (key == "S") return PileStock;
    if (key == "W") return PileWaste;
    return static_cast<uint8_t>(std::stoi(key.substr(1)) + (key[0] == 'g' ? 7 : 0));
}

struct Row {
    const char* what;
    uint8_t rule;
    const char* layout;  // "p2: (3D) KH QS | W: 2C | fan: 2 | undo: p2 | armed: 0"
    const char* gesture; // "drag p2.2 p5; undo"
    const char* expect;  // "p5: K♥ Q♠ | hand: nothing | fan: 0 | menu: 1 | down: 100,164"
    const char* undo;    // "none" or "3 pile 2 > pile 5"
    const char* sound;   // "", "move", "goal", "goal 2"
};

class Gestures : public PlayTest {
  protected:
    Point At(const std::string& a) {
        if (a == "S") return {StockX + 10.0f, StockY + 10.0f};
        if (a == "W") return {static_cast<float>(WasteX + WasteOffset() + 2), WasteY + 2.0f};
        if (a[0] == 'g') return OnCard(t.PileAt(PileNo(a)));
        if (a[0] == 'p') {
            const size_t dot = a.find('.');
            const int pile = std::stoi(a.substr(1, dot));
            const int slot = dot == std::string::npos ? std::max<int>(1, t.Tableau[pile].Count) : std::stoi(a.substr(dot + 1));
            return OnTableauCard(g, pile, slot);
        }
        const size_t comma = a.find(',');
        return {std::stof(a.substr(0, comma)), std::stof(a.substr(comma + 1))};
    }
    int WasteOffset();
    // The pointer that puts the lowest carried card's corner on pile b's next place.
    Point DropPoint(const std::string& b) {
        if (b[0] != 'p' && b[0] != 'g') return At(b);
        const Pile& p = t.PileAt(PileNo(b));
        const int y = b[0] == 'p' ? p.Y + TableauStep * p.Count : p.Y;
        return {static_cast<float>(p.X + t.GrabDX), static_cast<float>(y + t.GrabDY)};
    }
    void Lays(const std::string& layout) {
        for (const std::string& part : Split(layout, '|')) {
            const size_t colon = part.find(':');
            const std::string key = part.substr(0, colon), value = part.substr(colon + 1);
            if (key == "fan") t.WasteFan = static_cast<uint8_t>(std::stoi(value));
            else if (key == "armed") t.InputArmed = value.find('1') != std::string::npos;
            else if (key == "undo") {
                t.UndoAvailable = true;
                t.UndoCount = 1;
                t.UndoFrom = t.UndoTo = PileNo(Split(value, ' ')[0]);
            } else Lay(g, PileNo(key), value);
        }
    }
    void Run(const std::string& gesture) {
        for (const std::string& step : Split(gesture, ';')) {
            const std::vector<std::string> w = Split(step, ' ');
            const std::string& v = w[0];
            if (v == "press") Press(At(w[1]));
            else if (v == "release") Release(At(w[1]));
            else if (v == "move") Move(At(w[1]));
            else if (v == "move2") Event(Form_MouseMove, ButtonLeft | ButtonRight, At(w[1]));
            else if (v == "click") Click(At(w[1]));
            else if (v == "dbl") DoubleClick(At(w[1]));
            else if (v == "right") RightClick(At(w[1]));
            else if (v == "rdown") Event(Form_MouseDown, ButtonRight, At(w[1]));
            else if (v == "rup") Event(Form_MouseUp, ButtonRight, At(w[1]));
            else if (v == "mdown") Event(Form_MouseDown, ButtonMiddle, At(w[1]));
            else if (v == "dblclick") Do(Form_DblClick);
            else if (v == "undo") Do(mnuFileUndo_Click);
            else if (v == "lost") Do(Form_CaptureLost);
            else if (v == "newgame") Do([](Game& game) { NewGame(game, 1); });
            else if (v == "drag") {
                Press(At(w[1]));
                const Point to = DropPoint(w[2]);
                Move(to);
                Release(to);
            } else FAIL() << "unknown step " << step;
        }
    }
    std::string Actual(const std::string& key) {
        if (key == "hand") return HandText(t);
        if (key == "fan") return std::to_string(t.WasteFan);
        if (key == "menu") return std::to_string(host.optionsPopups);
        if (key == "down") return std::to_string(t.DownX) + "," + std::to_string(t.DownY);
        return PileText(t, t.PileAt(PileNo(key)));
    }
    std::string Undo() const {
        return t.UndoAvailable ? std::to_string(t.UndoCount) + " " + PileName(t.UndoFrom) + " > " + PileName(t.UndoTo)
                               : "none";
    }
    std::string Sounds() const {
        const int move = MoveSounds(), goal = GoalSounds();
        if (move + goal != static_cast<int>(host.played.size())) return "another sound";
        std::string s;
        for (const auto& [name, n] : {std::pair{"move", move}, std::pair{"goal", goal}}) {
            if (n == 0) continue;
            s.append(s.empty() ? "" : " ").append(name);
            if (n > 1) s.append(" ").append(std::to_string(n));
        }
        return s;
    }
};

int Gestures::WasteOffset() { return WasteTopOffset(t, g.settings.DrawRule); }

// Spots on the table used below: 600,450 and 20,450 are bare felt.
const Row Rows[] = {
    // Tableau drops: rank and colour of the top card only, kings onto empty piles.
    {"a king with its run onto an empty pile", 1, "p2: (3D) KH QS JD", "drag p2.2 p5",
     "p5: K♥ Q♠ J♦ | p2: 1 down | hand: nothing", "3 pile 2 > pile 5", "move"},
    {"a queen onto an empty pile flies back", 1, "p3: QC | undo: p3", "drag p3.1 p6", "p3: Q♣ | p6: empty",
     "1 pile 3 > pile 3", ""},
    {"an ace on a two of the other colour", 1, "p1: AD | p4: 2S", "drag p1 p4", "p4: 2♠ A♦ | p1: empty",
     "1 pile 1 > pile 4", "move"},
    {"an ace on a two of the same colour", 1, "p1: AH | p4: 2D", "drag p1 p4", "p4: 2♦ | p1: A♥", "none", ""},
    {"onto a face-down top card one higher", 1, "p1: 6H | p4: (KD) (7C)", "drag p1 p4", "p4: 2 down, 6♥",
     "1 pile 1 > pile 4", "move"},
    {"onto a face-down top card of the same colour", 1, "p1: 6H | p4: (7D)", "drag p1 p4",
     "p4: 1 down | p1: 6♥", "none", ""},
    {"clubs on spades: one colour", 1, "p1: 6C | p4: 7S", "drag p1 p4", "p4: 7♠ | p1: 6♣", "none", ""},
    {"clubs on hearts", 1, "p1: 6C | p4: 7H", "drag p1 p4", "p4: 7♥ 6♣", "1 pile 1 > pile 4", "move"},
    {"a run is judged by its lowest card alone", 1, "p1: 9H 4H 4D | p4: 10C", "drag p1.1 p4",
     "p4: 10♣ 9♥ 4♥ 4♦", "3 pile 1 > pile 4", "move"},
    {"a king onto a queen", 1, "p1: KH | p4: QS", "drag p1 p4", "p1: K♥ | p4: Q♠", "none", ""},
    {"a full pile refuses a card it would take", 1,
     "p1: (AS) (2S) (3S) (4S) (5S) (6S) (7S) (8S) (9S) (10S) (JS) (QS) (KS) (AC) (2C) (3C) (4C) (5C) (6C) 7C "
     "| p2: 6H",
     "drag p2 p1", "p2: 6♥ | p1: 19 down, 7♣", "none", ""},
    {"laying a run back where it lay is silent", 1, "p2: (4C) 10D 9S", "drag p2.3 p2",
     "p2: 1 down, 10♦ 9♠", "1 pile 2 > pile 2", ""},
    // Goal drops: own suit, one card, next rank.
    {"an ace onto another suit's goal", 1, "p1: 3S 2H AH", "drag p1.3 g1; drag p1.3 g2; drag p1.3 g4",
     "g1: empty | g2: empty | g4: empty | p1: 3♠ 2♥ A♥", "none", ""},
    {"an ace onto its own goal", 1, "p1: 3S 2H AH", "drag p1.3 g3", "g3: A♥ | p1: 3♠ 2♥", "1 pile 1 > goal 3",
     "goal"},
    {"two cards are refused by every goal", 1, "g3: AH | p7: 2H 5C", "drag p7.1 g3", "g3: A♥ | p7: 2♥ 5♣",
     "none", ""},
    {"the drop is judged by the lowest card's corner: 60 above", 1, "p5: AS",
     "press 410,254; release 335,60", "g1: empty | p5: A♠", "none", ""},
    {"the drop is judged by the lowest card's corner: 57 above", 1, "p5: AS",
     "press 410,254; release 335,63", "g1: A♠", "1 pile 5 > goal 1", "goal"},
    {"a goal card laid back on its goal is silent", 1, "g4: AD 2D", "drag g4 g4", "g4: A♦ 2♦",
     "1 goal 4 > goal 4", ""},
    {"a goal card back onto the tableau", 1, "g2: AC 2C 3C | p6: 4H", "drag g2 p6", "p6: 4♥ 3♣ | g2: A♣ 2♣",
     "1 goal 2 > pile 6", "move"},
    {"the third card of a fan played onto the tableau uses it up", 3, "W: AS 2S 9H | p3: 10S | fan: 2",
     "drag W p3", "p3: 10♠ 9♥ | W: A♠ 2♠ | fan: 0", "1 waste > pile 3", "move"},
    {"the third card of a fan played onto a goal uses it up", 3, "W: AS 2S 2C | g2: AC | fan: 2", "drag W g2",
     "g2: A♣ 2♣ | fan: 0", "1 waste > goal 2", "goal"},
    // Refused cards go back to the slot they came from and give back their fan count.
    {"waste back to slot +30", 3, "W: 2C 3C 4C 5C 6C", "press 132,32; release 400,400",
     "W: 2♣ 3♣ 4♣ 5♣ 6♣ | fan: 0 | down: 130,30", "none", ""},
    {"waste back to slot +15", 3, "W: 2C 3C 4C 5C 6C | fan: 1", "press 117,32; release 400,400",
     "fan: 1 | down: 115,30", "none", ""},
    {"waste back to slot 0", 3, "W: 2C 3C 4C 5C 6C | fan: 2", "press 102,32; release 400,400",
     "fan: 2 | down: 100,30", "none", ""},
    {"draw one keeps the count, from 0 it wraps to 2", 1, "W: 2C 3C", "press 102,32; release 400,400",
     "fan: 2 | down: 100,30", "none", ""},
    {"draw one gives one back", 1, "W: 2C 3C | fan: 2", "press 102,32; release 400,400", "fan: 1", "none", ""},
    {"losing the mouse while carrying puts the cards back once", 1, "p3: (2D) 9H 8S | S: KC",
     "press p3.2; move 300,400; lost; lost; release 300,400", "p3: 1 down, 9♥ 8♠ | hand: nothing | S: K♣",
     "none", ""},
    {"a right release while carrying offers the options with the cards home", 1, "p1: AS",
     "rdown 105,169; press p1; move 300,300; rup 300,300", "menu: 1 | g1: empty | p1: A♠ | down: 100,164",
     "none", ""},
    // Carrying: near and far moves, off every edge, other buttons.
    {"the hand follows the left button alone, off every edge", 1, "p1: KS QH JS 10H 9S 8H 7S 6H 5S 4H 3S 2H AS",
     "press 110,169; move 111,170; move 48,66; move 128,169; move 128,273; move -30,-40; move 630,475; "
     "move2 300,300",
     "down: 620,470 | hand: K♠ Q♥ J♠ 10♥ 9♠ 8♥ 7♠ 6♥ 5♠ 4♥ 3♠ 2♥ A♠ from pile 1 (kind 1)", "none", ""},
    // Sending: double-click and right-click.
    {"double-click sends the top card home, then the next", 1, "g1: AS | p4: (9D) 3S 2S",
     "dbl p4.3; dbl p4.2", "g1: A♠ 2♠ 3♠ | p4: 1 down", "1 pile 4 > goal 1", "goal 2"},
    {"the press turns a face-down top card; a 9 is not sent", 1, "g1: AS | p4: (9D)", "dbl p4.1",
     "p4: 9♦ | g1: A♠", "none", ""},
    {"a face-down ace is turned by the press, then sent", 1, "p6: (7H) (AD)", "dbl p6.2",
     "g4: A♦ | p6: 1 down", "1 pile 6 > goal 4", "goal"},
    {"only the top card of a pile is sent", 1, "p2: AH 5C", "right p2.1", "p2: A♥ 5♣ | menu: 1", "none", ""},
    {"double-clicking the stock turns it twice", 1, "S: 2H 3H 4H | undo: p1 | p1: KS", "dbl S",
     "W: 4♥ 3♥ | S: 2♥", "none", ""},
    {"right-click sends an ace", 1, "p3: AC", "right p3", "g2: A♣ | p3: empty | menu: 0", "1 pile 3 > goal 2",
     "goal"},
    {"right-click on felt or an empty pile offers the options", 1, "undo: p1 | p1: KS",
     "right 600,450; right p3", "menu: 2", "1 pile 1 > pile 1", ""},
    {"sending claims the stock's right edge, but its press misses", 1, "S: KS", "right 89,134",
     "W: empty | menu: 0", "none", ""},
    {"a right-click just inside the stock turns it", 1, "S: KS", "right 88,134", "W: K♠ | menu: 0", "none", ""},
    {"the waste is not sent from left of its first card", 3, "g1: AS 2S | W: QH 9D 8C 3S", "right 99,80", "g1: A♠ 2♠ | menu: 1",
     "none", ""},
    {"the waste is sent from its first card's left edge", 3, "g1: AS 2S | W: QH 9D 8C 3S", "right 100,80",
     "g1: A♠ 2♠ 3♠", "1 waste > goal 1", "goal"},
    {"and from its right edge", 3, "g1: AS 2S | W: QH 9D 8C 3S", "right 164,80", "g1: A♠ 2♠ 3♠",
     "1 waste > goal 1", "goal"},
    {"but not past it", 3, "g1: AS 2S | W: QH 9D 8C 3S", "right 165,80", "g1: A♠ 2♠ | menu: 1", "none", ""},
    {"sending the third card of a fan uses it up", 3, "W: KH 5D 3S 2S AS", "right W; right W; right W",
     "g1: A♠ 2♠ 3♠ | fan: 0 | hand: nothing | W: K♥ 5♦", "1 waste > goal 1", "goal 3"},
    {"a waste card with no goal to go to offers the options", 3, "W: KH 5D", "right W",
     "W: K♥ 5♦ | menu: 1", "none", ""},
    {"an empty waste sends nothing", 3, "", "right 110,40", "menu: 1", "none", ""},
    {"double-click after a right press sends nothing", 1, "p1: AH", "click p1; rdown 600,400; dblclick",
     "g3: empty | p1: A♥", "none", ""},
    {"double-click while carrying sends nothing", 1, "p1: AH", "press p1; dblclick",
     "g3: empty | hand: A♥ from pile 1 (kind 1)", "none", ""},
    // Undo.
    {"a run comes back in its order onto the card it uncovered", 1, "p1: (4S) (QD) 9S 8H 7C | p5: 10H",
     "drag p1.3 p5; undo; undo", "p1: 2 down, 9♠ 8♥ 7♣ | p5: 10♥", "none", "move"},
    {"a sent waste card goes back on top; the fan count stays", 3, "W: 5H 6H AH", "right W; undo",
     "W: 5♥ 6♥ A♥ | g3: empty | fan: 1", "none", "goal"},
    {"undoing a move onto the same pile changes nothing", 1, "p2: (4C) 10D 9S", "drag p2.3 p2; undo",
     "p2: 1 down, 10♦ 9♠", "none", ""},
    {"undo waits while cards are carried", 1, "p1: KS QH | p2: KC", "drag p1.2 p2; press p2.1; undo",
     "p2: empty | hand: K♣ Q♥ from pile 2 (kind 1)", "1 pile 1 > pile 2", "move"},
    {"and works once they are down", 1, "p1: KS QH | p2: KC", "drag p1.2 p2; press p2.1; undo; release 5,470; undo",
     "p1: K♠ Q♥ | p2: K♣", "none", "move"},
    {"a new game while carrying deals every card once", 1, "p7: KS", "press p7; newgame; release 300,300",
     "hand: nothing", "none", ""},
    // Presses: the stock, the waste fan, the tableau, the goals.
    {"draw three turns three", 3, "S: AS 2S 3S 4S 5S 6S 7S | undo: p1 | p1: KC", "press S",
     "W: 7♠ 6♠ 5♠ | S: A♠ 2♠ 3♠ 4♠", "none", ""},
    {"then the last one, then turns the waste over", 3, "S: AS 2S 3S 4S 5S 6S 7S",
     "press S; press S; press S; press S", "S: A♠ 2♠ 3♠ 4♠ 5♠ 6♠ 7♠ | W: empty", "none", ""},
    {"two left put the stock's top on the waste's top", 3, "S: 9H KD | W: 2C | fan: 2", "press S",
     "W: 2♣ 9♥ K♦ | fan: 0 | S: empty", "none", ""},
    {"draw one turns one", 1, "S: 5D 6D", "press S", "W: 6♦ | S: 5♦", "none", ""},
    {"draw one turns the waste over", 1, "W: 5D 6D", "press S", "S: 6♦ 5♦ | W: empty", "none", ""},
    {"a stock press with nothing to move still forgets the undo", 3, "undo: p1 | p1: KC", "press S",
     "S: empty", "none", ""},
    {"a waste press takes the top card from its fan slot", 3, "W: 2C 3C 4C 5C | undo: p1 | p1: KC",
     "press 137,39", "hand: 5♣ from waste (kind 3) | fan: 1 | down: 130,30", "1 pile 1 > pile 1", ""},
    {"after two cards of a fan the top is at slot 0", 3, "W: 2C 3C 4C 5C | fan: 2", "press 164,35; press 163,35",
     "hand: 5♣ from waste (kind 3) | fan: 3 | down: 100,30", "none", ""},
    {"a tableau press takes the run from the hit card up", 1, "p3: (2D) 9H 8S 7H", "press 270,198",
     "hand: 8♠ 7♥ from pile 3 (kind 1) | p3: 1 down, 9♥ | down: 250,192", "none", ""},
    {"presses that hit no card change nothing", 1, "p2: (QS) (3D) 4C",
     "press 180,306; press 180,181; press 239,167; press p5; press W; press g2",
     "hand: nothing | p2: 2 down, 4♣", "none", ""},
    {"a press on a face-down top card turns it and forgets the undo", 1, "p6: (KC) (5H) | undo: p6",
     "press p6.2", "p6: 1 down, 5♥ | hand: nothing", "none", ""},
    {"a goal press takes its top card", 1, "g2: AC 2C 3C", "press 463,134",
     "hand: 3♣ from goal 2 (kind 2) | g2: A♣ 2♣ | down: 400,30", "none", ""},
    {"only a left press acts; presses while carrying are ignored", 1, "p1: KS | S: 2D",
     "mdown p1; press p1; press S; rdown 1,1", "S: 2♦ | hand: K♠ from pile 1 (kind 1) | down: 100,164", "none",
     ""},
    {"a press during the celebration only ends it", 1, "p1: KS | armed: 0", "press p1",
     "hand: nothing | p1: K♠", "none", ""},
};
} // namespace

TEST_F(Gestures, EveryRowLeavesItsPilesUndoAndSound) {
    for (const Row& r : Rows) {
        SCOPED_TRACE(r.what);
        ClearTable(g);
        host.played.clear();
        host.optionsPopups = 0;
        t.InputArmed = true;
        g.settings.DrawRule = r.rule;
        Lays(r.layout);
        Run(r.gesture);
        for (const std::string& e : Split(r.expect, '|')) {
            const size_t colon = e.find(':');
            EXPECT_EQ(Actual(e.substr(0, colon)), e.substr(colon + 2)) << e << PositionText(t);
        }
        EXPECT_EQ(Undo(), r.undo);
        EXPECT_EQ(Sounds(), r.sound);
    }
}

// The flight back: 25 steps, each shown before the next, paced on the tick count, truncated.
TEST_F(Gestures, RefusedCardsFlyBackInTwentyFiveTruncatedSteps) {
    Lay(g, 4, "8D");
    Press(OnTableauCard(g, 4, 1));
    const Point away{TableauX(4) + 10.0f + 37, TableauY + 5.0f + 50}; // no zone, near steps
    Move(away);
    host.invalidated.clear();
    const int paused = host.paused;
    Release(away);
    ASSERT_EQ(host.invalidated.size(), 26u) << "25 steps and the table";
    std::vector<size_t> eachStep(25);
    std::iota(eachStep.begin(), eachStep.end(), size_t{1});
    EXPECT_EQ(host.shownNow, eachStep);
    EXPECT_GE(host.paused - paused, 150) << "paced on the tick count, so the flight is seen";
    EXPECT_LE(host.paused - paused, 200);
    EXPECT_EQ(host.doEventsCalls, 0) << "no press can reach the cards while they fly";
    // -37 / 25 truncates to -1 (not -2) on the first step; the last lands on the slot.
    EXPECT_EQ(host.invalidated[0][0], TableauX(4) + 37 - 1);
    EXPECT_EQ(host.invalidated[0][1], TableauY + 50 - 2);
    EXPECT_EQ(PileText(t, t.Tableau[4]), "8♦");
}
