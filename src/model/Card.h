#pragma once
#include <array>
#include <cstdint>

// One suit symbol on a face: where it goes and which way up.
struct Pip {
    int32_t X = 0;
    int32_t Y = 0;
    uint8_t Dir = 0; // PipUpright, PipInverted, anything else ends the list
};

constexpr uint8_t PipUpright = 1;
constexpr uint8_t PipInverted = 2;

// Card State values; the drawer reads the same field as its mode.
constexpr uint8_t StateBack = 0;       // draw the card back
constexpr uint8_t StateFaceUp = 1;     // draw the face
constexpr uint8_t StateFaceDown = 2;   // in a pile: face down; as a drawing mode: empty-stock marker
constexpr uint8_t StateEmptyStock = 2;

constexpr uint8_t RankAce = 1;
constexpr uint8_t RankKing = 13;

struct Card {
    std::array<Pip, 11> Pips{}; // slots 1..10; slot 0 unused
    uint8_t Rank = 0;           // 1 ace .. 13 king
    uint8_t Suit = 0;           // 0..3; colour is Suit / 2
    uint8_t State = 0;
};

constexpr int CardWidth = 64;
constexpr int CardHeight = 104;
constexpr int TableauStep = 14;
constexpr int FanStep = 15;

inline bool IsFaceUp(const Card& c) { return c.State == StateFaceUp; }
inline int Colour(const Card& c) { return c.Suit / 2; }
