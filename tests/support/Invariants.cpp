#include "Invariants.h"
#include "Printers.h"
#include "TestHost.h"
#include "drawing/CardFaces.h"
#include "drawing/TablePainter.h"
#include "model/Rules.h"

namespace {
// A fan some of whose cards were played shows only the cards left in it, as the game draws it
// while a waste card is carried; a full repaint (and undo) fans out three again. Either counts.
bool FanPartlyPlayed(const Game& g) {
    const Table& t = g.table;
    return !(t.Dragging && t.HandKind == HandFromWaste) && t.WasteFan > 0 &&
           g.settings.DrawRule == 3;
}
// A full repaint, with the window told nothing.
void Repaint(Game& g, bool fanAsPlayed) {
    auto& host = dynamic_cast<TestHost&>(*g.host.window);
    const auto shown = host.invalidated.size();
    const auto widths = host.panelWidth;
    Table& t = g.table;
    const uint8_t kind = t.HandKind, count = t.HandCount;
    if (fanAsPlayed && FanPartlyPlayed(g)) t.HandKind = HandFromWaste, t.HandCount = 1;
    RedrawTable(g);
    t.HandKind = kind, t.HandCount = count;
    host.invalidated.resize(shown);
    host.panelWidth = widths;
}
} // namespace
int CardsOnTable(const Table& t) {
    int n = t.HandCount;
    Table& mt = const_cast<Table&>(t); // PileAt has no const overload
    for (uint8_t p = 1; p <= 13; ++p)
        n += mt.PileAt(p).Count;
    return n;
}
std::string BrokenInvariant(const Game& g, bool wholeDeck) {
    const Table& t = g.table;
    Table& mt = const_cast<Table&>(t); // PileAt has no const overload
    std::array<int, 53> seen{};
    for (uint8_t n = 1; n <= 13; ++n) {
        const Pile& p = mt.PileAt(n);
        if (p.Count > p.Bound) return PileName(n) + " is over its bound";
        for (int k = 1; k <= p.Count; ++k) {
            const Card& c = t.Cards[p.List[k]];
            ++seen[p.List[k]];
            if (n <= 7 && k > 1 && !IsFaceUp(c) && IsFaceUp(t.Cards[p.List[k - 1]]))
                return PileName(n) + " has a face-down card over a face-up one";
            if (n >= 8 && n <= 11 && (c.Suit != n - 8 || c.Rank != k || !IsFaceUp(c)))
                return PileName(n) + " is out of order";
            if (n >= 12 && !IsFaceUp(c)) return "a face-down card in the stock or waste";
        }
    }
    for (int k = 1; k <= t.HandCount && k <= 13; ++k)
        ++seen[t.Hand[k]];
    for (uint8_t c = 0; c <= 52; ++c)
        if (seen[c] > (c > 0) || (wholeDeck && seen[c] != (c > 0)))
            return Cat({CardText(t, c), " is there ", std::to_string(seen[c]), " times"});
    const uint8_t f = t.HandFrom, kind = t.HandKind, n = t.HandCount;
    const bool fits = kind == HandFromTableau ? f >= 1 && f <= 7
                      : kind == HandFromGoal  ? n == 1 && f >= 8 && f <= 11
                                              : n == 1 && kind == HandFromWaste && f == PileWaste;
    if (t.Dragging != (n > 0) || (n > 0 && !fits))
        return "the hand is not as carried: " + HandText(t);
    if (t.WasteFan > 3) return "WasteFan is " + std::to_string(t.WasteFan);
    if (!t.UndoAvailable || t.Dragging) return "";
    if (t.UndoCount < 1 || t.UndoCount > 13) return "undo count " + std::to_string(t.UndoCount);
    return mt.PileAt(t.UndoTo).Count < t.UndoCount ? "the undo target lacks its cards" : "";
}
void RepaintQuietly(Game& g) {
    Repaint(g, true);
}
std::string PictureDiffers(Game& g) {
    Graphics& x = g.gfx;
    if (x.surfTable.Empty()) return "";
    const Surface kept = x.surfTable, keptWindow = x.surfWindow;
    Surface table;
    for (bool fanAsPlayed : {true, false}) {
        Repaint(g, fanAsPlayed);
        table = x.surfTable;
        if (table.Pixels == kept.Pixels || !FanPartlyPlayed(g)) break;
    }
    x.surfTable = kept;
    x.surfWindow = keptWindow;
    if (table.Pixels != kept.Pixels) return "the table differs from a full repaint";
    const Table& t = g.table;
    // A waste card carried leaves the rest of the waste as the window showed it: the press
    // copies only the part of the fan left of the card, and the hand covers the card's place.
    const int left = t.Stock.X + CardWidth, right = t.Waste.X + 2 * FanStep + CardWidth;
    if (t.Dragging && t.HandKind == HandFromWaste)
        Blit(table, left, t.Stock.Y, right - left, CardHeight, x.surfWindow, left, t.Stock.Y);
    for (int k = 1; t.Dragging && k <= t.HandCount; ++k)
        DrawCard(g, table, t.DownX, t.DownY + TableauStep * (k - 1), t.Cards[t.Hand[k]]);
    return table.Pixels == x.surfWindow.Pixels ? "" : "the window is not the table and the hand";
}
