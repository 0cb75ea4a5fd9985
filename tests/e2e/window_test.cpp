#include "AppFixture.h"
#include "play/Deck.h"
#include "status/ElapsedTime.h"
#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>

namespace {
// Captions of a menu's items in display order: "-" for separators, "(hidden)" marks.
std::vector<std::string> Items(QMenu* menu) {
    std::vector<std::string> out;
    for (QAction* a : menu->actions()) {
        std::string s = a->isSeparator() ? "-" : a->text().toStdString();
        if (!a->shortcut().isEmpty()) s += " [" + a->shortcut().toString().toStdString() + "]";
        if (!a->isVisible()) s += " (hidden)";
        out.push_back(s);
    }
    return out;
}
using V = std::vector<std::string>;
} // namespace

TEST_F(AppFixture, MenuTreeReadsAsDesignedAfterStartUp) {
    Start();
    V top;
    for (QAction* a : window().menuBar()->actions())
        top.push_back(a->text().toStdString() + (a->isVisible() ? "" : " (hidden)"));
    EXPECT_EQ(top, (V{"文件(&F)", "选项(&O)", "&Debug (hidden)", "帮助(&H)"}));
    EXPECT_EQ(Items(menu(MenuItem::TopFile)),
              (V{"新游戏(&G) [Ctrl+N]", "撤销(&U) [Ctrl+Z]", "-", "退出(&X)"}));
    EXPECT_EQ(Items(menu(MenuItem::TopOptions)),
              (V{"游戏背景", "-", "扑克正面图案", "扑克背面图案", "-", "语言 (hidden)", "声效(&S)",
                 "翻牌规则", "-", "显示头像"}));
    EXPECT_EQ(Items(menu(MenuItem::OptionsLanguage)), (V{"English", "-", "Norwegian", "German"}));
    EXPECT_EQ(Items(menu(MenuItem::OptionsSounds)), (V{"普通移动", "移到目标", "-", "启动声效"}));
    EXPECT_EQ(Items(menu(MenuItem::OptionsRules)), (V{"Draw.. (hidden)", "每次一张", "每次三张"}));
    EXPECT_EQ(Items(menu(MenuItem::TopDebug)),
              (V{"Win Game", "-", "No Shuffle Game", "Reset Settings", "-", "Disable Debugging"}));
    EXPECT_EQ(Items(menu(MenuItem::TopHelp)), (V{"Index (hidden)", "- (hidden)", "关于(&A)..."}));
    EXPECT_EQ(window().windowTitle().toStdString(), "Zorvo - Quenta软件");
}

TEST_F(AppFixture, TableIsMeasuredAt640By480AndStatusBarHasTwoPanels) {
    Start();
    EXPECT_EQ(g().table.TableWidth, 640);
    EXPECT_EQ(g().table.TableHeight, 480);
    EXPECT_EQ(table()->width(), 640);
    EXPECT_EQ(table()->height(), 480);
    EXPECT_EQ(window().PanelWidth(1), 100);
    // The two panels and the bar's own margins fit the window exactly; the clock shows whole.
    QStatusBar* bar = window().statusBar();
    bar->layout()->activate();
    const QList<QLabel*> panels = bar->findChildren<QLabel*>();
    ASSERT_EQ(panels.size(), 2);
    EXPECT_EQ(panels[0]->width(), 100);
    EXPECT_EQ(panels[1]->geometry().right() + 1, window().width());
    EXPECT_EQ(bar->width(), window().width());
    panels[1]->setText(QString::fromStdString(ElapsedText(36061000)));
    EXPECT_GE(panels[1]->contentsRect().width(),
              panels[1]->fontMetrics().horizontalAdvance(panels[1]->text()));
}

TEST_F(AppFixture, SplashStepShowsTheWindowOnceWithAShuffledGame) {
    Start(false);
    EXPECT_FALSE(window().isVisible()); // nothing shows before the splash step
    EXPECT_EQ(host.reseeds, 0);         // start-up deals the sorted deck only
    WaitForSplash();
    EXPECT_EQ(host.reseeds, 1);
    EXPECT_TRUE(window().TimerEnabled(TimerId::UpdateTime));
    app->SplashStep(); // a late second tick or click changes nothing
    EXPECT_EQ(host.reseeds, 1);
    // The icon follows the first frame, in every size drawn for it.
    EXPECT_TRUE(QTest::qWaitFor([this] { return !window().windowIcon().isNull(); }, ReadyMs));
    EXPECT_EQ(window().windowIcon().availableSizes().size(), 6);
}

TEST_F(AppFixture, ExitAndCloseBoxBothSaveAndEnd) {
    Start();
    g().settings.DrawRule = 3;
    action(MenuItem::FileExit)->trigger();
    EXPECT_EQ(host.Get("ann", "Draw"), "3");
    EXPECT_EQ(system.endCalls, 1);

    struct Other : AppFixture {
        void TestBody() override {}
    } other;
    other.Start();
    other.g().settings.BackDesign = 0;
    other.window().close();
    EXPECT_EQ(other.host.Get("ann", "Deck"), "0");
    EXPECT_EQ(other.system.endCalls, 1);
    EXPECT_TRUE(other.g().Ended);
    other.window().close(); // a second close after the end does nothing more
    EXPECT_EQ(other.system.endCalls, 1);
}

