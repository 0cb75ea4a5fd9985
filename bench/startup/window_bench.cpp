// The real window on the offscreen platform: a mouse move while cards are carried, from the
// event to its pixels in the window's back buffer.
#include "../cpu_model.h"
#include "play/Deck.h"
#include "state/Game.h"
#include "shell/Application.h"
#include "shell/TableWidget.h"
#include "shell/frmMain.h"
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {
void BM_MouseMoveWhileCarrying(benchmark::State& state) {
    Application app;
    if (!app.Main()) return state.SkipWithError("start-up failed");
    app.SplashStep();
    mnuDebugNoshuffle_Click(app.game());
    TableWidget* table = app.Window().Table();
    QTest::mousePress(table, Qt::LeftButton, Qt::NoModifier,
                      QPoint(370, 240)); // the king on pile 4
    if (!app.game().table.Dragging) return state.SkipWithError("nothing was picked up");
    int x = 370, step = 3;
    for (auto _ : state) {
        x += step;
        if (x > 560 || x < 120) step = -step;
        const QPointF at(x, 240);
        QMouseEvent move(QEvent::MouseMove, at, table->mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(table, &move);
        app.Window().ShowNow(); // paint what changed into the back buffer now
    }
    QTest::mouseRelease(table, Qt::LeftButton, Qt::NoModifier, QPoint(x, 240));
}
BENCHMARK(BM_MouseMoveWhileCarrying)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
