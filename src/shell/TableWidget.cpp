#include "shell/TableWidget.h"
#include "debug/DebugMode.h"
#include "keys/PlaceNames.h"
#include "play/Mouse.h"
#include "shell/TableAccessible.h"
#include "state/Game.h"
#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <optional>

namespace {
uint8_t ButtonCode(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton: return ButtonLeft;
    case Qt::RightButton: return ButtonRight;
    case Qt::MiddleButton: return ButtonMiddle;
    default: return 0;
    }
}

uint8_t ButtonsCode(Qt::MouseButtons bs) {
    uint8_t code = 0;
    if (bs & Qt::LeftButton) code |= ButtonLeft;
    if (bs & Qt::RightButton) code |= ButtonRight;
    if (bs & Qt::MiddleButton) code |= ButtonMiddle;
    return code;
}

// The keys of play: arrows, Page Up and Down, Enter, Ctrl+Enter and Escape type no text, so
// the typed phrases keep every letter, digit and Space.
std::optional<PlayKey> PlayKeyFor(int key, Qt::KeyboardModifiers m) {
    switch (key) {
    case Qt::Key_Left: return PlayKey::Left;
    case Qt::Key_Right: return PlayKey::Right;
    case Qt::Key_Up: return PlayKey::Up;
    case Qt::Key_Down: return PlayKey::Down;
    case Qt::Key_PageUp: return PlayKey::Deeper;
    case Qt::Key_PageDown: return PlayKey::Shallower;
    case Qt::Key_Return:
    case Qt::Key_Enter: return m & Qt::ControlModifier ? PlayKey::Send : PlayKey::Act;
    case Qt::Key_Escape: return PlayKey::PutBack;
    default: return std::nullopt;
    }
}

constexpr int FrameGap = 3;    // between the cards and the frame
constexpr int FrameMargin = 6; // everything the frame's pens can touch outside the cards

uint8_t ShiftCode(Qt::KeyboardModifiers m) {
    uint8_t code = 0;
    if (m & Qt::ShiftModifier) code |= 1;
    if (m & Qt::ControlModifier) code |= 2;
    if (m & Qt::AltModifier) code |= 4;
    return code;
}
} // namespace

int WindowsKeyCode(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) ||
        qtKey == Qt::Key_Space)
        return qtKey; // the same codes as the keyboard's own
    switch (qtKey) {
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9; // Shift+Tab is the Tab key
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    default: return 255; // anything else: a code no phrase contains
    }
}

TableWidget::TableWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setContextMenuPolicy(Qt::PreventContextMenu); // a right click is the game's own
    setMouseTracking(false);
    InstallTableAccessible();
}

bool TableWidget::Live() const { return g != nullptr && !g->Ended; }

void TableWidget::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    if (g == nullptr || g->gfx.surfWindow.Empty()) {
        p.fillRect(event->rect(), Qt::black);
        return;
    }
    const Surface& s = g->gfx.surfWindow;
    // Wraps the pixels without copying them; the surface outlives the painter.
    const QImage image(reinterpret_cast<const uchar*>(s.Pixels.data()), s.Width, s.Height,
                       static_cast<qsizetype>(s.Width) * 4, QImage::Format_RGB32);
    const QRect r = event->rect();
    p.drawImage(r, image, r);
    UpdateFrame();
    PaintFocusFrame(p);
}

QRect TableWidget::FrameArea() const {
    if (!Live() || !keys.Shown()) return {};
    const TableRect f = keys.Frame(*g);
    const QRect cards(f.X, f.Y, f.W, f.H);
    return TableToWidget().mapRect(
        cards.adjusted(-FrameMargin, -FrameMargin, FrameMargin, FrameMargin));
}

void TableWidget::UpdateFrame() {
    const QRect now = FrameArea();
    if (now == framePainted) return;
    update(framePainted);
    update(now);
    framePainted = now;
}

