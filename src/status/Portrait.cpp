#include "status/Portrait.h"
#include "game/Game.h"

void tmrTaviBlink_Timer(Game&) {}
