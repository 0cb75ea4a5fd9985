// Card backs and, beside each, the marker shown where the stock ran out.
#include "assets.h"
#include "raster.h"

#include <QPainterPath>
#include <cmath>

namespace assetgen {
namespace {

constexpr double kCorner = 4.0;
// The patterned panel starts two pixels in, so the three rightmost columns (shown as
// the stock's thickness) read as panel, white margin and border.
constexpr double kPanelInset = 2.0;

QRectF cardRect(double inset) {
    return QRectF(inset, inset, kCardW - 2 * inset, kCardH - 2 * inset);
}

QPainterPath rounded(double inset, double radius) {
    QPainterPath p;
    p.addRoundedRect(cardRect(inset), radius, radius);
    return p;
}

QPen thinPen(QColor c, double width) {
    QPen pen(c, width);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

QPainterPath diamondAt(QPointF c, double rx, double ry) {
    QPainterPath d;
    d.moveTo(c.x(), c.y() - ry);
    d.lineTo(c.x() + rx, c.y());
    d.lineTo(c.x(), c.y() + ry);
    d.lineTo(c.x() - rx, c.y());
    d.closeSubpath();
    return d;
}

// Patterns live inside an inner frame; the band outside it is plain ground colour.
void clipInside(QPainter& p, double inset) {
    QPainterPath inner;
    inner.addRoundedRect(cardRect(inset), 1.5, 1.5);
    p.setClipPath(inner, Qt::IntersectClip);
}

// Classic blue: an argyle lattice of two blues crossed by fine pale lines.
void blueLattice(QPainter& p) {
    const QColor ground(30, 64, 150), lightTile(56, 100, 196), line(168, 196, 240);
    p.fillRect(cardRect(0), ground);
    p.save();
    clipInside(p, 6);
    const double rx = 4.5, ry = 6.0;
    const QPointF c(kCardW / 2.0, kCardH / 2.0);
    for (int j = -10; j <= 10; ++j)
        for (int i = -8; i <= 8; ++i)
            if ((i + j) % 2 == 0)
                p.fillPath(diamondAt(c + QPointF(i * rx, j * ry), rx, ry),
                           (i / 2 + j / 2) % 2 == 0 ? lightTile : ground);
    p.setPen(thinPen(line, 0.7));
    for (int k = -20; k <= 20; k += 2) {
        const QPointF o = c + QPointF(k * rx, 0);
        p.drawLine(o + QPointF(-20 * rx, -20 * ry), o + QPointF(20 * rx, 20 * ry));
        p.drawLine(o + QPointF(-20 * rx, 20 * ry), o + QPointF(20 * rx, -20 * ry));
    }
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(thinPen(line, 1.0));
    p.drawRoundedRect(cardRect(5.5), 2, 2);
}

// Red: staggered rows of small diamonds inside a double pale frame.
void redDiamonds(QPainter& p) {
    const QColor ground(178, 26, 40), light(250, 220, 214), deep(124, 14, 26);
    p.fillRect(cardRect(0), ground);
    p.save();
    clipInside(p, 7);
    const double sx = 7.0, sy = 9.0;
    for (int row = -12; row <= 12; ++row)
        for (int col = -6; col <= 6; ++col) {
            const QPointF at(kCardW / 2.0 + col * sx + (row % 2 != 0 ? sx / 2 : 0),
                             kCardH / 2.0 + row * sy / 2);
            p.fillPath(diamondAt(at, 2.8, 3.6), deep);
            p.fillPath(diamondAt(at, 1.6, 2.2), light);
        }
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(thinPen(light, 1.0));
    p.drawRoundedRect(cardRect(4.5), 1.5, 1.5);
    p.setPen(thinPen(light, 0.8));
    p.drawRoundedRect(cardRect(6.5), 1, 1);
}

// Green: a field of gold four-petal rosettes in a gilt frame.
void greenOrnament(QPainter& p) {
    const QColor ground(20, 94, 64), gold(222, 188, 96), deep(10, 60, 40);
    p.fillRect(cardRect(0), ground);
    p.save();
    clipInside(p, 6);
    p.fillRect(cardRect(0), deep);
    const double sx = 12.0, sy = 9.0, petalR = 2.0;
    const QPointF c(kCardW / 2.0, kCardH / 2.0);
    p.setPen(thinPen(gold, 0.8));
    for (int j = -6; j <= 6; ++j)
        for (int i = -3; i <= 3; ++i) {
            const QPointF at = c + QPointF(i * sx + (j % 2 != 0 ? sx / 2 : 0), j * sy);
            p.setBrush(QColor(36, 120, 84));
            for (int petal = 0; petal < 4; ++petal) {
                const double a = petal * M_PI / 2;
                p.drawEllipse(at + QPointF(petalR * std::cos(a), petalR * std::sin(a)), petalR,
                              petalR);
            }
            p.setBrush(gold);
            p.drawEllipse(at, 1.1, 1.1);
        }
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(thinPen(gold, 1.2));
    p.drawRoundedRect(cardRect(5.4), 2, 2);
}

QPainterPath starPath(QPointF c, int points, double outer, double inner, double turn) {
    QPainterPath s;
    for (int i = 0; i < points * 2; ++i) {
        const double a = turn + M_PI * i / points;
        const double rad = i % 2 == 0 ? outer : inner;
        const QPointF pt(c.x() + rad * std::sin(a), c.y() - rad * std::cos(a));
        i == 0 ? s.moveTo(pt) : s.lineTo(pt);
    }
    s.closeSubpath();
    return s;
}

// Purple: a gold sunburst medallion on a dotted field with a gold frame.
void purpleSun(QPainter& p) {
    const QColor ground(84, 36, 116), gold(232, 192, 84), pale(172, 128, 200), deep(46, 14, 70);
    p.fillRect(cardRect(0), ground);
    p.save();
    clipInside(p, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(pale);
    for (int j = 0; j * 5 < kCardH; ++j)
        for (int i = 0; i * 5 < kCardW; ++i)
            p.drawEllipse(QPointF(2 + i * 5 + (j % 2) * 2.5, 2 + j * 5), 0.55, 0.55);
    p.restore();
    const QPointF c(kCardW / 2.0, kCardH / 2.0);
    p.setBrush(deep);
    p.drawEllipse(c, 19, 19);
    p.fillPath(starPath(c, 16, 18, 11, 0), gold);
    p.fillPath(starPath(c, 8, 12, 7, M_PI / 16), QColor(250, 226, 140));
    p.setBrush(ground);
    p.drawEllipse(c, 6, 6);
    p.setBrush(gold);
    p.drawEllipse(c, 3, 3);
    p.setBrush(Qt::NoBrush);
    p.setPen(thinPen(gold, 1.6));
    p.drawRoundedRect(cardRect(5), 2.5, 2.5);
    p.setPen(thinPen(deep, 0.8));
    p.drawRoundedRect(cardRect(7), 1.5, 1.5);
    for (const QPointF corner : {QPointF(11, 11), QPointF(kCardW - 11, 11),
                                 QPointF(11, kCardH - 11), QPointF(kCardW - 11, kCardH - 11)})
        p.fillPath(starPath(corner, 4, 3.5, 1.2, 0), gold);
}

QImage back(void (*pattern)(QPainter&)) {
    return renderOpaque(kCardW, kCardH, kFelt, [pattern](QPainter& p) {
        p.fillPath(rounded(0, kCorner), QColor(58, 58, 66));
        p.fillPath(rounded(1, kCorner - 1), QColor(252, 252, 250));
        p.save();
        p.setClipPath(rounded(kPanelInset, kCorner - 1.5));
        pattern(p);
        p.restore();
    });
}

// Where the stock was: a darkened slot in the felt with a "turn over" arrow.
QImage emptyStock(const QImage& feltTile) {
    const QImage art = renderSmooth(kCardW, kCardH, [](QPainter& p) {
        p.fillPath(rounded(0, kCorner), QColor(0, 0, 0, 60));
        p.fillPath(rounded(0, kCorner).subtracted(rounded(1.4, kCorner - 1)),
                   QColor(10, 52, 24, 230));
        const QPointF c(kCardW / 2.0, kCardH / 2.0);
        const double r = 14;
        QPen pen(QColor(150, 204, 150, 220), 3.2);
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        const int startDeg = 110, spanDeg = 280;
        p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), startDeg * 16, spanDeg * 16);
        // Arrowhead at the arc's end, pointing along the (anticlockwise) turn.
        const double a = (startDeg + spanDeg) * M_PI / 180;
        const QPointF end(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
        const QPointF along(-std::sin(a), -std::cos(a));
        const QPointF out(std::cos(a), -std::sin(a));
        QPainterPath head;
        head.moveTo(end + along * 6.0);
        head.lineTo(end + out * 5.0 - along * 0.5);
        head.lineTo(end - out * 5.0 - along * 0.5);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.fillPath(head, QColor(150, 204, 150, 220));
    });
    QImage out = blankRgb(kCardW, kCardH);
    for (int y = 0; y < kCardH; ++y)
        for (int x = 0; x < kCardW; ++x) {
            const QRgb a = art.pixel(x, y);
            const QRgb f = feltTile.pixel(x % feltTile.width(), y % feltTile.height());
            const int rest = 255 - qAlpha(a);
            out.setPixel(x, y,
                         qRgb(qRed(a) + qRed(f) * rest / 255, qGreen(a) + qGreen(f) * rest / 255,
                              qBlue(a) + qBlue(f) * rest / 255));
        }
    return out;
}

} // namespace

QImage makeBacks() {
    const std::vector<void (*)(QPainter&)> patterns = {blueLattice, redDiamonds, greenOrnament,
                                                       purpleSun};
    const QImage marker = emptyStock(makeBackground(0));
    QImage sheet = blankRgb(2 * kCardW, kCardH * int(patterns.size()));
    for (size_t i = 0; i < patterns.size(); ++i) {
        paste(sheet, back(patterns[i]), 0, kCardH * int(i));
        paste(sheet, marker, kCardW, kCardH * int(i));
    }
    return sheet;
}

} // namespace assetgen
