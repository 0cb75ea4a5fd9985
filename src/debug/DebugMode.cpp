#include "debug/DebugMode.h"
#include "game/Game.h"

void Form_KeyDown(Game&, int, int) {}
void mnuDebugDisabledebug_Click(Game&) {}
