// One step of the win celebration before its pacing: draw a face, copy it to the window.
#include "TestHost.h"
#include "drawing/CardFaces.h"
#include "drawing/Graphics.h"
#include "drawing/TablePainter.h"
#include "play/Deck.h"
#include "play/Loading.h"
#include <benchmark/benchmark.h>

namespace {
void BM_CelebrationStep(benchmark::State& state) {
    TestGame tg;
    Game& g = tg.g();
    g.table.AppFolder = std::string(GAME_DATA_DIR) + "/";
    LoadGraphics(g);
    BuildCardFaces(g);
    NewGame(g, 1);
    int x = 325, y = 30, c = 1;
    for (auto _ : state) {
        Card face = g.table.Cards[c];
        face.State = StateFaceUp;
        DrawCard(g, g.gfx.surfTable, x, y, face);
        CopyTableToWindow(g, x, y, CardWidth, CardHeight);
        x = x >= 570 ? 0 : x + 4;
        y = y >= 370 ? 0 : y + 3;
        c = c == 52 ? 1 : c + 1;
        tg.host.invalidated.clear();
    }
}
BENCHMARK(BM_CelebrationStep);
} // namespace
