// Writes every picture and sound the game loads, after checking them against the layout the
// game cuts them by: art that breaks it is never written. The output is deterministic, so the
// generated files can be committed and re-checked.
//   assetgen <output-folder>     generate, check, then write
//   assetgen --check <folder>    check art already there, and that it is what we make
#include "assets.h"
#include "check.h"
#include "fileio.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <string>

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

// Copies every file of the checked folder into the destination.
bool copyInto(const QDir& from, const QDir& to) {
    QDirIterator it(from.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next(), rel = from.relativeFilePath(source), target = to.filePath(rel);
        if (!to.mkpath(QFileInfo(rel).path())) return false;
        QFile::remove(target);
        if (!QFile::copy(source, target)) return false;
    }
    return true;
}

// Makes all the art in a scratch folder; false when that fails.
bool makeAll(const QDir& made) {
    return made.mkpath("BG") && made.mkpath("icons") && writeImages(made) && writeSounds(made) && writeIcons(made);
}

int main(int argc, char** argv) {
    const bool check = argc == 3 && std::string(argv[1]) == "--check";
    if (argc != 2 && !check) {
        std::fprintf(stderr, "usage: assetgen <output-folder> | assetgen --check <folder>\n");
        return 2;
    }
    QTemporaryDir scratch;
    QDir made(scratch.path());
    if (!scratch.isValid() || !makeAll(made)) {
        std::fprintf(stderr, "assetgen: cannot make the art in a scratch folder\n");
        return 1;
    }
    if (check) {
        const QString kept = QString::fromLocal8Bit(argv[2]);
        return checkFolder(kept) == 0 && sameAsMade(made.path(), kept) == 0 ? 0 : 1;
    }
    if (checkFolder(made.path()) != 0) {
        std::fprintf(stderr, "assetgen: the art breaks its layout; nothing was written\n");
        return 1;
    }
    if (!copyInto(made, QDir(QString::fromLocal8Bit(argv[1])))) {
        std::fprintf(stderr, "assetgen: failed writing into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
