#pragma once
#include <array>
#include <cassert>
#include <cstdint>

// A pile holds card numbers (1..52) in List[1..Count]; element 1 is the bottom card.
struct Pile {
    int32_t X = 0;
    int32_t Y = 0;
    std::array<uint8_t, 53> List{};
    uint8_t Count = 0;
    uint8_t Bound = 52; // highest index the pile may use

    // Re-create the list empty with the given bound and place.
    void Reset(int32_t x, int32_t y, uint8_t bound) {
        X = x;
        Y = y;
        List.fill(0);
        Count = 0;
        Bound = bound;
    }
    uint8_t Top() const { return Count > 0 ? List[Count] : 0; }
    bool Full() const { return Count >= Bound; }
    void Push(uint8_t card) {
        assert(!Full() && card >= 1 && card <= 52);
        if (Full()) return; // never write past the list, whatever happens
        List[++Count] = card;
    }
    uint8_t Pop() {
        assert(Count > 0);
        if (Count == 0) return 0;
        return List[Count--];
    }
};

// Pile numbers used by the hand and the undo record.
constexpr uint8_t PileTableauFirst = 1;  // 1..7
constexpr uint8_t PileGoalFirst = 8;     // 8..11
constexpr uint8_t PileStock = 12;
constexpr uint8_t PileWaste = 13;

constexpr uint8_t TableauBound = 20;
constexpr uint8_t GoalBound = 13;
constexpr uint8_t StockBound = 52;

// Where the cards in the hand came from.
constexpr uint8_t HandFromTableau = 1;
constexpr uint8_t HandFromGoal = 2;
constexpr uint8_t HandFromWaste = 3;
