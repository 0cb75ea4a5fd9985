// Checks the generated pictures and sounds in data/: the cell layouts the game cuts them by,
// clean masks, a seamless table, well-formed sounds, and that the generator reproduces them.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#ifndef GAME_DATA_DIR
#define GAME_DATA_DIR "data"
#endif

namespace {

const char* const kBackgrounds[] = {"BG/BG1.BMP", "BG/BG2.BMP", "BG/BG3.BMP"};
const char* const kAllFiles[] = {"FRONT.BMP",          "BACK.BMP",           "SORT.BMP",
                                 "SIGN.BMP",           "IMGCARD.BMP",        "GOAL.BMP",
                                 "Tavi.BMP",           "Taviani.BMP",        "BG/BG1.BMP",
                                 "BG/BG2.BMP",         "BG/BG3.BMP",         "Snd1.wav",
                                 "Snd2.wav",           "Snd3.wav",           "Win.wav",
                                 "Win2.wav",           "icons/zorvo-16.png", "icons/zorvo-32.png",
                                 "icons/zorvo-48.png", "icons/zorvo-64.png", "icons/zorvo-128.png",
                                 "icons/zorvo-256.png"};

QString dataPath(const QString& name) {
    return QString(GAME_DATA_DIR) + "/" + name;
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QImage load(const QString& name) {
    const QImage img(dataPath(name));
    return img.isNull() ? img : img.convertToFormat(QImage::Format_RGB32);
}

QRgb rgb(const QImage& img, int x, int y) {
    return img.pixel(x, y) & 0xffffffu;
}
int brightness(QRgb c) {
    return (qRed(c) + qGreen(c) + qBlue(c)) / 3;
}

// Verifies one AND/XOR pair; returns how many pixels it makes opaque.
int checkMaskedPair(const QImage& sheet, QRect image, QPoint maskAt, const std::string& what) {
    int opaque = 0, grey = 0, leaks = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb m = rgb(sheet, maskAt.x() + x, maskAt.y() + y);
            if (m == 0)
                ++opaque;
            else if (m != 0xffffffu)
                ++grey;
            else if (rgb(sheet, image.x() + x, image.y() + y) != 0)
                ++leaks;
        }
    EXPECT_EQ(grey, 0) << what << ": mask has pixels that are neither black nor white";
    EXPECT_EQ(leaks, 0) << what << ": image is not black where the mask is clear";
    EXPECT_GT(opaque, 0) << what << ": nothing is drawn";
    return opaque;
}

// Whether area ra of a equals the same-sized area of b at pb, or that area turned by 180 degrees.
bool sameArea(const QImage& a, QRect ra, const QImage& b, QPoint pb, bool turned = false) {
    for (int y = 0; y < ra.height(); ++y)
        for (int x = 0; x < ra.width(); ++x) {
            const int bx = turned ? ra.width() - 1 - x : x, by = turned ? ra.height() - 1 - y : y;
            if (rgb(a, ra.x() + x, ra.y() + y) != rgb(b, pb.x() + bx, pb.y() + by)) return false;
        }
    return true;
}

// Whether the opaque pixels of a masked cell are, on average, red (or else dark).
bool inkIsRed(const QImage& sheet, QRect image, QPoint maskAt) {
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (rgb(sheet, maskAt.x() + x, maskAt.y() + y) == 0) {
                const QRgb c = rgb(sheet, image.x() + x, image.y() + y);
                r += qRed(c), g += qGreen(c), b += qBlue(c), ++n;
            }
    EXPECT_GT(n, 0);
    r /= std::max(n, 1L), g /= std::max(n, 1L), b /= std::max(n, 1L);
    const bool red = r > g + 80 && r > b + 80, dark = r < 90 && g < 90 && b < 90;
    EXPECT_TRUE(red || dark) << "ink " << r << "," << g << "," << b;
    return red;
}

} // namespace

