#pragma once

struct Game;

void Form_KeyDown(Game& g, int keyCode, int shift);
void mnuDebugDisabledebug_Click(Game& g);
// Back to the first front, back and background, repainted at once.
void mnuDebugResetsettings_Click(Game& g);
