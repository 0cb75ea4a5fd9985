#pragma once
#include "model/Card.h"
#include "model/Pile.h"
#include <array>
#include <cstdint>
#include <string>

// The shared game state: the deck, the thirteen piles, the hand, the undo record and the
// mouse bookkeeping. Arrays are one larger than needed so 1-based numbering reads as written.
struct Table {
    std::array<Card, 53> Cards{};       // card numbers 1..52; element 0 is the "no card" record
    std::array<Card, 14> RankLayouts{}; // face templates per rank 1..13
    Card BackCard{};
    Card EmptyStockCard{};

    std::array<Pile, 8> Tableau{}; // 1..7
    std::array<Pile, 5> Goal{};    // 1..4, goal k takes suit k - 1
    Pile Stock{};
    Pile Waste{};

    // The hand: cards carried with the mouse, Hand[1] the lowest.
    std::array<uint8_t, 14> Hand{};
    uint8_t HandCount = 0;
    uint8_t HandFrom = 0;
    uint8_t HandKind = 0;
    bool Dragging = false;
    int32_t GrabDX = 0;
    int32_t GrabDY = 0;

    // One move deep undo.
    uint8_t UndoCount = 0;
    uint8_t UndoFrom = 0;
    uint8_t UndoTo = 0;
    bool UndoAvailable = false;

    int32_t DownX = 0;
    int32_t DownY = 0;
    int32_t RightDownX = 0;
    int32_t RightDownY = 0;
    uint8_t LastButton = 0;
    uint8_t WasteFan = 0;
    bool InputArmed = true;
    bool WinCheckBusy = false;
    uint32_t GameStart = 0; // tick count at the deal; differences are taken unsigned
    uint32_t Deals = 0;     // deals so far: tells onlookers a new game from a move

    int32_t PortraitX = 195;
    int32_t PortraitY = 15;
    int32_t TableWidth = 640;
    int32_t TableHeight = 480;
    std::string AppFolder;
    std::string UserSection;

    // Pile by number 1..13.
    Pile& PileAt(uint8_t n) {
        if (n >= 1 && n <= 7) return Tableau[n];
        if (n >= 8 && n <= 11) return Goal[n - 7];
        return n == PileStock ? Stock : Waste;
    }
    const Card& TopCard(const Pile& p) const { return Cards[p.Top()]; }
};

constexpr int StockX = 25;
constexpr int StockY = 30;
constexpr int WasteX = 100;
constexpr int WasteY = 30;
constexpr int TableauY = 164;
constexpr int GoalY = 30;
constexpr int TableauX(int i) { return 100 + 75 * (i - 1); }
constexpr int GoalX(int k) { return 325 + 75 * (k - 1); }
