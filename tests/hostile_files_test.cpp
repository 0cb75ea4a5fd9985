// Every file the game reads, broken every way we can think of: the game follows its rules for
// missing and undecodable files, and otherwise plays on. Never a crash, a hang or lost settings.
#include "TestHost.h"
#include "drawing/TablePainter.h"
#include "play/Deck.h"
#include "play/Lifecycle.h"
#include "play/Mouse.h"
#include "options/Options.h"
#include "settings/QtSettingsStore.h"
#include "settings/Settings.h"
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#ifndef GAME_DATA_DIR
#define GAME_DATA_DIR "data"
#endif

namespace {
enum class Damage { Missing, Empty, Truncated, Garbage, Directory, Unreadable, HugeDeclaredSize };
constexpr const char* DamageNames[] = {"missing", "empty", "truncated", "garbage", "directory", "unreadable", "huge"};
enum class Expect { Nothing, CannotOpenPicture, FatalSound, Defaults };
struct Cell {
    const char* file;
    Damage damage;
};

bool IsPicture(const std::string& f) { return f.ends_with(".BMP"); }

// What the game must do; the same table is written out for people in docs/.
Expect Expected(const std::string& file, Damage d) {
    if (file == "Varnel.conf") return Expect::Defaults;
    const bool gone = d == Damage::Missing || d == Damage::Directory;
    if (IsPicture(file)) return gone ? Expect::Nothing : Expect::CannotOpenPicture;
    // Sounds: the move sound in use and the two win sounds must be there; bytes are not judged.
    const bool needed = file == "Snd1.wav" || file == "Win.wav" || file == "Win2.wav";
    return gone && needed ? Expect::FatalSound : Expect::Nothing;
}

QByteArray HugeHeader(const std::string& file, const QByteArray& good) {
    QByteArray b = good;
    if (IsPicture(file)) {
        const qint32 side = 100000;
        b.replace(18, 4, reinterpret_cast<const char*>(&side), 4); // width
        b.replace(22, 4, reinterpret_cast<const char*>(&side), 4); // height
    } else {
        const quint32 size = 0x7FFFFFF0u;
        b.replace(4, 4, reinterpret_cast<const char*>(&size), 4);  // RIFF size
        b.replace(40, 4, reinterpret_cast<const char*>(&size), 4); // data size
    }
    return b;
}

void Damage_(const QString& path, Damage d) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray good = f.readAll();
    f.close();
    QFile::remove(path);
    auto write = [&](const QByteArray& bytes) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    };
    switch (d) {
    case Damage::Missing: break;
    case Damage::Empty: write({}); break;
    case Damage::Truncated: write(good.left(good.size() / 2)); break;
    case Damage::Garbage: {
        QByteArray junk(4096, '\0');
        for (int i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>((i * 7919 + 13) & 0xFF);
        write(junk);
        break;
    }
    case Damage::Directory: QDir().mkpath(path); break;
    case Damage::Unreadable:
        write(good.isEmpty() ? QByteArray("x") : good);
        std::filesystem::permissions(path.toStdString(), std::filesystem::perms::none);
        break;
    case Damage::HugeDeclaredSize:
        write(good.isEmpty() ? QByteArray(8 * 1024 * 1024, 'x') : HugeHeader(path.toStdString(), good));
        break;
    }
}

struct Result {
    bool played = false; // false: the game ended while loading
    std::vector<std::string> messages;
};

// Start the game on the damaged folder, play a little, and end it.
Result Play(const std::string& folder, SettingsStore* store) {
    TestGame t;
    Game& g = t.g();
    if (store) g.host.store = store;
    g.table.AppFolder = folder + "/";
    g.table.UserSection = "ann";
    Result r;
    LoadGame(g);
    if (!g.Ended) {
        NewGame(g, 1);
        if (g.gfx.BackgroundCount >= 2) mnuOptionsLayoutBgBg_Click(g, 1); // the second table
        Form_MouseDown(g, ButtonLeft, 0, 50, 80);
        Form_MouseUp(g, ButtonLeft, 0, 50, 80);
        Form_MouseDown(g, ButtonLeft, 0, 130, 80);
        Form_MouseMove(g, ButtonLeft, 0, 300, 300);
        Form_MouseUp(g, ButtonLeft, 0, 300, 300);
        RedrawTable(g);
        r.played = true;
        EndGame(g);
    }
    for (auto& m : t.host.shown) r.messages.push_back(m.text);
    return r;
}