// Drawn on the window's picture only: the table surface never holds it.
void TableWidget::PaintFocusFrame(QPainter& p) const {
    if (!Live() || !keys.Shown()) return;
    const TableRect f = keys.Frame(*g);
    const QRect r =
        QRect(f.X, f.Y, f.W, f.H).adjusted(-FrameGap, -FrameGap, FrameGap - 1, FrameGap - 1);
    p.save();
    p.setTransform(TableToWidget());
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x10, 0x10, 0x10), 4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(r); // a dark edge, so the bright line shows on any background and card
    p.setPen(QPen(QColor(0xFF, 0xD0, 0x20), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(r);
    p.restore();
}

void TableWidget::Sync() {
    if (!Live()) return;
    keys.Follow(g->table);
    UpdateFrame();
    Announce();
}

int TableWidget::FocusIndex() const {
    const auto at = std::find(PlaceOrder.begin(), PlaceOrder.end(), keys.Place());
    return static_cast<int>(at - PlaceOrder.begin());
}

QString TableWidget::PlaceText(int index) const {
    if (!Live() || index < 0 || index >= static_cast<int>(PlaceOrder.size())) return {};
    const uint8_t place = PlaceOrder[static_cast<size_t>(index)];
    const std::string name = place == keys.Place() ? FocusedPlaceName(g->table, place, keys.Depth())
                                                   : PlaceName(g->table, place);
    return QString::fromStdString(name);
}

QRect TableWidget::PlaceRect(int index) const {
    if (!Live() || index < 0 || index >= static_cast<int>(PlaceOrder.size())) return {};
    const uint8_t place = PlaceOrder[static_cast<size_t>(index)];
    const TableRect f = CardsFrame(g->table, g->settings.DrawRule, place, 0);
    return TableToWidget().mapRect(QRect(f.X, f.Y, f.W, f.H));
}

// Tells a screen reader which places changed and where the focus went. Thirteen short names
// cost nothing beside a move, and asking whether anyone listens is not reliable on every platform.
void TableWidget::Announce() {
    for (int i = 0; i < static_cast<int>(spoken.size()); ++i) {
        const std::string name = PlaceText(i).toStdString();
        if (name == spoken[static_cast<size_t>(i)]) continue;
        spoken[static_cast<size_t>(i)] = name;
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        changed.setChild(i);
        QAccessible::updateAccessibility(&changed);
    }
    if (FocusIndex() == announced) return;
    announced = FocusIndex();
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(announced);
    QAccessible::updateAccessibility(&focus);
}


void TableWidget::mousePressEvent(QMouseEvent* e) {
    if (!Live()) return;
    keys.Hide(); // the mouse is back: the focus frame steps aside until the next play key
    const QPointF pos = e->position();
    Form_MouseDown(*g, ButtonCode(e->button()), ShiftCode(e->modifiers()),
                   static_cast<float>(pos.x()), static_cast<float>(pos.y()));
    Sync();
}

void TableWidget::mouseMoveEvent(QMouseEvent* e) {
    if (!Live()) return;
    const QPointF pos = e->position();
    Form_MouseMove(*g, ButtonsCode(e->buttons()), ShiftCode(e->modifiers()),
                   static_cast<float>(pos.x()), static_cast<float>(pos.y()));
}

void TableWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (!Live()) return;
    const QPointF pos = e->position();
    Form_MouseUp(*g, ButtonCode(e->button()), ShiftCode(e->modifiers()),
                 static_cast<float>(pos.x()), static_cast<float>(pos.y()));
    Sync();
}

// The second press of a double-click arrives here instead of as a press: it must only send
// the card home, never pick it up again.
void TableWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    if (!Live()) return;
    if (e->button() == Qt::LeftButton) Form_DblClick(*g);
    Sync();
}

// Every key reaches the phrase memory first, as it always has; a key that ends a celebration
// does only that.
void TableWidget::keyPressEvent(QKeyEvent* e) {
    if (!Live()) return;
    const bool armed = g->table.InputArmed;
    Form_KeyDown(*g, WindowsKeyCode(e->key()), ShiftCode(e->modifiers()));
    const std::optional<PlayKey> key = PlayKeyFor(e->key(), e->modifiers());
    if (!armed || !key || !Live()) return;
    keys.Show();
    keys.Handle(*g, *key);
    Sync();
}

void TableWidget::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    // A menu popping up takes the focus too; only give cards back when the mouse is gone.
    if (Live() && e->reason() != Qt::PopupFocusReason) Form_CaptureLost(*g);
}

bool TableWidget::event(QEvent* e) {
    if (e->type() == QEvent::UngrabMouse || e->type() == QEvent::WindowDeactivate) {
        if (Live()) Form_CaptureLost(*g);
    }
    return QWidget::event(e);
}