TEST(AssetFiles, AllPresentWithinBudgetAndUncompressed24BitBmps) {
    qint64 total = 0;
    for (const char* name : kAllFiles) {
        ASSERT_TRUE(QFileInfo::exists(dataPath(name))) << name;
        total += QFileInfo(dataPath(name)).size();
        if (!QString(name).endsWith(".BMP")) continue;
        const QByteArray b = readBytes(dataPath(name));
        ASSERT_GT(b.size(), 54) << name;
        EXPECT_TRUE(b.startsWith("BM")) << name;
        EXPECT_EQ(uint8_t(b[28]), 24) << name << ": not 24 bits per pixel";
        EXPECT_EQ(uint8_t(b[30]), 0) << name << ": compressed";
    }
    EXPECT_LT(total, 2 * 1024 * 1024);
}

TEST(AssetLayout, PicturesHaveTheirCellSizes) {
    const QImage front = load("FRONT.BMP"), back = load("BACK.BMP");
    EXPECT_GE(front.width(), 64);
    EXPECT_TRUE(front.height() % 104 == 0 && front.height() / 104 >= 3);
    EXPECT_EQ(back.width(), 128);
    EXPECT_TRUE(back.height() % 104 == 0 && back.height() / 104 >= 4);
    EXPECT_EQ(load("SORT.BMP").size(), QSize(60, 60));
    EXPECT_EQ(load("SIGN.BMP").size(), QSize(130, 80));
    EXPECT_EQ(load("IMGCARD.BMP").size(), QSize(120, 70));
    EXPECT_EQ(load("GOAL.BMP").size(), QSize(256, 208));
    const QImage tavi = load("Tavi.BMP"), strip = load("Taviani.BMP");
    ASSERT_FALSE(tavi.isNull());
    EXPECT_EQ(tavi.height() % 2, 0);
    EXPECT_LE(tavi.width(), 125) << "portrait would overlap goal pile 1";
    EXPECT_LE(tavi.height() / 2, 140) << "portrait would reach the tableau";
    EXPECT_EQ(strip.height(), 99);
    EXPECT_TRUE(strip.width() % 35 == 0 && strip.width() / 35 >= 4);
    for (const char* bg : kBackgrounds) {
        const QSize s = load(bg).size();
        EXPECT_TRUE(s.width() >= 32 && s.width() <= 640 && s.height() >= 32 && s.height() <= 480)
            << bg;
    }
}

TEST(AssetLayout, SuitPipsAreCleanTurnedAndColouredBySuit) {
    const QImage sort = load("SORT.BMP");
    ASSERT_EQ(sort.size(), QSize(60, 60));
    for (int suit = 0; suit < 4; ++suit) {
        const int x = 15 * suit;
        const std::string what = "pip " + std::to_string(suit);
        EXPECT_GT(checkMaskedPair(sort, QRect(x, 0, 15, 15), QPoint(x, 30), what), 50)
            << "a pip this small will not read";
        checkMaskedPair(sort, QRect(x, 15, 15, 15), QPoint(x, 45), what + " inverted");
        EXPECT_TRUE(sameArea(sort, QRect(x, 0, 15, 15), sort, QPoint(x, 15), true)) << what;
        EXPECT_TRUE(sameArea(sort, QRect(x, 30, 15, 15), sort, QPoint(x, 45), true)) << what;
        EXPECT_EQ(inkIsRed(sort, QRect(x, 0, 15, 15), QPoint(x, 30)), suit >= 2) << what;
        for (int other = 0; other < suit; ++other)
            EXPECT_FALSE(sameArea(sort, QRect(x, 30, 15, 15), sort, QPoint(15 * other, 30)))
                << "suits " << other << " and " << suit << " have the same shape";
    }
}

