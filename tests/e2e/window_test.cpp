#include "TestHost.h"
#include "shell/Application.h"
#include "shell/QtServices.h"
#include "shell/TableWidget.h"
#include "shell/frmMain.h"
#include "status/ElapsedTime.h"
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {
using M = MenuItem;
// The real window, game and system services, but scripted dialogs, an in-memory store, recorded
// sounds and a recorded end; data comes from beside the test program, as installed.
struct AppFixture : ::testing::Test, QtSystem, DialogService {
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
        void PlaySync(std::span<const uint8_t>) override {
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
};
} // namespace
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv); // one for every test
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// One start-up: menu tree, status bar, table; then mouse and keys (the codes phrases rely on).
TEST_F(AppFixture, TheWindowFromStartUpThroughPlay) {
    const QPoint ace(130, 214), waste(130, 80), onTen(355, 234);
    const auto drag = [this](QPoint from, QPoint to) {
        QTest::mousePress(table(), Qt::LeftButton, {}, from);
        const auto atPress = g().gfx.surfWindow.Pixels;
        QTest::mouseMove(table(), (from + to) / 2);
        EXPECT_TRUE(g().gfx.surfWindow.Pixels != atPress) << "the cards follow the pointer";
        QTest::mouseMove(table(), to);
        QTest::mouseRelease(table(), Qt::LeftButton, {}, to);
    };
    // Counts of tableau 1, 2, 4, waste and goal 1; the screen shows the table (faults wait once).
    const auto check = [this](const char* gesture, const std::string& piles) {
        const Table& t = g().table;
        std::string counts;
        for (const Pile* p : {&t.Tableau[1], &t.Tableau[2], &t.Tableau[4], &t.Waste, &t.Goal[1]})
            counts += std::to_string(p->Count);
        EXPECT_EQ(counts + (t.Dragging ? " carried" : ""), piles) << gesture;
        const auto* pixels = reinterpret_cast<const uchar*>(g().gfx.surfWindow.Pixels.data());
        const QImage game(pixels, 640, 480, QImage::Format_RGB32);
        const auto shown = [&] {
            QImage screen = window().screen()->grabWindow(window().winId()).toImage();
            if (screen.isNull()) // Wayland shows no client the screen: the window's own picture
                screen = window().grab().toImage();
            return screen.copy(table()->geometry()).convertToFormat(QImage::Format_RGB32) == game;
        };
        EXPECT_TRUE(HasFailure() || QTest::qWaitFor(shown, ReadyMs)) << gesture;
    };
    const auto owned = [this] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window().findChildren<QObject*>().size() + QApplication::allWidgets().size();
    };
    Start();
    const std::pair<QWidget*, std::string> menus[] = {
        {window().menuBar(), "文件(&F)|选项(&O)|&Debug (hidden)|帮助(&H)|"},
        {menu(M::TopFile), "新游戏(&G) Ctrl+N|撤销(&U) Ctrl+Z|-|退出(&X)|"},
        {menu(M::TopOptions),
         "游戏背景|-|扑克正面图案|扑克背面图案|-|语言 (hidden)|声效(&S)|翻牌规则|-|显示头像|"},
        {menu(M::OptionsLanguage), "English|-|Norwegian|German|"},
        {menu(M::OptionsSounds), "普通移动|移到目标|-|启动声效|"},
        {menu(M::OptionsRules), "Draw.. (hidden)|每次一张|每次三张|"},
        {menu(M::TopDebug), "Win Game|-|No Shuffle Game|Reset Settings|-|Disable Debugging|"},
        {menu(M::TopHelp), "Index (hidden)|- (hidden)|关于(&A)...|"}};
    for (const auto& [w, captions] : menus) {
        QString s;
        for (QAction* a : w->actions())
            s += (a->isSeparator() ? "-" : (a->text() + " " + a->shortcut().toString()).trimmed()) +
                 (a->isVisible() ? "|" : " (hidden)|");
        EXPECT_EQ(s.toStdString(), captions);
    }
    EXPECT_EQ(window().windowTitle().toStdString(), "Zorvo - Quenta软件");
    EXPECT_EQ(QSize(g().table.TableWidth, g().table.TableHeight), QSize(640, 480));
    // Two panels and the bar's margins fill the width exactly; the longest clock shows whole.
    const QList<QLabel*> panels = window().statusBar()->findChildren<QLabel*>();
    ASSERT_EQ(panels.size(), 2);
    EXPECT_EQ(panels[0]->width(), 100);
    EXPECT_EQ(panels[1]->geometry().right() + 1, window().width());
    panels[1]->setText(QString::fromStdString(ElapsedText(36061000)));
    EXPECT_GE(panels[1]->contentsRect().width(),
              panels[1]->fontMetrics().horizontalAdvance(panels[1]->text()));
    EXPECT_EQ(host.reseeds, 1);
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return window().windowIcon().availableSizes().size() == 6; }, ReadyMs));
    // The sorted deal: an ace on pile 1, a ten on pile 4, the stock ending in K..9 of diamonds.
    const auto objects = owned();
    action(M::DebugNoshuffle)->trigger();
    Open(M::TopFile); // nothing to undo: Undo is greyed, and so is Ctrl+Z
    EXPECT_FALSE(action(M::FileUndo)->isEnabled());
    for (int i = 0; i < 5; ++i)
        QTest::mouseClick(table(), Qt::LeftButton, {}, {50, 80});
    drag(waste, onTen);
    check("drop", "12540");
    EXPECT_EQ(host.played.empty() ? "silence" : host.played.back().how, "async");
    Open(M::TopFile);
    action(M::FileUndo)->trigger();
    check("undo from the menu", "12450");
    drag(waste, onTen);
    QTest::keyClick(table(), Qt::Key_Z, Qt::ControlModifier);
    check("Ctrl+Z, enabled by the last opening of File", "12450");
    struct : QObject { // the flight back is painted step by step, not only where it ends
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            paints += e->type() == QEvent::Paint;
            return false;
        }
    } flight;
    table()->installEventFilter(&flight);
    drag(ace, {205, 228});
    table()->removeEventFilter(&flight);
    EXPECT_GE(flight.paints, 25);
    check("refused drop", "12450");
    drag(ace, {700, 600});
    check("released outside", "12450");
    QTest::mousePress(table(), Qt::LeftButton, {}, ace);
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(table(), &out);
    check("focus lost while carrying", "12450");
    QTest::mouseRelease(table(), Qt::LeftButton, {}, ace); // finds nothing to drop
    // Through the window system, which makes a double-click as a real one is made.
    QTest::mouseDClick(window().windowHandle(), Qt::LeftButton, {}, table()->mapTo(&window(), ace));
    check("double-click", "02451");
    QTest::mouseClick(table(), Qt::RightButton, {}, {600, 450});
    EXPECT_TRUE(QTest::qWaitFor([this] { return menu(M::TopOptions)->isVisible(); }, ReadyMs));
    menu(M::TopOptions)->close();
    for (M m : {M::TopFile, M::TopOptions, M::TopHelp, M::FileNewgame, M::OptionsTavi})
        menu(m) ? Open(m) : action(m)->trigger();
    EXPECT_EQ(owned(), objects) << "objects left behind";
    const std::pair<Qt::Key, char> keys[] = {
        {Qt::Key_A, 'A'},     {Qt::Key_Z, 'Z'},     {Qt::Key_0, '0'},       {Qt::Key_9, '9'},
        {Qt::Key_Space, ' '}, {Qt::Key_Shift, 16},  {Qt::Key_Control, 17},  {Qt::Key_Alt, 18},
        {Qt::Key_Tab, 9},     {Qt::Key_Backtab, 9}, {Qt::Key_Backspace, 8}, {Qt::Key_Return, 13},
        {Qt::Key_Enter, 13},  {Qt::Key_Escape, 27}, {Qt::Key_F1, '\xff'},   {Qt::Key_Left, '\xff'}};
    for (const auto& [key, code] : keys) {
        g().KeyBuffer.clear();
        QTest::keyClick(table(), key);
        EXPECT_EQ(g().KeyBuffer, std::string(1, code)) << key;
    }
}

