// The layout the game cuts the art by, and the qualities it needs, checked on a folder of
// generated files. Each broken rule is reported on one line.
#include "check.h"
#include "assets.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRect>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace assetgen {
namespace {

const char* const kBackgrounds[] = {"BG/BG1.BMP", "BG/BG2.BMP", "BG/BG3.BMP"};

class Checker {
public:
    explicit Checker(const QString& folder) : dir(folder) {}
    int failures = 0;

    void expect(bool holds, const std::string& what) {
        if (holds) return;
        ++failures;
        std::fprintf(stderr, "assetgen check: %s\n", what.c_str());
    }
    QString path(const QString& name) const { return dir + "/" + name; }
    QByteArray bytes(const QString& name) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QImage load(const char* name) const {
        const QImage img(path(name));
        return img.isNull() ? img : img.convertToFormat(QImage::Format_RGB32);
    }

private:
    QString dir;
};

QRgb rgb(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xffffffu; }
int brightness(QRgb c) { return (qRed(c) + qGreen(c) + qBlue(c)) / 3; }

// One AND/XOR pair: a black-and-white mask, an image black wherever the mask is clear.
// Returns how many pixels it makes opaque.
int maskedPair(Checker& c, const QImage& sheet, QRect image, QPoint maskAt, const std::string& what) {
    int opaque = 0, grey = 0, leaks = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb m = rgb(sheet, maskAt.x() + x, maskAt.y() + y);
            if (m == 0) ++opaque;
            else if (m != 0xffffffu) ++grey;
            else if (rgb(sheet, image.x() + x, image.y() + y) != 0) ++leaks;
        }
    c.expect(grey == 0, what + ": mask has pixels that are neither black nor white");
    c.expect(leaks == 0, what + ": image is not black where the mask is clear");
    c.expect(opaque > 0, what + ": nothing is drawn");
    return opaque;
}

// Whether area ra of a equals the same-sized area of b at pb, or that area turned half round.
bool sameArea(const QImage& a, QRect ra, const QImage& b, QPoint pb, bool turned = false) {
    for (int y = 0; y < ra.height(); ++y)
        for (int x = 0; x < ra.width(); ++x) {
            const int bx = turned ? ra.width() - 1 - x : x, by = turned ? ra.height() - 1 - y : y;
            if (rgb(a, ra.x() + x, ra.y() + y) != rgb(b, pb.x() + bx, pb.y() + by)) return false;
        }
    return true;
}

// Whether the opaque ink of a masked cell is red; it must be red or dark.
bool inkIsRed(Checker& c, const QImage& sheet, QRect image, QPoint maskAt, const std::string& what) {
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (rgb(sheet, maskAt.x() + x, maskAt.y() + y) == 0) {
                const QRgb p = rgb(sheet, image.x() + x, image.y() + y);
                r += qRed(p), g += qGreen(p), b += qBlue(p), ++n;
            }
    n = std::max(n, 1L);
    r /= n, g /= n, b /= n;
    const bool red = r > g + 80 && r > b + 80, dark = r < 90 && g < 90 && b < 90;
    c.expect(red || dark, what + ": ink is neither red nor dark");
    return red;
}

