#pragma once
#include "keys/KeyPlay.h"
#include "shell/TableView.h"
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QTransform>
#include <QWidget>
#include <array>
#include <string>

class QPainter;
struct Game;

// The card table: shows the window surface and hands mouse and key events to the game. It keeps
// the surface resampled to device pixels, refreshed where the game draws: at ratio 1 and the
// table's own size, a copy of the very pixels.
class TableWidget : public QWidget {
    Q_OBJECT
public:
    explicit TableWidget(QWidget* parent = nullptr);
    void SetGame(Game* game) { g = game; }
    // After anything that may have changed the table: the focus follows a new deal, its frame
    // is repainted where it moved, and a screen reader hears what changed.
    void Sync();
    // The places as a screen reader sees them, by index into PlaceOrder.
    QString PlaceText(int index) const;
    QRect PlaceRect(int index) const; // in widget pixels
    int FocusIndex() const;           // the focused place
    const KeyPlay& Keys() const { return keys; }
    // How the table maps onto the widget now.
    TableView View() const;
    // The game drew into a rectangle of the table: show it at the next paint, or now.
    void Invalidate(QRect tableRect);
    void ShowNow(QRect tableRect);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;
    // Tab is a key like any other for the game: the table is all there is to focus.
    bool focusNextPrevChild(bool) override { return false; }

private:
    bool Live() const;
    // Table pixels to widget pixels: the one place where the two may come to differ.
    QTransform TableToWidget() const;
    QRect FrameArea() const; // what the focus frame covers, in widget pixels; empty when hidden
    void UpdateFrame();
    void PaintFocusFrame(QPainter& p) const;
    void Announce();
    QSize TableSize() const;
    QPointF ToTable(const QMouseEvent* event) const;
    // Brings the resampled picture up to date with what the game drew.
    void Refresh(const TableView& view);
    void PaintScaled(QPainter& p, const TableView& view, QRect dirty);

    Game* g = nullptr;
    KeyPlay keys;
    QRect framePainted;                 // where the frame was last asked to be shown
    std::array<std::string, 13> spoken; // the names a screen reader last heard
    int announced = -1;                 // the place it last heard the focus on
    TableView cachedView;               // what `scaled` was made for
    QImage scaled;
    QRegion pending; // table rectangles drawn since the last refresh
    QColor margin;
};

// The key code the game expects: letters A..Z, digits, space, and a code of its own for others.
int WindowsKeyCode(int qtKey);
