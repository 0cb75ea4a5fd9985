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
#include <csignal>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>

namespace {
// The real decoder, except that one file's bytes come from the fuzzer.
struct SubstitutePictures : QtPictureDecoder {
    std::optional<Picture> Decode(const std::string& path) override {
        return path.ends_with(target) ? DecodeBytes(bytes) : QtPictureDecoder::Decode(path);
    }
    std::string target;
    std::span<const uint8_t> bytes;
};
} // namespace

std::string FuzzBitmap(const uint8_t* data, size_t size, bool* taken) {
    static const char* const files[] = {"FRONT.BMP", "BACK.BMP", "SORT.BMP", "SIGN.BMP", "GOAL.BMP",
                                        "IMGCARD.BMP", "Tavi.BMP", "Taviani.BMP", "BG/BG1.BMP"};
    if (size == 0) return "";
    SubstitutePictures pictures;
    pictures.target = files[data[0] % std::size(files)], pictures.bytes = {data + 1, size - 1};
    TestHost host;
    Host h = host.AsHost();
    h.pictures = &pictures;
    Game g(h);
    g.table.AppFolder = GAME_DATA_DIR "/";
    LoadGame(g);
    if (g.Ended) return "a broken picture ended the game";
    if (taken) *taken = host.shown.empty();
    PlayALittle(g);
    const std::string broken = BrokenInvariant(g) + PictureDiffers(g);
    host.tickStep = 40; // the portrait blinks with the picture it got
    tmrTaviBlink_Timer(g);
    ShutDown(g);
    return broken;
}

std::string FuzzSound(const uint8_t* data, size_t size, bool* taken) {
    static std::unique_ptr<AudioService> audio = OpenAudioDevice();
    const std::span<const uint8_t> wav(data, size);
    const auto safe = PlayableWav(wav);
    if (taken) *taken = safe.has_value();
    // The device gets a whole file no longer than the bytes that came, whose chunks end where it
    // ends (an odd last one may lack its pad byte), and which passes the check again unchanged.
    const auto le = [&](size_t at) {
        uint32_t v = 0;
        return std::memcpy(&v, safe->data() + at, 4), size_t{v};
    };
    size_t end = 12;
    while (safe && end + 8 <= safe->size()) end += 8 + le(end + 4) + (le(end + 4) & 1);
    const bool whole = !safe || (safe->size() <= size && le(4) == safe->size() - 8 &&
                                 end <= safe->size() + 1 && PlayableWav(*safe) == safe);
    audio->PlayAsync(wav), audio->PlayLoop(wav), audio->PlayAsync(wav), audio->Stop();
    return whole ? "" : "the device may get more than a whole sound";
}

std::string FuzzSettings(const uint8_t* data, size_t size, bool* taken) {
    TestGame t;
    Game& g = t.g();
    g.table.AppFolder = GAME_DATA_DIR "/";
    std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
    std::string line;
    for (const char* key : {"Front", "Deck", "BG", "Draw", "OrdinaryMove", "GoalMove", "ShowTavi",
                            "PlaySounds", "Version", "Language"})
        if (std::getline(lines, line)) t.host.Set("", key, line);
    LoadSettings(g);
    g.gfx.FrontDesignCount = 3, g.gfx.BackDesignCount = 4, g.gfx.SoundCount = 3;
    ValidateSettings(g);
    const auto row = [](const Settings& x) {
        return std::vector<int>{x.FrontDesign, x.BackDesign, x.Background, x.DrawRule, x.MoveSound,
                                x.GoalSound, x.ShowTavi, x.PlaySounds, x.DebugMode};
    };
    const Settings s = g.settings;
    if (taken) *taken = row(s) != row(Settings{}) || s.LanguageCode != "EN";
    const auto in = [](int v, int n) { return v >= 0 && v < n; };
    if (!in(s.FrontDesign, 3) || !in(s.BackDesign, 4) || !in(s.MoveSound, 3) ||
        !in(s.GoalSound, 3) || !in(s.Background, 3) || (s.DrawRule != 1 && s.DrawRule != 3) ||
        (s.LanguageCode != "EN" && s.LanguageCode != "DE" && s.LanguageCode != "NO"))
        return "a choice out of range";
    SaveSettings(g);
    LoadSettings(g);
    return row(g.settings) == row(s) ? "" : "saved choices read back differently";
}

void PlayALittle(Game& g) {
    NewGame(g, 1);
    if (g.gfx.BackgroundCount >= 2) mnuOptionsLayoutBgBg_Click(g, 1);
    Form_MouseDown(g, ButtonLeft, 0, 50, 80), Form_MouseUp(g, ButtonLeft, 0, 50, 80);
    Form_MouseDown(g, ButtonLeft, 0, 130, 80), Form_MouseMove(g, ButtonLeft, 0, 400, 300);
    Form_MouseMove(g, ButtonLeft, 0, 20, 470), Form_MouseUp(g, ButtonLeft, 0, 20, 470);
}

bool InChild(const std::function<bool()>& play, unsigned long maxBytes, bool nobody) {
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

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
