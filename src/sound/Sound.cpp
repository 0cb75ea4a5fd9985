#include "sound/Sound.h"
#include "state/Game.h"

std::string SoundFile(const Game& g, int index) {
    return g.table.AppFolder + "Snd" + std::to_string(index + 1) + ".wav";
}

void PlayMoveSound(Game& g, const SoundImage& image) {
    if (g.settings.PlaySounds) g.host.audio->PlayAsync(image);
}
