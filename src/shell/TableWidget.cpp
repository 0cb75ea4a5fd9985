#include "shell/TableWidget.h"
#include "debug/DebugMode.h"
#include "play/Mouse.h"
#include "shell/Resample.h"
#include "state/Game.h"
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

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
    const QPointF pos = ToTable(e);
    Form_MouseDown(*g, ButtonCode(e->button()), ShiftCode(e->modifiers()),
                   static_cast<float>(pos.x()), static_cast<float>(pos.y()));
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
}

// The second press of a double-click arrives here instead of as a press: it must only send
// the card home, never pick it up again.
void TableWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    if (!Live()) return;
    if (e->button() == Qt::LeftButton) Form_DblClick(*g);
}

void TableWidget::keyPressEvent(QKeyEvent* e) {
    if (!Live()) return;
    Form_KeyDown(*g, WindowsKeyCode(e->key()), ShiftCode(e->modifiers()));
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
