// Long seeded streams of mouse and menu events through the real handlers, with the table's
// invariants checked after every event. A failure names the seed and the last events, and
// PLAY_SOAK_SEED=<n> replays that one stream.
#include "Positions.h"
#include "Printers.h"
#include "drawing/CardFaces.h"
#include "drawing/TablePainter.h"
#include "game/Deck.h"
#include "game/Rules.h"
#include "settings/Options.h"
#include <array>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {
constexpr int Streams = 21;
constexpr int EventsPerStream = 5000;

struct Tally {
    long events = 0, goalMoves = 0, tableauMoves = 0, pickUps = 0;
};

class Soak {
  public:
    // Without pictures the streams run many times faster; the rules never look at pixels.
    Soak(uint64_t seed, bool withPictures) : pictures(withPictures), rng(seed) {
        tg.host.rngState = seed;
        tg.host.onDoEvents = [this] { t.InputArmed = true; };
        if (pictures) MakeSurfaces(g);
        BuildCardFaces(g);
        NewGame(g, 1);
        if (pictures) ShowTable(g);
    }

    // Runs the stream; returns "" or what broke, with the recent events.
    std::string Run(int events, Tally& tally) {
        for (int i = 0; i < events; ++i) {
            const int goalsBefore = GoalsWithHand();
            const std::array<int, 8> piles = TableauCounts();
            const bool carrying = t.Dragging;
            const uint8_t from = t.HandKind == HandFromTableau ? t.HandFrom : 0;
            Step();
            if (!carrying && t.Dragging) ++tally.pickUps;
            if (GoalsWithHand() > goalsBefore) ++tally.goalMoves;
            for (uint8_t p = 1; p <= 7; ++p)
                if (carrying && !t.Dragging && p != from && t.Tableau[p].Count > piles[p])
                    ++tally.tableauMoves;
            ++tally.events;
            tg.host.invalidated.clear(); // the recordings would only grow
            tg.host.played.clear();
            const std::string broken = Broken();
            if (!broken.empty())
                return Cat({"event ", std::to_string(i), ": ", broken, "\nlast events:", Recent(),
                            PositionText(t)});
        }
        return "";
    }

  private:
    bool pictures;
    TestGame tg;
    Game& g = tg.g();
    Table& t = g.table;
    std::mt19937_64 rng;
    // The last events, kept cheaply and spelt out only when something breaks.
    struct Event {
        const char* what = "";
        int button = 0;
        Point at{};
    };
    std::array<Event, 12> log{};
    size_t logged = 0;

    int Roll(int n) { return static_cast<int>(rng() % static_cast<uint64_t>(n)); }
    void Note(const char* what, int button = 0, Point at = {}) {
        log[logged++ % log.size()] = {what, button, at};
    }
    std::string Recent() const {
        std::string s;
        for (size_t i = logged > log.size() ? logged - log.size() : 0; i < logged; ++i) {
            const Event& e = log[i % log.size()];
            s += Cat({"\n  ", e.what, " ", std::to_string(e.button), " ", At(e.at)});
        }
        return s + "\n";
    }
    static std::string At(Point p) {
        return Cat({"(", std::to_string(p.x), ", ", std::to_string(p.y), ")"});
    }

    // ---- Where events land: mostly on cards, corners and edges ----

    Point Jitter(int x, int y, int w, int h) {
        return {static_cast<float>(x + Roll(w)), static_cast<float>(y + Roll(h))};
    }
    Point OnTableau() {
        const Pile& p = t.Tableau[1 + Roll(7)];
        int slot = p.Count == 0 ? 1 : 1 + Roll(p.Count);
        while (Roll(4) != 0 && slot < p.Count && !IsFaceUp(t.Cards[p.List[slot]]))
            ++slot;
        const int h = slot == p.Count ? CardHeight + 1 : TableauStep;
        return Jitter(p.X, p.Y + TableauStep * (slot - 1), CardWidth, h);
    }
    Point OnWaste() {
        const int off = WasteTopOffset(t, g.settings.DrawRule);
        return Jitter(t.Waste.X + (off > 0 && Roll(2) ? off : 0), t.Waste.Y, CardWidth + 1,
                      CardHeight + 1);
    }
    Point OnEdge() {
        const Pile& p = t.PileAt(static_cast<uint8_t>(1 + Roll(13)));
        const int dx[] = {-1, 0, 63, 64, 65};
        const int dy[] = {-1, 0, 103, 104, 105, 14 * p.Count + 104, 14 * p.Count + 105};
        return {static_cast<float>(p.X + dx[Roll(5)]), static_cast<float>(p.Y + dy[Roll(7)])};
    }
    Point Anywhere() {
        return {static_cast<float>(Roll(t.TableWidth + 80) - 40) +
                    0.25f * static_cast<float>(Roll(4)),
                static_cast<float>(Roll(t.TableHeight + 80) - 40)};
    }
    Point Somewhere() {
        switch (Roll(10)) {
        case 0:
        case 1:
        case 2:
        case 3:
            return OnTableau();
        case 4:
            return Jitter(t.Stock.X, t.Stock.Y, CardWidth, CardHeight);
        case 5:
        case 6:
            return OnWaste();
        case 7:
            return OnCard(t.Goal[1 + Roll(4)]);
        case 8:
            return OnEdge();
        default:
            return Anywhere();
        }
    }
    // While carrying: the pointer that puts the lowest card on a pile, if possible one it fits.
    Point DropPoint() {
        const Card& c = t.Cards[t.Hand[1]];
        if (Roll(4) == 0) return Anywhere();
        for (int tries = 0; tries < 12; ++tries) {
            const uint8_t n = static_cast<uint8_t>(1 + Roll(11));
            Pile& p = t.PileAt(n);
            const bool fits = n <= 7 ? FitsOnTableau(p, c, t.TopCard(p))
                                     : NextOfGoalSuit(n - 7, p, c, t.TopCard(p));
            if (!fits && tries < 11) continue;
            const int y = n <= 7 ? p.Y + TableauStep * p.Count : p.Y;
            return {static_cast<float>(p.X + t.GrabDX + Roll(9) - 4),
                    static_cast<float>(y + t.GrabDY + Roll(9) - 4)};
        }
        return Anywhere();
    }

