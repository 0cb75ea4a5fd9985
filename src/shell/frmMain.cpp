#include "shell/frmMain.h"
#include "debug/DebugMode.h"
#include "host/Files.h"
#include "options/Options.h"
#include "play/Commands.h"
#include "play/Deck.h"
#include "play/Mouse.h"
#include "play/Win.h"
#include "settings/Settings.h"
#include "shell/TableWidget.h"
#include "state/Game.h"
#include "status/ElapsedTime.h"
#include "status/Portrait.h"
#include <QAction>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
constexpr size_t Index(MenuItem item) { return static_cast<size_t>(item); }
constexpr size_t Index(MenuList list) { return static_cast<size_t>(list); }
constexpr int InchPixels = 96; // the panels' width in the layout
constexpr uint64_t MaxIconBytes = 1 << 20;
} // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle("Zorvo");
    table = new TableWidget(this);
    table->setMinimumSize(TableClientWidth, TableClientHeight);
    setCentralWidget(table);

    panels[1] = new QLabel("Quenta软件", this);
    panels[2] = new QLabel(this);
    for (int i = 1; i <= 2; ++i) {
        panels[i]->setFixedWidth(InchPixels);
        panels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar()->addWidget(panels[i]);
    }
    panels[2]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusBar()->setSizeGripEnabled(false);

    tmrUpdateTime = new QTimer(this);
    tmrUpdateTime->setInterval(100);
    tmrTaviBlink = new QTimer(this);
    tmrTaviBlink->setInterval(1750);
    connect(tmrUpdateTime, &QTimer::timeout, this, [this] { Run(tmrUpdateTime_Timer); });
    connect(tmrTaviBlink, &QTimer::timeout, this, [this] { Run(tmrTaviBlink_Timer); });

    BuildMenus();
    WireCommands();
}

frmMain::~frmMain() = default;

// Read once the window is up: decoding a picture first loads every image plugin installed to
// ask what it holds, a cost the first frame should not wait for. The files are read through
// the file system's own bytes, since the program's folder need not be named in UTF-8.
void frmMain::LoadIcon() {
    std::string folder = ExecutableFolder();
    if (folder.empty())
        folder = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const std::string file = folder + "/icons/zorvo-" + std::to_string(size) + ".png";
        const auto bytes = ReadWholeFile(file, MaxIconBytes);
        QImage image;
        if (bytes && image.loadFromData(bytes->data(), static_cast<int>(bytes->size()), "PNG"))
            icon.addPixmap(QPixmap::fromImage(image));
    }
    setWindowIcon(icon);
}

void frmMain::SetGame(Game* game) {
    g = game;
    table->SetGame(game);
}

void frmMain::SizeAndCentre(int screenWidth) {
    adjustSize();
    setMinimumSize(sizeHint()); // it may grow, never shrink below the table
    resize(sizeHint());
    centreOnWidth = screenWidth;
    Centre();
}

// It is the outer window, frame included, that is centred.
void frmMain::Centre() {
    centredWidth = width();
    centredOuterWidth = frameGeometry().width();
    move(centreOnWidth / 2 - centredOuterWidth / 2, 0);
}

// A window manager tells the frame only once the window is up: centre again, once, by it,
// unless the player has already resized the window.
void frmMain::CentreByFrame() {
    if (centreOnWidth == 0 || !isVisible()) return;
    const QRect outer = frameGeometry();
    const bool frameTold = outer.width() != centredOuterWidth || outer.top() != 0;
    if (frameTold && width() == centredWidth) Centre();
    if (frameTold || width() != centredWidth) centreOnWidth = 0;
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    CentreByFrame();
}

void frmMain::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    CentreByFrame();
}

void frmMain::Run(const std::function<void(Game&)>& command) {
    if (g == nullptr || g->Ended) return;
    command(*g);
    table->Sync(); // a command may have dealt or moved cards under the focus
}

