// Jack, queen and king: double-headed pictures, each half a bust drawn beside the
// corner pip and mirrored through the centre.
#include "assets.h"
#include "raster.h"

#include <QPainterPath>
#include <cmath>

namespace assetgen {
namespace {

constexpr int kW = 40;
constexpr int kH = 70;
constexpr int kHalf = kH / 2;

const QColor kGold(232, 182, 52);
const QColor kRed(198, 34, 42);
const QColor kBlue(38, 74, 164);
const QColor kInk(24, 22, 30);
const QColor kSkin(252, 220, 186);
const QColor kWhite(255, 255, 255);
const QColor kPanel(254, 250, 236); // the picture's ground: a warm, light cream

void shape(QPainter& p, const QPainterPath& path, QColor fill, double outline = 0.55) {
    p.fillPath(path, fill);
    QPen pen(kInk, outline);
    pen.setJoinStyle(Qt::RoundJoin);
    p.strokePath(path, pen);
}

QPainterPath ellipse(double cx, double cy, double rx, double ry) {
    QPainterPath e;
    e.addEllipse(QPointF(cx, cy), rx, ry);
    return e;
}

QPainterPath poly(std::initializer_list<QPointF> pts) {
    QPainterPath path;
    bool first = true;
    for (const QPointF& pt : pts) {
        first ? path.moveTo(pt) : path.lineTo(pt);
        first = false;
    }
    path.closeSubpath();
    return path;
}

void stroke(QPainter& p, const QPainterPath& path, QColor c, double width) {
    QPen pen(c, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.strokePath(path, pen);
}

// Eyes, brows, nose and mouth for a face centred at (cx, cy).
void features(QPainter& p, double cx, double cy, QColor lips) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(244, 170, 150));
    p.drawEllipse(QPointF(cx - 2.4, cy + 1.6), 1.0, 0.7);
    p.drawEllipse(QPointF(cx + 2.4, cy + 1.6), 1.0, 0.7);
    p.setBrush(kWhite);
    p.drawEllipse(QPointF(cx - 1.7, cy - 0.4), 0.9, 0.6);
    p.drawEllipse(QPointF(cx + 1.7, cy - 0.4), 0.9, 0.6);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(cx - 1.6, cy - 0.4), 0.5, 0.55);
    p.drawEllipse(QPointF(cx + 1.6, cy - 0.4), 0.5, 0.55);
    QPainterPath brows;
    brows.moveTo(cx - 2.7, cy - 1.6);
    brows.quadTo(cx - 1.7, cy - 2.2, cx - 0.8, cy - 1.6);
    brows.moveTo(cx + 0.8, cy - 1.6);
    brows.quadTo(cx + 1.7, cy - 2.2, cx + 2.7, cy - 1.6);
    stroke(p, brows, kInk, 0.4);
    QPainterPath nose;
    nose.moveTo(cx, cy - 0.4);
    nose.quadTo(cx - 0.7, cy + 1.2, cx + 0.1, cy + 1.4);
    stroke(p, nose, QColor(176, 110, 80), 0.4);
    QPainterPath mouth;
    mouth.moveTo(cx - 1.1, cy + 2.6);
    mouth.quadTo(cx, cy + 3.2, cx + 1.1, cy + 2.6);
    stroke(p, mouth, lips, 0.6);
}

// A scatter of small dots over a garment, the classic brocade look.
void brocade(QPainter& p, const QPainterPath& cloth, QColor dot, double step) {
    p.save();
    p.setClipPath(cloth);
    p.setPen(Qt::NoPen);
    p.setBrush(dot);
    for (int row = 0; row * step < kHalf + step; ++row)
        for (double x = (row % 2) * step / 2; x < kW + step; x += step)
            p.drawEllipse(QPointF(x, row * step), 0.45, 0.45);
    p.restore();
}

void ermineBand(QPainter& p, const QPainterPath& band) {
    shape(p, band, kWhite);
    p.save();
    p.setClipPath(band);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    for (double x = 4; x < kW; x += 3.2)
        for (double y = 17; y < 27; y += 2.6)
            p.drawRect(QRectF(x + (int(y) % 2) * 1.6, y, 0.6, 1.1));
    p.restore();
}