// Every way of ending saves the menu choices and the typed debug mode, once, and the next start
// shows them. Closed while the win tune plays, the tune is cut short and no question follows.
TEST_F(AppFixture, EveryWayOfEndingSavesTheChoicesOnce) {
    const std::function<void()> ends[] = {
        [this] { action(M::FileExit)->trigger(); }, [this] { window().close(); },
        [&] {
            host.longTune = true;
            QMetaObject::invokeMethod(&window(), &QWidget::close, Qt::QueuedConnection);
            action(M::DebugWin)->trigger();
            EXPECT_TRUE(!host.longTune && host.shown.empty()) << "the tune goes on, or a question";
        },
        [&] { // the celebration runs until a key, and No to the question ends the game
            host.answers = {MsgResult::No};
            host.played.clear();
            action(M::DebugWin)->trigger();
            EXPECT_EQ(host.played.at(0).how + host.played.at(1).how, "loopstop");
        }};
    const M choices[] = {M::OptionsRulesDrawThree, M::OptionsTavi, M::OptionsSoundsPlaysounds};
    QTimer key; // keeps pressing, so that a celebration ends (and a fault does not hang)
    key.callOnTimeout([this] { QTest::keyClick(table(), Qt::Key_Escape); });
    key.start(20);
    for (const auto& end : ends) {
        host.store.clear();
        endCalls = 0;
        Start();
        for (M item : choices)
            action(item)->trigger();
        window().ListActions(MenuList::LayoutBackBack).at(1)->trigger();
        QTest::keyClicks(table(), "start admin view");
        end();
        window().close(); // a close after the end does nothing more
        EXPECT_EQ(endCalls, 1);
        app.reset();
        Start();
        Open(M::TopOptions);
        for (M item : choices)
            EXPECT_EQ(action(item)->isChecked(), item == M::OptionsRulesDrawThree) << int(item);
        EXPECT_TRUE(window().ListActions(MenuList::LayoutBackBack).at(1)->isChecked());
        EXPECT_TRUE(action(M::TopDebug)->isVisible());
    }
}

