#include "FuzzTargets.h"
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#ifndef FUZZ_CORPUS_DIR
#define FUZZ_CORPUS_DIR "tests/fuzz/corpus"
#endif

namespace {
// Feeds every input the fuzzers kept through the same entry point, as a regression test.
int Replay(const char* target, void (*entry)(const uint8_t*, size_t)) {
    const QDir dir(QString(FUZZ_CORPUS_DIR) + "/" + target);
    int n = 0;
    for (const QString& name : dir.entryList(QDir::Files)) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QByteArray bytes = f.readAll();
        SCOPED_TRACE(name.toStdString());
        entry(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()));
        ++n;
    }
    return n;
}
} // namespace

TEST(FuzzCorpus, BitmapsLoadAndDrawWithoutFault) { EXPECT_GT(Replay("bitmap", FuzzBitmap), 0); }
TEST(FuzzCorpus, SoundsPlayWithoutFault) { EXPECT_GT(Replay("sound", FuzzSound), 0); }
TEST(FuzzCorpus, SettingsLoadWithinRange) { EXPECT_GT(Replay("settings", FuzzSettings), 0); }
