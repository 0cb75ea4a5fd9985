#include "FuzzTargets.h"
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#ifndef FUZZ_CORPUS_DIR
#define FUZZ_CORPUS_DIR "tests/fuzz/corpus"
#endif

// Every input the fuzzers kept goes through the same entry point and its checks again.
TEST(FuzzCorpus, EveryKeptInputPassesItsTargetsChecks) {
    const struct {
        const char* target;
        std::string (*entry)(const uint8_t*, size_t);
    } targets[] = {{"bitmap", FuzzBitmap}, {"sound", FuzzSound}, {"settings", FuzzSettings}};
    for (const auto& [target, entry] : targets) {
        const QDir dir(QString(FUZZ_CORPUS_DIR) + "/" + target);
        const QStringList names = dir.entryList(QDir::Files);
        EXPECT_FALSE(names.isEmpty()) << target;
        for (const QString& name : names) {
            QFile f(dir.filePath(name));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
            const QByteArray b = f.readAll();
            EXPECT_EQ(entry(reinterpret_cast<const uint8_t*>(b.constData()), static_cast<size_t>(b.size())), "")
                << target << "/" << name.toStdString();
        }
    }
}