void frmMain::closeEvent(QCloseEvent* event) {
    // Closing goes through the one shutdown path; the toolkit's own unloading is cancelled.
    // Asked to close before the game has loaded (a signal during a start-up message), the box
    // is let go and nothing is saved yet; start-up then ends the program the ordinary way.
    event->ignore();
    if (g == nullptr) {
        closeRequested = true;
        QCoreApplication::exit(0);
        return;
    }
    Run(Form_Unload);
}

QMenu* frmMain::Menu(MenuItem item) const {
    QAction* a = Action(item);
    return a != nullptr ? a->menu() : nullptr;
}

const std::vector<QAction*>& frmMain::ListActions(MenuList list) const { return lists[Index(list)]; }

// ---- menus -------------------------------------------------------------------------------

void frmMain::BuildMenus() {
    struct Node {
        MenuItem id;
        int level;
        const char* caption; // "-" for a separator, nullptr for a list
        MenuList list = MenuList::LayoutBgBg;
    };
    using M = MenuItem;
    using L = MenuList;
    static const Node tree[] = {
        {M::TopFile, 1, "&File"},
        {M::FileNewgame, 2, "新游戏(&N)"},
        {M::FileUndo, 2, "撤销"},
        {M::FileSep01, 2, "-"},
        {M::FileExit, 2, "退出(&X)"},
        {M::TopOptions, 1, "&Options"},
        {M::OptionsLayoutBg, 2, "背景"},
        {M::Count_, 3, nullptr, L::LayoutBgBg},
        {M::OptionsLayoutSep01, 2, "-"},
        {M::OptionsLayoutFront, 2, "扑克正面"},
        {M::Count_, 3, nullptr, L::LayoutFrontFront},
        {M::OptionsLayoutBack, 2, "扑克背面"},
        {M::Count_, 3, nullptr, L::LayoutBackBack},
        {M::OptionsSep01, 2, "-"},
        {M::OptionsLanguage, 2, "&Language"},
        {M::OptionsLanguageEnglish, 3, "&English"},
        {M::LanguageSep01, 3, "-"},
        {M::OptionsLanguageNorwegian, 3, "&Norwegian"},
        {M::OptionsLanguageGerman, 3, "&German"},
        {M::OptionsSounds, 2, "声音(&S)"},
        {M::OptionsSoundsDefsnd, 3, "常规音效"},
        {M::Count_, 4, nullptr, L::SoundsDefsndSnd},
        {M::OptionsSoundsGoalsnd, 3, "移到目标音效"},
        {M::Count_, 4, nullptr, L::SoundsGoalsndSnd},
        {M::OptionsSoundsSep01, 3, "-"},
        {M::OptionsSoundsPlaysounds, 3, "启用音效"},
        {M::OptionsRules, 2, "翻牌规则(&R)"},
        {M::OptionsRulesDraw, 3, "Draw.."},
        {M::OptionsRulesDrawOne, 3, "每次一张"},
        {M::OptionsRulesDrawThree, 3, "每次三张"},
        {M::OptionsSep02, 2, "-"},
        {M::OptionsTavi, 2, "Show &Tavi"},
        {M::TopDebug, 1, "&Debug"},
        {M::DebugWin, 2, "Win Game"},
        {M::DebugSep01, 2, "-"},
        {M::DebugNoshuffle, 2, "No Shuffle Game"},
        {M::DebugResetsettings, 2, "Reset Settings"},
        {M::DebugSep02, 2, "-"},
        {M::DebugDisabledebug, 2, "Disable Debugging"},
        {M::TopHelp, 1, "帮助(&H)"},
        {M::HelpHelp, 2, "&Index"},
        {M::HelpSep01, 2, "-"},
        {M::HelpAbout, 2, "About.."},
    };
    // A node opens a submenu when the next node is one level deeper.
    std::array<QMenu*, 5> parents{};
    const size_t n = std::size(tree);
    for (size_t i = 0; i < n; ++i) {
        const Node& node = tree[i];
        const bool opens = i + 1 < n && tree[i + 1].level > node.level;
        if (node.caption == nullptr) {
            listMenus[Index(node.list)] = parents[node.level - 1];
            AddListItem(node.list, node.list == L::LayoutBgBg ? "背景 1"
                                   : (node.list == L::LayoutFrontFront || node.list == L::LayoutBackBack)
                                       ? "图案 1"
                                       : "音效 1");
            continue;
        }
        QAction* action = nullptr;
        if (opens) {
            QMenu* menu = node.level == 1 ? menuBar()->addMenu(node.caption)
                                          : parents[node.level - 1]->addMenu(node.caption);
            parents[node.level] = menu;
            action = menu->menuAction();
        } else if (std::string_view(node.caption) == "-") {
            action = parents[node.level - 1]->addSeparator();
        } else {
            action = parents[node.level - 1]->addAction(node.caption);
        }
        actions[Index(node.id)] = action;
    }
    Action(M::FileNewgame)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    Action(M::FileUndo)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    for (M hidden : {M::OptionsLanguage, M::OptionsRulesDraw, M::HelpHelp, M::HelpSep01, M::TopDebug})
        Action(hidden)->setVisible(false);
    for (M checkable : {M::OptionsLanguageEnglish, M::OptionsLanguageNorwegian, M::OptionsLanguageGerman,
                        M::OptionsSoundsPlaysounds, M::OptionsRulesDrawOne, M::OptionsRulesDrawThree,
                        M::OptionsTavi})
        Action(checkable)->setCheckable(true);
}

