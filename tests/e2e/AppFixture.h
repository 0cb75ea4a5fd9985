#pragma once
#include "TestHost.h"
#include "shell/Application.h"
#include "shell/QtServices.h"
#include "shell/TableWidget.h"
#include "shell/frmMain.h"
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

// The real system services, except that ending the program is only recorded.
struct RecordingSystem : QtSystem {
    void EndProgram() override { ++endCalls; }
    int endCalls = 0;
};

// The real window and game on the offscreen platform, with scripted dialogs, an in-memory
// store and recorded sounds; data comes from beside the test program, as installed.
struct AppFixture : ::testing::Test {
    static constexpr int ReadyMs = 30000; // only a fault ever waits this out
    TestHost host;
    RecordingSystem system;
    AudioService* audio = &host;
    DialogService* dialogs = &host;
    std::string appFolder; // beside the test program when empty
    std::unique_ptr<Application> app;

    void Create() {
        app = std::make_unique<Application>(
            ServiceOverrides{dialogs, &host, audio, &system, &host, appFolder, "ann"});
    }
    void Start() {
        Create();
        ASSERT_TRUE(app->Main());
        ASSERT_TRUE(QTest::qWaitFor([this] { return window().isVisible(); }, ReadyMs));
    }
    Game& g() { return app->game(); }
    frmMain& window() { return app->Window(); }
    TableWidget* table() { return window().Table(); }
    QAction* action(MenuItem item) { return window().Action(item); }
    QMenu* menu(MenuItem item) { return window().Menu(item); }
    // Opening a menu as the player does, so its opening handler runs.
    void Open(MenuItem item) { QMetaObject::invokeMethod(menu(item), "aboutToShow"); }
};
