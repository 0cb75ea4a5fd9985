// The real window on the offscreen platform: a mouse move while cards are carried, from the
// event to its pixels in the window's back buffer, at the table's own size and filling large
// screens (run with QT_SCALE_FACTOR for other ratios); and the table resampled whole.
#include "../cpu_model.h"
#include "drawing/TablePainter.h"
#include "model/Table.h"
#include "play/Deck.h"
#include "shell/Resample.h"
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
    // Until the window is exposed, repaints paint nothing.
    if (!QTest::qWaitForWindowExposed(&app.Window())) return state.SkipWithError("not exposed");
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

// A king-to-ace run on pile 1, alone on the table.
void LayRun(Game& g) {
    mnuDebugNoshuffle_Click(g);
    for (uint8_t n = 1; n <= 13; ++n)
        g.table.PileAt(n).Count = 0;
    for (int rank = 13; rank >= 1; --rank) {
        const auto card = static_cast<uint8_t>(13 * (rank % 2 == 1 ? 0 : 2) + rank); // S, H
        g.table.Cards[card].State = StateFaceUp;
        g.table.Tableau[1].Push(card);
    }
    RedrawTable(g);
}

// One drag step of thirteen cards with the window as large as a screen of args device pixels
// (0: the window's own size), resampling included.
void BM_DragStep13(benchmark::State& state) {
    Application app;
    if (!app.Main()) return state.SkipWithError("start-up failed");
    app.SplashStep();
    frmMain& window = app.Window();
    if (!QTest::qWaitForWindowExposed(&window)) return state.SkipWithError("not exposed");
    TableWidget* table = window.Table();
    const qreal dpr = table->devicePixelRatioF();
    if (state.range(0) > 0) {
        const QSizeF screen(static_cast<qreal>(state.range(0)), static_cast<qreal>(state.range(1)));
        window.resize((screen / dpr).toSize());
        if (!QTest::qWaitFor([&] { return table->width() > frmMain::TableClientWidth; }))
            return state.SkipWithError("the window did not grow");
    }
    LayRun(app.game());
    window.ShowNow();
    const auto at = [&](QPoint t) { // the widget position over a table pixel
        const TableView v = table->View();
        return QPointF((v.Device().x() + (t.x() + 0.5) * v.Scale()) / dpr,
                       (v.Device().y() + (t.y() + 0.5) * v.Scale()) / dpr);
    };
    QTest::mousePress(table, Qt::LeftButton, Qt::NoModifier,
                      at({TableauX(1) + 10, TableauY + 5}).toPoint());
    if (app.game().table.HandCount != 13) return state.SkipWithError("the run was not picked up");
    struct : QObject { // every step must reach the screen
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            paints += e->type() == QEvent::Paint;
            return false;
        }
    } counter;
    table->installEventFilter(&counter);
    int x = TableauX(1) + 10, step = 3;
    for (auto _ : state) {
        x += step;
        if (x > 560 || x < 40) step = -step;
        const QPointF p = at({x, TableauY + 5});
        QMouseEvent move(QEvent::MouseMove, p, table->mapToGlobal(p), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(table, &move);
        window.ShowNow();
    }
    table->removeEventFilter(&counter);
    state.counters["paints"] = benchmark::Counter(counter.paints, benchmark::Counter::kAvgIterations);
    state.SetLabel(std::to_string(int(table->width() * dpr)) + "x" +
                   std::to_string(int(table->height() * dpr)) + " at " + std::to_string(dpr));
}
BENCHMARK(BM_DragStep13)
    ->Args({0, 0})
    ->Args({3840, 2160})
    ->Args({2560, 1440})
    ->Unit(benchmark::kMicrosecond);

// The whole table resampled, as on a resize or a screen change.
void BM_ResampleWholeTable(benchmark::State& state) {
    std::vector<uint32_t> src(640 * 480), dst(size_t(state.range(0)) * state.range(1));
    for (size_t i = 0; i < src.size(); ++i)
        src[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
    const int w = int(state.range(0)), h = int(state.range(1));
    for (auto _ : state) {
        Resample({src.data(), 640, 480, 640}, {dst.data(), w, h, w}, {0, 0, w, h});
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ResampleWholeTable)->Args({2880, 2160})->Args({960, 720})->Args({1280, 960})
    ->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char** argv) {
    // Other ratios: QT_SCALE_FACTOR=1.5 QT_QPA_PLATFORM=offscreen:configfile=<a large screen>
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