    // ---- One event ----

    void Step() {
        const int r = Roll(1000);
        if (r < 300) return Down(ButtonLeft, Somewhere());
        if (r < 520) return MoveTo(t.Dragging && Roll(3) ? DropPoint() : Somewhere());
        if (r < 760) return Up(ButtonLeft, t.Dragging && Roll(4) ? DropPoint() : Somewhere());
        if (r < 820) return DoubleClick(Somewhere());
        if (r < 850) {
            Note("double-click");
            return Form_DblClick(g);
        }
        if (r < 890) return Down(ButtonRight, Somewhere());
        if (r < 930) return Up(ButtonRight, Somewhere());
        if (r < 955) {
            Note("undo");
            return mnuFileUndo_Click(g);
        }
        if (r < 975) {
            Note("capture lost");
            return Form_CaptureLost(g);
        }
        if (r < 985) return Other();
        if (r < 997) return DrawRule();
        Note("new game");
        NewGame(g, 1);
    }
    void Down(uint8_t b, Point p) {
        Note("down", b, p);
        Form_MouseDown(g, b, 0, p.x, p.y);
    }
    void Up(uint8_t b, Point p) {
        Note("up", b, p);
        Form_MouseUp(g, b, 0, p.x, p.y);
    }
    void MoveTo(Point p) {
        const uint8_t buttons = Roll(8) == 0 ? static_cast<uint8_t>(Roll(4)) : ButtonLeft;
        Note("move", buttons, p);
        Form_MouseMove(g, buttons, 0, p.x, p.y);
    }
    void DoubleClick(Point p) {
        Note("press, release, double-click, release", ButtonLeft, p);
        Form_MouseDown(g, ButtonLeft, 0, p.x, p.y);
        Form_MouseUp(g, ButtonLeft, 0, p.x, p.y);
        Form_DblClick(g);
        Form_MouseUp(g, ButtonLeft, 0, p.x, p.y);
    }
    void Other() {
        const Point p = Somewhere();
        Note("middle press and release", ButtonMiddle, p);
        Form_MouseDown(g, ButtonMiddle, 0, p.x, p.y);
        Form_MouseUp(g, ButtonMiddle, 0, p.x, p.y);
    }
    void DrawRule() {
        Note("draw rule");
        if (g.settings.DrawRule == 1)
            mnuOptionsRulesDrawThree_Click(g);
        else
            mnuOptionsRulesDrawOne_Click(g);
    }

    // ---- The invariants ----