TEST(AssetLayout, RankSignsAreCleanDistinctAndColouredByBand) {
    const QImage sign = load("SIGN.BMP");
    ASSERT_EQ(sign.size(), QSize(130, 80));
    for (int band = 0; band < 2; ++band) {
        const int y = 40 * band;
        for (int rank = 1; rank <= 13; ++rank) {
            const int x = 10 * (rank - 1);
            const std::string what = "sign " + std::to_string(rank) + "/" + std::to_string(band);
            checkMaskedPair(sign, QRect(x, y, 10, 10), QPoint(x, y + 20), what);
            checkMaskedPair(sign, QRect(x, y + 10, 10, 10), QPoint(x, y + 30), what + " inverted");
            EXPECT_TRUE(sameArea(sign, QRect(x, y + 20, 10, 10), sign, QPoint(x, y + 30), true))
                << what;
            EXPECT_EQ(inkIsRed(sign, QRect(x, y, 10, 10), QPoint(x, y + 20)), band == 1) << what;
            for (int other = 1; other < rank; ++other)
                EXPECT_FALSE(sameArea(sign, QRect(x, y + 20, 10, 10), sign,
                                      QPoint(10 * (other - 1), y + 20)))
                    << what << " looks like rank " << other;
        }
    }
    EXPECT_TRUE(sameArea(sign, QRect(0, 20, 130, 20), sign, QPoint(0, 60))) << "bands' glyphs";
}

TEST(AssetLayout, GoalPlaceholdersAreMaskedAndShowTheirSuit) {
    const QImage goal = load("GOAL.BMP");
    ASSERT_EQ(goal.size(), QSize(256, 208));
    for (int k = 0; k < 4; ++k) {
        const int opaque = checkMaskedPair(goal, QRect(64 * k, 0, 64, 104), QPoint(64 * k, 104),
                                           "goal " + std::to_string(k + 1));
        EXPECT_LT(opaque, 64 * 104 / 2) << "the felt should show through most of it";
        for (int other = 0; other < k; ++other)
            EXPECT_FALSE(
                sameArea(goal, QRect(64 * k, 104, 64, 104), goal, QPoint(64 * other, 104)));
    }
}

TEST(AssetLayout, CardFacesKeepTheirContentAreasPlain) {
    const QImage front = load("FRONT.BMP"), court = load("IMGCARD.BMP");
    ASSERT_FALSE(front.isNull() || court.isNull());
    for (int d = 0; d < front.height() / 104; ++d) {
        int darkest = 255;
        for (int y = 4; y < 98; ++y)
            for (int x = 4; x < 60; ++x)
                darkest = std::min(darkest, brightness(rgb(front, x, 104 * d + y)));
        EXPECT_GT(darkest, 200) << "front " << d << " would hide pips and signs";
        // The first columns double as the waste pile's edge: a border, then the face.
        EXPECT_LT(brightness(rgb(front, 0, 104 * d + 52)), 200) << "front " << d;
        EXPECT_GT(brightness(rgb(front, 2, 104 * d + 52)), 200) << "front " << d;
    }
    // Pips are laid over the court pictures' corners.
    for (int picture = 0; picture < 3; ++picture)
        for (const QPoint corner : {QPoint(2, 2), QPoint(23, 53)})
            for (int y = 0; y < 15; ++y)
                for (int x = 0; x < 15; ++x)
                    ASSERT_GT(brightness(rgb(court, 40 * picture + corner.x() + x, corner.y() + y)),
                              220)
                        << "court " << picture << " is not light under its pip";
}

TEST(Portrait, StillFitsAndFirstFrameMatchesIt) {
    const QImage tavi = load("Tavi.BMP"), strip = load("Taviani.BMP");
    ASSERT_FALSE(tavi.isNull() || strip.isNull());
    const int h = tavi.height() / 2, frames = strip.width() / 35;
    checkMaskedPair(tavi, QRect(0, 0, tavi.width(), h), QPoint(0, h), "portrait");
    const QPoint boxes[3] = {QPoint(22, 37), QPoint(68, 36), QPoint(41, 86)};
    for (int b = 0; b < 3; ++b) {
        const QRect box(boxes[b], QSize(35, 33));
        ASSERT_TRUE(QRect(0, 0, tavi.width(), h).contains(box));
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                ASSERT_EQ(rgb(tavi, x, h + y), 0u)
                    << "box " << b << " not opaque at " << x << "," << y;
        EXPECT_TRUE(sameArea(strip, QRect(0, 33 * b, 35, 33), tavi, box.topLeft()))
            << "frame 0 differs from the still portrait in box " << b;
        EXPECT_FALSE(
            sameArea(strip, QRect(0, 33 * b, 35, 33), strip, QPoint(35 * (frames - 1), 33 * b)))
            << "box " << b << " never moves";
    }
}

