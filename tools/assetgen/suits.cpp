#include "suits.h"

#include <QTransform>

namespace assetgen {
namespace {

// All shapes are drawn in a unit square, y pointing down.

QPainterPath heart() {
    QPainterPath p;
    p.moveTo(0.50, 0.98);
    p.cubicTo(0.36, 0.80, 0.00, 0.62, 0.00, 0.33);
    p.cubicTo(0.00, 0.12, 0.14, 0.03, 0.27, 0.03);
    p.cubicTo(0.39, 0.03, 0.47, 0.11, 0.50, 0.21);
    p.cubicTo(0.53, 0.11, 0.61, 0.03, 0.73, 0.03);
    p.cubicTo(0.86, 0.03, 1.00, 0.12, 1.00, 0.33);
    p.cubicTo(1.00, 0.62, 0.64, 0.80, 0.50, 0.98);
    p.closeSubpath();
    return p;
}

QPainterPath stem() {
    QPainterPath p;
    p.moveTo(0.46, 0.58);
    p.cubicTo(0.46, 0.80, 0.38, 0.92, 0.24, 1.00);
    p.lineTo(0.76, 1.00);
    p.cubicTo(0.62, 0.92, 0.54, 0.80, 0.54, 0.58);
    p.closeSubpath();
    return p;
}

QPainterPath spade() {
    QPainterPath p;
    p.moveTo(0.50, 0.00);
    p.cubicTo(0.62, 0.18, 1.00, 0.34, 1.00, 0.58);
    p.cubicTo(1.00, 0.74, 0.88, 0.82, 0.75, 0.82);
    p.cubicTo(0.63, 0.82, 0.55, 0.76, 0.50, 0.66);
    p.cubicTo(0.45, 0.76, 0.37, 0.82, 0.25, 0.82);
    p.cubicTo(0.12, 0.82, 0.00, 0.74, 0.00, 0.58);
    p.cubicTo(0.00, 0.34, 0.38, 0.18, 0.50, 0.00);
    p.closeSubpath();
    return p.united(stem());
}

QPainterPath club() {
    QPainterPath p;
    p.setFillRule(Qt::WindingFill);
    const double r = 0.235;
    p.addEllipse(QPointF(0.50, 0.245), r, r);
    p.addEllipse(QPointF(0.245, 0.61), r, r);
    p.addEllipse(QPointF(0.755, 0.61), r, r);
    p.addEllipse(QPointF(0.50, 0.55), 0.1, 0.1);
    return p.simplified().united(stem());
}

QPainterPath diamond() {
    QPainterPath p;
    p.moveTo(0.50, 0.00);
    p.quadTo(0.66, 0.28, 0.88, 0.50);
    p.quadTo(0.66, 0.72, 0.50, 1.00);
    p.quadTo(0.34, 0.72, 0.12, 0.50);
    p.quadTo(0.34, 0.28, 0.50, 0.00);
    p.closeSubpath();
    return p;
}

} // namespace

QPainterPath suitPath(int suit, const QRectF& box) {
    QPainterPath unit;
    switch (suit) {
    case Spade:
        unit = spade();
        break;
    case Club:
        unit = club();
        break;
    case Heart:
        unit = heart();
        break;
    default:
        unit = diamond();
        break;
    }
    QTransform t;
    t.translate(box.x(), box.y());
    t.scale(box.width(), box.height());
    return t.map(unit);
}

} // namespace assetgen
