#pragma once
#include <cstdint>

struct Game;

void NewGame(Game& g, uint8_t Shuffle);
void DealCards(Game& g);
void mnuFileNewgame_Click(Game& g);
void mnuDebugNoshuffle_Click(Game& g);
