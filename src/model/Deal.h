#pragma once
#include "model/Table.h"
#include <functional>

// Mixes the deck by moving whole card records, starting from whatever order it holds; draw
// gives uniform numbers in [0, 1).
void Shuffle(Table& t, const std::function<double()>& draw);
// Lays out the seven tableau piles, face down but for each top card, and the rest of the deck
// as the stock; goals and waste start empty and the hand is let go.
void DealCards(Table& t);