TEST(Icon, SquareTransparentPngsAtEachSizeWithSharpSmallOnes) {
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString name = QString("icons/zorvo-%1.png").arg(size);
        const std::string what = name.toStdString();
        EXPECT_TRUE(readBytes(dataPath(name)).startsWith("\x89PNG\r\n")) << what;
        const QImage icon = QImage(dataPath(name)).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(icon.size(), QSize(size, size)) << what;
        int clear = 0, solid = 0, partial = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const int a = qAlpha(icon.pixel(x, y));
                a == 0 ? ++clear : a == 255 ? ++solid : ++partial;
            }
        const int all = size * size;
        EXPECT_GT(clear, all / 20) << what << ": the icon should not be a filled square";
        EXPECT_GT(solid, all * 2 / 5) << what << ": too little of the icon is solid";
        // A big picture scaled down leaves a soft rim all round the outline.
        EXPECT_TRUE(size > 32 || partial < all / 20) << what << ": edges are blurred";
    }
}

TEST(Backgrounds, TilesJoinSeamlessly) {
    for (const char* name : kBackgrounds) {
        const QImage t = load(name);
        ASSERT_FALSE(t.isNull()) << name;
        // Mean colour difference across neighbouring columns (rows) a and b.
        auto lineStep = [&](bool rows, int a, int b) {
            const int n = rows ? t.width() : t.height();
            double sum = 0;
            for (int k = 0; k < n; ++k) {
                const QRgb p = rows ? rgb(t, k, a) : rgb(t, a, k),
                           q = rows ? rgb(t, k, b) : rgb(t, b, k);
                sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                       std::abs(qBlue(p) - qBlue(q));
            }
            return sum / n;
        };
        // The wrap-around pair must look like an ordinary one, not an outlier.
        for (const bool rows : {false, true}) {
            const int n = rows ? t.height() : t.width();
            double mean = 0, square = 0;
            for (int i = 0; i + 1 < n; ++i) {
                const double s = lineStep(rows, i, i + 1);
                mean += s, square += s * s;
            }
            mean /= n - 1;
            const double spread = std::sqrt(std::max(0.0, square / (n - 1) - mean * mean));
            EXPECT_LE(lineStep(rows, n - 1, 0), mean + 4 * spread + 0.5)
                << name << (rows ? ": top and bottom" : ": left and right") << " do not join";
        }
    }
}