void frmMain::WireCommands() {
    using M = MenuItem;
    auto on = [this](M item, void (*command)(Game&)) {
        connect(Action(item), &QAction::triggered, this, [this, command] { Run(command); });
    };
    on(M::FileNewgame, mnuFileNewgame_Click);
    on(M::FileUndo, mnuFileUndo_Click);
    on(M::FileExit, mnuFileExit_Click);
    on(M::OptionsSoundsPlaysounds, mnuOptionsSoundsPlaysounds_Click);
    on(M::OptionsRulesDrawOne, mnuOptionsRulesDrawOne_Click);
    on(M::OptionsRulesDrawThree, mnuOptionsRulesDrawThree_Click);
    on(M::OptionsTavi, mnuOptionsTavi_Click);
    on(M::DebugWin, mnuDebugWin_Click);
    on(M::DebugNoshuffle, mnuDebugNoshuffle_Click);
    on(M::DebugResetsettings, mnuDebugResetsettings_Click);
    on(M::DebugDisabledebug, mnuDebugDisabledebug_Click);
    on(M::HelpAbout, mnuHelpAbout_Click);
    connect(Menu(M::TopFile), &QMenu::aboutToShow, this, [this] { Run(mnuTopFile_Click); });
    connect(Menu(M::TopOptions), &QMenu::aboutToShow, this, [this] { Run(RefreshOptionsMenu); });
    connect(Menu(M::TopHelp), &QMenu::aboutToShow, this, [this] { Run(mnuTopHelp_Click); });
}

// A list item's command receives its index, read when clicked so the list may grow or shrink.
void frmMain::AddListItem(MenuList list, const QString& caption) {
    QMenu* menu = listMenus[Index(list)];
    QAction* action = menu->addAction(caption);
    action->setCheckable(true);
    const int index = static_cast<int>(lists[Index(list)].size());
    lists[Index(list)].push_back(action);
    static void (*const commands[])(Game&, int) = {
        mnuOptionsLayoutBgBg_Click, mnuOptionsLayoutFrontFront_Click, mnuOptionsLayoutBackBack_Click,
        mnuOptionsSoundsDefsndSnd_Click, mnuOptionsSoundsGoalsndSnd_Click};
    auto command = commands[Index(list)];
    connect(action, &QAction::triggered, this,
            [this, command, index] { Run([&](Game& game) { command(game, index); }); });
}

