// What the game reads and writes: settings, the settings file, every data file, fuzzed inputs.
#include "FuzzTargets.h"
#include "TestHost.h"
#include "play/Lifecycle.h"
#include "settings/QtSettingsStore.h"
#include "settings/Settings.h"
#include <QDir>
#include <QLockFile>
#include <QSettings>
#include <QTemporaryDir>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>

namespace {
namespace fs = std::filesystem;
const Settings Changed{5, 6, 7, 3, 8, 9, false, false, true, "NO"}; // not one default

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
std::string ReadFile(const std::string& path) {
    return {std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {}};
}
// True if `play`, run in a child (as nobody if asked) whose files may grow to `maxBytes` (0: any
// size) as on a nearly full disk, returned true and failed no check.
bool InChild(const std::function<bool()>& play, unsigned long maxBytes = 0, bool nobody = false) {
    if (const pid_t pid = fork(); pid != 0) {
        int status = 0;
        return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    std::signal(SIGXFSZ, SIG_IGN); // writes past the limit fail with EFBIG instead
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = maxBytes != 0 ? maxBytes : limit.rlim_cur;
    if (setrlimit(RLIMIT_FSIZE, &limit) || (nobody && (setgid(65534) || setuid(65534)))) _exit(3);
    _exit(play() && !::testing::Test::HasFailure() ? 0 : 1);
}
} // namespace

// Stored text -> what a player gets (three fronts, two backs, four sounds, BG1-3 there), as a
// save writes back nine keys, never the language; nothing stored: a new user's defaults.
TEST(Settings, EachStoredTextLoadsAsItsValue) {
    const struct { const char* key; std::optional<std::string> text; const char* value; } rows[] = {
        {"Front", {}, "0"}, {"Deck", {}, "0"}, {"BG", {}, "0"}, {"Draw", {}, "1"},
        {"OrdinaryMove", {}, "0"}, {"GoalMove", {}, "1"}, {"ShowTavi", {}, "1"},
        {"PlaySounds", {}, "1"}, {"Version", {}, "Release"}, {"Language", {}, "EN"},
        {"Draw", "2", "1"}, {"Draw", "3", "3"}, {"Draw", "259", "1"}, // 259 would wrap to 3
        {"Draw", "-3", "1"}, {"Draw", " +3 ", "3"}, {"PlaySounds", "-1", "0"},
        {"PlaySounds", "0", "0"}, {"PlaySounds", "2", "0"}, {"PlaySounds", "yes", "1"},
        {"ShowTavi", "-1", "1"}, {"ShowTavi", "0", "0"}, {"ShowTavi", "", "1"},
        {"Version", "release", "Debug"}, {"Version", "Release", "Release"},
        {"Version", "", "Debug"}, {"Language", "de", "EN"}, {"Language", "DE", "DE"},
        {"Language", "NO", "NO"}, {"Front", "2", "2"}, {"Front", "3", "0"}, {"Front", "-1", "0"},
        {"Front", "40000", "0"}, {"Front", "1e0", "0"}, {"Deck", "1", "1"},
        {"Deck", "2", "0"}, {"Deck", "99999999999999999999999", "0"}, {"BG", "2", "2"},
        {"BG", "3", "0"}, {"BG", "-1", "0"}, {"BG", "abc", "0"}, {"OrdinaryMove", "3", "3"},
        {"OrdinaryMove", "4", "0"}, {"OrdinaryMove", "", "0"}, {"GoalMove", "3", "3"},
        {"GoalMove", "-1", "0"}, {"GoalMove", "x1", "1"}, {"GoalMove", std::string(99, '3'), "1"}};
    for (const auto& r : rows) {
        TestGame t;
        Game& g = t.g();
        g.table.UserSection = "ann", g.table.AppFolder = GAME_DATA_DIR "/", g.settings = Changed;
        g.gfx.FrontDesignCount = 3, g.gfx.BackDesignCount = 2, g.gfx.SoundCount = 4;
        if (r.text) t.host.Set("ann", r.key, *r.text);
        t.host.SetTimerEnabled(TimerId::TaviBlink, true); // the debug menu starts hidden
        LoadSettings(g);
        EXPECT_EQ(t.host.TimerEnabled(TimerId::TaviBlink), g.settings.ShowTavi) << r.key;
        EXPECT_EQ(t.host.Get(MenuItem::TopDebug).visible, g.settings.DebugMode) << r.key;
        ValidateSettings(g);
        SaveSettings(g);
        const bool lang = r.key == std::string("Language");
        EXPECT_EQ(t.host.store.size(), 9u + (lang && r.text)) << r.key;
        EXPECT_EQ(lang ? g.settings.LanguageCode : *t.host.Get("ann", r.key), r.value)
            << r.key << "=" << r.text.value_or("(none)").substr(0, 9);
    }
}

TEST(RealStore, AwkwardLoginNamesKeepSectionsOfTheirOwn) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    const std::string names[] = {"ann", "ann lee", "a/b", "a\\b", "a=b", "a%2Fb", "100%", "a$b",
                                 "$Default$", "Åsa", "张伟", "a/b/c", "a\\b\\c", "general", "General",
                                 "GENERAL", std::string(255, 'x'), "[x]", "a;b", "#a"};
    auto store = std::make_unique<QtSettingsStore>(SettingsApplication);
    for (size_t i = 0; i < std::size(names); ++i) store->Set(names[i], "Front", std::to_string(i));
    store->Flush();
    store = std::make_unique<QtSettingsStore>(SettingsApplication); // reads the file afresh
    for (size_t i = 0; i < std::size(names); ++i)
        EXPECT_EQ(store->Get(names[i], "Front"), std::to_string(i)) << names[i];
}

