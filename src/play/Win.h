#pragma once

struct Game;

void CheckForWin(Game& g);
void Celebrate(Game& g);
void mnuDebugWin_Click(Game& g);
