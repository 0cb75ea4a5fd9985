#pragma once
#include "TestHost.h"
#include "shell/Application.h"
#include "shell/QtServices.h"
#include "shell/TableWidget.h"
#include "shell/frmMain.h"
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

// The real system services, except that ending the program is only recorded.
class RecordingSystem : public QtSystem {
  public:
    void EndProgram() override { ++endCalls; }
    int endCalls = 0;
};

// The real window and game on the offscreen platform, with scripted dialogs, an in-memory
// store and recorded sounds; data comes from beside the test program, as installed.
struct AppFixture : ::testing::Test {
    // How long to wait for something the window does next: only a fault ever waits it out.
    static constexpr int ReadyMs = 30000;
    TestHost host;
    RecordingSystem system;
    std::unique_ptr<Application> app;
    AudioService* audio = nullptr; // the recording host's unless a test brings its own

    ServiceOverrides Overrides() {
        ServiceOverrides o;
        o.dialogs = &host;
        o.store = &host;
        o.audio = audio ? audio : &host;
        o.system = &system;
        o.random = &host;
        o.loginName = "ann";
        return o;
    }
    void Start(bool splash = true) {
        app = std::make_unique<Application>(Overrides());
        ASSERT_TRUE(app->Main());
        if (splash) WaitForSplash();
    }
    void WaitForSplash() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return app->Window().isVisible(); }, ReadyMs));
    }
    Game& g() { return app->game(); }
    frmMain& window() { return app->Window(); }
    TableWidget* table() { return window().Table(); }
    QAction* action(MenuItem item) { return window().Action(item); }
    QMenu* menu(MenuItem item) { return window().Menu(item); }
    // Opening a menu as the player does, so its opening handler runs.
    void Open(MenuItem item) {
        QMenu* m = menu(item);
        QMetaObject::invokeMethod(m, "aboutToShow");
    }
};
