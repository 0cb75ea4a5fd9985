#include "Invariants.h"
#include "Printers.h"
#include "drawing/CardFaces.h"
#include "drawing/TablePainter.h"
#include "model/Rules.h"
#include <array>

namespace {
std::string EveryCardOnce(const Table& t, bool wholeDeck) {
    std::array<int, 53> seen{};
    Table& mt = const_cast<Table&>(t);
    for (uint8_t n = 1; n <= 13; ++n) {
        const Pile& p = mt.PileAt(n);
        if (p.Count > p.Bound) return PileName(n) + " is over its bound";
        for (int k = 1; k <= p.Count; ++k) ++seen[p.List[k]];
    }
    if (t.HandCount > 13) return "the hand holds more than 13 cards";
    for (int k = 1; k <= t.HandCount; ++k) ++seen[t.Hand[k]];
    if (seen[0] != 0) return "card number 0 lies on a pile";
    for (int c = 1; c <= 52; ++c)
        if (seen[c] > 1 || (wholeDeck && seen[c] != 1))
            return CardText(t, static_cast<uint8_t>(c)) + " is there " + std::to_string(seen[c]) + " times";
    return "";
}

std::string PilesInShape(const Table& t) {
    for (int i = 1; i <= 7; ++i) {
        const Pile& p = t.Tableau[i];
        for (int k = 2; k <= p.Count; ++k)
            if (IsFaceUp(t.Cards[p.List[k - 1]]) && !IsFaceUp(t.Cards[p.List[k]]))
                return PileName(static_cast<uint8_t>(i)) + " has a face-down card over a face-up one";
    }
    for (int k = 1; k <= 4; ++k)
        for (int r = 1; r <= t.Goal[k].Count; ++r) {
            const Card& c = t.Cards[t.Goal[k].List[r]];
            if (c.Suit != k - 1 || c.Rank != r || !IsFaceUp(c)) return Cat({"goal ", std::to_string(k), " is out of order"});
        }
    for (const Pile* p : {&t.Stock, &t.Waste})
        for (int k = 1; k <= p->Count; ++k)
            if (!IsFaceUp(t.Cards[p->List[k]])) return "a face-down card in the stock or waste";
    return "";
}

std::string HandInShape(const Table& t) {
    if (t.Dragging != (t.HandCount > 0)) return "Dragging and HandCount disagree";
    if (t.WasteFan > 3) return Cat({"WasteFan is ", std::to_string(t.WasteFan)});
    if (t.HandCount == 0) return "";
    const uint8_t f = t.HandFrom;
    const bool one = t.HandCount == 1;
    const bool fits = t.HandKind == HandFromTableau ? f >= 1 && f <= 7
                      : t.HandKind == HandFromGoal  ? f >= 8 && f <= 11 && one
                      : t.HandKind == HandFromWaste ? f == PileWaste && one
                                                    : false;
    return fits ? "" : Cat({"a hand of kind ", std::to_string(t.HandKind), " from ", PileName(f)});
}

std::string UndoInShape(const Table& t) {
    if (!t.UndoAvailable || t.Dragging) return "";
    if (t.UndoCount < 1 || t.UndoCount > 13) return Cat({"undo count ", std::to_string(t.UndoCount)});
    if (const_cast<Table&>(t).PileAt(t.UndoTo).Count < t.UndoCount) return "the undo target lacks its cards";
    return "";
}

// A fan some of whose cards were played shows only the cards left in it, as the game draws it
// while a waste card is carried; a full repaint (and undo) fans out three again. Either counts.
bool FanPartlyPlayed(const Game& g) {
    const Table& t = g.table;
    return !(t.Dragging && t.HandKind == HandFromWaste) && t.WasteFan > 0 && g.settings.DrawRule == 3;
}

// Panel widths are read back while repainting; nothing is shown.
class QuietWindow : public WindowService {
public:
    explicit QuietWindow(WindowService& shown) : real(shown) {}
    void Invalidate(int, int, int, int) override {}
    void SetCaption(const std::string&) override {}
    void SetStatusText(int, const std::string&) override {}
    void SetPanelWidth(int, int) override {}
    int PanelWidth(int panel) const override { return real.PanelWidth(panel); }
    void PopupOptionsMenu() override {}

private:
    WindowService& real;
};

std::string FirstDifference(const Surface& a, const Surface& b, const char* what) {
    if (a.Width != b.Width || a.Height != b.Height) return Cat({what, ": sizes differ"});
    for (int y = 0; y < a.Height; ++y)
        for (int x = 0; x < a.Width; ++x)
            if (a.At(x, y) != b.At(x, y))
                return Cat({what, " first differs at (", std::to_string(x), ", ", std::to_string(y), ")"});
    return "";
}
} // namespace

int CardsOnTable(const Table& t) {
    int n = t.HandCount;
    for (uint8_t p = 1; p <= 13; ++p) n += const_cast<Table&>(t).PileAt(p).Count;
    return n;
}

std::string BrokenInvariant(const Game& g, bool wholeDeck) {
    const Table& t = g.table;
    for (const std::string& s : {EveryCardOnce(t, wholeDeck), PilesInShape(t), HandInShape(t), UndoInShape(t)})
        if (!s.empty()) return s;
    return "";
}

void RepaintQuietly(Game& g, bool fanAsPlayed) {
    WindowService* real = g.host.window;
    QuietWindow quiet(*real);
    g.host.window = &quiet;
    Table& t = g.table;
    const uint8_t kind = t.HandKind, count = t.HandCount;
    if (fanAsPlayed && FanPartlyPlayed(g)) t.HandKind = HandFromWaste, t.HandCount = 1;
    RedrawTable(g);
    t.HandKind = kind, t.HandCount = count;
    g.host.window = real;
}

void RepaintQuietly(Game& g) { RepaintQuietly(g, true); }

std::string PictureDiffers(Game& g) {
    Graphics& x = g.gfx;
    if (x.surfTable.Empty()) return "";
    const Surface kept = x.surfTable, keptWindow = x.surfWindow;
    std::string d;
    Surface table;
    for (bool fanAsPlayed : {true, false}) {
        RepaintQuietly(g, fanAsPlayed);
        table = x.surfTable;
        d = FirstDifference(kept, table, "the table against a full repaint");
        if (d.empty() || !FanPartlyPlayed(g)) break;
    }
    x.surfTable = kept;
    x.surfWindow = keptWindow;
    if (!d.empty()) return d;
    const Table& t = g.table;
    // A waste card carried leaves the rest of the waste as the window showed it: the press
    // copies only the part of the fan left of the card, and the hand covers the card's place.
    if (t.Dragging && t.HandKind == HandFromWaste) {
        constexpr int StripWide = 169; // the stock and a whole three-card fan
        Blit(table, t.Stock.X + CardWidth, t.Stock.Y, StripWide - CardWidth, CardHeight,
             x.surfWindow, t.Stock.X + CardWidth, t.Stock.Y);
    }
    for (int k = 1; t.Dragging && k <= t.HandCount; ++k) {
        Card c = t.Cards[t.Hand[k]];
        c.State = StateFaceUp;
        DrawCard(g, table, t.DownX, t.DownY + TableauStep * (k - 1), c);
    }
    return FirstDifference(x.surfWindow, table, "the window against the table and the hand");
}
