#include "TestHost.h"
#include "settings/UiTexts.h"
#include "sound/Sound.h"
#include "play/Loading.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct SoundTest : ::testing::Test {
    QTemporaryDir dir;
    TestGame t;
    Game& g = t.g();
    void SetUp() override {
        SetDefaultTexts(g);
        g.table.AppFolder = dir.path().toStdString() + "/";
        g.table.UserSection = "ann";
    }
    void Write(const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};
} // namespace

TEST_F(SoundTest, LoadsWholeFilesIncludingEmptyAndNonAudioOnes) {
    Write("Snd1.wav", QByteArray("RIFF\x04\0\0\0WAVE", 12));
    Write("Snd2.wav", QByteArray());
    g.settings.MoveSound = 0;
    g.settings.GoalSound = 1;
    LoadMoveSounds(g);
    EXPECT_EQ(g.sounds.MoveSoundData.size(), 12u);
    EXPECT_TRUE(g.sounds.GoalSoundData.empty());
    EXPECT_FALSE(g.Ended);
    EXPECT_TRUE(t.host.shown.empty());
}

TEST_F(SoundTest, MissingFileShowsThePathSavesAndEnds) {
    g.settings.DrawRule = 3;
    std::vector<uint8_t> image{1, 2, 3};
    LoadSoundFile(g, g.table.AppFolder + "Win.wav", image);
    ASSERT_EQ(t.host.shown.size(), 1u);
    EXPECT_EQ(t.host.shown[0].text, "不能打开文件 " + g.table.AppFolder + "Win.wav");
    EXPECT_EQ(t.host.shown[0].style, MsgStyle::Ok);
    EXPECT_TRUE(g.Ended);
    EXPECT_EQ(t.host.endCalls, 1);
    EXPECT_EQ(t.host.Get("ann", "Draw"), "3");
}

TEST_F(SoundTest, MoveSoundsPlayOnlyWhenSwitchedOn) {
    const std::vector<uint8_t> image{9, 9};
    PlayMoveSound(g, image);
    ASSERT_EQ(t.host.played.size(), 1u);
    EXPECT_EQ(t.host.played[0].how, "async");
    EXPECT_EQ(t.host.played[0].data, image);
    g.settings.PlaySounds = false;
    PlayMoveSound(g, image);
    EXPECT_EQ(t.host.played.size(), 1u);
}
