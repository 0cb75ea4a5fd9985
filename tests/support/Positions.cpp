#include "Positions.h"
#include "drawing/CardFaces.h"
#include "play/Deck.h"
#include "sound/Sound.h"
#include <gtest/gtest.h>
#include <string>

namespace {
// A picture whose pixels differ from place to place, so a shifted copy shows.
Surface Patterned(int w, int h, uint32_t seed) {
    Surface s = NewBlankSurface(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.At(x, y) = (seed + static_cast<uint32_t>(x) * 0x010307u +
                          static_cast<uint32_t>(y) * 0x0B0501u) &
                         0xFFFFFFu;
    return s;
}

uint8_t SuitOf(char c) {
    switch (c) {
    case 'S':
        return 0;
    case 'C':
        return 1;
    case 'H':
        return 2;
    default:
        return 3;
    }
}
} // namespace

void MakeSurfaces(Game& g) {
    const int w = g.table.TableWidth;
    const int h = g.table.TableHeight;
    Graphics& gfx = g.gfx;
    gfx.surfTable = Patterned(w, h, 0x102030);
    gfx.surfBackground = Patterned(w, h, 0x405060);
    gfx.surfWindow = NewBlankSurface(w, h);
    gfx.surfDrag = NewBlankSurface(128, 376);
    gfx.surfFront = Patterned(64, 104, 0xC0C0C0);
    gfx.surfBack = Patterned(128, 104, 0x2040A0);
}

void ClearTable(Game& g) {
    BuildCardFaces(g);
    DealCards(g);
    Table& t = g.table;
    for (int i = 1; i <= 7; ++i)
        t.Tableau[i].Reset(TableauX(i), TableauY, TableauBound);
    for (int k = 1; k <= 4; ++k)
        t.Goal[k].Reset(GoalX(k), GoalY, GoalBound);
    t.Stock.Reset(StockX, StockY, StockBound);
    t.Waste.Reset(WasteX, WasteY, StockBound);
    t.HandCount = 0;
    t.Dragging = false;
    t.UndoAvailable = false;
    t.WasteFan = 0;
    if (g.gfx.surfTable.Empty()) MakeSurfaces(g);
}

uint8_t CardNo(std::string_view name) {
    EXPECT_GE(name.size(), 2u) << name;
    const std::string rank(name.substr(0, name.size() - 1));
    int r = 0;
    if (rank == "A")
        r = 1;
    else if (rank == "J")
        r = 11;
    else if (rank == "Q")
        r = 12;
    else if (rank == "K")
        r = 13;
    else
        r = std::stoi(rank);
    return static_cast<uint8_t>(13 * SuitOf(name.back()) + r);
}

void Lay(Game& g, uint8_t pile, std::string_view cards) {
    Table& t = g.table;
    Pile& p = t.PileAt(pile);
    size_t at = 0;
    while (at < cards.size()) {
        const size_t end = std::min(cards.find(' ', at), cards.size());
        std::string_view word = cards.substr(at, end - at);
        at = end + 1;
        if (word.empty()) continue;
        const bool down = word.front() == '(';
        if (down) word = word.substr(1, word.size() - 2);
        const uint8_t n = CardNo(word);
        t.Cards[n].State = down ? StateFaceDown : StateFaceUp;
        p.Push(n);
    }
}

bool DrawCardDraws(Game& g) {
    Surface probe = NewBlankSurface(64, 104);
    Card c = g.table.Cards[1];
    c.State = StateFaceUp;
    DrawCard(g, probe, 0, 0, c);
    for (uint32_t px : probe.Pixels)
        if (px != 0) return true;
    return false;
}

Point OnTableauCard(const Game& g, int pile, int slot) {
    const Pile& p = g.table.Tableau[pile];
    return {static_cast<float>(p.X + 10), static_cast<float>(p.Y + TableauStep * (slot - 1) + 5)};
}

Point OnCard(const Pile& p) {
    return {static_cast<float>(p.X + 10), static_cast<float>(p.Y + 5)};
}

void PlayTest::SetUp() {
    ClearTable(g);
    g.sounds.MoveSoundData = {'m', 'o', 'v', 'e'};
    g.sounds.GoalSoundData = {'g', 'o', 'a', 'l'};
    g.settings.PlaySounds = true;
    // Find out whether playing a move sound reaches the audio service yet.
    const std::vector<uint8_t> probe{'p'};
    PlayMoveSound(g, probe);
    soundsWired = !host.played.empty();
    host.played.clear();
    // A celebration, should a test win, ends at its first look at pending input.
    host.onDoEvents = [this] { t.InputArmed = true; };
}

int PlayTest::Heard(const std::vector<uint8_t>& image) const {
    if (!soundsWired) return -1;
    int n = 0;
    for (const auto& s : host.played)
        n += s.data == image ? 1 : 0;
    return n;
}
