#pragma once
#include "shell/TableView.h"
#include <QImage>
#include <QRegion>
#include <QWidget>

struct Game;

// The card table: shows the window surface and hands mouse and key events to the game. It keeps
// the surface resampled to device pixels, refreshed where the game draws: at ratio 1 and the
// table's own size, a copy of the very pixels.
class TableWidget : public QWidget {
    Q_OBJECT
public:
    explicit TableWidget(QWidget* parent = nullptr);
    void SetGame(Game* game) { g = game; }
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
    QSize TableSize() const;
    QPointF ToTable(const QMouseEvent* event) const;
    // Brings the resampled picture up to date with what the game drew.
    void Refresh(const TableView& view);
    void PaintScaled(QPainter& p, const TableView& view, QRect dirty);
    Game* g = nullptr;
    TableView cachedView; // what `scaled` was made for
    QImage scaled;
    QRegion pending; // table rectangles drawn since the last refresh
    QColor margin;
};

// The key code the game expects: letters A..Z, digits, space, and a code of its own for others.
int WindowsKeyCode(int qtKey);