TEST_F(AppFixture, StoredDebugModeShowsTheDebugMenu) {
    host.Set("ann", "Version", "Debug");
    Start();
    EXPECT_TRUE(action(MenuItem::TopDebug)->isVisible());
}

// The buttons of every message box are Chinese: the toolkit's own translation while the game
// runs, our captions where no translation is loaded.
TEST_F(AppFixture, MessageBoxButtonsSpeakTheGamesLanguage) {
    Start();
    for (const bool translated : {true, false}) {
        if (!translated) app.reset(); // its translation goes with it
        for (const MsgStyle style : {MsgStyle::YesNoQuestion, MsgStyle::Ok}) {
            std::vector<QString> captions;
            QTimer answer;
            QObject::connect(&answer, &QTimer::timeout, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (box == nullptr) return;
                for (QAbstractButton* b : box->buttons())
                    captions.push_back(b->text());
                box->buttons().front()->click();
            });
            answer.start(5);
            QtDialogs(nullptr).MsgBox("是否开始新游戏？", style, "开始新游戏");
            ASSERT_EQ(captions.size(), style == MsgStyle::Ok ? 1u : 2u) << translated;
            for (const QString& c : captions) {
                EXPECT_TRUE(std::any_of(c.begin(), c.end(), [](QChar ch) {
                    return ch.unicode() >= 0x4E00;
                })) << c.toStdString();
            }
            const QString toolkitYes = QCoreApplication::translate("QPlatformTheme", "&Yes");
            if (style != MsgStyle::Ok) {
                EXPECT_EQ(std::count(captions.begin(), captions.end(), toolkitYes),
                          translated ? 1 : 0)
                    << toolkitYes.toStdString();
            }
        }
    }
}

TEST_F(AppFixture, ClosedBeforeTheGameHasLoadedNothingIsSaved) {
    app = std::make_unique<Application>(Overrides());
    app->Window().close(); // a signal during the screen question closes it like this
    EXPECT_TRUE(host.store.empty());
    EXPECT_EQ(system.endCalls, 0);
    EXPECT_FALSE(app->game().Ended);
}

// Menus opened as the player opens them, new games, option changes and drags, many times over:
// nothing the window owns may pile up (menu items, timers, pop-ups).
TEST_F(AppFixture, PlayLeavesNothingBehindInTheWindow) {
    Start();
    const auto owned = [&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window().findChildren<QObject*>().size() + QApplication::allWidgets().size();
    };
    const auto listSizes = [&] {
        std::vector<size_t> sizes;
        for (MenuList l :
             {MenuList::LayoutBgBg, MenuList::LayoutFrontFront, MenuList::LayoutBackBack,
              MenuList::SoundsDefsndSnd, MenuList::SoundsGoalsndSnd})
            sizes.push_back(window().ListActions(l).size());
        return sizes;
    };
    const auto objectsBefore = owned();
    const auto listsBefore = listSizes();
    for (int i = 0; i < 50; ++i) {
        for (MenuItem m : {MenuItem::TopFile, MenuItem::TopOptions, MenuItem::TopHelp})
            Open(m);
        window().PopupOptionsMenu();
        menu(MenuItem::TopOptions)->hide();
        host.answers = {MsgResult::Yes};
        action(MenuItem::FileNewgame)->trigger();
        action(i % 2 ? MenuItem::OptionsRulesDrawThree : MenuItem::OptionsRulesDrawOne)->trigger();
        action(MenuItem::OptionsTavi)->trigger();
        window().ListActions(MenuList::LayoutBackBack).back()->trigger();
        QTest::mousePress(table(), Qt::LeftButton, {}, QPoint(130, 200));
        QTest::mouseMove(table(), QPoint(300, 300));
        QTest::mouseRelease(table(), Qt::LeftButton, {}, QPoint(300, 300));
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(owned(), objectsBefore);
    EXPECT_EQ(listSizes(), listsBefore);
}

// A signal that arrives while a start-up message is shown closes the window under the box: the
// game finishes loading with nothing saved, then ends through the shutdown routine.
TEST_F(AppFixture, ClosedDuringAStartUpMessageEndsOnceLoaded) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("game");
    std::filesystem::copy(GAME_DATA_DIR, folder.toStdString(),
                          std::filesystem::copy_options::recursive);
    QFile broken(folder + "/SORT.BMP");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("BM not a picture");
    broken.close();

    struct CloseDuringBox : DialogService {
        std::function<void()> arrive;
        TestHost* host = nullptr;
        bool savedBeforeLoad = false;
        MsgResult MsgBox(const std::string& text, MsgStyle style,
                         const std::string& title) override {
            arrive();
            savedBeforeLoad = savedBeforeLoad || !host->store.empty();
            return host->MsgBox(text, style, title);
        }
    } dialogs;
    dialogs.host = &host;
    ServiceOverrides o = Overrides();
    o.dialogs = &dialogs;
    o.appFolder = folder.toStdString();
    app = std::make_unique<Application>(o);
    dialogs.arrive = [this] { app->Window().close(); };
    EXPECT_FALSE(app->Main());
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.shown[0].text, "不能打开文件 " + o.appFolder + "/SORT.BMP!");
    EXPECT_FALSE(dialogs.savedBeforeLoad);
    EXPECT_TRUE(g().Ended);
    EXPECT_EQ(host.Get("ann", "Draw"), "1"); // saved by the shutdown routine
    EXPECT_EQ(system.endCalls, 1);
}
