#include "keys/KeyPlay.h"
#include "model/Rules.h"
#include "play/Mouse.h"
#include "state/Game.h"
#include <algorithm>
#include <cstdlib>

namespace {
// A press this far inside a card's corner hits that card alone, even in a 14-pixel fan step.
constexpr int InsetX = 10;
constexpr int InsetY = 5;

bool IsTableau(uint8_t place) {
    return place >= 1 && place <= 7;
}

int Column(const Table& t, uint8_t place) {
    if (place == PileStock) return t.Stock.X;
    if (place == PileWaste) return t.Waste.X;
    return IsTableau(place) ? t.Tableau[place].X : t.Goal[place - 7].X;
}

// The places of one row, left to right.
constexpr std::array<uint8_t, 6> TopRow = {PileStock, PileWaste, 8, 9, 10, 11};
constexpr std::array<uint8_t, 7> BottomRow = {1, 2, 3, 4, 5, 6, 7};

template <size_t N> uint8_t Along(const std::array<uint8_t, N>& row, uint8_t place, int step) {
    const auto at = std::find(row.begin(), row.end(), place) - row.begin();
    const auto to = std::clamp<long>(at + step, 0, static_cast<long>(N) - 1);
    return row[static_cast<size_t>(to)];
}

// Straight above or below, or else the nearest place of the other row.
template <size_t N>
uint8_t Across(const Table& t, const std::array<uint8_t, N>& row, uint8_t place) {
    uint8_t best = row[0];
    for (uint8_t p : row)
        if (std::abs(Column(t, p) - Column(t, place)) <
            std::abs(Column(t, best) - Column(t, place)))
            best = p;
    return best;
}

int FanOffset(const Table& t, uint8_t drawRule) {
    return std::max(0, WasteTopOffset(t, drawRule));
}
} // namespace

int FaceUpRun(const Table& t, uint8_t place) {
    if (!IsTableau(place)) return 0;
    const Pile& p = t.Tableau[place];
    int n = 0;
    while (n < p.Count && IsFaceUp(t.Cards[p.List[p.Count - n]]))
        ++n;
    return n;
}

TablePoint LandCorner(const Table& t, uint8_t drawRule, uint8_t place) {
    if (IsTableau(place)) {
        const Pile& p = t.Tableau[place];
        return {p.X, p.Y + TableauStep * p.Count};
    }
    if (place == PileWaste) return {t.Waste.X + WasteReturnOffset(t, drawRule), t.Waste.Y};
    const Pile& p = place == PileStock ? t.Stock : t.Goal[place - 7];
    return {p.X, p.Y};
}

TableRect PlaceFrame(const Table& t, uint8_t drawRule, uint8_t place, int depth) {
    if (!t.Dragging) return CardsFrame(t, drawRule, place, depth);
    const TablePoint c = LandCorner(t, drawRule, place);
    return {c.X, c.Y, CardWidth, CardHeight + TableauStep * (t.HandCount - 1)};
}

TableRect CardsFrame(const Table& t, uint8_t drawRule, uint8_t place, int depth) {
    if (IsTableau(place)) {
        const Pile& p = t.Tableau[place];
        const int slot = std::max(1, p.Count - depth);
        const int below = std::max(0, p.Count - slot);
        return {p.X, p.Y + TableauStep * (slot - 1), CardWidth, CardHeight + TableauStep * below};
    }
    if (place == PileWaste)
        return {t.Waste.X + FanOffset(t, drawRule), t.Waste.Y, CardWidth, CardHeight};
    const Pile& p = place == PileStock ? t.Stock : t.Goal[place - 7];
    return {p.X, p.Y, CardWidth, CardHeight};
}

TablePoint PressPoint(const Table& t, uint8_t drawRule, uint8_t place, int depth) {
    const TableRect r = CardsFrame(t, drawRule, place, depth);
    return {r.X + InsetX, r.Y + InsetY};
}

