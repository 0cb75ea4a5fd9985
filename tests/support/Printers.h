#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
struct Table;
struct Pile;

// Readable positions for failing tests: "Q♥", "pile 3", "goal 2", "2 down, 5♠ 4♥" (a pile bottom
// first: the face-down cards at its foot counted, any others marked ~), "K♠ Q♥ from pile 3",
// "3 pile 2 > goal 1" (the undo record), and the whole position, one pile a line. Cat appends
// its pieces (GCC 12 at -O3 warns falsely about a literal + std::string).
std::string Cat(std::initializer_list<std::string_view> parts);
std::string CardText(const Table& t, uint8_t card);
std::string PileName(uint8_t number);
std::string PileText(const Table& t, const Pile& p);
std::string HandText(const Table& t);
std::string UndoText(const Table& t);
std::string PositionText(const Table& t);
uint8_t PileNo(const std::string& key); // "p1".."p7", "g1".."g4", "S", "W" as pile numbers