// An arm bent at the elbow, ending in a cuffed hand at (hx, hy).
void arm(QPainter& p, double hx, double hy, QColor sleeve, QColor cuff) {
    QPainterPath a;
    a.moveTo(4, kHalf);
    a.cubicTo(3.5, 29, 6, hy - 2, hx - 1, hy - 2.2);
    a.lineTo(hx - 0.5, hy + 2.2);
    a.cubicTo(9, hy + 3, 10, 31, 11, kHalf);
    a.closeSubpath();
    shape(p, a, sleeve);
    shape(p,
          poly({{hx - 1.6, hy - 2.4},
                {hx + 0.2, hy - 2.6},
                {hx + 0.2, hy + 2.6},
                {hx - 1.6, hy + 2.4}}),
          cuff, 0.4);
    shape(p, ellipse(hx + 1.3, hy, 1.8, 1.7), kSkin);
}

// A garment over the shoulders: sloping from the neck down to the picture's sides.
QPainterPath shoulders(double neckY) {
    QPainterPath s;
    s.moveTo(2, kHalf);
    s.lineTo(2, 30);
    s.cubicTo(2, 24, 10, neckY + 0.5, 18, neckY);
    s.lineTo(33, neckY);
    s.cubicTo(37, neckY + 1, 38.5, 24, 38.5, 29);
    s.lineTo(38.5, kHalf);
    s.closeSubpath();
    return s;
}

void kingRobe(QPainter& p) {
    // Red mantle over a blue tunic, edged with ermine down the front.
    shape(p, shoulders(19), kRed);
    brocade(p, shoulders(19), QColor(246, 200, 90), 3.0);
    shape(p, poly({{19, 19}, {32, 19}, {31, kHalf}, {20, kHalf}}), kBlue);
    p.setPen(QPen(kGold, 0.9));
    p.drawLine(QPointF(25.5, 23), QPointF(25.5, kHalf));
    for (double x : {19.6, 30.4})
        ermineBand(p, poly({{x - 1.3, 20}, {x + 1.3, 20}, {x + 1.0, kHalf}, {x - 1.0, kHalf}}));
    shape(p, poly({{33, 27}, {38.5, 25.5}, {38.5, 28}, {33, 29.5}}), kGold, 0.4);
    ermineBand(p, [] {
        QPainterPath band;
        band.moveTo(13, 19);
        band.cubicTo(18, 17, 33, 17, 37.5, 21);
        band.lineTo(37.5, 24);
        band.cubicTo(33, 21.5, 18, 21.5, 13, 23);
        band.closeSubpath();
        return band;
    }());
    // Gold chain across the chest.
    for (int i = 0; i < 7; ++i) {
        const double t = i / 6.0;
        shape(p, ellipse(17 + t * 18, 26 + 2.2 * std::sin(t * M_PI), 0.9, 0.9), kGold, 0.35);
    }
    // Sword held upright on the left.
    arm(p, 11, 27, kBlue, kGold);
    shape(p, poly({{11.6, 25}, {11.6, 22.6}, {13, 21.2}, {14.4, 22.6}, {14.4, 25}}),
          QColor(214, 220, 230), 0.45);
    shape(p, poly({{9.8, 25}, {16.2, 25}, {16.2, 26.2}, {9.8, 26.2}}), kGold, 0.4);
    shape(p, ellipse(11.3, 27, 1.9, 1.7), kSkin);
    shape(p, poly({{12.4, 26.2}, {13.6, 26.2}, {13.6, kHalf}, {12.4, kHalf}}), kGold, 0.35);
}

void kingHead(QPainter& p) {
    // Hair and beard frame the face.
    shape(p, poly({{20, 9}, {31, 9}, {31.5, 16}, {20, 16}}), QColor(150, 96, 44));
    QPainterPath beard;
    beard.moveTo(20.5, 13);
    beard.cubicTo(20.5, 19, 23, 22.5, 25.5, 23);
    beard.cubicTo(28, 22.5, 30.5, 19, 30.5, 13);
    beard.closeSubpath();
    shape(p, beard, QColor(150, 96, 44));
    shape(p, ellipse(25.5, 12.6, 4.3, 4.9), kSkin);
    QPainterPath moustache;
    moustache.moveTo(22.5, 16.6);
    moustache.quadTo(25.5, 14.6, 28.5, 16.6);
    stroke(p, moustache, QColor(120, 70, 30), 1.0);
    features(p, 25.5, 11.6, kRed);
    // Crown: band with three points and jewels.
    shape(p, poly({{20, 8.5}, {20, 2}, {22.5, 5}, {25.5, 1}, {28.5, 5}, {31, 2}, {31, 8.5}}),
          kGold);
    for (const QPointF tip : {QPointF(20, 2), QPointF(25.5, 1), QPointF(31, 2)})
        shape(p, ellipse(tip.x(), tip.y(), 0.9, 0.9), kRed, 0.35);
    shape(p, ellipse(25.5, 6.8, 1.1, 1.0), kBlue, 0.35);
}