void KeyPlay::Follow(const Table& t) {
    if (deal != t.Deals) {
        deal = t.Deals;
        place = PileStock;
        depth = 0;
    }
    depth = std::clamp(depth, 0, std::max(0, FaceUpRun(t, place) - 1));
}

TableRect KeyPlay::Frame(const Game& g) const {
    return PlaceFrame(g.table, g.settings.DrawRule, place, depth);
}

bool KeyPlay::Interrupted(const Game& g) const {
    return g.Ended || gesture != g.table.Deals;
}

void KeyPlay::Handle(Game& g, PlayKey key) {
    Follow(g.table);
    gesture = g.table.Deals;
    switch (key) {
    case PlayKey::Act:
        Act(g);
        break;
    case PlayKey::Send:
        Send(g);
        break;
    case PlayKey::PutBack:
        if (g.table.Dragging) Form_CaptureLost(g); // the mouse lets go: the cards fly home
        break;
    case PlayKey::Deeper:
    case PlayKey::Shallower:
        if (!g.table.Dragging) depth += key == PlayKey::Deeper ? 1 : -1;
        break;
    default:
        Move(g, key);
    }
    if (!g.Ended) Follow(g.table);
}

void KeyPlay::Move(Game& g, PlayKey key) {
    const Table& t = g.table;
    const bool top = !IsTableau(place);
    const uint8_t was = place;
    if (key == PlayKey::Left || key == PlayKey::Right) {
        const int step = key == PlayKey::Left ? -1 : 1;
        place = top ? Along(TopRow, place, step) : Along(BottomRow, place, step);
    } else if (key == PlayKey::Up && !top) {
        place = Across(t, TopRow, place);
    } else if (key == PlayKey::Down && top) {
        place = Across(t, BottomRow, place);
    }
    if (place == was) return;
    depth = 0;
    CarryToFocus(g);
}

// The carried cards follow the focus, as they follow a pointer held at their grip.
void KeyPlay::CarryToFocus(Game& g) {
    const Table& t = g.table;
    if (!t.Dragging) return;
    const TablePoint c = LandCorner(t, g.settings.DrawRule, place);
    Form_MouseMove(g, ButtonLeft, 0, static_cast<float>(c.X + t.GrabDX),
                   static_cast<float>(c.Y + t.GrabDY));
}

// A press where the mouse would press; a press that takes nothing is a click, whose release
// looks for a win. With cards carried, the release over the focused place drops them.
void KeyPlay::Act(Game& g) {
    Table& t = g.table;
    if (t.Dragging) {
        CarryToFocus(g);
        const TablePoint c = LandCorner(t, g.settings.DrawRule, place);
        Form_MouseUp(g, ButtonLeft, 0, static_cast<float>(c.X + t.GrabDX),
                     static_cast<float>(c.Y + t.GrabDY));
        return;
    }
    const TablePoint p = PressPoint(t, g.settings.DrawRule, place, depth);
    const auto x = static_cast<float>(p.X);
    const auto y = static_cast<float>(p.Y);
    Form_MouseDown(g, ButtonLeft, 0, x, y);
    if (!t.Dragging && !Interrupted(g)) Form_MouseUp(g, ButtonLeft, 0, x, y);
}

// A double-click on the top card, as the platform delivers it: press, release, double-click,
// release.
void KeyPlay::Send(Game& g) {
    Table& t = g.table;
    if (t.Dragging) return; // no double-click can start while cards are carried
    const TablePoint p = PressPoint(t, g.settings.DrawRule, place, 0);
    const auto x = static_cast<float>(p.X);
    const auto y = static_cast<float>(p.Y);
    Form_MouseDown(g, ButtonLeft, 0, x, y);
    if (Interrupted(g)) return;
    Form_MouseUp(g, ButtonLeft, 0, x, y);
    if (Interrupted(g)) return;
    Form_DblClick(g);
    if (Interrupted(g)) return;
    Form_MouseUp(g, ButtonLeft, 0, x, y);
}