// A close under a start-up message: nothing is saved or ended while loading, then it ends once.
TEST_F(AppFixture, ClosedDuringAStartUpMessageEndsOnceLoaded) {
    QTemporaryDir dir;
    appFolder = dir.filePath("game").toStdString();
    std::filesystem::copy(GAME_DATA_DIR, appFolder, std::filesystem::copy_options::recursive);
    std::ofstream(appFolder + "/SORT.BMP", std::ios::trunc) << "BM not a picture";
    onMsgBox = [this] {
        window().close();
        EXPECT_TRUE(host.store.empty() && endCalls == 0) << "saved or ended while loading";
    };
    Start(false);
    EXPECT_EQ(host.Get("ann", "Draw"), "1");
    EXPECT_EQ(endCalls, 1);
    QTimer::singleShot(0, [] { QCoreApplication::exit(); }); // the toolkit stops quitting
    QCoreApplication::exec();
}

// Message box buttons are Chinese even without the toolkit's translation, and answer as named.
TEST(MessageBox, ButtonsSpeakTheGamesLanguage) {
    const std::tuple<MsgStyle, QMessageBox::StandardButton, MsgResult> rows[] = {
        {MsgStyle::YesNoQuestion, QMessageBox::Yes, MsgResult::Yes},
        {MsgStyle::YesNoExclamation, QMessageBox::No, MsgResult::No},
        {MsgStyle::Information, QMessageBox::Ok, MsgResult::Ok}};
    for (const auto& [style, press, result] : rows) {
        QTimer answer; // reads the box once it is up and presses the row's button
        answer.callOnTimeout([&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                for (QAbstractButton* b : box->buttons()) // none left in English
                    EXPECT_FALSE(b->text().contains(QRegularExpression("^[ -~]*$")))
                        << b->text().toStdString();
                box->button(press) ? box->button(press)->click() : box->reject();
            }
        });
        answer.start(5);
        EXPECT_EQ(QtDialogs(nullptr).MsgBox("是否开始新游戏？", style, "开始新游戏"), result);
    }
}
