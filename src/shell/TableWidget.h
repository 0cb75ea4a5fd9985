#pragma once
#include <QWidget>

struct Game;

// The card table: shows the window surface and hands mouse and key events to the game.
class TableWidget : public QWidget {
    Q_OBJECT
public:
    explicit TableWidget(QWidget* parent = nullptr);
    void SetGame(Game* game) { g = game; }

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
    Game* g = nullptr;
};

// The key code the game expects: letters A..Z, digits, space, and a code of its own for others.
int WindowsKeyCode(int qtKey);
