#include "AppFixture.h"
#include "play/Deck.h"
#include <QWindow>

namespace {
// The sorted deal: pile 1 an ace of spades, pile 4 a ten of spades on top, the stock
// ending in the diamonds from the king down.
struct PlayTest : AppFixture {
    void SetUp() override {
        Start();
        mnuDebugNoshuffle_Click(g());
        window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window(), ReadyMs));
    }
    QPoint Centre(int x, int y) { return {x + 30, y + 50}; }
    const Table& t() { return g().table; }
    void Press(QPoint p) { QTest::mousePress(table(), Qt::LeftButton, Qt::NoModifier, p); }
    void Release(QPoint p) { QTest::mouseRelease(table(), Qt::LeftButton, Qt::NoModifier, p); }
    void MoveTo(QPoint p) {
        QMouseEvent move(QEvent::MouseMove, p, table()->mapToGlobal(p), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(table(), &move);
    }
    void Drag(QPoint from, QPoint to) {
        Press(from);
        for (int i = 1; i <= 8; ++i)
            MoveTo(from + (to - from) * i / 8);
        Release(to);
    }
    void TurnStock(int times) {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(table(), Qt::LeftButton, Qt::NoModifier, {50, 80});
    }
};
} // namespace

TEST_F(PlayTest, WasteCardDraggedOntoAFittingTableauPile) {
    TurnStock(5); // K, Q, J, 10, 9 of diamonds
    ASSERT_EQ(g().table.TopCard(t().Waste).Rank, 9);
    Drag(Centre(100, 30), Centre(325, 164 + 20));
    EXPECT_EQ(t().Tableau[4].Count, 5);
    EXPECT_EQ(g().table.TopCard(t().Tableau[4]).Rank, 9);
    EXPECT_EQ(t().Waste.Count, 4);
    EXPECT_FALSE(t().Dragging);
    ASSERT_FALSE(host.played.empty());
    EXPECT_EQ(host.played.back().data, g().sounds.MoveSoundData);
}

TEST_F(PlayTest, RefusedDropFliesBackAndLeavesTheWindowAsTheTable) {
    Drag(Centre(100, 164), Centre(175, 164 + 14));
    EXPECT_EQ(t().Tableau[1].Count, 1);
    EXPECT_EQ(t().Tableau[2].Count, 2);
    EXPECT_FALSE(t().Dragging);
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return g().gfx.surfWindow.Pixels == g().gfx.surfTable.Pixels; }, ReadyMs));
}

TEST_F(PlayTest, DoubleClickSendsTheAceHome) {
    // Two clicks through the window system, which makes the double-click as a real one is made.
    QWindow* w = window().windowHandle();
    const QPoint at = table()->mapTo(&window(), Centre(100, 164));
    QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(t().Goal[1].Count, 1);
    EXPECT_EQ(t().Tableau[1].Count, 0);
    EXPECT_FALSE(t().Dragging);
}

TEST_F(PlayTest, RightClickOnEmptyTableOpensTheOptionsMenu) {
    QTest::mouseClick(table(), Qt::RightButton, Qt::NoModifier, {600, 450});
    EXPECT_TRUE(
        QTest::qWaitFor([this] { return menu(MenuItem::TopOptions)->isVisible(); }, ReadyMs));
    menu(MenuItem::TopOptions)->close();
    // Only one menu: the toolkit's own context menu never appears.
    int popups = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        popups += w->isVisible() && qobject_cast<QMenu*>(w);
    EXPECT_EQ(popups, 0);
}

TEST_F(PlayTest, UndoFromTheMenuAndWithCtrlZ) {
    TurnStock(5);
    Drag(Centre(100, 30), Centre(325, 164 + 20));
    ASSERT_EQ(t().Tableau[4].Count, 5);
    Open(MenuItem::TopFile);
    ASSERT_TRUE(action(MenuItem::FileUndo)->isEnabled());
    action(MenuItem::FileUndo)->trigger();
    EXPECT_EQ(t().Tableau[4].Count, 4);
    EXPECT_EQ(t().Waste.Count, 5);

    Drag(Centre(100, 30), Centre(325, 164 + 20));
    ASSERT_EQ(t().Tableau[4].Count, 5);
    Open(MenuItem::TopFile);
    QTest::keyClick(table(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(t().Tableau[4].Count, 4);
}

TEST_F(PlayTest, ReleaseOutsideTheWindowPutsTheCardsBack) {
    Press(Centre(100, 164));
    ASSERT_TRUE(t().Dragging);
    MoveTo({700, 600});
    Release({700, 600});
    EXPECT_FALSE(t().Dragging);
    EXPECT_EQ(t().Tableau[1].Count, 1);
}

TEST_F(PlayTest, LosingTheFocusWhileCarryingPutsTheCardsBackOnce) {
    Press(Centre(100, 164));
    ASSERT_TRUE(t().Dragging);
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(table(), &out);
    EXPECT_FALSE(t().Dragging);
    EXPECT_EQ(t().Tableau[1].Count, 1);
    Release(Centre(100, 164)); // the late release finds nothing to drop
    EXPECT_EQ(t().Tableau[1].Count, 1);
}
