#pragma once

struct Game;

void Form_KeyDown(Game& g, int keyCode, int shift);
void mnuDebugDisabledebug_Click(Game& g);
