#include "FuzzTargets.h"
#include "TestHost.h"
#include "drawing/CardFaces.h"
#include "drawing/TablePainter.h"
#include "play/Deck.h"
#include "play/Lifecycle.h"
#include "play/Mouse.h"
#include "host/QtPictureDecoder.h"
#include "settings/Settings.h"
#include "sound/AudioDevice.h"
#include "status/Portrait.h"
#include <array>
#include <cstdlib>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#ifndef GAME_DATA_DIR
#define GAME_DATA_DIR "data"
#endif

namespace {
constexpr std::array<const char*, 9> PictureFiles = {
    "FRONT.BMP", "BACK.BMP", "SORT.BMP", "SIGN.BMP", "IMGCARD.BMP",
    "GOAL.BMP",  "Tavi.BMP", "Taviani.BMP", "BG/BG1.BMP"};

void Require(bool holds) {
    if (!holds) std::abort();
}

// The real decoder, except that one file's bytes come from the fuzzer; the others are decoded
// once and reused.
class SubstitutePictures : public PictureService {
public:
    std::optional<Picture> Decode(const std::string& path) override {
        if (path.ends_with(target)) return real.DecodeBytes(bytes);
        auto it = cache.find(path);
        if (it == cache.end()) it = cache.emplace(path, real.Decode(path)).first;
        return it->second;
    }
    std::string target;
    std::span<const uint8_t> bytes;

private:
    QtPictureDecoder real;
    std::map<std::string, std::optional<Picture>> cache;
};

void CheckTable(const Game& g) {
    int seen[53] = {};
    const Table& t = g.table;
    auto count = [&](const Pile& p) {
        for (int i = 1; i <= p.Count; ++i) ++seen[p.List[i]];
    };
    for (int i = 1; i <= 7; ++i) count(t.Tableau[i]);
    for (int k = 1; k <= 4; ++k) count(t.Goal[k]);
    count(t.Stock);
    count(t.Waste);
    for (int c = 1; c <= 52; ++c) Require(seen[c] == 1);
    Require(g.gfx.surfWindow.Pixels.size() == static_cast<size_t>(g.gfx.surfWindow.Width) * g.gfx.surfWindow.Height);
}
} // namespace

void FuzzBitmap(const uint8_t* data, size_t size) {
    if (size == 0) return;
    static SubstitutePictures pictures;
    pictures.target = PictureFiles[data[0] % PictureFiles.size()];
    pictures.bytes = std::span<const uint8_t>(data + 1, size - 1);
    TestHost host;
    Host h = host.AsHost();
    h.pictures = &pictures;
    Game g(h);
    g.table.AppFolder = std::string(GAME_DATA_DIR) + "/";
    g.table.UserSection = "fuzz";
    LoadGame(g);
    Require(!g.Ended);
    NewGame(g, 1);
    for (int c = 1; c <= 52; ++c) DrawCard(g, g.gfx.surfTable, (c * 37) % 700 - 30, (c * 53) % 520 - 20, g.table.Cards[c]);
    Form_MouseDown(g, ButtonLeft, 0, 50, 80); // turn the stock
    Form_MouseUp(g, ButtonLeft, 0, 50, 80);
    Form_MouseDown(g, ButtonLeft, 0, 130, 80); // take the waste card and carry it about
    Form_MouseMove(g, ButtonLeft, 0, 400, 300);
    Form_MouseMove(g, ButtonLeft, 0, 20, 470);
    Form_MouseUp(g, ButtonLeft, 0, 20, 470);
    host.tickStep = 40;
    tmrTaviBlink_Timer(g);
    CheckTable(g);
    ShutDown(g);
}

void FuzzSound(const uint8_t* data, size_t size) {
    static std::unique_ptr<AudioService> audio = OpenAudioDevice();
    const std::span<const uint8_t> wav(data, size);
    audio->PlayAsync(wav);
    audio->PlayLoop(wav);
    audio->PlayAsync(wav);
    audio->Stop();
}

void FuzzSettings(const uint8_t* data, size_t size) {
    static constexpr std::array<const char*, 10> Keys = {
        "Front", "Deck", "BG", "Draw", "OrdinaryMove", "GoalMove", "ShowTavi", "PlaySounds", "Version", "Language"};
    TestGame t;
    Game& g = t.g();
    g.table.AppFolder = std::string(GAME_DATA_DIR) + "/";
    g.table.UserSection = "fuzz";
    std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const char* key : Keys) {
        if (text.empty()) break;
        const size_t end = text.find('\n');
        t.host.Set("fuzz", key, std::string(text.substr(0, end)));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    LoadSettings(g);
    g.gfx.FrontDesignCount = 3;
    g.gfx.BackDesignCount = 4;
    g.gfx.SoundCount = 3;
    ValidateSettings(g);
    const Settings& s = g.settings;
    Require(s.DrawRule == 1 || s.DrawRule == 3);
    Require(s.FrontDesign >= 0 && s.FrontDesign < 3 && s.BackDesign >= 0 && s.BackDesign < 4);
    Require(s.MoveSound >= 0 && s.MoveSound < 3 && s.GoalSound >= 0 && s.GoalSound < 3);
    Require(s.Background >= 0 && s.Background < 3);
    Require(s.LanguageCode == "EN" || s.LanguageCode == "DE" || s.LanguageCode == "NO");
    SaveSettings(g);
    // What was saved reads back as the same choices.
    const Settings before = s;
    LoadSettings(g);
    Require(g.settings.DrawRule == before.DrawRule && g.settings.FrontDesign == before.FrontDesign &&
            g.settings.ShowTavi == before.ShowTavi && g.settings.PlaySounds == before.PlaySounds &&
            g.settings.DebugMode == before.DebugMode);
}
