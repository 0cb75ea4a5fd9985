#include "FuzzTargets.h"
#include "Invariants.h"
#include "TestHost.h"
#include "host/QtPictureDecoder.h"
#include "options/Options.h"
#include "play/Deck.h"
#include "play/Lifecycle.h"
#include "play/Mouse.h"
#include "settings/Settings.h"
#include "sound/AudioDevice.h"
#include "sound/WavCheck.h"
#include "status/Portrait.h"
#include <sstream>

std::string FuzzBitmap(const uint8_t* data, size_t size, bool* taken) {
    // The real decoder, except that one file's bytes come from the fuzzer.
    struct : QtPictureDecoder {
        std::optional<Picture> Decode(const std::string& path) override {
            return path.ends_with(target) ? DecodeBytes(bytes) : QtPictureDecoder::Decode(path);
        }
        std::string target;
        std::span<const uint8_t> bytes;
    } pictures;
    const char* const files[] = {"FRONT.BMP", "BACK.BMP", "SORT.BMP", "SIGN.BMP", "IMGCARD.BMP",
                                 "GOAL.BMP", "Tavi.BMP", "Taviani.BMP", "BG/BG1.BMP"};
    if (size == 0) return "";
    pictures.target = files[data[0] % std::size(files)], pictures.bytes = {data + 1, size - 1};
    TestGame t;
    Game& g = t.g();
    g.host.pictures = &pictures, g.table.AppFolder = GAME_DATA_DIR "/";
    LoadGame(g);
    if (g.Ended) return "a broken picture ended the game";
    if (taken) *taken = t.host.shown.empty();
    PlayALittle(g);
    const std::string broken = BrokenInvariant(g) + PictureDiffers(g);
    t.host.tickStep = 40; // the portrait blinks with the picture it got
    tmrTaviBlink_Timer(g);
    ShutDown(g);
    return broken;
}

std::string FuzzSound(const uint8_t* data, size_t size, bool* taken) {
    static std::unique_ptr<AudioService> audio = OpenAudioDevice();
    const SoundImage wav(std::vector<uint8_t>(data, data + size));
    const auto safe = PlayableWav(wav);
    if (taken) *taken = safe.has_value();
    // The device gets whole frames of what came, and nothing past it.
    const bool whole = !safe || (safe->dataAt + safe->dataBytes <= size &&
                                 safe->dataBytes % safe->FrameBytes() == 0);
    audio->PlayAsync(wav), audio->PlayLoop(wav), audio->PlayAsync(wav), audio->Stop();
    return whole ? "" : "the device may get more than a whole sound";
}

std::string FuzzSettings(const uint8_t* data, size_t size, bool* taken) {
    TestGame t;
    Game& g = t.g();
    std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
    std::string line;
    for (const char* key : {"Front", "Deck", "BG", "Draw", "OrdinaryMove", "GoalMove", "ShowTavi",
                            "PlaySounds", "Version", "Language"})
        if (std::getline(lines, line)) t.host.Set("", key, line);
    LoadSettings(g);
    g.table.AppFolder = GAME_DATA_DIR "/"; // three tables
    g.gfx.FrontDesignCount = 3, g.gfx.BackDesignCount = 4, g.gfx.SoundCount = 3;
    ValidateSettings(g);
    const auto row = [](const Settings& x) {
        return std::vector<int>{x.FrontDesign, x.BackDesign, x.Background, x.MoveSound, x.GoalSound,
                                x.DrawRule, x.ShowTavi, x.PlaySounds, x.DebugMode};
    };
    const std::vector<int> s = row(g.settings), most = {2, 3, 2, 2, 2, 3, 1, 1, 1};
    if (taken) *taken = s != row(Settings{}) || g.settings.LanguageCode != "EN";
    for (size_t i = 0; i < s.size(); ++i)
        if (s[i] < 0 || s[i] > most[i] || (i == 5 && s[i] % 2 == 0)) return "a choice out of range";
    SaveSettings(g);
    LoadSettings(g);
    return row(g.settings) == s ? "" : "saved choices read back differently";
}

void PlayALittle(Game& g) {
    NewGame(g, 1);
    if (g.gfx.BackgroundCount >= 2) mnuOptionsLayoutBgBg_Click(g, 1);
    Form_MouseDown(g, ButtonLeft, 0, 50, 80), Form_MouseUp(g, ButtonLeft, 0, 50, 80);
    Form_MouseDown(g, ButtonLeft, 0, 130, 80), Form_MouseMove(g, ButtonLeft, 0, 400, 300);
    Form_MouseMove(g, ButtonLeft, 0, 20, 470), Form_MouseUp(g, ButtonLeft, 0, 20, 470);
}