namespace {

struct Wav {
    int channels = 0, rate = 0, bits = 0, format = 0;
    std::vector<int16_t> samples; // all channels, interleaved
};

uint32_t le(const QByteArray& b, int at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | uint8_t(b[at + i]);
    return v;
}

Wav parseWav(const QString& path) {
    const QByteArray b = readBytes(path);
    Wav w;
    if (b.size() < 12 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE") return w;
    for (int at = 12; at + 8 <= b.size();) {
        const int size = int(le(b, at + 4, 4)), body = at + 8;
        if (body + size > b.size()) break;
        if (b.mid(at, 4) == "fmt ") {
            w.format = int(le(b, body, 2));
            w.channels = int(le(b, body + 2, 2));
            w.rate = int(le(b, body + 4, 4));
            w.bits = int(le(b, body + 14, 2));
        } else if (b.mid(at, 4) == "data" && w.channels > 0 && w.bits == 16) {
            for (int i = 0; i + 2 <= size; i += 2)
                w.samples.push_back(int16_t(le(b, body + i, 2)));
        }
        at = body + size + (size & 1);
    }
    return w;
}

} // namespace

TEST(Sounds, AreShortCleanSixteenBitPcm) {
    struct Expect {
        const char* name;
        double minSeconds, maxSeconds;
        bool oneShot;
    } sounds[] = {{"Snd1.wav", 0.05, 0.2, true},
                  {"Snd2.wav", 0.05, 0.2, true},
                  {"Snd3.wav", 0.05, 0.2, true},
                  {"Win.wav", 1.0, 3.0, true},
                  {"Win2.wav", 2.0, 8.0, false}};
    const int limit = int(32768 * std::pow(10.0, -1.0 / 20)); // -1 dBFS
    for (const Expect& e : sounds) {
        const Wav w = parseWav(dataPath(e.name));
        ASSERT_EQ(w.format, 1) << e.name << ": not PCM";
        ASSERT_EQ(w.bits, 16) << e.name;
        ASSERT_FALSE(w.samples.empty()) << e.name;
        EXPECT_TRUE(w.channels == 1 || w.channels == 2) << e.name;
        EXPECT_TRUE(w.rate == 22050 || w.rate == 44100) << e.name;
        const double seconds = double(w.samples.size()) / (w.rate * w.channels);
        EXPECT_TRUE(seconds >= e.minSeconds && seconds <= e.maxSeconds) << e.name << seconds;
        int peak = 0;
        for (int16_t s : w.samples)
            peak = std::max(peak, std::abs(int(s)));
        EXPECT_LT(peak, limit) << e.name << " peaks above -1 dBFS";
        EXPECT_GT(peak, limit / 10) << e.name << " is nearly silent";
        // One-shots start and end at silence, or they click.
        EXPECT_TRUE(!e.oneShot ||
                    (std::abs(w.samples.front()) < 330 && std::abs(w.samples.back()) < 330))
            << e.name;
    }
}

TEST(Sounds, WinLoopJoinsItsStartWithoutAClick) {
    const Wav w = parseWav(dataPath("Win2.wav"));
    ASSERT_EQ(w.channels, 1) << "the join is measured on one channel";
    ASSERT_GT(w.samples.size(), 1000u);
    double step = 0, mean = w.samples[0];
    for (size_t i = 1; i < w.samples.size(); ++i)
        step += std::abs(w.samples[i] - w.samples[i - 1]), mean += w.samples[i];
    step /= double(w.samples.size() - 1);
    mean /= double(w.samples.size());
    EXPECT_LE(std::abs(w.samples.front() - w.samples.back()), 3 * step + 50);
    EXPECT_LT(std::abs(mean), 328) << "DC offset";
}

// How far apart two pictures or sounds are: the largest difference of one channel or sample,
// or -1 when their sizes or formats differ.
int worstDifference(const QImage& a, const QImage& b) {
    if (a.isNull() || a.size() != b.size()) return -1;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32),
                 y = b.convertToFormat(QImage::Format_ARGB32);
    int worst = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return worst;
}

int worstDifference(const Wav& a, const Wav& b) {
    if (a.samples.empty() || a.format != b.format || a.channels != b.channels ||
        a.rate != b.rate || a.bits != b.bits || a.samples.size() != b.samples.size())
        return -1;
    int worst = 0;
    for (size_t i = 0; i < a.samples.size(); ++i)
        worst = std::max(worst, std::abs(a.samples[i] - b.samples[i]));
    return worst;
}

// Antialiased edges, floating-point synthesis and the PNG encoder differ by a step or two
// between CPUs and library builds; anything a player could see or hear differs by far more.
constexpr int kMachineSlack = 2;

TEST(AssetFiles, GeneratorReproducesCommittedData) {
#ifndef ASSETGEN_EXE
    GTEST_SKIP() << "assetgen is not part of this build";
#else
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    QProcess gen;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    gen.setProcessEnvironment(env);
    gen.start(ASSETGEN_EXE, {out.path()});
    ASSERT_TRUE(gen.waitForFinished(-1)) << "assetgen did not run";
    ASSERT_EQ(gen.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(gen.exitCode(), 0) << gen.readAllStandardError().toStdString();
    for (const char* name : kAllFiles) {
        const QString made = out.filePath(name), kept = dataPath(name);
        const int worst = QString(name).endsWith(".wav")
                              ? worstDifference(parseWav(made), parseWav(kept))
                              : worstDifference(QImage(made), QImage(kept));
        EXPECT_TRUE(worst >= 0 && worst <= kMachineSlack)
            << name << " differs from data/ by " << worst << " (-1: in size or format)"
            << ": re-run assetgen";
    }
#endif
}
