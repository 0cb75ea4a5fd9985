#pragma once
#include <QPointF>
#include <QRect>
#include <QSize>

// Where the table picture lies in its widget: the largest 4:3 rectangle of whole device pixels
// that fits, centred. The one place that maps between table pixels and widget positions.
class TableView {
public:
    TableView() = default;
    TableView(QSize table, QSize widget, qreal devicePixelRatio);

    // Shown as it is: ratio 1 and the table's own size, no resampling at all.
    bool Exact() const { return exact; }
    qreal Dpr() const { return dpr; }
    QSize Table() const { return table; }
    // The table's rectangle in device pixels, relative to the widget.
    QRect Device() const { return device; }
    // Device pixels per table pixel.
    qreal Scale() const { return table.width() > 0 ? qreal(device.width()) / table.width() : 1; }

    // A widget position (as mouse events give it) in table pixels.
    QPointF ToTable(QPointF widget) const;
    // The device pixels, relative to Device(), that a table rectangle touches.
    QRect ToDevice(QRect tableRect) const;
    // The widget rectangle that covers a table rectangle, for updates.
    QRect ToWidget(QRect tableRect) const;

    bool operator==(const TableView&) const = default;

private:
    QSize table;
    qreal dpr = 1;
    QRect device;
    bool exact = true;
};
