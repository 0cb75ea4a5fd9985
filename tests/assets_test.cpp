// The art in data/ keeps the generator's layout and is what the generator makes.
#include <QProcess>
#include <gtest/gtest.h>
#ifdef ASSETGEN_EXE
TEST(AssetFiles, DataPassesTheGeneratorsCheck) {
    QProcess gen;
    gen.start(ASSETGEN_EXE, {"--check", GAME_DATA_DIR});
    ASSERT_TRUE(gen.waitForFinished(-1) && gen.exitStatus() == QProcess::NormalExit);
    EXPECT_EQ(gen.exitCode(), 0) << gen.readAllStandardError().toStdString();
}
#endif