// However the save at the end goes, the program ends without a word, and the file is the old one
// byte for byte or the whole new one. Ann's group lacks a key, so any save makes the file longer.
TEST(RealStore, ASaveIsWholeOrLeavesTheFileAlone) {
    std::string old = "; kept by hand\n[Other Program]\nwindow = 10, 20\n[ann]\nDraw=1\n";
    for (int i = 0; i < 1500; ++i) old += "\n[user" + std::to_string(i) + "]\nFront=2\nDraw=3\n";
    std::unique_ptr<QLockFile> held;
    const auto lock = [](const std::string& f) { return QString::fromStdString(f + ".lock"); };
    const struct { const char* name; std::function<void(const std::string& file)> prepare;
                   unsigned long maxBytes = 0; bool saved = false; } rows[] = {
        {"room enough", {}, 0, true}, {"4 KB left", {}, 4096}, {"writes stop at 32 KB", {}, 32768},
        {"room for the old file only", {}, old.size() + 8},
        {"folder cannot be made", [](auto& f) { qputenv("XDG_CONFIG_HOME", (f + "/x").c_str()); }},
        {"lock is a folder", [&](auto& f) { QDir().mkpath(lock(f)); }},
        {"lock held", [&](auto& f) { (held = std::make_unique<QLockFile>(lock(f)))->lock(); }},
        {"another host's stale lock", [](auto& f) { WriteFile(f + ".lock", "4\nzorvo\nh2\n"); }},
        {"too large to be ours", [](auto& f) { WriteFile(f, std::string(2 << 20, ';')); }}};
    for (const auto& r : rows) {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        const std::string file = config.path().toStdString() + "/Varnel.conf";
        WriteFile(file, old);
        if (r.prepare) r.prepare(file);
        const std::string before = ReadFile(file);
        EXPECT_TRUE(InChild([&] {
            TestGame t;
            QtSettingsStore store(SettingsApplication);
            t.g().host.store = &store, t.g().table.UserSection = "ann";
            LoadSettings(t.g());
            t.g().settings.DrawRule = 3;
            EndGame(t.g());
            return t.g().Ended && t.host.endCalls == 1 && t.host.shown.empty();
        }, r.maxBytes)) << r.name;
        held.reset();
        QSettings saved(QString::fromStdString(file), QSettings::IniFormat);
        const auto get = [&](const char* key) { return saved.value(key).toStringList().join("|"); };
        const QString kept = get("ann/Draw") + get("user1499/Front") + get("Other Program/window");
        EXPECT_TRUE(r.saved ? kept == "3210|20" : ReadFile(file) == before) << r.name;
    }
}

