#include "TestHost.h"
#include "settings/QtSettingsStore.h"
#include "settings/Settings.h"
#include "play/Lifecycle.h"
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QFile>
#include <QLockFile>
#include <QSettings>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>

namespace {
struct SettingsTest : ::testing::Test {
    TestGame t;
    Game& g = t.g();
    Settings& s = g.settings;
    void SetUp() override { g.table.UserSection = "ann"; }
    void Store(const std::string& key, const std::string& value) { t.host.Set("ann", key, value); }
    std::optional<std::string> Stored(const std::string& key) { return t.host.Get("ann", key); }
};
} // namespace

TEST_F(SettingsTest, NewUserGetsTheDefaultsAndTheTimerAndMenuFollowTheStore) {
    s.DrawRule = 3;
    s.ShowTavi = false;
    LoadSettings(g);
    EXPECT_EQ(s.FrontDesign, 0);
    EXPECT_EQ(s.BackDesign, 0);
    EXPECT_EQ(s.Background, 0);
    EXPECT_EQ(s.DrawRule, 1);
    EXPECT_EQ(s.MoveSound, 0);
    EXPECT_EQ(s.GoalSound, 1);
    EXPECT_TRUE(s.ShowTavi);
    EXPECT_TRUE(s.PlaySounds);
    EXPECT_FALSE(s.DebugMode);
    EXPECT_EQ(s.LanguageCode, "EN");
    EXPECT_TRUE(t.host.TimerEnabled(TimerId::TaviBlink));
    EXPECT_FALSE(t.host.Get(MenuItem::TopDebug).visible);
    // Stored the other way, the portrait timer and the debug menu follow.
    Store("ShowTavi", "0");
    Store("Version", "Debug");
    LoadSettings(g);
    EXPECT_FALSE(t.host.TimerEnabled(TimerId::TaviBlink));
    EXPECT_TRUE(t.host.Get(MenuItem::TopDebug).visible);
}

// Each stored text and what it must load as; text that is not a fitting number falls back.
TEST_F(SettingsTest, EveryKeyConvertsAndChecksItsText) {
    struct Case {
        const char* key;
        std::string text;
        std::function<bool(const Settings&)> expect;
    };
    const Case cases[] = {
        {"Draw", "2", [](auto& x) { return x.DrawRule == 1; }},
        {"Draw", "3", [](auto& x) { return x.DrawRule == 3; }},
        {"Draw", "259", [](auto& x) { return x.DrawRule == 1; }}, // 259 would wrap to 3 in a byte
        {"Draw", "-3", [](auto& x) { return x.DrawRule == 1; }},
        {"Draw", " 3 ", [](auto& x) { return x.DrawRule == 3; }},
        {"PlaySounds", "-1", [](auto& x) { return !x.PlaySounds; }},
        {"PlaySounds", "0", [](auto& x) { return !x.PlaySounds; }},
        {"PlaySounds", "2", [](auto& x) { return !x.PlaySounds; }},
        {"PlaySounds", "yes", [](auto& x) { return x.PlaySounds; }},
        {"ShowTavi", "-1", [](auto& x) { return x.ShowTavi; }},
        {"ShowTavi", "0", [](auto& x) { return !x.ShowTavi; }},
        {"ShowTavi", "", [](auto& x) { return x.ShowTavi; }},
        {"Version", "release", [](auto& x) { return x.DebugMode; }},
        {"Version", "Release", [](auto& x) { return !x.DebugMode; }},
        {"Version", "", [](auto& x) { return x.DebugMode; }},
        {"Language", "de", [](auto& x) { return x.LanguageCode == "EN"; }},
        {"Language", "DE", [](auto& x) { return x.LanguageCode == "DE"; }},
        {"Language", "NO", [](auto& x) { return x.LanguageCode == "NO"; }},
        {"Front", "7", [](auto& x) { return x.FrontDesign == 7; }}, // checked later, by the counts
        {"Front", "-2", [](auto& x) { return x.FrontDesign == -2; }},
        {"Front", "40000", [](auto& x) { return x.FrontDesign == 0; }},
        {"Front", "1e3", [](auto& x) { return x.FrontDesign == 0; }},
        {"Deck", "99999999999999999999999", [](auto& x) { return x.BackDesign == 0; }},
        {"BG", "abc", [](auto& x) { return x.Background == 0; }},
        {"OrdinaryMove", "", [](auto& x) { return x.MoveSound == 0; }},
        {"GoalMove", "x1", [](auto& x) { return x.GoalSound == 1; }},
        {"GoalMove", std::string(100000, '7'), [](auto& x) { return x.GoalSound == 1; }},
    };
    for (const Case& c : cases) {
        t.host.store.clear();
        Store(c.key, c.text);
        LoadSettings(g);
        EXPECT_TRUE(c.expect(s)) << c.key << " = \"" << c.text.substr(0, 20) << "\"";
    }
}

