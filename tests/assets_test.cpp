// The art in data/: it passes the generator's own check, and the generator still makes it.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#ifndef GAME_DATA_DIR
#define GAME_DATA_DIR "data"
#endif

namespace {
const char* const kAllFiles[] = {"FRONT.BMP", "BACK.BMP", "SORT.BMP", "SIGN.BMP", "IMGCARD.BMP", "GOAL.BMP",
                                 "Tavi.BMP", "Taviani.BMP", "BG/BG1.BMP", "BG/BG2.BMP", "BG/BG3.BMP", "Snd1.wav",
                                 "Snd2.wav", "Snd3.wav", "Win.wav", "Win2.wav", "icons/zorvo-16.png",
                                 "icons/zorvo-32.png", "icons/zorvo-48.png", "icons/zorvo-64.png",
                                 "icons/zorvo-128.png", "icons/zorvo-256.png"};

QString dataPath(const QString& name) { return QString(GAME_DATA_DIR) + "/" + name; }

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs the generator with the given arguments: "" when it succeeded, else why not.
[[maybe_unused]] std::string Generate(const QStringList& args) {
#ifdef ASSETGEN_EXE
    QProcess gen;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    gen.setProcessEnvironment(env);
    gen.start(ASSETGEN_EXE, args);
    if (!gen.waitForFinished(-1) || gen.exitStatus() != QProcess::NormalExit) return "assetgen did not run";
    return gen.exitCode() == 0 ? "" : "failed: " + gen.readAllStandardError().toStdString();
#else
    (void)args;
    return "";
#endif
}

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

TEST(AssetFiles, DataPassesTheGeneratorsOwnCheck) {
#ifndef ASSETGEN_EXE
    GTEST_SKIP() << "assetgen is not part of this build";
#else
    EXPECT_EQ(Generate({"--check", GAME_DATA_DIR}), "");
#endif
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
    ASSERT_EQ(Generate({out.path()}), "");
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