void queenGown(QPainter& p) {
    // Long hair behind the shoulders.
    QPainterPath hair;
    hair.moveTo(19, 10);
    hair.cubicTo(17, 16, 17.5, 22, 16, 26);
    hair.lineTo(35, 26);
    hair.cubicTo(33.5, 22, 34, 16, 32, 10);
    hair.closeSubpath();
    shape(p, hair, QColor(226, 176, 70));
    // Gown.
    shape(p, shoulders(20.5), kBlue);
    brocade(p, shoulders(20.5), QColor(240, 200, 100), 3.0);
    QPainterPath trim;
    trim.moveTo(33, 21);
    trim.cubicTo(36.5, 22.5, 37.5, 25, 38, 29);
    stroke(p, trim, kGold, 1.0);
    QPainterPath bodice = poly({{20.5, 20.5}, {30.5, 20.5}, {28.5, kHalf}, {22.5, kHalf}});
    shape(p, bodice, kRed);
    p.save();
    p.setClipPath(bodice);
    for (double y = 23; y < kHalf; y += 3) {
        QPainterPath lace;
        lace.moveTo(21, y);
        lace.lineTo(25.5, y + 1.5);
        lace.lineTo(30, y);
        stroke(p, lace, kGold, 0.6);
    }
    p.restore();
    // Neckline trim and necklace.
    QPainterPath neck;
    neck.moveTo(19, 20.6);
    neck.quadTo(25.5, 24, 32, 20.6);
    stroke(p, neck, kGold, 1.0);
    shape(p, ellipse(25.5, 23.2, 0.9, 1.1), kRed, 0.35);
    // A rose held on the left.
    QPainterPath stem;
    stem.moveTo(12, 28);
    stem.quadTo(9, 25, 10, 22);
    stroke(p, stem, QColor(40, 120, 50), 0.9);
    shape(p, poly({{9.4, 24.5}, {6.5, 23}, {8.4, 26}}), QColor(60, 150, 64), 0.35);
    shape(p, ellipse(10.2, 20.6, 2.0, 1.8), kRed, 0.45);
    shape(p, ellipse(10.2, 20.4, 0.8, 0.7), QColor(232, 90, 90), 0.3);
    arm(p, 10.5, 26.5, kRed, kGold);
}

void queenHead(QPainter& p) {
    shape(p, ellipse(25.5, 13, 4.1, 4.8), kSkin);
    QPainterPath fringe;
    fringe.moveTo(21.2, 12);
    fringe.cubicTo(21.5, 8, 29.5, 8, 29.8, 12);
    fringe.cubicTo(28, 9.8, 23, 9.8, 21.2, 12);
    shape(p, fringe, QColor(226, 176, 70), 0.4);
    features(p, 25.5, 12.8, kRed);
    // Crown: a low circlet with fleurons.
    shape(p, poly({{21, 8.6}, {21, 5}, {23, 6.4}, {25.5, 3}, {28, 6.4}, {30, 5}, {30, 8.6}}),
          kGold);
    shape(p, ellipse(25.5, 7.2, 0.9, 0.9), kBlue, 0.35);
    shape(p, ellipse(25.5, 3.1, 0.8, 0.8), kRed, 0.3);
}

