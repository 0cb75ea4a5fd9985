#include "shell/TableView.h"
#include <algorithm>
#include <cmath>
#include <numeric>

TableView::TableView(QSize tableSize, QSize widget, qreal devicePixelRatio)
    : table(tableSize), dpr(devicePixelRatio) {
    const int deviceW = static_cast<int>(std::lround(widget.width() * dpr));
    const int deviceH = static_cast<int>(std::lround(widget.height() * dpr));
    exact = dpr == 1 && widget == table;
    const int tw = table.width(), th = table.height();
    if (tw <= 0 || th <= 0) return;
    // The largest whole multiple of the table's reduced shape (4:3 gives steps of 4 x 3).
    const int unit = std::gcd(tw, th);
    const int steps = std::max(1, std::min(deviceW / (tw / unit), deviceH / (th / unit)));
    const QSize size(steps * (tw / unit), steps * (th / unit));
    device = QRect(QPoint((deviceW - size.width()) / 2, (deviceH - size.height()) / 2), size);
}

QPointF TableView::ToTable(QPointF widget) const {
    if (exact) return widget;
    const qreal s = Scale();
    return QPointF((widget.x() * dpr - device.x()) / s, (widget.y() * dpr - device.y()) / s);
}

QRect TableView::ToDevice(QRect r) const {
    const qreal s = Scale();
    const int x0 = static_cast<int>(std::floor(r.left() * s));
    const int y0 = static_cast<int>(std::floor(r.top() * s));
    const int x1 = static_cast<int>(std::ceil((r.right() + 1) * s));
    const int y1 = static_cast<int>(std::ceil((r.bottom() + 1) * s));
    return QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1));
}

// Grown by a widget pixel on each side: Qt rounds fractional device edges its own way.
QRect TableView::ToWidget(QRect r) const {
    if (exact) return r;
    const QRect d = ToDevice(r).translated(device.topLeft());
    const int x0 = static_cast<int>(std::floor(d.left() / dpr)) - 1;
    const int y0 = static_cast<int>(std::floor(d.top() / dpr)) - 1;
    const int x1 = static_cast<int>(std::ceil((d.right() + 1) / dpr)) + 1;
    const int y1 = static_cast<int>(std::ceil((d.bottom() + 1) / dpr)) + 1;
    return QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1));
}
