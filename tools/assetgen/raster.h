#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <functional>
#include <vector>

namespace assetgen {

using DrawFn = std::function<void(QPainter&)>;

// Art is drawn at this many times the final size and box-filtered down, so small
// shapes get smooth, even edges without relying on a particular antialiaser.
constexpr int kSuper = 8;

// Renders `draw` (coordinates in final pixels) onto a transparent canvas.
// Returns premultiplied ARGB at the final size.
QImage renderSmooth(int w, int h, const DrawFn& draw);

// Same, over an opaque background colour. Returns RGB32.
QImage renderOpaque(int w, int h, QColor background, const DrawFn& draw);

// Composites premultiplied art over a flat colour.
QImage flatten(const QImage& premultiplied, QColor matte);

// A picture the game puts down as AND(mask) then XOR(image).
struct Sprite {
    QImage image; // black wherever the mask is white
    QImage mask;  // black = opaque, white = see-through
};

// Pixels covered at least `minAlpha` become opaque; their fringe is blended toward
// `matte`, the colour the sprite will usually sit on.
Sprite toSprite(const QImage& premultiplied, QColor matte, int minAlpha = 40);

QImage rotated180(const QImage& image);
void paste(QImage& dst, const QImage& src, int x, int y);
QImage blankRgb(int w, int h, QColor fill = Qt::black);

QColor mix(QColor a, QColor b, double t);
QColor shade(QColor c, double factor); // <1 darker, >1 lighter

// splitmix64: tiny, fast and identical everywhere.
class Rng {
  public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next();
    double uniform(); // [0, 1)
    double symmetric() { return uniform() * 2.0 - 1.0; }

  private:
    uint64_t state_;
};

// Smooth value noise on a lattice that wraps, so it tiles with period `size`.
// The lattice may be finer across than down (for stretched grain).
class TileNoise {
  public:
    TileNoise(int cells, int size, uint64_t seed) : TileNoise(cells, cells, size, seed) {}
    TileNoise(int cellsX, int cellsY, int size, uint64_t seed);
    double at(double x, double y) const; // about [-1, 1]
    // Sum of octaves with doubling lattice density; still periodic in `size`.
    static double fractal(const std::vector<TileNoise>& octaves, double x, double y,
                          double persistence);

  private:
    int cellsX_, cellsY_;
    double scaleX_, scaleY_;
    double shiftX_, shiftY_; // so lattice lines of different layers don't line up
    std::vector<double> values_;
};

std::vector<TileNoise> makeOctaves(int firstCells, int count, int size, uint64_t seed);

} // namespace assetgen