// Every file the game reads, broken every way: it follows its rules for missing and undecodable
// files and plays on. The folder is named in GBK, as archives made elsewhere leave it.
TEST(HostileFiles, EveryFileBrokenEveryWayFollowsTheRulesAndPlaysOn) {
    enum Damage {
        Intact, Missing, Empty, Truncated, Garbage, Folder, Unreadable, Huge, Lying, Count
    };
    const std::string files[] = {"FRONT.BMP", "BACK.BMP", "SORT.BMP", "SIGN.BMP", "IMGCARD.BMP",
                                 "GOAL.BMP", "Tavi.BMP", "Taviani.BMP", "BG/BG1.BMP", "BG/BG2.BMP",
                                 "Snd1.wav", "Snd2.wav", "Win.wav", "Win2.wav", "Varnel.conf"};
    for (int cell = 0; cell < int(std::size(files)) * Count; ++cell) {
        const std::string& file = files[cell / Count];
        const int d = cell % Count;
        SCOPED_TRACE(file + " damage " + std::to_string(d));
        if (d == Lying && !file.ends_with(".BMP")) continue;
        QTemporaryDir dir;
        const std::string root = dir.path().toStdString(), folder = root + "/\xD3\xCE\xCF\xB7";
        fs::copy(GAME_DATA_DIR, folder, fs::copy_options::recursive);
        fs::permissions(root, fs::perms::all); // the unreadable cases run as nobody
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(root));
        const bool conf = file == "Varnel.conf", picture = file.ends_with(".BMP");
        const std::string path = (conf ? root : folder) + "/" + file;
        if (conf) WriteFile(path, "[ann]\nDraw=3\n");
        std::string bytes = d == Garbage ? std::string(4096, '\xAB') : ReadFile(path);
        const char* claim = "\xF0\xFF\xFF\x7F"; // 2 GB of samples; 100000 pixels a side below
        if (d == Huge && picture) bytes.replace(18, 8, "\xA0\x86\x01\0\xA0\x86\x01\0", 8);
        // Headers that lie about the bytes, one way per picture: a bit count that wants a colour
        // table there is none of, or leaves rows over; pixels inside the headers; a longer header.
        const std::pair<int, char> lies[] = {{28, 8}, {28, 1}, {28, 4}, {28, 16}, {10, 14},
                                             {10, 0}, {10, 53}, {14, 108}, {14, 124}, {14, 64}};
        if (d == Lying) bytes[lies[cell / Count].first] = lies[cell / Count].second;
        if (d == Huge && conf) bytes.append(8 << 20, ';');
        if (d == Huge && !picture && !conf) bytes.replace(4, 4, claim).replace(40, 4, claim);
        if (d == Empty || d == Truncated) bytes.resize(d == Empty ? 0 : bytes.size() / 2);
        if (d == Missing || d == Folder) fs::remove(path);
        if (d == Folder) fs::create_directory(path);
        if (d == Unreadable) fs::permissions(path, fs::perms::none);
        if (d == Empty || d == Truncated || d == Garbage || d == Huge || d == Lying)
            WriteFile(path, bytes);
        // A missing picture goes unsaid, one that cannot be decoded is named; the move sound in
        // use and the two win sounds must be there, but sound bytes are not judged.
        const bool gone = d == Missing || d == Folder;
        const bool fatal = gone && (file == "Snd1.wav" || file == "Win.wav" || file == "Win2.wav");
        const std::string message = "不能打开文件 " + folder + "/" + file + (picture ? "!" : "");
        const std::string expected = fatal || (picture && !gone && d != Intact) ? message : "";
        EXPECT_TRUE(InChild([&] {
            TestGame t;
            QtSettingsStore store(SettingsApplication);
            Game& g = t.g();
            g.host.store = &store, g.table.AppFolder = folder + "/", g.table.UserSection = "ann";
            LoadGame(g);
            EXPECT_EQ(g.Ended, fatal);
            EXPECT_EQ(g.settings.DrawRule, conf && d == Intact ? 3 : 1);
            if (!g.Ended) PlayALittle(g), EndGame(g);
            std::string shown; // each message once at most
            for (const auto& m : t.host.shown) shown += m.text;
            return shown == expected;
        }, 0, d == Unreadable)) << expected;
    }
}

// Every kept input passes its target's checks again; per target, the count of inputs and of those
// the game took (not refused, not defaults) shows a reader that starts refusing what it took.
TEST(FuzzCorpus, EveryKeptInputPassesItsTargetsChecks) {
    const struct { const char* target; decltype(&FuzzBitmap) entry; int inputs, taken; } rows[] = {
        {"bitmap", FuzzBitmap, 39, 21}, {"sound", FuzzSound, 44, 8},
        {"settings", FuzzSettings, 150, 35}};
    for (const auto& t : rows) {
        int inputs = 0, taken = 0;
        for (const auto& e : fs::directory_iterator(std::string(FUZZ_CORPUS_DIR "/") + t.target)) {
            const std::string b = ReadFile(e.path());
            bool used = false;
            EXPECT_EQ(t.entry((const uint8_t*)b.data(), b.size(), &used), "") << e.path();
            inputs += 1, taken += used;
        }
        EXPECT_EQ(std::pair(inputs, taken), std::pair(t.inputs, t.taken)) << t.target;
    }
}
