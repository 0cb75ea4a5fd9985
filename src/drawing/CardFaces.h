#pragma once
#include "model/Card.h"

struct Game;
struct Surface;

void BuildCardFaces(Game& g);
void DrawCard(const Game& g, Surface& dc, int x, int y, const Card& card);