TEST_F(SettingsTest, SaveWritesNineKeysAndNeverTheLanguage) {
    Store("Language", "de");
    LoadSettings(g);
    s.ShowTavi = true;
    s.PlaySounds = false;
    s.DebugMode = true;
    s.DrawRule = 3;
    s.GoalSound = 2;
    SaveSettings(g);
    EXPECT_EQ(Stored("Front"), "0");
    EXPECT_EQ(Stored("Draw"), "3");
    EXPECT_EQ(Stored("GoalMove"), "2");
    EXPECT_EQ(Stored("ShowTavi"), "1");
    EXPECT_EQ(Stored("PlaySounds"), "0");
    EXPECT_EQ(Stored("Version"), "Debug");
    EXPECT_EQ(Stored("Language"), "de"); // untouched
    EXPECT_EQ(t.host.store.size(), 10u);
    EXPECT_GE(t.host.flushes, 1);
}

TEST_F(SettingsTest, ValidateResetsChoicesOutsideWhatIsPresent) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("BG");
    for (const char* f : {"BG/BG1.BMP", "BG/BG2.BMP", "BG/BG4.BMP"}) {
        QFile file(dir.filePath(f));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    g.table.AppFolder = dir.path().toStdString() + "/";
    g.gfx.FrontDesignCount = 3;
    g.gfx.BackDesignCount = 0;
    g.gfx.SoundCount = 3;
    s = Settings{};
    s.FrontDesign = 2;
    s.BackDesign = 0;
    s.MoveSound = 3;
    s.GoalSound = -1;
    s.Background = 3; // BG4.BMP exists although BG3.BMP does not
    ValidateSettings(g);
    EXPECT_EQ(s.FrontDesign, 2);
    EXPECT_EQ(s.BackDesign, 0);
    EXPECT_EQ(s.MoveSound, 0);
    EXPECT_EQ(s.GoalSound, 0);
    EXPECT_EQ(s.Background, 3);
    s.Background = 2;
    s.FrontDesign = 3;
    ValidateSettings(g);
    EXPECT_EQ(s.Background, 0);
    EXPECT_EQ(s.FrontDesign, 0);
    s.Background = -1; // would name "BG0.BMP"
    ValidateSettings(g);
    EXPECT_EQ(s.Background, 0);
}

// The real store, in a private configuration folder.
struct RealStoreTest : ::testing::Test {
    QTemporaryDir home;
    void SetUp() override { qputenv("XDG_CONFIG_HOME", home.path().toUtf8()); }
};

TEST_F(RealStoreTest, AwkwardLoginNamesKeepSectionsOfTheirOwn) {
    const std::vector<std::string> names = {
        "ann", "ann lee", "a/b", "a\\b", "a=b", "a%2Fb", "100%", "$Default$", "a$b", "Åsa", "张伟",
        "a/b/c", "a\\b\\c", "general", "General", "GENERAL", std::string(255, 'x'), "[x]", "a;b", "#a"};
    {
        QtSettingsStore store(SettingsApplication);
        for (size_t i = 0; i < names.size(); ++i) store.Set(names[i], "Front", std::to_string(i));
        store.Flush();
    }
    QtSettingsStore store(SettingsApplication);
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(store.Get(names[i], "Front"), std::to_string(i)) << names[i];
}

namespace {
// Runs `play` in a child whose files may grow to `maxFileBytes` at most (0: no limit), as a
// nearly full disk would allow. False when the child failed or was still running after the
// hard limit that proves it does not hang.
bool InChild(rlim_t maxFileBytes, const std::function<bool()>& play) {
    const pid_t pid = fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN); // writes past the limit fail with EFBIG instead
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        if (maxFileBytes != 0) limit.rlim_cur = maxFileBytes;
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(3);
        _exit(play() ? 0 : 1);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return false;
        }
        usleep(10000);
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

