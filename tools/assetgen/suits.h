#pragma once

#include <QPainterPath>
#include <QRectF>

namespace assetgen {

enum Suit { Spade = 0, Club = 1, Heart = 2, Diamond = 3 };

// The suit's outline scaled into `box` (a single filled region).
QPainterPath suitPath(int suit, const QRectF& box);

inline bool isRed(int suit) {
    return suit >= Heart;
}

} // namespace assetgen
