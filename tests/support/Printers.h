#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

struct Table;

// Pieces appended in order. (GCC 12 at -O3 warns falsely about a literal + std::string.)
std::string Cat(std::initializer_list<std::string_view> parts);
struct Pile;

// Readable positions for failing rule tests: "Q♥", "pile 3: 2 down, 5♠ 4♥".
std::string CardText(const Table& t, uint8_t card);
std::string PileName(uint8_t number);
// Cards bottom first; a leading run of face-down cards is counted, later ones bracketed.
std::string PileText(const Table& t, const Pile& p);
std::string HandText(const Table& t);
// Every pile, the hand, the fan and the undo record, one line each.
std::string PositionText(const Table& t);
