// Card fronts and the small pieces composed onto them: suit pips, rank signs and
// the goal-pile placeholders.
#include "assets.h"
#include "raster.h"
#include "suits.h"

#include <QPainterPath>
#include <array>

namespace assetgen {
namespace {

constexpr int kPip = 15;
constexpr int kSign = 10;
constexpr double kCorner = 4.0;

QPainterPath roundedCard(double inset, double radius) {
    QPainterPath p;
    p.addRoundedRect(QRectF(inset, inset, kCardW - 2 * inset, kCardH - 2 * inset), radius, radius);
    return p;
}

// The plain card: felt-coloured corners, a crisp one-pixel border, flat face.
QImage cardBlank(QColor face, QColor border) {
    return renderOpaque(kCardW, kCardH, kFelt, [&](QPainter& p) {
        p.fillPath(roundedCard(0, kCorner), border);
        p.fillPath(roundedCard(1, kCorner - 1), face);
    });
}

// A faint woven texture for the linen design; kept within a few levels so pips stay crisp.
void addLinen(QImage& card, QColor face) {
    Rng rng(0x11e7);
    for (int y = 2; y < kCardH - 2; ++y)
        for (int x = 2; x < kCardW - 2; ++x) {
            const QColor c = QColor::fromRgb(card.pixel(x, y));
            if (c != face) continue;
            const int weave = ((x + y) % 2 == 0 ? 1 : -1) + ((x % 4 == 0) ? -1 : 0);
            const int grain = int(rng.uniform() * 3) - 1;
            const int d = weave + grain;
            card.setPixel(x, y, qRgb(c.red() + d, c.green() + d, c.blue() + d));
        }
}

// Rank glyphs: '#' ink, '+' half-tone edge, '.' clear. Rows 1..8 of the 10×10 cell.
using Glyph = std::array<const char*, 8>;
const std::array<Glyph, 13> kGlyphs = {{
    {".+##+.", "+####+", "##..##", "##..##", "######", "##..##", "##..##", "##..##"}, // A
    {"+####+", "##..##", "....##", "..+##+", ".+##+.", "+##+..", "##....", "######"}, // 2
    {"+####+", "##..##", "....##", "..###+", "....##", "....##", "##..##", "+####+"}, // 3
    {"...+##", "..+###", ".+#+##", "+#+.##", "##..##", "######", "....##", "....##"}, // 4
    {"######", "##....", "##....", "#####+", "....##", "....##", "##..##", "+####+"}, // 5
    {"+####+", "##..+#", "##....", "#####+", "##..##", "##..##", "##..##", "+####+"}, // 6
    {"######", "....##", "...+#+", "...##.", "..+#+.", "..##..", "..##..", "..##.."}, // 7
    {"+####+", "##..##", "##..##", "+####+", "##..##", "##..##", "##..##", "+####+"}, // 8
    {"+####+", "##..##", "##..##", "##..##", "+#####", "....##", "#+..##", "+####+"}, // 9
    {".##.+####+", "###.##..##", ".##.##..##", ".##.##..##", ".##.##..##", ".##.##..##",
     ".##.##..##", ".##.+####+"},                                                      // 10
    {"..####", "....##", "....##", "....##", "....##", "##..##", "##..##", "+####+"},  // J
    {"+####+", "##..##", "##..##", "##..##", "##.#+#", "##.+##", "+####+", "....+##"}, // Q
    {"##..##", "##.+#+", "##+#+.", "####..", "####..", "##+#+.", "##.+#+", "##..##"},  // K
}};

QImage glyphArt(int rank, QColor ink) {
    QImage art(kSign, kSign, QImage::Format_ARGB32_Premultiplied);
    art.fill(Qt::transparent);
    const Glyph& g = kGlyphs[size_t(rank - 1)];
    for (int row = 0; row < 8; ++row) {
        const QByteArray line(g[size_t(row)]);
        const int left = (kSign - int(qstrlen(g[0]))) / 2;
        for (int col = 0; col < line.size(); ++col) {
            const int alpha = line[col] == '#' ? 255 : line[col] == '+' ? 110 : 0;
            if (alpha == 0) continue;
            QColor c = ink;
            c.setAlpha(alpha);
            art.setPixel(left + col, row + 1, qPremultiply(c.rgba()));
        }
    }
    return art;
}

// Writes a masked cell set: upright image, inverted image, upright mask, inverted mask.
void putMaskedSet(QImage& sheet, const Sprite& s, int x, int y, int step) {
    paste(sheet, s.image, x, y);
    paste(sheet, rotated180(s.image), x, y + step);
    paste(sheet, s.mask, x, y + 2 * step);
    paste(sheet, rotated180(s.mask), x, y + 3 * step);
}

QRectF pipBox(int suit) {
    switch (suit) {
    case Spade:
        return {1.5, 0.6, 12.0, 13.4};
    case Club:
        return {1.0, 0.6, 13.0, 13.4};
    case Heart:
        return {1.0, 1.6, 13.0, 12.2};
    default:
        return {1.6, 0.6, 11.8, 13.8};
    }
}

QImage goalPlaceholder(int suit) {
    return renderSmooth(kCardW, kCardH, [suit](QPainter& p) {
        const QColor rim(150, 196, 150);
        p.fillPath(roundedCard(0, kCorner).subtracted(roundedCard(1.2, kCorner - 1)), rim);
        const QPainterPath shape = suitPath(suit, QRectF(14, 34, 36, 36));
        p.fillPath(shape, QColor(20, 84, 40));
        QPen pen(QColor(96, 156, 104), 1.0);
        pen.setJoinStyle(Qt::RoundJoin);
        p.strokePath(shape, pen);
    });
}

} // namespace

QImage makeFronts() {
    struct Design {
        QColor face, border;
        bool linen;
    };
    // White, ivory, linen and a cool pale blue.
    const std::array<Design, 4> designs = {{
        {QColor(255, 255, 255), QColor(118, 122, 130), false},
        {QColor(252, 247, 232), QColor(150, 128, 96), false},
        {QColor(246, 248, 250), QColor(96, 116, 140), true},
        {QColor(242, 247, 255), QColor(52, 76, 128), false},
    }};
    QImage sheet = blankRgb(kCardW, kCardH * int(designs.size()));
    for (size_t d = 0; d < designs.size(); ++d) {
        QImage card = cardBlank(designs[d].face, designs[d].border);
        if (designs[d].linen) addLinen(card, designs[d].face);
        paste(sheet, card, 0, kCardH * int(d));
    }
    return sheet;
}

QImage makeSuitPips() {
    QImage sheet = blankRgb(4 * kPip, 4 * kPip);
    for (int suit = 0; suit < 4; ++suit) {
        const QColor ink = isRed(suit) ? kInkRed : kInkBlack;
        const QImage art = renderSmooth(
            kPip, kPip, [&](QPainter& p) { p.fillPath(suitPath(suit, pipBox(suit)), ink); });
        putMaskedSet(sheet, toSprite(art, Qt::white), kPip * suit, 0, kPip);
    }
    return sheet;
}

QImage makeRankSigns() {
    QImage sheet = blankRgb(13 * kSign, 8 * kSign);
    for (int band = 0; band < 2; ++band)
        for (int rank = 1; rank <= 13; ++rank) {
            const QImage art = glyphArt(rank, band == 0 ? kInkBlack : kInkRed);
            putMaskedSet(sheet, toSprite(art, Qt::white, 1), kSign * (rank - 1), 4 * kSign * band,
                         kSign);
        }
    return sheet;
}

QImage makeGoals() {
    QImage sheet = blankRgb(4 * kCardW, 2 * kCardH);
    for (int k = 0; k < 4; ++k) {
        const Sprite s = toSprite(goalPlaceholder(k), kFelt);
        paste(sheet, s.image, kCardW * k, 0);
        paste(sheet, s.mask, kCardW * k, kCardH);
    }
    return sheet;
}

} // namespace assetgen
