#include "shell/TableWidget.h"
#include "debug/DebugMode.h"
#include "keys/PlaceNames.h"
#include "play/Mouse.h"
#include "shell/Resample.h"
#include "shell/TableAccessible.h"
#include "state/Game.h"
#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
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

QSize TableWidget::TableSize() const {
    if (g == nullptr || g->gfx.surfWindow.Empty()) return {640, 480};
    return {g->gfx.surfWindow.Width, g->gfx.surfWindow.Height};
}

QSize TableWidget::sizeHint() const { return TableSize(); }

TableView TableWidget::View() const { return TableView(TableSize(), size(), devicePixelRatioF()); }

void TableWidget::Invalidate(QRect tableRect) {
    pending += tableRect;
    update(View().ToWidget(tableRect));
}

void TableWidget::ShowNow(QRect tableRect) {
    pending += tableRect;
    repaint(View().ToWidget(tableRect));
}

void TableWidget::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    if (g == nullptr || g->gfx.surfWindow.Empty()) {
        p.fillRect(event->rect(), Qt::black);
        return;
    }
    PaintScaled(p, View(), event->rect());
    UpdateFrame();
    PaintFocusFrame(p);
}

QTransform TableWidget::TableToWidget() const {
    const TableView view = View();
    const qreal dpr = view.Dpr(), scale = view.Scale() / dpr;
    return QTransform(scale, 0, 0, scale, view.Device().x() / dpr, view.Device().y() / dpr);
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



namespace {
// A dark shade of the table's own edges, for the space around it.
QColor MarginColour(const Surface& s) {
    uint64_t sum[3] = {0, 0, 0};
    for (int y = 0; y < s.Height; ++y)
        for (const uint32_t c : {s.At(0, y), s.At(s.Width - 1, y)})
            for (int ch = 0; ch < 3; ++ch)
                sum[ch] += (c >> (16 - 8 * ch)) & 0xff;
    const auto shade = [&](int ch) { return static_cast<int>(sum[ch] / (4 * uint64_t(s.Height))); };
    return QColor(shade(0), shade(1), shade(2));
}

QRectF Logical(QRect device, qreal dpr) {
    return QRectF(device.x() / dpr, device.y() / dpr, device.width() / dpr, device.height() / dpr);
}
} // namespace

void TableWidget::Refresh(const TableView& view) {
    const Surface& s = g->gfx.surfWindow;
    const PixelsIn in{s.Pixels.data(), s.Width, s.Height, s.Width};
    const QRect table(QPoint(0, 0), view.Table());
    if (!(view == cachedView) || scaled.isNull()) {
        cachedView = view;
        scaled = QImage(view.Device().size(), QImage::Format_RGB32);
        scaled.setDevicePixelRatio(view.Dpr()); // copied as it is, never scaled again
        pending = QRegion(table);
        margin = MarginColour(s);
    }
    const PixelsOut out{reinterpret_cast<uint32_t*>(scaled.bits()), scaled.width(), scaled.height(),
                        static_cast<int>(scaled.bytesPerLine() / 4)};
    // One table pixel more on each side: the filter reaches that far.
    for (const QRect& r : pending) {
        const QRect d = view.ToDevice(r.adjusted(-1, -1, 1, 1).intersected(table));
        Resample(in, out, {d.x(), d.y(), d.width(), d.height()});
    }
    pending = QRegion();
}

void TableWidget::PaintScaled(QPainter& p, const TableView& view, QRect dirty) {
    Refresh(view);
    const qreal dpr = view.Dpr();
    const QRect wanted(QPoint(static_cast<int>(std::floor(dirty.left() * dpr)),
                              static_cast<int>(std::floor(dirty.top() * dpr))),
                       QPoint(static_cast<int>(std::ceil((dirty.right() + 1) * dpr)) - 1,
                              static_cast<int>(std::ceil((dirty.bottom() + 1) * dpr)) - 1));
    if (!view.Device().contains(wanted))
        for (const QRect& m : QRegion(wanted).subtracted(view.Device()))
            p.fillRect(Logical(m, dpr), margin);
    const QRect d = wanted.intersected(view.Device());
    if (!d.isEmpty()) p.drawImage(Logical(d, dpr), scaled, d.translated(-view.Device().topLeft()));
}

QPointF TableWidget::ToTable(const QMouseEvent* e) const { return View().ToTable(e->position()); }

void TableWidget::mousePressEvent(QMouseEvent* e) {
    if (!Live()) return;
    keys.Hide(); // the mouse is back: the focus frame steps aside until the next play key
    const QPointF pos = ToTable(e);
    Form_MouseDown(*g, ButtonCode(e->button()), ShiftCode(e->modifiers()),
                   static_cast<float>(pos.x()), static_cast<float>(pos.y()));
    Sync();
}

void TableWidget::mouseMoveEvent(QMouseEvent* e) {
    if (!Live()) return;
    const QPointF pos = ToTable(e);
    Form_MouseMove(*g, ButtonsCode(e->buttons()), ShiftCode(e->modifiers()),
                   static_cast<float>(pos.x()), static_cast<float>(pos.y()));
}

void TableWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (!Live()) return;
    const QPointF pos = ToTable(e);
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
