#include "Positions.h"
#include "DrawArt.h"
#include "play/Deck.h"
#include <gtest/gtest.h>
#include <string>

void ClearTable(Game& g) {
    if (g.gfx.surfTable.Empty()) drawtest::Dress(g);
    BuildCardFaces(g);
    DealCards(g);
    Table& t = g.table;
    for (int i = 1; i <= 7; ++i) t.Tableau[i].Reset(TableauX(i), TableauY, TableauBound);
    for (int k = 1; k <= 4; ++k) t.Goal[k].Reset(GoalX(k), GoalY, GoalBound);
    t.Stock.Reset(StockX, StockY, StockBound);
    t.Waste.Reset(WasteX, WasteY, StockBound);
    t.HandCount = 0;
    t.Dragging = false;
    t.UndoAvailable = false;
    t.WasteFan = 0;
}

uint8_t CardNo(std::string_view name) {
    EXPECT_GE(name.size(), 2u) << name;
    const std::string rank(name.substr(0, name.size() - 1));
    const int r = rank == "A" ? 1 : rank == "J" ? 11 : rank == "Q" ? 12 : rank == "K" ? 13 : std::stoi(rank);
    const std::string_view suits = "SCHD";
    return static_cast<uint8_t>(13 * suits.find(name.back()) + r);
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

Point OnTableauCard(const Game& g, int pile, int slot) {
    const Pile& p = g.table.Tableau[pile];
    return {static_cast<float>(p.X + 10), static_cast<float>(p.Y + TableauStep * (slot - 1) + 5)};
}

Point OnCard(const Pile& p) { return {static_cast<float>(p.X + 10), static_cast<float>(p.Y + 5)}; }

void PlayTest::SetUp() {
    ClearTable(g);
    g.sounds.MoveSoundData = {'m', 'o', 'v', 'e'};
    g.sounds.GoalSoundData = {'g', 'o', 'a', 'l'};
    g.settings.PlaySounds = true;
    // A celebration, should a test win, ends at its first look at pending input.
    host.onDoEvents = [this] { t.InputArmed = true; };
}

int PlayTest::Heard(const std::vector<uint8_t>& image) const {
    int n = 0;
    for (const auto& s : host.played) n += s.data == image ? 1 : 0;
    return n;
}

std::string PlayTest::ChangedButNotShown() const {
    const Surface& now = g.gfx.surfWindow;
    if (now.Pixels.size() != windowBefore.Pixels.size() || shownBefore > host.invalidated.size()) return "";
    for (int y = 0; y < now.Height; ++y)
        for (int x = 0; x < now.Width; ++x) {
            if (now.At(x, y) == windowBefore.At(x, y)) continue;
            bool shown = false;
            for (size_t i = shownBefore; i < host.invalidated.size() && !shown; ++i) {
                const auto& r = host.invalidated[i];
                shown = x >= r[0] && x < r[0] + r[2] && y >= r[1] && y < r[1] + r[3];
            }
            if (!shown) return Cat({"(", std::to_string(x), ", ", std::to_string(y), ") changed unseen"});
        }
    return "";
}
