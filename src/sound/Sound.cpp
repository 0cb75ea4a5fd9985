#include "sound/Sound.h"
#include "game/Game.h"
#include "host/Files.h"

namespace {
// Our sounds are a few hundred kilobytes; a file far beyond that is not one of them and is
// not worth the memory.
constexpr uint64_t MaxSoundFileBytes = 64ull * 1024 * 1024;
} // namespace

std::string SoundFile(const Game& g, int index) {
    return g.table.AppFolder + "Snd" + std::to_string(index + 1) + ".wav";
}

void LoadSoundFile(Game& g, const std::string& path, std::vector<uint8_t>& image) {
    if (!FileExists(path)) {
        g.host.dialogs->MsgBox("不能打开文件 " + path, MsgStyle::Ok, g.texts.WindowTitle);
        EndGame(g);
        return;
    }
    // A file that is there but cannot be read, or is absurdly large, stays silent.
    image = ReadWholeFile(path, MaxSoundFileBytes).value_or(std::vector<uint8_t>{});
}

void LoadMoveSounds(Game& g) {
    LoadSoundFile(g, SoundFile(g, g.settings.MoveSound), g.sounds.MoveSoundData);
    if (g.Ended) return;
    LoadSoundFile(g, SoundFile(g, g.settings.GoalSound), g.sounds.GoalSoundData);
}

void PlayMoveSound(Game& g, const std::vector<uint8_t>& image) {
    if (g.settings.PlaySounds) g.host.audio->PlayAsync(image);
}