void cellSizes(Checker& c) {
    const QImage front = c.load("FRONT.BMP"), back = c.load("BACK.BMP");
    c.expect(front.width() >= 64 && front.height() % 104 == 0 && front.height() / 104 >= 3, "FRONT.BMP cells");
    c.expect(back.width() == 128 && back.height() % 104 == 0 && back.height() / 104 >= 4, "BACK.BMP cells");
    c.expect(c.load("SORT.BMP").size() == QSize(60, 60), "SORT.BMP is not 60 x 60");
    c.expect(c.load("SIGN.BMP").size() == QSize(130, 80), "SIGN.BMP is not 130 x 80");
    c.expect(c.load("IMGCARD.BMP").size() == QSize(120, 70), "IMGCARD.BMP is not 120 x 70");
    c.expect(c.load("GOAL.BMP").size() == QSize(256, 208), "GOAL.BMP is not 256 x 208");
    const QImage tavi = c.load("Tavi.BMP"), strip = c.load("Taviani.BMP");
    c.expect(!tavi.isNull() && tavi.height() % 2 == 0, "Tavi.BMP is no picture over a mask");
    c.expect(tavi.width() <= 125, "the portrait would overlap goal pile 1");
    c.expect(tavi.height() / 2 <= 140, "the portrait would reach the tableau");
    c.expect(strip.height() == 99 && strip.width() % 35 == 0 && strip.width() / 35 >= 4, "Taviani.BMP frames");
    for (const char* bg : kBackgrounds) {
        const QSize s = c.load(bg).size();
        c.expect(s.width() >= 32 && s.width() <= 640 && s.height() >= 32 && s.height() <= 480, std::string(bg) + " size");
    }
    for (const char* name : {"FRONT.BMP", "BACK.BMP", "SORT.BMP", "SIGN.BMP", "IMGCARD.BMP", "GOAL.BMP", "Tavi.BMP",
                             "Taviani.BMP", "BG/BG1.BMP", "BG/BG2.BMP", "BG/BG3.BMP"}) {
        const QByteArray b = c.bytes(name);
        c.expect(b.size() > 54 && b.startsWith("BM") && uint8_t(b[28]) == 24 && uint8_t(b[30]) == 0,
                 std::string(name) + ": not an uncompressed 24-bit bitmap");
    }
}

void pipsAndSigns(Checker& c) {
    const QImage sort = c.load("SORT.BMP"), sign = c.load("SIGN.BMP"), goal = c.load("GOAL.BMP");
    if (sort.size() != QSize(60, 60) || sign.size() != QSize(130, 80) || goal.size() != QSize(256, 208)) return;
    for (int suit = 0; suit < 4; ++suit) {
        const int x = 15 * suit;
        const std::string what = "pip " + std::to_string(suit);
        c.expect(maskedPair(c, sort, QRect(x, 0, 15, 15), QPoint(x, 30), what) > 50, what + " is too small to read");
        maskedPair(c, sort, QRect(x, 15, 15, 15), QPoint(x, 45), what + " inverted");
        c.expect(sameArea(sort, QRect(x, 0, 15, 15), sort, QPoint(x, 15), true), what + " is not turned");
        c.expect(sameArea(sort, QRect(x, 30, 15, 15), sort, QPoint(x, 45), true), what + " mask is not turned");
        c.expect(inkIsRed(c, sort, QRect(x, 0, 15, 15), QPoint(x, 30), what) == (suit >= 2), what + " colour");
        for (int other = 0; other < suit; ++other)
            c.expect(!sameArea(sort, QRect(x, 30, 15, 15), sort, QPoint(15 * other, 30)), what + " repeats a shape");
    }
    for (int band = 0; band < 2; ++band)
        for (int rank = 1; rank <= 13; ++rank) {
            const int x = 10 * (rank - 1), y = 40 * band;
            const std::string what = "sign " + std::to_string(rank) + "/" + std::to_string(band);
            maskedPair(c, sign, QRect(x, y, 10, 10), QPoint(x, y + 20), what);
            maskedPair(c, sign, QRect(x, y + 10, 10, 10), QPoint(x, y + 30), what + " inverted");
            c.expect(sameArea(sign, QRect(x, y + 20, 10, 10), sign, QPoint(x, y + 30), true), what + " is not turned");
            c.expect(inkIsRed(c, sign, QRect(x, y, 10, 10), QPoint(x, y + 20), what) == (band == 1), what + " colour");
            for (int other = 1; other < rank; ++other)
                c.expect(!sameArea(sign, QRect(x, y + 20, 10, 10), sign, QPoint(10 * (other - 1), y + 20)),
                         what + " looks like another rank");
        }
    c.expect(sameArea(sign, QRect(0, 20, 130, 20), sign, QPoint(0, 60)), "the two bands' glyphs differ");
    for (int k = 0; k < 4; ++k) {
        const std::string what = "goal " + std::to_string(k + 1);
        c.expect(maskedPair(c, goal, QRect(64 * k, 0, 64, 104), QPoint(64 * k, 104), what) < 64 * 104 / 2,
                 what + " hides the felt");
        for (int other = 0; other < k; ++other)
            c.expect(!sameArea(goal, QRect(64 * k, 104, 64, 104), goal, QPoint(64 * other, 104)), what + " repeats");
    }
}

