#include "drawing/CardFaces.h"
#include "game/Game.h"

void BuildCardFaces(Game& g) {
    Table& t = g.table;
    t.Cards = {};
    for (uint8_t s = 0; s < 4; ++s)
        for (uint8_t r = 1; r <= 13; ++r) {
            Card& c = t.Cards[13 * s + r];
            c.Rank = r;
            c.Suit = s;
        }
    t.BackCard.State = StateBack;
    t.EmptyStockCard.State = StateEmptyStock;
}
void DrawCard(const Game&, Surface&, int, int, const Card&) {}
