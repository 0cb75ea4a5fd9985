// Tavi, the friendly face beside the waste pile, and the strip that makes her
// blink and smile. Each frame is a full re-render cropped to the three boxes the
// game swaps, so frame 0 matches the still picture exactly.
#include "assets.h"
#include "raster.h"

#include <QPainterPath>
#include <array>
#include <cmath>

namespace assetgen {
namespace {

constexpr int kW = 120;
constexpr int kH = 140;
constexpr int kBoxW = 35;
constexpr int kBoxH = 33;
constexpr int kFrames = 5;

// Where the game pastes each strip row onto the portrait: left eye, right eye, mouth.
const std::array<QPoint, 3> kBoxes = {QPoint(22, 37), QPoint(68, 36), QPoint(41, 86)};

const QColor kLine(70, 36, 26);
const QColor kSkinTone(255, 214, 182);
const QColor kHair(178, 82, 38);
const QColor kHairDark(126, 54, 26);
const QColor kShirt(40, 146, 122);

struct Pose {
    double lid;   // 0 open .. 1 closed
    double mouth; // 0 closed smile .. 1 open grin
};

QPointF boxCentre(int i) {
    return QPointF(kBoxes[size_t(i)].x() + kBoxW / 2.0, kBoxes[size_t(i)].y() + kBoxH / 2.0);
}

void outlined(QPainter& p, const QPainterPath& path, QColor fill, double width = 1.6) {
    p.fillPath(path, fill);
    QPen pen(kLine, width);
    pen.setJoinStyle(Qt::RoundJoin);
    p.strokePath(path, pen);
}

void line(QPainter& p, const QPainterPath& path, QColor c, double width) {
    QPen pen(c, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.strokePath(path, pen);
}

QPainterPath ellipse(QPointF c, double rx, double ry) {
    QPainterPath e;
    e.addEllipse(c, rx, ry);
    return e;
}

void body(QPainter& p) {
    QPainterPath shirt;
    shirt.moveTo(8, kH);
    shirt.cubicTo(8, 126, 24, 116, 44, 114);
    shirt.lineTo(78, 114);
    shirt.cubicTo(98, 116, 114, 126, 114, kH);
    shirt.closeSubpath();
    outlined(p, shirt, kShirt);
    QPainterPath collar;
    collar.moveTo(40, 116);
    collar.lineTo(61, 134);
    collar.lineTo(82, 116);
    collar.lineTo(74, 113);
    collar.lineTo(61, 126);
    collar.lineTo(48, 113);
    collar.closeSubpath();
    outlined(p, collar, QColor(250, 250, 244), 1.2);
}

void hairBack(QPainter& p) {
    QPainterPath back;
    back.moveTo(61, 6);
    back.cubicTo(100, 6, 118, 30, 117, 62);
    back.cubicTo(117, 84, 114, 98, 106, 108);
    back.lineTo(16, 108);
    back.cubicTo(8, 98, 5, 84, 5, 62);
    back.cubicTo(5, 30, 22, 6, 61, 6);
    back.closeSubpath();
    outlined(p, back, kHairDark);
}

void face(QPainter& p) {
    for (double side : {-1.0, 1.0}) {
        const QPointF ear(61 + side * 47, 80);
        outlined(p, ellipse(ear, 7, 10), kSkinTone);
        QPainterPath inner;
        inner.moveTo(ear.x() + side * 2.5, ear.y() - 5);
        inner.quadTo(ear.x() - side * 1.5, ear.y(), ear.x() + side * 2, ear.y() + 5);
        line(p, inner, QColor(220, 150, 130), 1.2);
    }
    QPainterPath head;
    head.moveTo(61, 20);
    head.cubicTo(92, 20, 108, 44, 108, 72);
    head.cubicTo(108, 104, 88, 128, 61, 128);
    head.cubicTo(34, 128, 14, 104, 14, 72);
    head.cubicTo(14, 44, 30, 20, 61, 20);
    head.closeSubpath();
    outlined(p, head, kSkinTone);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 170, 160, 150));
    p.drawEllipse(QPointF(28, 86), 9, 6);
    p.drawEllipse(QPointF(93, 85), 9, 6);
    p.setBrush(QColor(206, 128, 88, 170));
    for (const QPointF f : {QPointF(24, 80), QPointF(29, 78), QPointF(33, 82), QPointF(89, 78),
                            QPointF(94, 80), QPointF(98, 77)})
        p.drawEllipse(f, 1.1, 1.1);
    QPainterPath nose;
    nose.moveTo(62, 70);
    nose.cubicTo(64, 76, 66, 79, 62, 81);
    nose.cubicTo(60, 82, 57, 81, 56, 79);
    line(p, nose, QColor(200, 120, 96), 1.6);
}

void fringe(QPainter& p) {
    QPainterPath bangs;
    bangs.moveTo(10, 58);
    bangs.cubicTo(8, 24, 34, 6, 62, 7);
    bangs.cubicTo(92, 7, 114, 26, 112, 58);
    bangs.cubicTo(106, 46, 100, 38, 92, 33);
    bangs.cubicTo(88, 38, 80, 36, 74, 30);
    bangs.cubicTo(68, 36, 56, 36, 50, 29);
    bangs.cubicTo(44, 35, 34, 36, 30, 31);
    bangs.cubicTo(22, 38, 14, 46, 10, 58);
    bangs.closeSubpath();
    outlined(p, bangs, kHair);
    QPainterPath strands;
    strands.moveTo(40, 14);
    strands.quadTo(34, 20, 32, 28);
    strands.moveTo(62, 12);
    strands.quadTo(60, 20, 58, 28);
    strands.moveTo(84, 14);
    strands.quadTo(88, 20, 90, 28);
    line(p, strands, kHairDark, 1.2);
    QPainterPath shine;
    shine.moveTo(46, 13);
    shine.quadTo(60, 9, 74, 12);
    line(p, shine, QColor(230, 140, 84), 2.2);
    // A star-shaped hair clip.
    QPainterPath star;
    const QPointF c(95, 24);
    for (int i = 0; i < 10; ++i) {
        const double a = M_PI * i / 5 - 0.3;
        const double r = i % 2 == 0 ? 8.0 : 3.6;
        const QPointF pt(c.x() + r * std::sin(a), c.y() - r * std::cos(a));
        i == 0 ? star.moveTo(pt) : star.lineTo(pt);
    }
    star.closeSubpath();
    outlined(p, star, QColor(255, 206, 60), 1.3);
}

// A shut eye: a downward curve with three short lashes.
void closedEye(QPainter& p, QPointF c) {
    QPainterPath closed;
    closed.moveTo(c.x() - 10, c.y() + 1);
    closed.quadTo(c.x(), c.y() + 8, c.x() + 10, c.y() + 1);
    line(p, closed, kLine, 2.2);
    for (double dx : {-6.0, 0.0, 6.0}) {
        QPainterPath lash;
        lash.moveTo(c.x() + dx, c.y() + 4.5 - std::abs(dx) * 0.35);
        lash.lineTo(c.x() + dx * 1.25, c.y() + 8 - std::abs(dx) * 0.3);
        line(p, lash, kLine, 1.2);
    }
}

// One eye in its box: white, iris, highlight, then the upper lid coming down.
void eye(QPainter& p, QPointF c, double lid, double side) {
    QPainterPath brow;
    brow.moveTo(c.x() - 10, c.y() - 11 + side);
    brow.quadTo(c.x(), c.y() - 17, c.x() + 10, c.y() - 11 - side);
    line(p, brow, kHairDark, 2.6);
    const QPainterPath ball = ellipse(c + QPointF(0, 1), 9.5, 11);
    if (lid >= 1.0) {
        closedEye(p, c);
        return;
    }
    p.fillPath(ball, Qt::white);
    p.save();
    p.setClipPath(ball);
    p.fillPath(ellipse(c + QPointF(side * 0.5, 2.5), 6.8, 7.2), QColor(92, 140, 70));
    p.fillPath(ellipse(c + QPointF(side * 0.5, 2.5), 3.6, 3.8), QColor(24, 20, 20));
    p.fillPath(ellipse(c + QPointF(side * 0.5 + 2.2, 0.2), 1.8, 1.8), Qt::white);
    // The lid: skin above a curved edge that sinks as the eye closes.
    const double edge = c.y() - 10 + lid * 21;
    QPainterPath cover;
    cover.moveTo(c.x() - 12, c.y() - 12);
    cover.lineTo(c.x() + 12, c.y() - 12);
    cover.lineTo(c.x() + 12, edge - 2);
    cover.quadTo(c.x(), edge + 3, c.x() - 12, edge - 2);
    cover.closeSubpath();
    p.fillPath(cover, kSkinTone);
    p.restore();
    QPen pen(kLine, 1.6);
    p.strokePath(ball, pen);
    if (lid > 0) {
        QPainterPath edgeLine;
        edgeLine.moveTo(c.x() - 9.4, edge - 1.2);
        edgeLine.quadTo(c.x(), edge + 3, c.x() + 9.4, edge - 1.2);
        p.save();
        p.setClipPath(ellipse(c + QPointF(0, 1), 10.5, 12));
        line(p, edgeLine, kLine, 2.0);
        p.restore();
    }
}

void mouth(QPainter& p, QPointF c, double open) {
    const double w = 11 + 2 * open;
    if (open <= 0) {
        QPainterPath smile;
        smile.moveTo(c.x() - w, c.y() - 3);
        smile.quadTo(c.x(), c.y() + 7, c.x() + w, c.y() - 3);
        line(p, smile, kLine, 2.2);
        return;
    }
    const double depth = 4 + 9 * open;
    QPainterPath m;
    m.moveTo(c.x() - w, c.y() - 3);
    m.quadTo(c.x(), c.y() - 1, c.x() + w, c.y() - 3);
    m.quadTo(c.x() + w * 0.8, c.y() + depth, c.x(), c.y() + depth);
    m.quadTo(c.x() - w * 0.8, c.y() + depth, c.x() - w, c.y() - 3);
    m.closeSubpath();
    p.fillPath(m, QColor(140, 40, 46));
    p.save();
    p.setClipPath(m);
    p.fillPath(ellipse(QPointF(c.x(), c.y() + depth + 1), w * 0.55, depth * 0.45),
               QColor(240, 120, 124));
    p.fillRect(QRectF(c.x() - w, c.y() - 6, 2 * w, 4.2 + open * 0.6), Qt::white);
    p.restore();
    QPen pen(kLine, 1.8);
    pen.setJoinStyle(Qt::RoundJoin);
    p.strokePath(m, pen);
}

Sprite render(const Pose& pose) {
    const QImage art = renderSmooth(kW, kH, [&pose](QPainter& p) {
        hairBack(p);
        body(p);
        face(p);
        fringe(p);
        eye(p, boxCentre(0), pose.lid, -1);
        eye(p, boxCentre(1), pose.lid, 1);
        mouth(p, boxCentre(2), pose.mouth);
    });
    return toSprite(art, kFelt, 96);
}

} // namespace

Portrait makePortrait() {
    const std::array<Pose, kFrames> poses = {{{0, 0}, {0.4, 0.2}, {0.75, 0.45}, {1, 0.7}, {1, 1}}};
    Portrait out{blankRgb(kW, 2 * kH), blankRgb(kBoxW * kFrames, kBoxH * 3)};
    for (int f = 0; f < kFrames; ++f) {
        const Sprite s = render(poses[size_t(f)]);
        if (f == 0) {
            paste(out.still, s.image, 0, 0);
            paste(out.still, s.mask, 0, kH);
        }
        for (int b = 0; b < 3; ++b)
            paste(out.strip,
                  s.image.copy(kBoxes[size_t(b)].x(), kBoxes[size_t(b)].y(), kBoxW, kBoxH),
                  kBoxW * f, kBoxH * b);
    }
    return out;
}

} // namespace assetgen