void frmMain::SetCaption(MenuItem item, const std::string& text) { Action(item)->setText(Q(text)); }
void frmMain::SetChecked(MenuItem item, bool on) { Action(item)->setChecked(on); }
void frmMain::SetEnabled(MenuItem item, bool on) { Action(item)->setEnabled(on); }
void frmMain::SetVisible(MenuItem item, bool on) { Action(item)->setVisible(on); }
int frmMain::ListCount(MenuList list) const { return static_cast<int>(lists[Index(list)].size()); }
void frmMain::ListAdd(MenuList list, const std::string& caption) { AddListItem(list, Q(caption)); }

void frmMain::ListRemoveLast(MenuList list) {
    auto& items = lists[Index(list)];
    if (items.size() <= 1) return; // item 0 stands in the window for good
    delete items.back();           // a QAction owned by its menu; deleting removes it
    items.pop_back();
}

void frmMain::ListSetCaption(MenuList list, int index, const std::string& text) {
    auto& items = lists[Index(list)];
    if (index >= 0 && index < static_cast<int>(items.size())) items[index]->setText(Q(text));
}

void frmMain::ListSetChecked(MenuList list, int index, bool on) {
    auto& items = lists[Index(list)];
    if (index >= 0 && index < static_cast<int>(items.size())) items[index]->setChecked(on);
}

// ---- window --------------------------------------------------------------------------------

void frmMain::Invalidate(int x, int y, int w, int h) {
    const QRect r(x, y, w, h);
    dirty = dirty.united(r);
    table->Invalidate(r);
}

// Paints what changed right now, for animations that run without returning to the event loop.
void frmMain::ShowNow() {
    if (dirty.isEmpty()) return;
    table->ShowNow(dirty);
    dirty = QRect();
}

void frmMain::SetCaption(const std::string& text) { setWindowTitle(Q(text)); }

void frmMain::SetStatusText(int panel, const std::string& text) {
    if (panel == 1 || panel == 2) panels[panel]->setText(Q(text));
}

// The last panel ends at the window's edge: the bar's own lead and gap come off its width.
void frmMain::SetPanelWidth(int panel, int width) {
    if (panel == 2) width -= BarMargins();
    if (panel == 1 || panel == 2) panels[panel]->setFixedWidth(std::max(0, width));
}

// What the status bar's own layout puts around its panels: the spacing before the first and the
// gap between them.
int frmMain::BarMargins() const {
    auto* rows = qobject_cast<QBoxLayout*>(statusBar()->layout());
    QBoxLayout* line = nullptr;
    for (int i = 0; rows != nullptr && i < rows->count() && line == nullptr; ++i)
        line = qobject_cast<QBoxLayout*>(rows->itemAt(i)->layout());
    if (line == nullptr) return 0;
    int lead = 0;
    for (int i = 0; i < line->count() && line->itemAt(i)->widget() != panels[1]; ++i)
        if (QSpacerItem* s = line->itemAt(i)->spacerItem()) lead += s->sizeHint().width();
    return lead + std::max(0, line->spacing());
}

int frmMain::PanelWidth(int panel) const {
    return (panel == 1 || panel == 2) ? panels[panel]->width() : 0;
}

void frmMain::PopupOptionsMenu() {
    Menu(MenuItem::TopOptions)->popup(QCursor::pos());
}

// ---- timers --------------------------------------------------------------------------------

void frmMain::SetTimerEnabled(TimerId timer, bool on) {
    QTimer* t = timer == TimerId::UpdateTime ? tmrUpdateTime : timer == TimerId::TaviBlink ? tmrTaviBlink : nullptr;
    if (t == nullptr) {
        if (onEffectTimer) onEffectTimer(on);
        return;
    }
    if (on && !t->isActive()) t->start();
    if (!on) t->stop();
}

bool frmMain::TimerEnabled(TimerId timer) const {
    if (timer == TimerId::UpdateTime) return tmrUpdateTime->isActive();
    if (timer == TimerId::TaviBlink) return tmrTaviBlink->isActive();
    return false;
}