void facesAndPortrait(Checker& c) {
    const QImage front = c.load("FRONT.BMP"), court = c.load("IMGCARD.BMP");
    const QImage tavi = c.load("Tavi.BMP"), strip = c.load("Taviani.BMP");
    if (front.isNull() || court.size() != QSize(120, 70) || tavi.isNull() || strip.isNull()) return;
    for (int d = 0; d < front.height() / 104; ++d) {
        int darkest = 255;
        for (int y = 4; y < 98; ++y)
            for (int x = 4; x < 60; ++x) darkest = std::min(darkest, brightness(rgb(front, x, 104 * d + y)));
        const std::string what = "front " + std::to_string(d);
        c.expect(darkest > 200, what + " would hide pips and signs");
        // The first columns double as the waste pile's edge: a border, then the face.
        c.expect(brightness(rgb(front, 0, 104 * d + 52)) < 200 && brightness(rgb(front, 2, 104 * d + 52)) > 200,
                 what + " has no edge");
    }
    for (int picture = 0; picture < 3; ++picture)
        for (const QPoint corner : {QPoint(2, 2), QPoint(23, 53)}) {
            int darkest = 255;
            for (int y = 0; y < 15; ++y)
                for (int x = 0; x < 15; ++x)
                    darkest = std::min(darkest, brightness(rgb(court, 40 * picture + corner.x() + x, corner.y() + y)));
            c.expect(darkest > 220, "court " + std::to_string(picture) + " is not light under its pip");
        }
    const int h = tavi.height() / 2, frames = strip.width() / 35;
    maskedPair(c, tavi, QRect(0, 0, tavi.width(), h), QPoint(0, h), "portrait");
    const QPoint boxes[3] = {QPoint(22, 37), QPoint(68, 36), QPoint(41, 86)};
    for (int b = 0; b < 3; ++b) {
        const QRect box(boxes[b], QSize(35, 33));
        const std::string what = "portrait box " + std::to_string(b);
        if (!QRect(0, 0, tavi.width(), h).contains(box)) {
            c.expect(false, what + " lies outside the portrait");
            continue;
        }
        bool opaque = true;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) opaque = opaque && rgb(tavi, x, h + y) == 0;
        c.expect(opaque, what + " is not opaque");
        c.expect(sameArea(strip, QRect(0, 33 * b, 35, 33), tavi, box.topLeft()), what + ": frame 0 is not the still");
        c.expect(!sameArea(strip, QRect(0, 33 * b, 35, 33), strip, QPoint(35 * (frames - 1), 33 * b)), what + " never moves");
    }
}

void icons(Checker& c) {
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString name = QString("icons/zorvo-%1.png").arg(size);
        const std::string what = name.toStdString();
        const QImage icon = QImage(c.path(name)).convertToFormat(QImage::Format_ARGB32);
        c.expect(c.bytes(name).startsWith("\x89PNG\r\n") && icon.size() == QSize(size, size), what + ": no square PNG");
        if (icon.size() != QSize(size, size)) continue;
        int clear = 0, solid = 0, partial = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const int a = qAlpha(icon.pixel(x, y));
                a == 0 ? ++clear : a == 255 ? ++solid : ++partial;
            }
        const int all = size * size;
        c.expect(clear > all / 20, what + " is a filled square");
        c.expect(solid > all * 2 / 5, what + ": too little of it is solid");
        c.expect(size > 32 || partial < all / 20, what + ": edges are blurred"); // a big picture scaled down
    }
}