    int GoalsWithHand() const {
        int n = t.Dragging && t.HandKind == HandFromGoal ? t.HandCount : 0;
        for (int k = 1; k <= 4; ++k)
            n += t.Goal[k].Count;
        return n;
    }
    std::array<int, 8> TableauCounts() const {
        std::array<int, 8> c{};
        for (int i = 1; i <= 7; ++i)
            c[i] = t.Tableau[i].Count;
        return c;
    }
    std::string EveryCardOnce() const {
        std::array<int, 53> seen{};
        Table& mt = const_cast<Table&>(t);
        for (uint8_t n = 1; n <= 13; ++n) {
            const Pile& p = mt.PileAt(n);
            if (p.Count > p.Bound) return PileName(n) + " is over its bound";
            for (int k = 1; k <= p.Count; ++k)
                ++seen[p.List[k]];
        }
        if (t.HandCount > 13) return "the hand holds more than 13 cards";
        for (int k = 1; k <= t.HandCount; ++k)
            ++seen[t.Hand[k]];
        if (seen[0] != 0) return "card number 0 lies on a pile";
        for (int c = 1; c <= 52; ++c)
            if (seen[c] != 1)
                return CardText(t, static_cast<uint8_t>(c)) + " is there " +
                       std::to_string(seen[c]) + " times";
        return "";
    }
    std::string PilesInShape() const {
        for (int i = 1; i <= 7; ++i) {
            const Pile& p = t.Tableau[i];
            for (int k = 2; k <= p.Count; ++k)
                if (IsFaceUp(t.Cards[p.List[k - 1]]) && !IsFaceUp(t.Cards[p.List[k]]))
                    return PileName(static_cast<uint8_t>(i)) +
                           " has a face-down card over a face-up one";
        }
        for (int k = 1; k <= 4; ++k)
            for (int r = 1; r <= t.Goal[k].Count; ++r) {
                const Card& c = t.Cards[t.Goal[k].List[r]];
                if (c.Suit != k - 1 || c.Rank != r || !IsFaceUp(c))
                    return Cat({"goal ", std::to_string(k), " is out of order"});
            }
        for (const Pile* p : {&t.Stock, &t.Waste})
            for (int k = 1; k <= p->Count; ++k)
                if (!IsFaceUp(t.Cards[p->List[k]])) return "a face-down card in the stock or waste";
        return "";
    }
    std::string HandInShape() const {
        if (t.Dragging != (t.HandCount > 0)) return "Dragging and HandCount disagree";
        if (t.WasteFan > 3) return Cat({"WasteFan is ", std::to_string(t.WasteFan)});
        if (t.HandCount == 0) return "";
        const uint8_t f = t.HandFrom;
        switch (t.HandKind) {
        case HandFromTableau:
            return f >= 1 && f <= 7 ? "" : Cat({"a tableau hand from ", PileName(f)});
        case HandFromGoal:
            return f >= 8 && f <= 11 && t.HandCount == 1 ? ""
                                                         : Cat({"a goal hand from ", PileName(f)});
        case HandFromWaste:
            return f == PileWaste && t.HandCount == 1 ? ""
                                                      : Cat({"a waste hand from ", PileName(f)});
        default:
            return Cat({"hand kind ", std::to_string(t.HandKind)});
        }
    }
    std::string UndoInShape() const {
        if (!t.UndoAvailable || t.Dragging) return "";
        Table& mt = const_cast<Table&>(t);
        if (t.UndoCount < 1 || t.UndoCount > 13)
            return Cat({"undo count ", std::to_string(t.UndoCount)});
        if (mt.PileAt(t.UndoTo).Count < t.UndoCount) return "the undo target lacks its cards";
        return "";
    }
    // With nothing carried the window shows the table as composed, nothing more.
    std::string WindowInShape() const {
        if (!pictures || t.Dragging) return "";
        const bool same = g.gfx.surfWindow.Pixels == g.gfx.surfTable.Pixels;
        return same ? "" : "the window differs from the table";
    }
    std::string Broken() const {
        for (const std::string& s :
             {EveryCardOnce(), PilesInShape(), HandInShape(), UndoInShape(), WindowInShape()})
            if (!s.empty()) return s;
        return "";
    }
};

uint64_t FirstSeed() {
    const char* s = std::getenv("PLAY_SOAK_SEED");
    return s ? std::strtoull(s, nullptr, 10) : 1;
}
} // namespace

TEST(PlayInvariants, LongRandomEventStreamsKeepEveryCardAndTheHandInShape) {
    const bool one = std::getenv("PLAY_SOAK_SEED") != nullptr;
    const uint64_t first = FirstSeed();
    Tally tally;
    for (uint64_t seed = first; seed < first + (one ? 1 : Streams); ++seed) {
        // One stream draws on real surfaces, shorter: drawing costs far more than the rules.
        const bool pictures = seed % Streams == 1;
        Soak soak(seed, pictures);
        const std::string broken =
            soak.Run(pictures ? EventsPerStream / 5 : EventsPerStream, tally);
        ASSERT_EQ(broken, "") << "seed " << seed << " (replay with PLAY_SOAK_SEED=" << seed << ")";
    }
    EXPECT_GE(tally.events, one ? EventsPerStream / 5 : 100000);
    // The streams must really play, not just click at the table.
    EXPECT_GT(tally.pickUps, tally.events / 20);
    EXPECT_GT(tally.goalMoves, tally.events / 1000);
    EXPECT_GT(tally.tableauMoves, tally.events / 500);
    std::printf("[ soak     ] %ld events, %ld pick-ups, %ld tableau moves, %ld goal moves\n",
                tally.events, tally.pickUps, tally.tableauMoves, tally.goalMoves);
}
