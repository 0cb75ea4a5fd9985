#pragma once
#include "state/Game.h"

void SetDefaultTexts(Game& g);
void ApplyTexts(Game& g);