void seamlessTiles(Checker& c) {
    for (const char* name : kBackgrounds) {
        const QImage t = c.load(name);
        if (t.isNull()) continue;
        // Mean colour difference across neighbouring columns (rows) a and b.
        auto step = [&](bool rows, int a, int b) {
            const int n = rows ? t.width() : t.height();
            double sum = 0;
            for (int k = 0; k < n; ++k) {
                const QRgb p = rows ? rgb(t, k, a) : rgb(t, a, k), q = rows ? rgb(t, k, b) : rgb(t, b, k);
                sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
            }
            return sum / n;
        };
        // The wrap-around pair must look like an ordinary one, not an outlier.
        for (const bool rows : {false, true}) {
            const int n = rows ? t.height() : t.width();
            double mean = 0, square = 0;
            for (int i = 0; i + 1 < n; ++i) {
                const double s = step(rows, i, i + 1);
                mean += s, square += s * s;
            }
            mean /= n - 1;
            const double spread = std::sqrt(std::max(0.0, square / (n - 1) - mean * mean));
            c.expect(step(rows, n - 1, 0) <= mean + 4 * spread + 0.5,
                     std::string(name) + (rows ? ": top and bottom" : ": left and right") + " do not join");
        }
    }
}

// Mono or stereo 16-bit PCM samples of a WAV file, all channels interleaved.
struct Wav {
    int channels = 0, rate = 0, bits = 0, format = 0;
    std::vector<int16_t> samples;
};
uint32_t le(const QByteArray& b, int at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | uint8_t(b[at + i]);
    return v;
}
Wav parseWav(const QByteArray& b) {
    Wav w;
    if (b.size() < 12 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE") return w;
    for (int at = 12; at + 8 <= b.size();) {
        const int size = int(le(b, at + 4, 4)), body = at + 8;
        if (size < 0 || body + size > b.size()) break;
        if (b.mid(at, 4) == "fmt ") {
            w.format = int(le(b, body, 2)), w.channels = int(le(b, body + 2, 2));
            w.rate = int(le(b, body + 4, 4)), w.bits = int(le(b, body + 14, 2));
        } else if (b.mid(at, 4) == "data" && w.bits == 16) {
            for (int i = 0; i + 2 <= size; i += 2) w.samples.push_back(int16_t(le(b, body + i, 2)));
        }
        at = body + size + (size & 1);
    }
    return w;
}

void sounds(Checker& c) {
    const struct {
        const char* name;
        double minSeconds, maxSeconds;
        bool oneShot;
    } expected[] = {{"Snd1.wav", 0.05, 0.2, true}, {"Snd2.wav", 0.05, 0.2, true}, {"Snd3.wav", 0.05, 0.2, true},
                    {"Win.wav", 1.0, 3.0, true},   {"Win2.wav", 2.0, 8.0, false}};
    const int limit = int(32768 * std::pow(10.0, -1.0 / 20)); // -1 dBFS
    for (const auto& e : expected) {
        const Wav w = parseWav(c.bytes(e.name));
        const std::string name = e.name;
        c.expect(w.format == 1 && w.bits == 16 && !w.samples.empty() && (w.channels == 1 || w.channels == 2) &&
                     (w.rate == 22050 || w.rate == 44100),
                 name + ": not 16-bit PCM at a common rate");
        if (w.samples.empty() || w.channels < 1 || w.rate < 1) continue;
        const double seconds = double(w.samples.size()) / (w.rate * w.channels);
        c.expect(seconds >= e.minSeconds && seconds <= e.maxSeconds, name + ": wrong length");
        int peak = 0;
        for (int16_t s : w.samples) peak = std::max(peak, std::abs(int(s)));
        c.expect(peak < limit, name + " peaks above -1 dBFS");
        c.expect(peak > limit / 10, name + " is nearly silent");
        // One-shots start and end at silence, or they click.
        c.expect(!e.oneShot || (std::abs(w.samples.front()) < 330 && std::abs(w.samples.back()) < 330),
                 name + " clicks");
        if (e.oneShot) continue;
        // The loop joins its start without a click, and carries no offset.
        double step = 0, mean = w.samples[0];
        for (size_t i = 1; i < w.samples.size(); ++i)
            step += std::abs(w.samples[i] - w.samples[i - 1]), mean += w.samples[i];
        step /= double(w.samples.size() - 1);
        mean /= double(w.samples.size());
        c.expect(w.channels == 1 && std::abs(w.samples.front() - w.samples.back()) <= 3 * step + 50,
                 name + ": the loop clicks where it joins");
        c.expect(std::abs(mean) < 328, name + ": DC offset");
    }
}

const char* const kFiles[] = {"FRONT.BMP", "BACK.BMP", "SORT.BMP", "SIGN.BMP", "IMGCARD.BMP", "GOAL.BMP",
                              "Tavi.BMP", "Taviani.BMP", "BG/BG1.BMP", "BG/BG2.BMP", "BG/BG3.BMP", "Snd1.wav",
                              "Snd2.wav", "Snd3.wav", "Win.wav", "Win2.wav"};

// The largest difference of one channel of one pixel, or -1 when size or format differ.
int worstDifference(const QImage& made, const QImage& kept) {
    if (made.isNull() || made.size() != kept.size()) return -1;
    const QImage a = made.convertToFormat(QImage::Format_ARGB32), b = kept.convertToFormat(QImage::Format_ARGB32);
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return worst;
}

// The largest difference of one sample, or -1 when length or format differ.
int worstDifference(const Wav& made, const Wav& kept) {
    if (made.samples.empty() || made.format != kept.format || made.channels != kept.channels ||
        made.rate != kept.rate || made.bits != kept.bits || made.samples.size() != kept.samples.size())
        return -1;
    int worst = 0;
    for (size_t i = 0; i < made.samples.size(); ++i)
        worst = std::max(worst, std::abs(made.samples[i] - kept.samples[i]));
    return worst;
}

} // namespace

