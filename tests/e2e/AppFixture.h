#pragma once
// The real window, game and system services, but scripted dialogs, an in-memory store, recorded
// sounds and a recorded end; data comes from beside the test program, as installed.
#include "TestHost.h"
#include "shell/Application.h"
#include "shell/QtServices.h"
#include "shell/TableWidget.h"
#include "shell/frmMain.h"
#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

struct AppFixture : ::testing::Test, QtSystem, DialogService {
    using M = MenuItem;
    static constexpr int ReadyMs = 30000; // only a fault ever waits this out
    void EndProgram() override { ++endCalls; }
    MsgResult MsgBox(const std::string& text, MsgStyle style, const std::string& title) override {
        onMsgBox();
        return host.MsgBox(text, style, title);
    }
    int endCalls = 0;
    std::function<void()> onMsgBox = [] {};
    struct : TestHost { // a blocking sound lasts a minute while longTune is on, or until stopped
        std::atomic_bool longTune = false;
        void PlaySync(const SoundImage&) override {
            for (int ms = 0; ms < 60000 && longTune; ++ms)
                QThread::msleep(1);
        }
        void Stop() override { TestHost::Stop(), longTune = false; }
    } host;
    std::string appFolder; // beside the test program when empty
    std::unique_ptr<Application> app;
    void Start(bool loads = true) {
        app = std::make_unique<Application>(
            ServiceOverrides{this, &host, &host, this, &host, appFolder, "ann"});
        ASSERT_EQ(app->Main(), loads);
        ASSERT_TRUE(!loads || QTest::qWaitFor([this] { return window().isVisible(); }, ReadyMs));
        // A headless compositor has no seat to give the focus with; shortcuts need it.
        if (loads && !window().isActiveWindow()) QApplication::setActiveWindow(&window());
    }
    Game& g() { return app->game(); }
    frmMain& window() { return app->Window(); }
    TableWidget* table() { return window().Table(); }
    QAction* action(M item) { return window().Action(item); }
    QMenu* menu(M item) { return window().Menu(item); }
    void Open(M item) { QMetaObject::invokeMethod(menu(item), "aboutToShow"); }
    // The widget position over the centre of a table pixel, whatever the window's scale.
    QPoint At(QPoint t) {
        const TableView v = table()->View();
        const qreal s = v.Scale(), dpr = v.Dpr();
        return QPointF((v.Device().x() + (t.x() + 0.5) * s) / dpr,
                       (v.Device().y() + (t.y() + 0.5) * s) / dpr)
            .toPoint();
    }
    void Drag(QPoint from, QPoint to) {
        QTest::mousePress(table(), Qt::LeftButton, {}, At(from));
        const auto atPress = g().gfx.surfWindow.Pixels;
        QTest::mouseMove(table(), At((from + to) / 2));
        EXPECT_TRUE(g().gfx.surfWindow.Pixels != atPress) << "the cards do not follow the pointer";
        QTest::mouseMove(table(), At(to));
        QTest::mouseRelease(table(), Qt::LeftButton, {}, At(to));
    }
    // Tableau 1, 2 and 4, the waste and goal 1 counted, and whether cards are carried.
    std::string Counts() {
        const Table& t = g().table;
        std::string counts;
        for (const Pile* p : {&t.Tableau[1], &t.Tableau[2], &t.Tableau[4], &t.Waste, &t.Goal[1]})
            counts += std::to_string(p->Count);
        return counts + (t.Dragging ? " carried" : "");
    }
    // The table as the screen shows it; Wayland shows no client the screen, so there the
    // window's own picture.
    QImage Shown() {
        QImage screen = window().screen()->grabWindow(window().winId()).toImage();
        if (screen.isNull()) screen = window().grab().toImage();
        return screen.copy(table()->geometry()).convertToFormat(QImage::Format_RGB32);
    }
};
