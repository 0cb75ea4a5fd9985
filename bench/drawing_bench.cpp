// The drawing hot paths on synthetic pictures of the real sizes (contents do not change the
// cost of a blit), on a 640 x 480 table.
#include "TestHost.h"
#include "cpu_model.h"
#include "drawing/CardFaces.h"
#include "drawing/TablePainter.h"
#include "play/Deck.h"
#include <benchmark/benchmark.h>

namespace {
Surface Patterned(int w, int h) {
    Surface s = NewBlankSurface(w, h);
    for (size_t i = 0; i < s.Pixels.size(); ++i)
        s.Pixels[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
    return s;
}

struct BenchGame {
    TestGame t;
    Game& g = t.g();
    BenchGame() {
        Graphics& x = g.gfx;
        x.surfFront = Patterned(64, 312);
        x.surfBack = Patterned(128, 312);
        x.surfSort = Patterned(60, 60);
        x.surfSign = Patterned(130, 80);
        x.surfImgCard = Patterned(120, 70);
        x.surfGoal = Patterned(256, 208);
        x.surfTavi = Patterned(160, 300);
        x.surfBackground = Patterned(640, 480);
        x.surfTable = NewBlankSurface(640, 480);
        x.surfWindow = NewBlankSurface(640, 480);
        g.settings.ShowTavi = true;
        BuildCardFaces(g);
        DealCards(g);
        Table& tb = g.table;
        for (int i = 0; i < 5; ++i)
            tb.Waste.Push(tb.Stock.Pop()); // a waste to fan
    }
    // The recording host would otherwise grow with every repaint.
    void Forget() { t.host.invalidated.clear(); }
};

void BM_DrawCardTen(benchmark::State& state) {
    BenchGame b;
    Card ten = b.g.table.Cards[13 * 2 + 10];
    ten.State = StateFaceUp;
    for (auto _ : state) {
        DrawCard(b.g, b.g.gfx.surfTable, 100, 200, ten);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawCardTen);

void BM_RedrawTable(benchmark::State& state) {
    BenchGame b;
    b.g.settings.DrawRule = uint8_t(state.range(0));
    for (auto _ : state) {
        RedrawTable(b.g);
        b.Forget();
    }
}
BENCHMARK(BM_RedrawTable)->Arg(1)->Arg(3);

void BM_ShowTable(benchmark::State& state) {
    BenchGame b;
    for (auto _ : state) {
        ShowTable(b.g);
        b.Forget();
    }
}
BENCHMARK(BM_ShowTable);

void BM_BuildCardFacesAndDeal(benchmark::State& state) {
    BenchGame b;
    for (auto _ : state) {
        BuildCardFaces(b.g);
        DealCards(b.g);
        benchmark::DoNotOptimize(b.g.table.Stock.Count);
    }
}
BENCHMARK(BM_BuildCardFacesAndDeal);
} // namespace