int sameAsMade(const QString& made, const QString& kept) {
    // Antialiased edges, floating-point synthesis and the PNG encoder differ by a step or two
    // between CPUs and library builds; anything a player could see or hear differs by far more.
    constexpr int kMachineSlack = 2;
    Checker a(made), b(kept);
    std::vector<QString> names(std::begin(kFiles), std::end(kFiles));
    for (const int size : kIconSizes) names.push_back(QString("icons/zorvo-%1.png").arg(size));
    for (const QString& name : names) {
        const int worst = name.endsWith(".wav") ? worstDifference(parseWav(a.bytes(name)), parseWav(b.bytes(name)))
                                                : worstDifference(QImage(a.path(name)), QImage(b.path(name)));
        b.expect(worst >= 0 && worst <= kMachineSlack,
                 name.toStdString() + " differs from the generator's by " +
                     (worst < 0 ? "size or format" : std::to_string(worst)) + ": re-run assetgen");
    }
    return b.failures;
}

int checkFolder(const QString& folder) {
    Checker c(folder);
    qint64 total = 0;
    for (const char* name : kFiles) {
        c.expect(QFileInfo::exists(c.path(name)), std::string(name) + " is missing");
        total += QFileInfo(c.path(name)).size();
    }
    c.expect(total < 2 * 1024 * 1024, "the art outgrows its budget of 2 MB");
    cellSizes(c);
    pipsAndSigns(c);
    facesAndPortrait(c);
    icons(c);
    seamlessTiles(c);
    sounds(c);
    return c.failures;
}

} // namespace assetgen