QByteArray ReadBytes(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

// About 40 KB as people and other programs leave it: a comment, spaces Qt would not write,
// another program's group, fifteen hundred other users and, unless left out, ann's nine keys
// as a run writes them.
QByteArray SharedFile(int users = 1500, bool withAnn = true) {
    QByteArray b = "; kept by hand\n[Other Program]\nwindow = 10, 20\n";
    if (withAnn)
        b += "\n[ann]\nBG=0\nDeck=0\nDraw=1\nFront=0\nGoalMove=1\nOrdinaryMove=0\nPlaySounds=1\n"
             "ShowTavi=1\nVersion=Release\n";
    for (int i = 0; i < users; ++i)
        b += QByteArray("\n[user") + QByteArray::number(i) + "]\nFront=2\nDraw=3\n";
    return b;
}

void WriteFile(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

TEST_F(RealStoreTest, UnwritableFolderDoesNotStopThePlayer) {
    if (geteuid() == 0) {
        // root writes anywhere; a path through a regular file cannot be a folder for anyone
        QFile blocker(home.path() + "/file");
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        qputenv("XDG_CONFIG_HOME", (home.path() + "/file/config").toUtf8());
    } else {
        std::filesystem::permissions(home.path().toStdString(), std::filesystem::perms::owner_read |
                                                                    std::filesystem::perms::owner_exec);
    }
    // The save fails quietly: the program neither crashes nor hangs, and can end.
    EXPECT_TRUE(InChild(0, [] {
        TestGame t;
        QtSettingsStore store(SettingsApplication);
        t.g().host.store = &store;
        t.g().table.UserSection = "ann";
        LoadSettings(t.g());
        t.g().settings.DrawRule = 3;
        EndGame(t.g());
        return t.g().Ended && t.host.endCalls == 1 && t.host.shown.empty();
    }));
    std::filesystem::permissions(home.path().toStdString(), std::filesystem::perms::owner_all);
}


// However the save goes, the file afterwards is the old one byte for byte or the whole new
// one with everyone else's groups; the program always gets to end.
TEST_F(RealStoreTest, ASaveIsWholeOrLeavesTheFileAlone) {
    enum class After { Unchanged, Saved };
    struct Case {
        const char* name;
        rlim_t maxFileBytes;
        bool changeDraw;
        std::function<void(const QString& file)> prepare;
        After after;
    };
    const auto none = [](const QString&) {};
    std::unique_ptr<QLockFile> held;
    const Case cases[] = {
        {"a choice changed", 0, true, none, After::Saved},
        {"nothing changed", 0, false, none, After::Unchanged},
        {"4 KB left", 4096, true, none, After::Unchanged},
        {"36 KB left, writes stop at 32 KB", 32768, true, none, After::Unchanged},
        {"room for the old file, not for ann's new group",
         static_cast<rlim_t>(SharedFile(1500, false).size() + 8), true,
         [](const QString& f) { WriteFile(f, SharedFile(1500, false)); }, After::Unchanged},
        {"lock is a folder", 0, true, [](const QString& f) { QDir().mkpath(f + ".lock"); },
         After::Unchanged},
        {"lock held by a live process", 0, true,
         [&held](const QString& f) {
             held = std::make_unique<QLockFile>(f + ".lock"); // this process lives on
             held->lock();
         },
         After::Unchanged},
        {"lock left by another host", 0, true,
         [](const QString& f) {
             QFile lock(f + ".lock");
             lock.open(QIODevice::WriteOnly);
             lock.write("4242\nzorvo\nsome-other-host\n");
         },
         After::Unchanged},
        {"a file too large to be ours", 0, true,
         [](const QString& f) { WriteFile(f, SharedFile(40000)); },
         After::Unchanged},
    };
    for (const Case& c : cases) {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        const QString file = config.path() + "/Varnel.conf";
        WriteFile(file, SharedFile());
        c.prepare(file);
        const QByteArray before = ReadBytes(file);
        const bool ended = InChild(c.maxFileBytes, [&] {
            TestGame t;
            QtSettingsStore store(SettingsApplication);
            t.g().host.store = &store;
            t.g().table.UserSection = "ann";
            LoadSettings(t.g());
            if (c.changeDraw) t.g().settings.DrawRule = 3;
            SaveSettings(t.g());
            return true;
        });
        held.reset();
        EXPECT_TRUE(ended) << c.name;
        if (c.after == After::Unchanged) {
            EXPECT_TRUE(ReadBytes(file) == before) << c.name;
            continue;
        }
        QSettings saved(file, QSettings::IniFormat);
        EXPECT_EQ(saved.value("ann/Draw").toString(), "3") << c.name;
        EXPECT_EQ(saved.value("user1499/Front").toString(), "2") << c.name;
        EXPECT_EQ(saved.value("Other Program/window").toStringList(), QStringList({"10", "20"}));
    }
}
