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
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;
const Settings Changed{5, 6, 7, 3, 8, 9, false, false, true, "NO"}; // not one default

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
std::string ReadFile(const std::string& path) {
    if (!fs::is_regular_file(path)) return "(no file)";
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

// However the save at the end goes, the file is the old one byte for byte or the whole new one,
// and a failed save is told, naming the file and why. Ann's group lacks a key, so any save makes
// the file longer. As root, permission bits stop nothing: those rows run as nobody.
TEST(RealStore, ASaveIsWholeOrSaysWhyNot) {
    std::string old =
        "; kept by hand\n[Other Program]\nwindow = 10, 20\n[ann]\nDraw=1\nShowTavi=1\n";
    for (int i = 0; i < 1500; ++i) old += "\n[user" + std::to_string(i) + "]\nFront=2\nDraw=3\n";
    std::unique_ptr<QLockFile> held;
    const auto lock = [](const std::string& f) { return QString::fromStdString(f + ".lock"); };
    const std::string gbk = "/\xD3\xCE\xCF\xB7", nobodyHome = getpwuid(65534)->pw_dir;
    using Prepare = std::function<std::string(const std::string& dir)>; // gives the file
    const Prepare xdg = [&](auto& dir) {
        return setenv("XDG_CONFIG_HOME", dir.c_str(), 1), dir + "/Varnel.conf";
    };
    const auto then = [&](std::function<void(const std::string& file)> also) {
        return Prepare([&, also](auto& dir) {
            const auto f = xdg(dir);
            return WriteFile(f, old), also(f), f;
        });
    };
    const auto other = [] { // another copy of the game saves its change while this one runs
        QtSettingsStore store(SettingsApplication);
        store.Set("ann", "ShowTavi", "0");
        return store.Flush().problem == SaveProblem::None;
    };
    const struct {
        const char* name;
        Prepare prepare;
        const char* reason = "";
        unsigned long maxBytes = 0;
        bool nobody = false;
        std::function<bool()> meanwhile = {};
        const char* tavi = "1";
    } rows[] = {
        {"room enough", xdg},
        {"4 KB left", xdg, "磁盘已满", 4096},
        {"room for the old file only", xdg, "磁盘已满", old.size() + 8},
        {"another copy saved meanwhile", xdg, "", 0, false, other, "0"},
        {"TMPDIR unusable", then([](auto& f) { setenv("TMPDIR", f.c_str(), 1); })},
        {"XDG_CONFIG_HOME a file",
         [&](auto& dir) { return WriteFile(dir + "/Varnel.conf", old), xdg(dir + "/Varnel.conf"); },
         "不能建立它所在的文件夹"},
        {"Varnel.conf a folder", then([](auto& f) { fs::remove(f), fs::create_directory(f); }),
         "一个同名的文件夹占着它的位置"},
        {"lock is a folder", then([&](auto& f) { QDir().mkpath(lock(f)); }),
         "另一个程序一直锁着它"},
        {"lock held", then([&](auto& f) { (held = std::make_unique<QLockFile>(lock(f)))->lock(); }),
         "另一个程序一直锁着它"},
        {"another host's stale lock",
         then([](auto& f) { WriteFile(f + ".lock", "4\nzorvo\nh2\n"); }), "另一个程序一直锁着它"},
        {"too large to be ours", then([](auto& f) { WriteFile(f, std::string(2 << 20, ';')); }),
         "它太大了，不像是设置文件"},
        {"read-only file", then([](auto& f) { fs::permissions(f, fs::perms::owner_read); }),
         "没有写入的权限", 0, true},
        {"read-only folder",
         then([](auto& f) { fs::permissions(fs::path(f).parent_path(), fs::perms(0555)); }),
         "没有写入的权限", 0, true},
        {"XDG_CONFIG_HOME not UTF-8", [&](auto& dir) { return xdg(dir + gbk); }},
        {"HOME not UTF-8, XDG_CONFIG_HOME relative", [&](auto& dir) {
             setenv("XDG_CONFIG_HOME", "rel", 1), setenv("HOME", (dir + gbk).c_str(), 1);
             return dir + gbk + "/.config/Varnel.conf";
         }},
        {"HOME unset: the password database's",
         [&](auto&) {
             unsetenv("XDG_CONFIG_HOME"), unsetenv("HOME");
             return nobodyHome + "/.config/Varnel.conf";
         },
         "没有写入的权限", 0, true}};
    const std::string tmp = getenv("TMPDIR") ? getenv("TMPDIR") : "/tmp";
    for (const auto& r : rows) {
        QTemporaryDir config;
        fs::permissions(config.path().toStdString(), fs::perms::all); // for the rows run as nobody
        const std::string dir = config.path().toStdString(), file = r.prepare(dir);
        if (file.starts_with(dir)) { // not in nobody's home
            std::error_code ec;
            fs::create_directories(fs::path(file).parent_path(), ec);
            if (!fs::exists(file)) WriteFile(file, old);
            EXPECT_TRUE(!r.nobody || lchown(file.c_str(), 65534, 65534) == 0) << r.name;
        }
        const std::string before = ReadFile(file);
        EXPECT_TRUE(InChild(
            [&] {
                TestGame t;
                QtSettingsStore store(SettingsApplication);
                t.g().host.store = &store, t.g().table.UserSection = "ann";
                LoadSettings(t.g());
                t.g().settings.DrawRule = 3;
                if (r.meanwhile && !r.meanwhile()) return false;
                EndGame(t.g());
                const std::string told =
                    "不能保存文件 " + file + "\n原因：" + r.reason + "。本次的设置没有保存。";
                EXPECT_EQ(t.host.shown.empty() ? "" : t.host.shown[0].text, *r.reason ? told : "");
                return t.g().Ended && t.host.endCalls == 1 && t.host.shown.size() <= 1;
            },
            r.maxBytes, r.nobody))
            << r.name;
        held.reset();
        setenv("TMPDIR", tmp.c_str(), 1);
        std::error_code ec; // lets the folder go
        for (const auto& e : fs::recursive_directory_iterator(dir, ec))
            fs::permissions(e, fs::perms::all, ec);
        if (*r.reason) {
            EXPECT_EQ(ReadFile(file), before) << r.name;
            continue;
        }
        WriteFile(dir + "/copy.conf", ReadFile(file)); // Qt cannot name every folder
        QSettings saved(QString::fromStdString(dir + "/copy.conf"), QSettings::IniFormat);
        const auto get = [&](const char* key) { return saved.value(key).toStringList().join("|"); };
        const QString kept = get("ann/Draw") + get("ann/ShowTavi") + get("user1499/Front") +
                             get("Other Program/window");
        EXPECT_EQ(kept.toStdString(), std::string("3") + r.tavi + "210|20") << r.name;
        fs::remove_all(dir + gbk, ec); // Qt cannot name it
    }
}

// A settings file cut at every byte, as a crash or a power cut leaves it, or spoilt by hand: a run
// that changes a choice saves it and keeps every group that was whole, and the next start reads it
// back. What Qt could not read whole is first kept beside the file, as it was.
TEST(RealStore, ACutOrSpoiltFileIsRepairedAtTheNextSave) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const std::string file = config.path().toStdString() + "/Varnel.conf";
    const auto run = [](Settings settings, const char* who) { // one start and end of the game
        TestGame t;
        QtSettingsStore store(SettingsApplication);
        t.g().host.store = &store, t.g().table.UserSection = who;
        LoadSettings(t.g());
        t.g().settings = settings;
        EndGame(t.g());
        EXPECT_EQ(t.g().SaveError, "");
        return t.g().settings;
    };
    for (const char* who : {"alice", "ann"})
        run(who[1] == 'n' ? Settings{} : Changed, who);
    const std::string whole = ReadFile(file);
    std::vector<std::pair<size_t, QString>> groups; // where each group's header begins
    for (size_t at = 0; at < whole.size(); at = whole.find('\n', at) + 1)
        if (whole[at] == '[')
            groups.emplace_back(
                at, QString::fromStdString(whole.substr(at + 1, whole.find(']', at) - at - 1)));
    groups.emplace_back(whole.size(), "");
    std::vector<std::pair<std::string, size_t>> inputs; // the bytes, how much of the file is whole
    for (size_t cut = 0; cut <= whole.size(); ++cut)
        inputs.emplace_back(whole.substr(0, cut), cut);
    for (const char* spoilt : {"\xEF\xBB\xBF", "De\n", "\xAB\xAB\n", "[alice", "[]\nFront=2\n"})
        inputs.emplace_back(*spoilt == '[' ? whole + spoilt : spoilt + whole, whole.size());
    QSettings before(QString::fromStdString(config.filePath("whole.conf").toStdString()),
                     QSettings::IniFormat);
    WriteFile(config.filePath("whole.conf").toStdString(), whole);
    for (const auto& [bytes, wholeUpTo] : inputs) {
        SCOPED_TRACE(bytes);
        WriteFile(file, bytes);
        fs::remove(file + ".damaged");
        Settings changed;
        changed.DrawRule = 3;
        run(changed, "ann");
        Settings next = run(changed, "ann"); // reads it back, changes nothing
        EXPECT_EQ(next.DrawRule, 3);
        QSettings after(QString::fromStdString(file), QSettings::IniFormat);
        for (size_t i = 0; i + 1 < groups.size() && groups[i + 1].first <= wholeUpTo; ++i)
            for (const QString& key : before.allKeys())
                EXPECT_TRUE(!key.startsWith(groups[i].second + "/") || key == "ann/Draw" ||
                            after.value(key) == before.value(key))
                    << key.toStdString();
        const bool spoilt = bytes.size() != wholeUpTo; // cuts Qt may read whole or not
        EXPECT_TRUE((!spoilt && !fs::exists(file + ".damaged")) ||
                    ReadFile(file + ".damaged") == bytes);
    }
}

