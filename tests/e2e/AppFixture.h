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
    // The table as the screen shows it; Wayland shows no client the screen, so there the
    // window's own picture.
    QImage Shown() {
        QImage screen = window().screen()->grabWindow(window().winId()).toImage();
        if (screen.isNull()) screen = window().grab().toImage();
        return screen.copy(table()->geometry()).convertToFormat(QImage::Format_RGB32);
    }
};
