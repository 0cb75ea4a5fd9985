#include "settings/Settings.h"
#include "host/Files.h"
#include <charconv>
#include <limits>
#include <optional>
#include <string_view>

// Every key the game stores, with its default and its reading rule, lives in this file.
namespace {
constexpr const char* KeyFront = "Front";
constexpr const char* KeyDeck = "Deck";
constexpr const char* KeyBg = "BG";
constexpr const char* KeyDraw = "Draw";
constexpr const char* KeyOrdinaryMove = "OrdinaryMove";
constexpr const char* KeyGoalMove = "GoalMove";
constexpr const char* KeyShowTavi = "ShowTavi";
constexpr const char* KeyPlaySounds = "PlaySounds";
constexpr const char* KeyVersion = "Version";
constexpr const char* KeyLanguage = "Language";

// A whole decimal number in range, or nothing: stored text is never trusted.
template <typename T> std::optional<T> ParseNumber(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    std::string_view s = *text;
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    long long v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc{} || end != s.data() + s.size()) return std::nullopt;
    if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max()) return std::nullopt;
    return static_cast<T>(v);
}

class Reader {
public:
    Reader(Game& g) : store(*g.host.store), section(g.table.UserSection) {}
    std::optional<std::string> Text(const char* key) { return store.Get(section, key); }
    int16_t Int16(const char* key, int16_t fallback) {
        return ParseNumber<int16_t>(Text(key)).value_or(fallback);
    }
    std::optional<long long> Number(const char* key) { return ParseNumber<long long>(Text(key)); }

private:
    SettingsStore& store;
    const std::string& section;
};

bool InRange(int16_t value, int16_t count) { return value >= 0 && value < count; }

const char* Reason(SaveProblem problem) {
    switch (problem) {
    case SaveProblem::None:
        break;
    case SaveProblem::NoHome:
        return "找不到你的主文件夹";
    case SaveProblem::FolderNotMade:
        return "不能建立它所在的文件夹";
    case SaveProblem::NotAFile:
        return "一个同名的文件夹占着它的位置";
    case SaveProblem::Locked:
        return "另一个程序一直锁着它";
    case SaveProblem::DiskFull:
        return "磁盘已满";
    case SaveProblem::ReadOnly:
        return "磁盘是只读的";
    case SaveProblem::NoPermission:
        return "没有写入的权限";
    case SaveProblem::TooLarge:
        return "它太大了，不像是设置文件";
    case SaveProblem::NotWritten:
        return "写入出错";
    }
    return "";
}

// In the manner of the game's "不能打开文件 <path>", with the reason under it.
std::string SaveFailureText(const SaveResult& r) {
    if (r.problem == SaveProblem::None) return {};
    return "不能保存文件 " + r.file + "\n原因：" + Reason(r.problem) + "。本次的设置没有保存。";
}
} // namespace

void LoadSettings(Game& g) {
    Settings& s = g.settings;
    Reader r(g);
    s.FrontDesign = r.Int16(KeyFront, 0);
    s.BackDesign = r.Int16(KeyDeck, 0);
    s.Background = r.Int16(KeyBg, 0);
    const auto draw = ParseNumber<uint8_t>(r.Text(KeyDraw));
    s.DrawRule = (draw == 1 || draw == 3) ? *draw : 1;
    s.MoveSound = r.Int16(KeyOrdinaryMove, 0);
    s.GoalSound = r.Int16(KeyGoalMove, 1);
    s.ShowTavi = r.Number(KeyShowTavi).value_or(1) != 0;
    s.PlaySounds = r.Number(KeyPlaySounds).value_or(1) == 1;
    s.DebugMode = r.Text(KeyVersion).value_or("Release") != "Release";
    const std::string lang = r.Text(KeyLanguage).value_or("EN");
    s.LanguageCode = (lang == "EN" || lang == "DE" || lang == "NO") ? lang : "EN";

    g.host.timers->SetTimerEnabled(TimerId::TaviBlink, s.ShowTavi);
    g.host.menus->SetVisible(MenuItem::TopDebug, s.DebugMode);
}

std::string SaveSettings(Game& g) {
    const Settings& s = g.settings;
    SettingsStore& store = *g.host.store;
    const std::string& section = g.table.UserSection;
    store.Set(section, KeyFront, std::to_string(s.FrontDesign));
    store.Set(section, KeyDeck, std::to_string(s.BackDesign));
    store.Set(section, KeyBg, std::to_string(s.Background));
    store.Set(section, KeyDraw, std::to_string(s.DrawRule));
    store.Set(section, KeyOrdinaryMove, std::to_string(s.MoveSound));
    store.Set(section, KeyGoalMove, std::to_string(s.GoalSound));
    store.Set(section, KeyShowTavi, s.ShowTavi ? "1" : "0");
    store.Set(section, KeyPlaySounds, s.PlaySounds ? "1" : "0");
    store.Set(section, KeyVersion, s.DebugMode ? "Debug" : "Release");
    return SaveFailureText(store.Flush());
}

void ValidateSettings(Game& g) {
    Settings& s = g.settings;
    const Graphics& x = g.gfx;
    if (!InRange(s.FrontDesign, x.FrontDesignCount)) s.FrontDesign = 0;
    if (!InRange(s.BackDesign, x.BackDesignCount)) s.BackDesign = 0;
    if (!InRange(s.MoveSound, x.SoundCount)) s.MoveSound = 0;
    if (!InRange(s.GoalSound, x.SoundCount)) s.GoalSound = 0;
    if (s.Background < 0 || !FileExists(BackgroundFile(g, s.Background))) s.Background = 0;
}

std::string BackgroundFile(const Game& g, int index) {
    return g.table.AppFolder + "BG/BG" + std::to_string(index + 1) + ".BMP";
}