class HostileFiles : public ::testing::TestWithParam<Cell> {
protected:
    QTemporaryDir dir;
    QTemporaryDir config;
    std::string folder;
    void SetUp() override {
        folder = dir.path().toStdString() + "/game";
        QDir().mkpath(QString::fromStdString(folder) + "/BG");
        QDirIterator it(GAME_DATA_DIR, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString src = it.next();
            const QString rel = QDir(GAME_DATA_DIR).relativeFilePath(src);
            QDir().mkpath(QFileInfo(QString::fromStdString(folder) + "/" + rel).path());
            QFile::copy(src, QString::fromStdString(folder) + "/" + rel);
        }
        // Readable by the unprivileged user that the unreadable cases run as.
        std::filesystem::permissions(dir.path().toStdString(), std::filesystem::perms::all);
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    }
};

TEST_P(HostileFiles, GameFollowsItsRulesAndPlaysOn) {
    const Cell c = GetParam();
    const std::string file = c.file;
    const bool settingsFile = file == "Varnel.conf";
    const QString path = settingsFile ? config.path() + "/Varnel.conf"
                                      : QString::fromStdString(folder + "/" + file);
    if (settingsFile) {
        QtSettingsStore store(SettingsApplication);
        store.Set("ann", "Draw", "3");
        store.Flush();
    }
    Damage_(path, c.damage);

    auto run = [&] {
        std::unique_ptr<QtSettingsStore> store;
        if (settingsFile) store = std::make_unique<QtSettingsStore>(SettingsApplication);
        return Play(folder, store.get());
    };
    auto check = [&](const Result& r) {
        const std::string full = folder + "/" + file;
        const Expect e = Expected(file, c.damage);
        EXPECT_EQ(r.played, e != Expect::FatalSound);
        if (e == Expect::Nothing || e == Expect::Defaults) {
            EXPECT_TRUE(r.messages.empty()) << r.messages.front();
            return;
        }
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.messages[0], "不能打开文件 " + full + (e == Expect::CannotOpenPicture ? "!" : ""));
    };

    if (c.damage != Damage::Unreadable || geteuid() != 0) {
        check(run());
        return;
    }
    // Root reads everything: the unreadable case runs as an unprivileged user in a child.
    const pid_t pid = fork();
    if (pid == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
        check(run());
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the unprivileged run failed (see its output above)";
}

// A folder unpacked from an archive may carry a name in another encoding (here GBK): every
// file must still be found and read through the name's own bytes.
TEST(HostileFolder, NameThatIsNotUtf8FindsEveryFile) {
    QTemporaryDir dir;
    const std::filesystem::path folder = std::filesystem::path(dir.path().toStdString()) / "\xD3\xCE\xCF\xB7";
    std::filesystem::copy(GAME_DATA_DIR, folder, std::filesystem::copy_options::recursive);
    const Result r = Play(folder.string(), nullptr);
    EXPECT_TRUE(r.played);
    EXPECT_TRUE(r.messages.empty()) << r.messages.front();
}

std::vector<Cell> AllCells() {
    std::vector<Cell> cells;
    for (const char* f : {"FRONT.BMP", "BACK.BMP", "SORT.BMP", "SIGN.BMP", "IMGCARD.BMP", "GOAL.BMP",
                          "Tavi.BMP", "Taviani.BMP", "BG/BG1.BMP", "BG/BG2.BMP", "Snd1.wav", "Snd2.wav",
                          "Win.wav", "Win2.wav", "Varnel.conf"})
        for (int d = 0; d <= static_cast<int>(Damage::HugeDeclaredSize); ++d)
            cells.push_back({f, static_cast<Damage>(d)});
    return cells;
}

INSTANTIATE_TEST_SUITE_P(EveryFileEveryWay, HostileFiles, ::testing::ValuesIn(AllCells()),
                         [](const auto& cell) {
                             std::string n = std::string(cell.param.file) + "_" + DamageNames[int(cell.param.damage)];
                             for (char& ch : n)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return n;
                         });
} // namespace
