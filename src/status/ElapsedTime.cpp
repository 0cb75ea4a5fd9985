#include "status/ElapsedTime.h"
#include "game/Game.h"

std::string ElapsedText(uint32_t) { return {}; }
void tmrUpdateTime_Timer(Game&) {}
