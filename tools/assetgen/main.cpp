// Writes every picture and sound the game loads. The output is deterministic, so
// the generated files can be committed and re-checked byte for byte.
#include "assets.h"
#include "fileio.h"

#include <QDir>
#include <cstdio>
#include <functional>

using namespace assetgen;

namespace {

bool writeImages(const QDir& out) {
    const std::vector<std::pair<const char*, std::function<QImage()>>> images = {
        {"FRONT.BMP", makeFronts},
        {"BACK.BMP", makeBacks},
        {"SORT.BMP", makeSuitPips},
        {"SIGN.BMP", makeRankSigns},
        {"GOAL.BMP", makeGoals},
        {"IMGCARD.BMP", makeCourts},
        {"BG/BG1.BMP", [] { return makeBackground(0); }},
        {"BG/BG2.BMP", [] { return makeBackground(1); }},
        {"BG/BG3.BMP", [] { return makeBackground(2); }},
    };
    for (const auto& [name, make] : images)
        if (!writeBmp(out.filePath(name), make())) return false;
    const Portrait portrait = makePortrait();
    return writeBmp(out.filePath("Tavi.BMP"), portrait.still) &&
           writeBmp(out.filePath("Taviani.BMP"), portrait.strip);
}

bool writeSounds(const QDir& out) {
    for (int i = 0; i < 3; ++i)
        if (!writeWav(out.filePath(QString("Snd%1.wav").arg(i + 1)), makeCardSound(i), kSampleRate))
            return false;
    return writeWav(out.filePath("Win.wav"), makeWinTune(), kSampleRate) &&
           writeWav(out.filePath("Win2.wav"), makeWinLoop(), kSampleRate);
}

bool writeIcons(const QDir& out) {
    for (const int size : kIconSizes)
        if (!makeIcon(size).save(out.filePath(QString("icons/zorvo-%1.png").arg(size)), "PNG"))
            return false;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetgen <output-folder>\n");
        return 2;
    }
    QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath("BG") || !out.mkpath("icons")) {
        std::fprintf(stderr, "assetgen: cannot create %s\n", argv[1]);
        return 1;
    }
    if (!writeImages(out) || !writeSounds(out) || !writeIcons(out)) {
        std::fprintf(stderr, "assetgen: failed writing into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
