#include "sound/Sound.h"
#include "game/Game.h"

void LoadSoundFile(Game&, const std::string&, std::vector<uint8_t>&) {}
void LoadMoveSounds(Game&) {}
void PlayMoveSound(Game&, const std::vector<uint8_t>&) {}
std::string SoundFile(const Game& g, int index) {
    return g.table.AppFolder + "Snd" + std::to_string(index + 1) + ".wav";
}
