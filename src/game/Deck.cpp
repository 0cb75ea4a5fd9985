#include "game/Deck.h"
#include "drawing/CardFaces.h"
#include "drawing/TablePainter.h"
#include "game/Game.h"
#include "game/Mouse.h"
#include <utility>

namespace {
constexpr int SweepPasses = 50;
constexpr int RandomPairs = 10000;

// A card number 1..52 from one uniform draw.
uint8_t DrawCardNumber(RandomSource& random) {
    const int r = static_cast<int>(random.Next() * 52.0) + 1;
    return static_cast<uint8_t>(r > 52 ? 52 : r); // a source that returns 1.0 must not escape
}

// Shuffles by moving whole records, starting from whatever order the deck holds.
void Shuffle(Table& t, RandomSource& random) {
    random.Reseed();
    for (int pass = 0; pass < SweepPasses; ++pass) {
        for (int j = 1; j <= 52; ++j) std::swap(t.Cards[DrawCardNumber(random)], t.Cards[j]);
    }
    for (int i = 0; i < RandomPairs; ++i) {
        const uint8_t a = DrawCardNumber(random);
        const uint8_t b = DrawCardNumber(random);
        std::swap(t.Cards[a], t.Cards[b]);
    }
}
} // namespace

void NewGame(Game& g, uint8_t Shuffle_) {
    if (Shuffle_ == 1) Shuffle(g.table, *g.host.random);
    g.table.UndoAvailable = false;
    DealCards(g);
    g.table.GameStart = g.host.system->TickCount();
    g.host.timers->SetTimerEnabled(TimerId::UpdateTime, true);
    RedrawTable(g);
}

void DealCards(Game& g) {
    Table& t = g.table;
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
}

void mnuFileNewgame_Click(Game& g) {
    const MsgResult answer = g.host.dialogs->MsgBox(g.texts.NewGameQuestion, MsgStyle::YesNoQuestion,
                                                    g.texts.NewGameTitle);
    if (answer == MsgResult::Yes) NewGame(g, 1);
}

void mnuDebugNoshuffle_Click(Game& g) {
    BuildCardFaces(g);
    NewGame(g, 0);
}
