// Table tiles. Every noise source wraps at the tile size, so tiles join invisibly.
#include "assets.h"
#include "raster.h"

#include <algorithm>
#include <cmath>

namespace assetgen {
namespace {

constexpr int kTile = 160;

QRgb scaled(QColor base, double f) {
    auto ch = [f](int v) { return std::clamp(int(std::lround(v * f)), 0, 255); };
    return qRgb(ch(base.red()), ch(base.green()), ch(base.blue()));
}

// Green baize: soft mottling plus a fine, fibrous speckle.
QImage felt() {
    QImage img = blankRgb(kTile, kTile);
    const auto mottle = makeOctaves(4, 3, kTile, 11);
    const TileNoise fibreA(80, 20, kTile, 12); // short horizontal fibres
    const TileNoise fibreB(20, 80, kTile, 13); // and vertical ones
    Rng rng(14);
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            const double m = TileNoise::fractal(mottle, x, y, 0.5);
            const double fibres = 0.5 * (fibreA.at(x, y) + fibreB.at(x, y));
            const double f = 1.0 + 0.05 * m + 0.05 * fibres + 0.045 * rng.symmetric();
            img.setPixel(x, y, scaled(kFelt, f));
        }
    return img;
}

// Warm wood: four planks with staggered butt joints, fine wavy grain lines and
// long fibres.
QImage wood() {
    QImage img = blankRgb(kTile, kTile);
    const int plank = kTile / 4;
    const TileNoise warp(3, 10, kTile, 21);
    const TileNoise spacing(2, 6, kTile, 24);
    const TileNoise fibre(5, 160, kTile, 22);
    const QColor light(184, 124, 70), dark(112, 64, 32);
    const int joints[4] = {37, 118, 74, 9};
    for (int y = 0; y < kTile; ++y) {
        const int row = y / plank;
        const int inPlank = y % plank;
        for (int x = 0; x < kTile; ++x) {
            const int board = row;
            const double w = warp.at(x, y + board * 23) * 3.5;
            const double phase = (y + w) * (0.75 + 0.2 * spacing.at(x, y)) + board * 2.1;
            const double line = std::pow(0.5 + 0.5 * std::sin(phase), 6.0);
            const double band = 0.5 + 0.5 * std::sin(phase * 0.21 + board);
            double t = 0.2 + 0.3 * band + 0.35 * line + 0.18 * fibre.at(x, y);
            QColor c = mix(light, dark, std::clamp(t, 0.0, 1.0));
            double f = 1.0 + 0.05 * std::sin(board * 1.7);
            if (inPlank == 0 || x == joints[row])
                f *= 0.55;
            else if (inPlank == 1)
                f *= 1.1;
            else if (inPlank == plank - 1)
                f *= 0.86;
            img.setPixel(x, y, scaled(c, f));
        }
    }
    return img;
}

// Blue cloth: a 2/2 twill weave with threads that vary slightly in tone.
QImage cloth() {
    QImage img = blankRgb(kTile, kTile);
    const QColor base(36, 64, 122);
    const auto mottle = makeOctaves(4, 3, kTile, 31);
    Rng rng(32);
    std::vector<double> rowTone(kTile), colTone(kTile);
    for (int i = 0; i < kTile; ++i) {
        rowTone[size_t(i)] = 0.035 * rng.symmetric();
        colTone[size_t(i)] = 0.035 * rng.symmetric();
    }
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            const bool warpUp = ((x + y) / 2) % 2 == 0; // twill runs diagonally
            const double thread = warpUp ? 1.05 + colTone[size_t(x)] : 0.95 + rowTone[size_t(y)];
            const double f =
                thread + 0.045 * TileNoise::fractal(mottle, x, y, 0.5) + 0.02 * rng.symmetric();
            img.setPixel(x, y, scaled(base, f));
        }
    return img;
}

} // namespace

QImage makeBackground(int index) {
    switch (index) {
    case 0:
        return felt();
    case 1:
        return wood();
    default:
        return cloth();
    }
}

} // namespace assetgen
