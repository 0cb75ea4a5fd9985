#include "AppFixture.h"
#include "Printers.h"
#include "status/ElapsedTime.h"
#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

int main(int argc, char** argv) {
    // Offscreen unless told otherwise: runs on a real display choose their own platform.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv); // one for every test
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// One start-up: menu tree, status bar, table; then mouse and keys (the codes phrases rely on).
TEST_F(AppFixture, TheWindowFromStartUpThroughPlay) {
    const QPoint ace(130, 214), waste(130, 80), onTen(355, 234);
    // The piles as counted, and the screen shows the table (faults wait once).
    const auto check = [this](const char* gesture, const std::string& piles) {
        EXPECT_EQ(Counts(), piles) << gesture;
        const auto* pixels = reinterpret_cast<const uchar*>(g().gfx.surfWindow.Pixels.data());
        const QImage game(pixels, 640, 480, QImage::Format_RGB32);
        const auto shown = [&] { return Shown() == game; };
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
    const QRect outer = window().frameGeometry(); // centred with its frame, at the top
    if (QGuiApplication::platformName() != "wayland") { // where windows place themselves
        EXPECT_EQ(outer.topLeft(),
                  QPoint(window().screen()->size().width() / 2 - outer.width() / 2, 0))
            << "frame " << outer.width() - window().width();
    }
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
    Drag(waste, onTen);
    check("drop", "12540");
    EXPECT_EQ(host.played.empty() ? "silence" : host.played.back().how, "async");
    Open(M::TopFile);
    action(M::FileUndo)->trigger();
    check("undo from the menu", "12450");
    Drag(waste, onTen);
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
    Drag(ace, {205, 228});
    table()->removeEventFilter(&flight);
    EXPECT_GE(flight.paints, 25);
    check("refused drop", "12450");
    Drag(ace, {700, 600});
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

// The sorted deal won with keys alone, the focus frame on the screen only, the phrases still
// typed between play keys, and the places as a screen reader hears them.
TEST_F(AppFixture, KeysAloneWinTheSortedDealAndTheTableIsRead) {
    static std::vector<std::pair<QAccessible::Event, int>> heard;
    QAccessible::installUpdateHandler(
        [](QAccessibleEvent* e) { heard.emplace_back(e->type(), e->child()); });
    Start();
    // Events reach a screen reader only over the desktop's accessibility bus, which is found
    // after start-up; the offscreen platform has none, and there only the tree is read.
    const bool bus = qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON");
    ASSERT_TRUE(!bus || QTest::qWaitFor([] { return QAccessible::isActive(); }, ReadyMs));
    action(M::DebugNoshuffle)->trigger();
    const auto names = [this] {
        QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(table());
        std::string s;
        for (int i = 0; i < tree->childCount(); ++i)
            s += tree->child(i)->text(QAccessible::Name).toStdString() + "|";
        return s;
    };
    EXPECT_EQ(names(), "发牌堆：24 张|废牌堆：空|目标 1：空|目标 2：空|目标 3：空|目标 4：空|"
                       "第 1 列：黑桃 A|第 2 列：黑桃 3 在上，下面 1 张背面|"
                       "第 3 列：黑桃 6 在上，下面 2 张背面|第 4 列：黑桃 10 在上，下面 3 张背面|"
                       "第 5 列：梅花 2 在上，下面 4 张背面|第 6 列：梅花 8 在上，下面 5 张背面|"
                       "第 7 列：红心 2 在上，下面 6 张背面|");
    // Where the screen differs from the game's window picture: nowhere, or the focus frame.
    const auto unlike = [this] {
        const Surface& w = g().gfx.surfWindow;
        const QImage shown = Shown();
        QRect box;
        for (int y = 0; y < w.Height; ++y)
            for (int x = 0; x < w.Width; ++x)
                if ((shown.pixel(x, y) & 0xFFFFFF) != w.Pixels[size_t(y * w.Width + x)])
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    const auto screenIsGame = [&] { return unlike().isEmpty(); };
    ASSERT_TRUE(QTest::qWaitFor(screenIsGame, ReadyMs));
    const auto key = [this](Qt::Key k, Qt::KeyboardModifiers m = {}) {
        QTest::keyClick(table(), k, m);
    };
    heard.clear();
    key(Qt::Key_Right);
    const decltype(heard) waste = {{QAccessible::Focus, 1}};
    EXPECT_TRUE(!bus || heard == waste) << "the focus went to the waste";
    const QRect aroundWaste(100 - 6, 30 - 6, 64 + 12, 104 + 12);
    const auto framed = [&] { // only the frame differs, and it stands around the waste
        const QRect box = unlike();
        return !box.isEmpty() && aroundWaste.contains(box);
    };
    EXPECT_TRUE(QTest::qWaitFor(framed, ReadyMs)) << "no frame around the waste";
    const std::string position = PositionText(g().table);
    for (const char* phrase : {"stop admin view", "start admin view"}) {
        QTest::keyClicks(table(), phrase);
        EXPECT_EQ(action(M::TopDebug)->isVisible(), phrase[2] == 'a') << phrase;
    }
    EXPECT_EQ(PositionText(g().table) + std::to_string(table()->Keys().Place()), position + "13");
    QTest::mouseClick(table(), Qt::LeftButton, {}, {600, 450});
    EXPECT_TRUE(QTest::qWaitFor(screenIsGame, ReadyMs)) << "the frame outlives a mouse press";
    // Moves found for this deal, made as a player would: walk to a place, reach, act or send.
    const auto walk = [&](const std::string& to) {
        const std::string place = to.substr(0, to.find('.'));
        const uint8_t want = PileNo(std::isdigit(place[0]) ? "p" + place : place);
        const auto at = [](uint8_t p) {
            return std::find(PlaceOrder.begin(), PlaceOrder.end(), p);
        };
        while ((table()->Keys().Place() >= 8) != (want >= 8))
            key(want >= 8 ? Qt::Key_Up : Qt::Key_Down);
        while (table()->Keys().Place() != want)
            key(at(table()->Keys().Place()) < at(want) ? Qt::Key_Right : Qt::Key_Left);
        for (size_t d = to.find('.');
             d < to.size() && table()->Keys().Depth() < std::stoi(to.substr(d + 1));)
            key(Qt::Key_PageUp);
    };
    QTimer stop; // the celebration runs until a key
    stop.callOnTimeout([&] { key(Qt::Key_Escape); });
    stop.start(20);
    std::istringstream script( // send, act, move from-to; digits are piles, .n how deep
        "s1 m7-2 a7 s7 a7 s2 m7-1 a7 aS aS mW-1 aS mW-7 m4-7 a4 aS aS mW-7 m6-7 a6 aS mW-4 m6-4 "
        "a6 aS mW-7 m3-7 a3 aS mW-4 m3-4 a3 aS mW-6 m3-6 aS mW-4 m2-4 a2 s2 s4 s6 aS aS aS sW sW "
        "sW s4 s4 s6 s4 s7 s7 aS mW-2 m7.4-2 a7 m7-1 a7 mW-1 m4.2-1 a4 mW-3 aS aS aS aS mW-7 m4-7 "
        "a4 s4 s7 aS aS mW-2 m6-2 a6 aS mW-1 m6-1 a6 aS mW-2 m6-2 a6 aS mW-1 m6-1 aS mW-2 m5-2 a5 "
        "s5 a5 s2 s1 s2 s1 s2 s1 s2 s1 s2 s1 s1 s1 s2 s2 s2 s1 s2 s2 sW s7 sW m5-4 a5 m5-3 a5 s5 "
        "s3 s4 mW-2 m7-2 a7 s7 s2 s1 s1 s2 s2 s1 s3 sW s2");
    int moves = 0;
    for (std::string move; script >> move; ++moves) {
        const size_t to = move.find('-');
        walk(move.substr(1, to - 1));
        key(Qt::Key_Return, move[0] == 's' ? Qt::ControlModifier : Qt::NoModifier);
        if (to < move.size()) walk(move.substr(to + 1)), key(Qt::Key_Enter, Qt::KeypadModifier);
        if (moves == 0) { // the ace of spades went home, and both places say so
            EXPECT_EQ(names().substr(0, names().find("第 2")),
                      "发牌堆：24 张|废牌堆：空|目标 1：黑桃 A|目标 2：空|目标 3：空|目标 4：空|第 "
                      "1 列：空|");
            for (int place : {2, 6}) // goal 1 and pile 1, each told once
                EXPECT_TRUE(!bus || std::ranges::count(
                                        heard, std::pair{QAccessible::NameChanged, place}) == 1);
        }
    }
    stop.stop();
    EXPECT_EQ(moves, 136);
    EXPECT_EQ(host.shown.size(), 1u) << "the win's question";
    EXPECT_EQ(int(table()->Keys().Place()), int(PileStock))
        << "a new deal puts the focus on the stock";
    EXPECT_EQ(g().table.Stock.Count, 24);
    QAccessible::installUpdateHandler(nullptr);
}

// Every way of ending saves the menu choices and the typed debug mode, once, and the next start
// shows them. Closed while the win tune plays, the tune is cut short and no question follows.
// A save that fails is told in a box, or on stderr at a signal, and the exit status is 1.
TEST_F(AppFixture, EveryWayOfEndingSavesTheChoicesOnce) {
    const auto failing = [&](std::function<void()> end, const char* told) {
        return [=, this] {
            host.flushResult = {SaveProblem::DiskFull, "/h/Varnel.conf"}, host.shown.clear();
            ::testing::internal::CaptureStderr();
            end();
            EXPECT_EQ(app->Finish(), 1);
            EXPECT_EQ((host.shown.empty() ? "" : host.shown.back().text) +
                          ::testing::internal::GetCapturedStderr(),
                      std::string(told) + "不能保存文件 /h/Varnel.conf" + (*told ? " " : "\n") +
                          "原因：磁盘已满。本次的设置没有保存。" + (*told ? "\n" : ""));
        };
    };
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
        },
        failing([this] { action(M::FileExit)->trigger(); }, ""),
        failing([this] { app->EndOnSignal(); }, "zorvo: ")};
    const M choices[] = {M::OptionsRulesDrawThree, M::OptionsTavi, M::OptionsSoundsPlaysounds};
    QTimer key; // keeps pressing, so that a celebration ends (and a fault does not hang)
    key.callOnTimeout([this] { QTest::keyClick(table(), Qt::Key_Escape); });
    key.start(20);
    for (const auto& end : ends) {
        host.store.clear(), host.flushResult = {};
        endCalls = 0;
        Start();
        for (M item : choices)
            action(item)->trigger();
        window().ListActions(MenuList::LayoutBackBack).at(1)->trigger();
        QTest::keyClicks(table(), "start admin view");
        end();
        window().close(); // a close after the end does nothing more
        EXPECT_EQ(endCalls, 1);
        EXPECT_EQ(host.flushResult.problem != SaveProblem::None || app->Finish() == 0, true);
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
// A question stays up through Escape and its close button (No to the win offer ends the game);
// a box with one button closes with Escape.
TEST(MessageBox, ButtonsSpeakTheGamesLanguage) {
    const std::tuple<MsgStyle, QMessageBox::StandardButton, MsgResult> rows[] = {
        {MsgStyle::YesNoQuestion, QMessageBox::Yes, MsgResult::Yes},
        {MsgStyle::YesNoExclamation, QMessageBox::No, MsgResult::No},
        {MsgStyle::Information, QMessageBox::NoButton, MsgResult::Ok}};
    for (const auto& [style, press, result] : rows) {
        QTimer answer; // reads the box once it is up, tries to escape it, then presses the button
        answer.callOnTimeout([&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                for (QAbstractButton* b : box->buttons()) // none left in English
                    EXPECT_FALSE(b->text().contains(QRegularExpression("^[ -~]*$")))
                        << b->text().toStdString();
                QTest::keyClick(box, Qt::Key_Escape);
                if (press == QMessageBox::NoButton) return;
                box->close();
                ASSERT_TRUE(box->isVisible()) << "a question was escaped";
                box->button(press)->click();
            }
        });
        answer.start(5);
        EXPECT_EQ(QtDialogs(nullptr).MsgBox("是否开始新游戏？", style, "开始新游戏"), result);
    }
}