// Every file the game reads, broken every way: it follows its rules for missing and undecodable
// files and plays on. The folder is named in GBK, as archives made elsewhere leave it.
TEST(HostileFiles, EveryFileBrokenEveryWayFollowsTheRulesAndPlaysOn) {
    enum Damage { Intact, Missing, Empty, Truncated, Garbage, Folder, Unreadable, Huge, Count };
    const std::string files[] = {"FRONT.BMP", "BACK.BMP", "SORT.BMP", "SIGN.BMP", "IMGCARD.BMP",
                                 "GOAL.BMP", "Tavi.BMP", "Taviani.BMP", "BG/BG1.BMP", "BG/BG2.BMP",
                                 "Snd1.wav", "Snd2.wav", "Win.wav", "Win2.wav"};
    for (int cell = 0; cell < int(std::size(files)) * Count; ++cell) {
        const std::string& file = files[cell / Count];
        const int d = cell % Count;
        SCOPED_TRACE(file + " damage " + std::to_string(d));
        QTemporaryDir dir;
        const std::string root = dir.path().toStdString(), folder = root + "/\xD3\xCE\xCF\xB7";
        fs::copy(GAME_DATA_DIR, folder, fs::copy_options::recursive);
        fs::permissions(root, fs::perms::all); // the unreadable cases run as nobody
        const bool picture = file.ends_with(".BMP");
        const std::string path = folder + "/" + file;
        std::string bytes = d == Garbage ? std::string(4096, '\xAB') : ReadFile(path);
        const char* claim = "\xF0\xFF\xFF\x7F"; // 2 GB of samples; 100000 pixels a side below
        if (d == Huge && picture) bytes.replace(18, 8, "\xA0\x86\x01\0\xA0\x86\x01\0", 8);
        if (d == Huge && !picture) bytes.replace(4, 4, claim).replace(40, 4, claim);
        if (d == Empty || d == Truncated) bytes.resize(d == Empty ? 0 : bytes.size() / 2);
        if (d == Missing || d == Folder) fs::remove(path);
        if (d == Folder) fs::create_directory(path);
        if (d == Unreadable) fs::permissions(path, fs::perms::none);
        if (d == Empty || d == Truncated || d == Garbage || d == Huge) WriteFile(path, bytes);
        // A missing picture goes unsaid, one that cannot be decoded is named; the move sound in
        // use and the two win sounds must be there, but sound bytes are not judged.
        const bool gone = d == Missing || d == Folder;
        const bool fatal = gone && (file == "Snd1.wav" || file == "Win.wav" || file == "Win2.wav");
        const std::string message = "不能打开文件 " + folder + "/" + file + (picture ? "!" : "");
        const std::string expected = fatal || (picture && !gone && d != Intact) ? message : "";
        EXPECT_TRUE(InChild(
            [&] {
                TestGame t;
                Game& g = t.g();
                g.table.AppFolder = folder + "/";
                LoadGame(g);
                EXPECT_EQ(g.Ended, fatal);
                if (!g.Ended) PlayALittle(g), EndGame(g);
                std::string shown; // each message once at most
                for (const auto& m : t.host.shown)
                    shown += m.text;
                return shown == expected;
            },
            0, d == Unreadable))
            << expected;
        fs::remove_all(folder); // Qt cannot name it
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
