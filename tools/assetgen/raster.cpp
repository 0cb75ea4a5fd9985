#include "raster.h"

#include <algorithm>
#include <cmath>

namespace assetgen {
namespace {

// Averages each factor×factor block of a premultiplied image.
QImage boxDown(const QImage& big, int w, int h, int factor) {
    QImage out(w, h, QImage::Format_ARGB32_Premultiplied);
    const int n = factor * factor;
    for (int y = 0; y < h; ++y) {
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            int sum[4] = {0, 0, 0, 0};
            for (int sy = 0; sy < factor; ++sy) {
                const auto* src =
                    reinterpret_cast<const QRgb*>(big.constScanLine(y * factor + sy)) + x * factor;
                for (int sx = 0; sx < factor; ++sx) {
                    sum[0] += qRed(src[sx]);
                    sum[1] += qGreen(src[sx]);
                    sum[2] += qBlue(src[sx]);
                    sum[3] += qAlpha(src[sx]);
                }
            }
            dst[x] = qRgba((sum[0] + n / 2) / n, (sum[1] + n / 2) / n, (sum[2] + n / 2) / n,
                           (sum[3] + n / 2) / n);
        }
    }
    return out;
}

QImage renderBig(int w, int h, QColor background, const DrawFn& draw) {
    QImage big(w * kSuper, h * kSuper, QImage::Format_ARGB32_Premultiplied);
    big.fill(background);
    QPainter p(&big);
    // Aliased at this size: the box filter does the smoothing, and overlapping
    // fills leave no seams.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.scale(kSuper, kSuper);
    draw(p);
    p.end();
    return boxDown(big, w, h, kSuper);
}

} // namespace

QImage renderSmooth(int w, int h, const DrawFn& draw) {
    return renderBig(w, h, Qt::transparent, draw);
}

QImage renderOpaque(int w, int h, QColor background, const DrawFn& draw) {
    return renderBig(w, h, background, draw).convertToFormat(QImage::Format_RGB32);
}

QImage flatten(const QImage& art, QColor matte) {
    QImage out(art.width(), art.height(), QImage::Format_RGB32);
    for (int y = 0; y < art.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(art.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < art.width(); ++x) {
            const int rest = 255 - qAlpha(src[x]);
            dst[x] = qRgb(qRed(src[x]) + (matte.red() * rest + 127) / 255,
                          qGreen(src[x]) + (matte.green() * rest + 127) / 255,
                          qBlue(src[x]) + (matte.blue() * rest + 127) / 255);
        }
    }
    return out;
}

Sprite toSprite(const QImage& art, QColor matte, int minAlpha) {
    const QImage flat = flatten(art, matte);
    Sprite s{blankRgb(art.width(), art.height(), Qt::black),
             blankRgb(art.width(), art.height(), Qt::white)};
    for (int y = 0; y < art.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(art.constScanLine(y));
        for (int x = 0; x < art.width(); ++x) {
            if (qAlpha(src[x]) < minAlpha) continue;
            s.image.setPixel(x, y, flat.pixel(x, y));
            s.mask.setPixel(x, y, qRgb(0, 0, 0));
        }
    }
    return s;
}

QImage rotated180(const QImage& image) {
    QImage out(image.size(), image.format());
    const int w = image.width();
    const int h = image.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out.setPixel(w - 1 - x, h - 1 - y, image.pixel(x, y));
    return out;
}

void paste(QImage& dst, const QImage& src, int x0, int y0) {
    const QImage rgb = src.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            dst.setPixel(x0 + x, y0 + y, rgb.pixel(x, y));
}

QImage blankRgb(int w, int h, QColor fill) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill.rgb());
    return img;
}

QColor mix(QColor a, QColor b, double t) {
    auto lerp = [t](int u, int v) { return int(std::lround(u + (v - u) * t)); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()));
}

QColor shade(QColor c, double f) {
    auto scale = [f](int v) {
        const double r = f <= 1.0 ? v * f : v + (255 - v) * (f - 1.0);
        return std::clamp(int(std::lround(r)), 0, 255);
    };
    return QColor(scale(c.red()), scale(c.green()), scale(c.blue()));
}

uint64_t Rng::next() {
    uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

double Rng::uniform() {
    return double(next() >> 11) * (1.0 / 9007199254740992.0);
}

TileNoise::TileNoise(int cellsX, int cellsY, int size, uint64_t seed)
    : cellsX_(cellsX), cellsY_(cellsY), scaleX_(double(cellsX) / size),
      scaleY_(double(cellsY) / size), values_(size_t(cellsX * cellsY)) {
    Rng rng(seed);
    for (double& v : values_)
        v = rng.symmetric();
    shiftX_ = rng.uniform();
    shiftY_ = rng.uniform();
}

double TileNoise::at(double x, double y) const {
    const double fx = x * scaleX_ + shiftX_;
    const double fy = y * scaleY_ + shiftY_;
    const double ix = std::floor(fx);
    const double iy = std::floor(fy);
    auto smooth = [](double t) { return t * t * t * (t * (t * 6 - 15) + 10); };
    const double tx = smooth(fx - ix);
    const double ty = smooth(fy - iy);
    auto wrap = [](double v, int n) { return ((int(v) % n) + n) % n; };
    const int x0 = wrap(ix, cellsX_), x1 = wrap(ix + 1, cellsX_);
    const int y0 = wrap(iy, cellsY_), y1 = wrap(iy + 1, cellsY_);
    auto v = [this](int cx, int cy) { return values_[size_t(cy * cellsX_ + cx)]; };
    const double top = v(x0, y0) + (v(x1, y0) - v(x0, y0)) * tx;
    const double bottom = v(x0, y1) + (v(x1, y1) - v(x0, y1)) * tx;
    return top + (bottom - top) * ty;
}

double TileNoise::fractal(const std::vector<TileNoise>& octaves, double x, double y,
                          double persistence) {
    double sum = 0, amp = 1, norm = 0;
    for (const TileNoise& n : octaves) {
        sum += n.at(x, y) * amp;
        norm += amp;
        amp *= persistence;
    }
    return sum / norm;
}

std::vector<TileNoise> makeOctaves(int firstCells, int count, int size, uint64_t seed) {
    std::vector<TileNoise> octaves;
    for (int i = 0; i < count; ++i)
        octaves.emplace_back(firstCells << i, size, seed * 7919 + uint64_t(i) * 104729);
    return octaves;
}

} // namespace assetgen
