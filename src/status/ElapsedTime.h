#pragma once
#include <cstdint>
#include <string>

struct Game;

std::string ElapsedText(uint32_t elapsedMs);
void tmrUpdateTime_Timer(Game& g);
