#pragma once
#include "state/Game.h"
#include <string>

// What holds after every event, for the play tests, the random streams, the soak and the
// fuzzers. Each returns "" or what broke.

// Every card exactly once (at most once on a table laid by hand), piles in shape and within
// bounds, hand and drag state agreeing, an undo record that fits.
std::string BrokenInvariant(const Game& g, bool wholeDeck = true);
int CardsOnTable(const Table& t); // on the piles and in the hand
// The table equals a full repaint of the position, and the window equals the table with the
// carried cards drawn where the hand says they are.
std::string PictureDiffers(Game& g);
// Repaints the whole table without telling the window, for positions a test lays by hand.
void RepaintQuietly(Game& g);
