#include "model/Deal.h"
#include <utility>

namespace {
constexpr int SweepPasses = 50;
constexpr int RandomPairs = 10000;

// A card number 1..52 from one uniform draw.
uint8_t DrawCardNumber(const std::function<double()>& draw) {
    const int r = static_cast<int>(draw() * 52.0) + 1;
    return static_cast<uint8_t>(r > 52 ? 52 : r); // a source that returns 1.0 must not escape
}
} // namespace

void Shuffle(Table& t, const std::function<double()>& draw) {
    for (int pass = 0; pass < SweepPasses; ++pass) {
        for (int j = 1; j <= 52; ++j) std::swap(t.Cards[DrawCardNumber(draw)], t.Cards[j]);
    }
    for (int i = 0; i < RandomPairs; ++i) {
        const uint8_t a = DrawCardNumber(draw);
        const uint8_t b = DrawCardNumber(draw);
        std::swap(t.Cards[a], t.Cards[b]);
    }
}

void DealCards(Table& t) {
    // The deal hands out every card number afresh, so whatever was carried is simply let go.
    t.HandCount = 0;
    t.Dragging = false;
    uint8_t j = 1;
    for (int i = 1; i <= 7; ++i) {
        Pile& p = t.Tableau[i];
        p.Reset(TableauX(i), TableauY, TableauBound);
        for (int l = 1; l <= i; ++l) {
            p.Push(j);
            t.Cards[j].State = StateFaceDown;
            ++j;
        }
        t.Cards[p.Top()].State = StateFaceUp;
    }
    for (int k = 1; k <= 4; ++k) t.Goal[k].Reset(GoalX(k), GoalY, GoalBound);
    t.Stock.Reset(StockX, StockY, StockBound);
    for (int c = j; c <= 52; ++c) {
        t.Stock.Push(static_cast<uint8_t>(c));
        t.Cards[c].State = StateFaceUp;
    }
    t.Waste.Reset(WasteX, WasteY, StockBound);
    t.InputArmed = true;
    ++t.Deals;
}
