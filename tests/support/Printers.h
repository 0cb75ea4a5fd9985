#pragma once
#include <cstdint>
#include <string>

struct Table;
struct Pile;

// Readable positions for failing rule tests: "Q♥", "pile 3: 2 down, 5♠ 4♥".
std::string CardText(const Table& t, uint8_t card);
std::string PileName(uint8_t number);
// Cards bottom first; a leading run of face-down cards is counted, later ones bracketed.
std::string PileText(const Table& t, const Pile& p);
std::string HandText(const Table& t);
// Every pile, the hand, the fan and the undo record, one line each.
std::string PositionText(const Table& t);
