#include "AppFixture.h"
#include "status/ElapsedTime.h"
#include <QAbstractButton>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QThread>
#include <filesystem>
#include <fstream>

// One start-up: the menu tree (captions in order, "-" a separator, with shortcut and hidden
// mark), the caption, the table's size, the status bar, the first game shuffled and the icon.
TEST_F(AppFixture, StartUpBuildsTheWindowAsDesigned) {
    using M = MenuItem;
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
    EXPECT_EQ(table()->size(), QSize(640, 480));
    // Two panels and the bar's margins fill the width exactly; the longest clock shows whole.
    window().statusBar()->layout()->activate();
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
}

// Every way of ending saves the menu choices and the typed debug mode, once, and the next start
// shows them. Closed while the win tune plays, the tune is cut short and no question follows.
TEST_F(AppFixture, EveryWayOfEndingSavesTheChoicesOnce) {
    using M = MenuItem;
    struct LongTune : TestHost { // a minute long unless stopped
        std::atomic_bool stopped = false;
        void PlaySync(std::span<const uint8_t>) override {
            for (int ms = 0; ms < 60000 && !stopped; ++ms)
                QThread::msleep(1);
        }
        void Stop() override {
            stopped = true;
            TestHost::Stop();
        }
    } tune;
    audio = &tune;
    const std::function<void()> ends[] = {
        [this] { action(M::FileExit)->trigger(); }, [this] { window().close(); },
        [&] {
            QMetaObject::invokeMethod(&window(), &QWidget::close, Qt::QueuedConnection);
            action(M::DebugWin)->trigger();
            EXPECT_TRUE(tune.stopped);
            EXPECT_TRUE(host.shown.empty());
        },
        [&] { // the celebration runs until a key, and No to the question ends the game
            QTimer key;
            QObject::connect(&key, &QTimer::timeout,
                             [this] { QTest::keyClick(table(), Qt::Key_Escape); });
            key.start(20);
            host.answers = {MsgResult::No};
            tune.played.clear();
            action(M::DebugWin)->trigger();
            EXPECT_EQ(tune.played.at(0).how + tune.played.at(1).how, "loopstop");
        }};
    const M choices[] = {M::OptionsRulesDrawThree, M::OptionsTavi, M::OptionsSoundsPlaysounds};
    for (const auto& end : ends) {
        host.store.clear();
        system.endCalls = 0;
        Start();
        for (M item : choices)
            action(item)->trigger();
        window().ListActions(MenuList::LayoutBackBack).at(1)->trigger();
        QTest::keyClicks(table(), "start admin view");
        end();
        window().close(); // a close after the end does nothing more
        EXPECT_EQ(system.endCalls, 1);
        app.reset();
        Start();
        Open(M::TopOptions);
        for (M item : choices)
            EXPECT_EQ(action(item)->isChecked(), item == M::OptionsRulesDrawThree) << int(item);
        EXPECT_TRUE(window().ListActions(MenuList::LayoutBackBack).at(1)->isChecked());
        EXPECT_TRUE(action(M::TopDebug)->isVisible());
        app.reset();
    }
}

// A signal that arrives while a start-up message is shown closes the window under the box:
// nothing is saved or ended while the game loads; then it ends through the shutdown routine.
TEST_F(AppFixture, ClosedDuringAStartUpMessageEndsOnceLoaded) {
    QTemporaryDir dir;
    appFolder = dir.filePath("game").toStdString();
    std::filesystem::copy(GAME_DATA_DIR, appFolder, std::filesystem::copy_options::recursive);
    std::ofstream(appFolder + "/SORT.BMP", std::ios::trunc) << "BM not a picture";
    struct CloseUnderTheBox : DialogService {
        AppFixture* f = nullptr;
        MsgResult MsgBox(const std::string&, MsgStyle, const std::string&) override {
            f->window().close();
            EXPECT_TRUE(f->host.store.empty());
            EXPECT_EQ(f->system.endCalls, 0);
            return MsgResult::Ok;
        }
    } closing;
    closing.f = this;
    dialogs = &closing;
    Create();
    EXPECT_FALSE(app->Main());
    EXPECT_EQ(host.Get("ann", "Draw"), "1");
    EXPECT_EQ(system.endCalls, 1);
    QTimer::singleShot(0, [] { QCoreApplication::exit(); }); // the toolkit stops quitting
    QCoreApplication::exec();
}

// Message boxes name their buttons in Chinese even where the toolkit has no translation, and
// each button gives its own answer.
TEST(MessageBox, ButtonsSpeakTheGamesLanguage) {
    using B = QMessageBox;
    const std::tuple<MsgStyle, B::StandardButton, MsgResult> rows[] = {
        {MsgStyle::YesNoQuestion, B::Yes, MsgResult::Yes},
        {MsgStyle::YesNoExclamation, B::No, MsgResult::No},
        {MsgStyle::Information, B::Ok, MsgResult::Ok}};
    for (const auto& [style, press, result] : rows) {
        QStringList captions;
        QTimer answer; // reads the box once it is up and presses the row's button
        QObject::connect(&answer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<B*>(QApplication::activeModalWidget())) {
                for (QAbstractButton* b : box->buttons())
                    captions << b->text();
                box->button(press) ? box->button(press)->click() : box->reject();
            }
        });
        answer.start(5);
        EXPECT_EQ(QtDialogs(nullptr).MsgBox("是否开始新游戏？", style, "开始新游戏"), result);
        EXPECT_FALSE(captions.empty());
        for (const QString& c : captions)
            EXPECT_TRUE(c.contains(QRegularExpression("\\p{Han}"))) << c.toStdString();
    }
}
