#pragma once
#include "host/Host.h"
#include <QMainWindow>
#include <QRect>
#include <array>
#include <functional>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QTimer;
class TableWidget;
struct Game;

// The main window: the table, the menu bar, the two-panel status bar and the two timers.
// It implements the window, menu and timer services the game drives.
class frmMain : public QMainWindow, public WindowService, public MenuService, public TimerService {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;
    void SetGame(Game* game);
    void LoadIcon();
    // Asked to close before the game was handed over (a signal during a start-up message).
    bool CloseRequested() const { return closeRequested; }
    // Outer size and centring of the window, then the table's measured size.
    void SizeAndCentre(int screenWidth);
    TableWidget* Table() const { return table; }
    QAction* Action(MenuItem item) const { return actions[static_cast<size_t>(item)]; }
    QMenu* Menu(MenuItem item) const;
    const std::vector<QAction*>& ListActions(MenuList list) const;

    // WindowService
    void Invalidate(int x, int y, int w, int h) override;
    void SetCaption(const std::string& text) override;
    void SetStatusText(int panel, const std::string& text) override;
    void SetPanelWidth(int panel, int width) override;
    int PanelWidth(int panel) const override;
    void PopupOptionsMenu() override;
    void ShowNow() override;

    // MenuService
    void SetCaption(MenuItem item, const std::string& text) override;
    void SetChecked(MenuItem item, bool on) override;
    void SetEnabled(MenuItem item, bool on) override;
    void SetVisible(MenuItem item, bool on) override;
    int ListCount(MenuList list) const override;
    void ListAdd(MenuList list, const std::string& caption) override;
    void ListRemoveLast(MenuList list) override;
    void ListSetCaption(MenuList list, int index, const std::string& text) override;
    void ListSetChecked(MenuList list, int index, bool on) override;

    // TimerService (the splash timer belongs to the splash step)
    void SetTimerEnabled(TimerId timer, bool on) override;
    bool TimerEnabled(TimerId timer) const override;
    std::function<void(bool)> onEffectTimer; // set by the splash step

    static constexpr int TableClientWidth = 640;
    static constexpr int TableClientHeight = 480;

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Centre();
    void CentreByFrame();
    void BuildMenus();
    void WireCommands();
    int BarMargins() const;
    void AddListItem(MenuList list, const QString& caption);
    // Runs a game command unless the program has ended.
    void Run(const std::function<void(Game&)>& command);

    Game* g = nullptr;
    bool closeRequested = false;
    TableWidget* table = nullptr;
    std::array<QLabel*, 3> panels{};
    std::array<QAction*, static_cast<size_t>(MenuItem::Count_)> actions{};
    std::array<QMenu*, 5> listMenus{};
    std::array<std::vector<QAction*>, 5> lists;
    QRect dirty; // invalidated since the last flush
    int centreOnWidth = 0; // the screen's, until the frame has been allowed for
    int centredWidth = 0;
    int centredOuterWidth = 0;
    QTimer* tmrUpdateTime = nullptr;
    QTimer* tmrTaviBlink = nullptr;
};
