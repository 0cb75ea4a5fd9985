#include "AppFixture.h"
#include "play/Deck.h"
#include <QScreen>
#include <QWindow>

// Gestures through the real window, one after another on the sorted deal: pile 1 an ace of
// spades, pile 4 a ten of spades on top, the stock ending in the diamonds from the king down.
// Then menus, new games and option changes leave nothing behind in the window.
TEST_F(AppFixture, GesturesThroughTheWindow) {
    const QPoint ace(130, 214), waste(130, 80), onTen(355, 234);
    const auto drag = [this](QPoint from, QPoint to) {
        QTest::mousePress(table(), Qt::LeftButton, {}, from);
        for (int i = 1; i <= 8; ++i)
            QTest::mouseMove(table(), from + (to - from) * i / 8);
        QTest::mouseRelease(table(), Qt::LeftButton, {}, to);
    };
    // After each: the counts of tableau piles 1, 2 and 4, the waste and goal pile 1, nothing
    // carried, and the screen showing the table.
    const auto check = [this](const char* gesture, const std::string& piles) {
        const Table& t = g().table;
        std::string counts;
        for (const Pile* p : {&t.Tableau[1], &t.Tableau[2], &t.Tableau[4], &t.Waste, &t.Goal[1]})
            counts += std::to_string(p->Count);
        EXPECT_EQ(counts + (t.Dragging ? " carried" : ""), piles) << gesture;
        const Surface& s = g().gfx.surfWindow;
        EXPECT_EQ(s.Pixels, g().gfx.surfTable.Pixels) << gesture;
        const QImage game(reinterpret_cast<const uchar*>(s.Pixels.data()), 640, 480,
                          QImage::Format_RGB32);
        const QPoint at = table()->mapTo(&window(), QPoint());
        const auto shown = [&] {
            return window().screen()->grabWindow(window().winId(), at.x(), at.y(), 640, 480);
        };
        // Only a fault runs the wait out, and once is enough.
        EXPECT_TRUE(
            HasFailure() ||
            QTest::qWaitFor(
                [&] { return shown().toImage().convertToFormat(QImage::Format_RGB32) == game; },
                ReadyMs))
            << gesture;
    };
    const auto owned = [this] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window().findChildren<QObject*>().size() + QApplication::allWidgets().size();
    };
    Start();
    const auto objects = owned();
    mnuDebugNoshuffle_Click(g());
    for (int i = 0; i < 5; ++i) // up to the nine of diamonds
        QTest::mouseClick(table(), Qt::LeftButton, {}, {50, 80});
    drag(waste, onTen);
    check("drop", "12540");
    EXPECT_EQ(host.played.back().how, "async");
    Open(MenuItem::TopFile);
    action(MenuItem::FileUndo)->trigger();
    check("undo from the menu", "12450");
    drag(waste, onTen);
    Open(MenuItem::TopFile); // Ctrl+Z follows the menu's last opening
    QTest::keyClick(table(), Qt::Key_Z, Qt::ControlModifier);
    check("Ctrl+Z", "12450");
    drag(ace, {205, 228});
    check("refused drop", "12450");
    drag(ace, {700, 600});
    check("released outside", "12450");
    QTest::mousePress(table(), Qt::LeftButton, {}, ace);
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(table(), &out);
    check("focus lost while carrying", "12450");
    QTest::mouseRelease(table(), Qt::LeftButton, {}, ace);
    check("a late release", "12450");
    // Through the window system, which makes the double-click as a real one is made.
    QTest::mouseDClick(window().windowHandle(), Qt::LeftButton, {}, table()->mapTo(&window(), ace));
    check("double-click", "02451");
    // A right click on the empty table opens the Options menu, and only that one.
    QTest::mouseClick(table(), Qt::RightButton, {}, {600, 450});
    EXPECT_TRUE(
        QTest::qWaitFor([this] { return menu(MenuItem::TopOptions)->isVisible(); }, ReadyMs));
    menu(MenuItem::TopOptions)->close();
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible() && qobject_cast<QMenu*>(w));
    for (MenuItem m : {MenuItem::TopFile, MenuItem::TopOptions, MenuItem::TopHelp})
        Open(m);
    for (MenuItem m :
         {MenuItem::FileNewgame, MenuItem::OptionsRulesDrawThree, MenuItem::OptionsTavi})
        action(m)->trigger();
    window().ListActions(MenuList::LayoutBackBack).back()->trigger();
    EXPECT_EQ(owned(), objects) << "objects left behind";
}

// Key presses reach the game with the keyboard's own codes, which the debug phrases rely on.
TEST_F(AppFixture, KeysReachTheGameWithTheKeyboardsCodes) {
    const std::pair<Qt::Key, char> keys[] = {
        {Qt::Key_A, 'A'},     {Qt::Key_Z, 'Z'},     {Qt::Key_0, '0'},       {Qt::Key_9, '9'},
        {Qt::Key_Space, ' '}, {Qt::Key_Shift, 16},  {Qt::Key_Control, 17},  {Qt::Key_Alt, 18},
        {Qt::Key_Tab, 9},     {Qt::Key_Backtab, 9}, {Qt::Key_Backspace, 8}, {Qt::Key_Return, 13},
        {Qt::Key_Enter, 13},  {Qt::Key_Escape, 27}, {Qt::Key_F1, '\xff'},   {Qt::Key_Left, '\xff'}};
    Start();
    for (const auto& [key, code] : keys) {
        g().KeyBuffer.clear();
        QTest::keyClick(table(), key);
        EXPECT_EQ(g().KeyBuffer, std::string(1, code)) << key;
    }
    QTest::keyClicks(table(), "start admin view");
    EXPECT_TRUE(action(MenuItem::TopDebug)->isVisible());
}