void jackCoat(QPainter& p) {
    // Curly shoulder-length hair.
    QPainterPath hair;
    hair.moveTo(20, 9);
    hair.cubicTo(18, 13, 18, 18, 19, 21);
    hair.lineTo(32, 21);
    hair.cubicTo(33, 18, 33, 13, 31, 9);
    hair.closeSubpath();
    shape(p, hair, QColor(112, 62, 26));
    // Doublet with striped front.
    shape(p, shoulders(20), kBlue);
    brocade(p, shoulders(20), QColor(150, 180, 240), 2.6);
    shape(p, poly({{33.5, 26}, {38.5, 24.5}, {38.5, 27}, {33.5, 28.5}}), kGold, 0.4);
    QPainterPath front = poly({{21, 20}, {30, 20}, {29, kHalf}, {22, kHalf}});
    shape(p, front, kGold);
    p.save();
    p.setClipPath(front);
    p.setPen(QPen(kRed, 1.2));
    for (double x = 22.2; x < 30; x += 2.4)
        p.drawLine(QPointF(x, 20), QPointF(x, kHalf));
    p.restore();
    shape(p, poly({{17, 20}, {34, 20}, {32, 23}, {25.5, 22}, {19, 23}}), kWhite, 0.45);
    // Halberd on the left.
    // Kept below y 17: the corner pip covers the picture above that.
    shape(p, poly({{8.6, kHalf}, {9.6, 20}, {10.6, 20}, {9.8, kHalf}}), QColor(150, 96, 44), 0.4);
    QPainterPath blade;
    blade.moveTo(10, 20.5);
    blade.cubicTo(14.5, 19.5, 15.5, 23.5, 14.2, 25.5);
    blade.cubicTo(12.5, 23.8, 11.5, 23.5, 10, 23.8);
    blade.closeSubpath();
    shape(p, blade, QColor(214, 220, 230), 0.45);
    shape(p, poly({{9.1, 20.2}, {10.1, 17.4}, {11.1, 20.2}}), QColor(214, 220, 230), 0.4);
    arm(p, 8, 26.5, kRed, kGold);
}

void jackHead(QPainter& p) {
    shape(p, ellipse(25.5, 13.2, 4.1, 4.8), kSkin);
    features(p, 25.5, 13.0, kRed);
    // Beret with a feather.
    QPainterPath feather;
    feather.moveTo(29, 6.5);
    feather.cubicTo(32, 2, 36, 1.5, 38, 3);
    feather.cubicTo(35, 3.6, 32.5, 5.5, 30.5, 8);
    feather.closeSubpath();
    shape(p, feather, kWhite, 0.4);
    QPainterPath crown;
    crown.moveTo(20.5, 8.5);
    crown.cubicTo(20, 2.5, 31, 2.0, 31.5, 8.0);
    crown.closeSubpath();
    shape(p, crown, kRed);
    QPainterPath brim;
    brim.moveTo(18.5, 9.8);
    brim.cubicTo(22, 7.2, 29, 6.8, 33.5, 8.2);
    brim.cubicTo(33.8, 9.3, 33.2, 9.8, 32.6, 9.8);
    brim.cubicTo(28.5, 9.0, 22.5, 9.4, 18.9, 10.9);
    brim.closeSubpath();
    shape(p, brim, kGold, 0.45);
}

void king(QPainter& p) {
    kingRobe(p);
    kingHead(p);
}

void queen(QPainter& p) {
    queenGown(p);
    queenHead(p);
}

void jack(QPainter& p) {
    jackCoat(p);
    jackHead(p);
}

// One court picture: the half-figure, mirrored below, inside a thin frame.
QImage courtPicture(void (*bust)(QPainter&)) {
    const QImage top = renderOpaque(kW, kHalf, kPanel, [bust](QPainter& p) {
        p.save();
        p.setClipRect(QRectF(0, 0, kW, kHalf));
        bust(p);
        p.restore();
        p.setPen(Qt::NoPen);
        p.fillRect(QRectF(1, kHalf - 0.7, kW - 2, 0.7), kGold);
    });
    QImage picture = blankRgb(kW, kH, kWhite);
    paste(picture, top, 0, 0);
    paste(picture, rotated180(top), 0, kHalf);
    const QImage frame = renderSmooth(kW, kH, [](QPainter& p) {
        p.fillPath(
            [] {
                QPainterPath ring;
                ring.addRect(QRectF(0, 0, kW, kH));
                ring.addRect(QRectF(1, 1, kW - 2, kH - 2));
                return ring;
            }(),
            kBlue);
    });
    QPainter p(&picture);
    p.drawImage(0, 0, frame);
    return picture;
}

} // namespace

QImage makeCourts() {
    QImage sheet = blankRgb(3 * kW, kH, kWhite);
    paste(sheet, courtPicture(jack), 0, 0);
    paste(sheet, courtPicture(queen), kW, 0);
    paste(sheet, courtPicture(king), 2 * kW, 0);
    return sheet;
}

} // namespace assetgen
