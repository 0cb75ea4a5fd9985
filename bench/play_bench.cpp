// The hot paths of play: one drag step with the largest hand, and taking and laying a run.
#include "TestHost.h"
#include "drawing/Graphics.h"
#include "drawing/TablePainter.h"
#include "keys/KeyPlay.h"
#include "keys/PlaceNames.h"
#include "play/Deck.h"
#include "play/Loading.h"
#include "play/Mouse.h"
#include <benchmark/benchmark.h>
#include <sstream>
#include <string>
#include <utility>

namespace {
// The real pictures, so that every card drawn costs what it costs in play.
void LoadPictures(Game& g) {
    g.table.AppFolder = std::string(GAME_DATA_DIR) + "/";
    LoadGraphics(g);
    if (g.gfx.surfWindow.Empty())
        g.gfx.surfWindow = NewBlankSurface(g.table.TableWidth, g.table.TableHeight);
}

// The sorted deck dealt and every pile emptied, for positions laid by hand.
void ClearTable(Game& g) {
    mnuDebugNoshuffle_Click(g);
    for (uint8_t n = 1; n <= 13; ++n)
        g.table.PileAt(n).Count = 0;
}

// Cards laid on a tableau pile bottom first, as "KS QH 10H"; "(3D)" lies face down.
void Lay(Game& g, int pile, const std::string& cards) {
    std::istringstream in(cards);
    for (std::string w; in >> w;) {
        const bool down = w[0] == '(';
        if (down) w = w.substr(1, w.size() - 2);
        const size_t rank = w.size() == 3 ? 10 : std::string("A23456789-JQK").find(w[0]) + 1;
        const auto n = static_cast<uint8_t>(13 * std::string("SCHD").find(w.back()) + rank);
        g.table.Cards[n].State = down ? StateFaceDown : StateFaceUp;
        g.table.Tableau[pile].Push(n);
    }
}

// A table with a king-to-ace run on pile 1, picked up whole.
struct Carrying {
    TestGame tg;
    Game& g = tg.g();
    Carrying() {
        LoadPictures(g);
        ClearTable(g);
        Lay(g, 1, "KS QH JS 10H 9S 8H 7S 6H 5S 4H 3S 2H AS");
        RedrawTable(g);
        Form_MouseDown(g, ButtonLeft, 0, TableauX(1) + 10.0f, TableauY + 5.0f);
    }
};

void BM_DrawHandNear13(benchmark::State& state) {
    Carrying c;
    float x = TableauX(1) + 10.0f;
    float step = 1.0f;
    for (auto _ : state) {
        x += step;
        step = -step; // one pixel to and fro: always the near path
        Form_MouseMove(c.g, ButtonLeft, 0, x, TableauY + 5.0f);
    }
    c.tg.host.invalidated.clear();
}
BENCHMARK(BM_DrawHandNear13);

void BM_DrawHandFar13(benchmark::State& state) {
    Carrying c;
    float x = TableauX(1) + 10.0f;
    float step = 150.0f;
    for (auto _ : state) {
        x += step;
        step = -step; // a card width and more each time: always the far path
        Form_MouseMove(c.g, ButtonLeft, 0, x, TableauY + 5.0f);
    }
}
BENCHMARK(BM_DrawHandFar13);

// Press on a run of six and let go on the other king, back and forth, with every repaint.
void BM_PickUpAndDropRun(benchmark::State& state) {
    TestGame tg;
    Game& g = tg.g();
    LoadPictures(g);
    ClearTable(g);
    Lay(g, 2, "(3D) (8C) KS QH JS 10H 9S 8H 7S");
    Lay(g, 5, "(4D) KC");
    RedrawTable(g);
    int from = 2;
    int to = 5;
    for (auto _ : state) {
        const int fromCount = g.table.Tableau[from].Count;
        const int toCount = g.table.Tableau[to].Count;
        Form_MouseDown(g, ButtonLeft, 0, static_cast<float>(TableauX(from) + 10),
                       static_cast<float>(TableauY + TableauStep * (fromCount - 6) + 5));
        Form_MouseUp(g, ButtonLeft, 0, static_cast<float>(TableauX(to) + 10),
                     static_cast<float>(TableauY + TableauStep * toCount + 5));
        if (g.table.Tableau[to].Count != toCount + 6) state.SkipWithError("the run did not move");
        std::swap(from, to);
        tg.host.invalidated.clear();
        tg.host.played.clear();
    }
}
BENCHMARK(BM_PickUpAndDropRun);

// The thirteen names a screen reader is told after every move, on a table with long runs.
void BM_NameAllPlaces(benchmark::State& state) {
    TestGame tg;
    Game& g = tg.g();
    mnuDebugNoshuffle_Click(g);
    Lay(g, 2, "(3D) (8C) KS QH JS 10H 9S 8H 7S");
    for (auto _ : state)
        for (uint8_t place : PlaceOrder)
            benchmark::DoNotOptimize(PlaceName(g.table, place));
}
BENCHMARK(BM_NameAllPlaces);
} // namespace
