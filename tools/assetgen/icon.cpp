// The program's icon: an ace of spades fanned over a red-backed card. The two
// smallest sizes are laid out by hand on whole pixels, so their edges stay sharp
// where a scaled-down fan would turn to mush.
#include "assets.h"
#include "raster.h"

#include <QPainterPath>
#include <QTransform>
#include <algorithm>

namespace assetgen {
namespace {

const QColor kFace(252, 252, 250), kFaceEdge(58, 58, 66);
const QColor kBackGround(178, 26, 40), kBackLight(250, 220, 214), kBackDeep(124, 14, 26);

// Where the cards lie, in pixels of the finished icon. Each card is drawn upright in
// its own rectangle, then turned about that rectangle's centre.
struct Layout {
    QRectF rear, front;
    double rearTurn = 0, frontTurn = 0; // degrees, clockwise
    double edge = 1;                    // border width
    double radius = 1;
    bool detail = false; // lattice on the back, index in the corner, shadow
};

Layout layoutFor(int size) {
    if (size == 16) return {{7, 0, 9, 12}, {0, 3, 11, 13}, 0, 0, 1, 1.2, false};
    if (size == 32) return {{12, 1, 18, 25}, {2, 5, 19, 27}, 0, 0, 1, 2.2, false};
    // Larger sizes share one fan, designed on a 64-unit square.
    const double u = size / 64.0;
    Layout l;
    l.rear = QRectF(22 * u, 4 * u, 32 * u, 49 * u);
    l.front = QRectF(8 * u, 11 * u, 32 * u, 49 * u);
    l.rearTurn = 12;
    l.frontTurn = -9;
    l.edge = std::max(1.0, 1.1 * u);
    l.radius = 3 * u;
    l.detail = true;
    return l;
}

QPainterPath roundedRect(const QRectF& r, double radius) {
    QPainterPath p;
    p.addRoundedRect(r, radius, radius);
    return p;
}

// Turns what is drawn next about the centre of `card`.
void turnAbout(QPainter& p, const QRectF& card, double degrees) {
    p.translate(card.center());
    p.rotate(degrees);
    p.translate(-card.center());
}

QPainterPath mapped(const QPainterPath& unit, const QRectF& box) {
    QTransform t;
    t.translate(box.x(), box.y());
    t.scale(box.width(), box.height());
    return t.map(unit);
}

// The spade as two fills rather than one united outline: uniting flattens the curves,
// which shows as facets at 256 pixels.
void fillSpade(QPainter& p, const QRectF& box) {
    QPainterPath body;
    body.moveTo(0.50, 0.00);
    body.cubicTo(0.62, 0.18, 1.00, 0.34, 1.00, 0.58);
    body.cubicTo(1.00, 0.74, 0.88, 0.82, 0.75, 0.82);
    body.cubicTo(0.63, 0.82, 0.55, 0.76, 0.50, 0.66);
    body.cubicTo(0.45, 0.76, 0.37, 0.82, 0.25, 0.82);
    body.cubicTo(0.12, 0.82, 0.00, 0.74, 0.00, 0.58);
    body.cubicTo(0.00, 0.34, 0.38, 0.18, 0.50, 0.00);
    body.closeSubpath();
    QPainterPath stem;
    stem.moveTo(0.45, 0.60);
    stem.cubicTo(0.45, 0.80, 0.38, 0.92, 0.22, 1.00);
    stem.lineTo(0.78, 1.00);
    stem.cubicTo(0.62, 0.92, 0.55, 0.80, 0.55, 0.60);
    stem.closeSubpath();
    p.fillPath(mapped(body, box), kInkBlack);
    p.fillPath(mapped(stem, box), kInkBlack);
}

// At 16 pixels a drawn spade blurs into a blot; this one is placed pixel by pixel.
void fillPixelSpade(QPainter& p, QPoint at) {
    static const char* const rows[] = {"...#...", "..###..", ".#####.", "#######",
                                       "#######", ".#.#.#.", "...#...", "..###.."};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 7; ++x) {
            const char c = rows[y][x];
            if (c == '.') continue;
            QColor ink = kInkBlack;
            ink.setAlpha(c == '#' ? 255 : 120);
            p.fillRect(QRectF(at.x() + x, at.y() + y, 1, 1), ink);
        }
}

// A capital A as a filled outline: legs, a crossbar and the counter cut out.
QPainterPath letterA(const QRectF& box) {
    QPainterPath a;
    a.setFillRule(Qt::OddEvenFill);
    a.moveTo(0.00, 1.00);
    a.lineTo(0.37, 0.00);
    a.lineTo(0.63, 0.00);
    a.lineTo(1.00, 1.00);
    a.lineTo(0.75, 1.00);
    a.lineTo(0.66, 0.74);
    a.lineTo(0.34, 0.74);
    a.lineTo(0.25, 1.00);
    a.closeSubpath();
    a.moveTo(0.41, 0.54);
    a.lineTo(0.50, 0.24);
    a.lineTo(0.59, 0.54);
    a.closeSubpath();
    return mapped(a, box);
}

void drawBack(QPainter& p, const Layout& l) {
    const QRectF r = l.rear;
    p.fillPath(roundedRect(r, l.radius), kBackDeep);
    const QRectF margin = r.adjusted(l.edge, l.edge, -l.edge, -l.edge);
    p.fillPath(roundedRect(margin, std::max(0.0, l.radius - l.edge)), kBackLight);
    const double m = l.detail ? r.width() * 0.09 : l.edge;
    const QRectF field = margin.adjusted(m, m, -m, -m);
    p.fillRect(field, kBackGround);
    if (!l.detail) return;
    // A pale diamond lattice, as on the game's own red back.
    p.save();
    p.setClipRect(field);
    QPen pen(kBackLight, r.width() * 0.035);
    p.setPen(pen);
    const double step = r.width() / 4.0;
    for (double k = -r.height(); k < r.width() + r.height(); k += step) {
        p.drawLine(QPointF(field.left() + k, field.top()),
                   QPointF(field.left() + k - field.height(), field.bottom()));
        p.drawLine(QPointF(field.left() + k - field.height(), field.top()),
                   QPointF(field.left() + k, field.bottom()));
    }
    p.restore();
}

void drawFace(QPainter& p, const Layout& l) {
    const QRectF r = l.front;
    p.fillPath(roundedRect(r, l.radius), kFaceEdge);
    const QRectF face = r.adjusted(l.edge, l.edge, -l.edge, -l.edge);
    p.fillPath(roundedRect(face, std::max(0.0, l.radius - l.edge)), kFace);
    if (r.width() < 12) {
        fillPixelSpade(p, QPoint(int(r.x()) + 2, int(r.y()) + 2));
        return;
    }
    // The big pip sits a little above the middle, as a spade's stem makes it look low.
    const double w = r.width() * (l.detail ? 0.56 : 0.62);
    const double h = w * 1.1;
    const QRectF pip(r.center().x() - w / 2, r.center().y() - h / 2 - r.height() * 0.02, w, h);
    fillSpade(p, l.detail ? pip : QRectF(pip.toAlignedRect()));
    if (!l.detail) return;
    const double s = r.width() * 0.17;
    const QRectF index(r.left() + r.width() * 0.09, r.top() + r.width() * 0.09, s, s * 1.15);
    p.fillPath(letterA(index), kInkBlack);
    fillSpade(p, QRectF(index.left(), index.bottom() + s * 0.25, s, s));
}

} // namespace

QImage makeIcon(int size) {
    const Layout l = layoutFor(size);
    QImage icon = renderSmooth(size, size, [&l](QPainter& p) {
        p.save();
        turnAbout(p, l.rear, l.rearTurn);
        drawBack(p, l);
        p.restore();
        p.save();
        turnAbout(p, l.front, l.frontTurn);
        if (l.detail) {
            // A soft-edged shadow falling onto the back card.
            const double d = l.front.width() * 0.04;
            p.fillPath(roundedRect(l.front.translated(d, 1.5 * d), l.radius), QColor(0, 0, 0, 28));
            p.fillPath(roundedRect(l.front.translated(d / 2, d), l.radius), QColor(0, 0, 0, 40));
        }
        drawFace(p, l);
        p.restore();
    });
    icon = icon.convertToFormat(QImage::Format_ARGB32);
    // Fixed resolution, so the PNG does not depend on the machine's screen.
    icon.setDotsPerMeterX(3780);
    icon.setDotsPerMeterY(3780);
    return icon;
}

} // namespace assetgen
