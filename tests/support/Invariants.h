#pragma once
#include "state/Game.h"
#include <string>

// What holds after every event, for the play tests, the random streams, the soak and the
// fuzzers; each returns "" or what broke. BrokenInvariant: every card exactly once (at most once
// on a table laid by hand), piles in shape and within bounds, hand and drag state agreeing, an
// undo record that fits. PictureDiffers: the table equals a full repaint of the position, and the
// window the table with the carried cards drawn where the hand says they are.
std::string BrokenInvariant(const Game& g, bool wholeDeck = true);
std::string PictureDiffers(Game& g);
int CardsOnTable(const Table& t); // on the piles and in the hand
void RepaintQuietly(Game& g);     // the whole table, the window told nothing
