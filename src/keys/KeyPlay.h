#pragma once
#include <array>
#include <cstdint>
#include <optional>

struct Game;
struct Table;

// Play without a mouse: a focus on one of the thirteen places, and keys that make the very
// mouse gestures a player would make there, so sounds, undo, flights back and the win are the
// mouse's own. The rules below never hear of it.

enum class PlayKey { Left, Right, Up, Down, Deeper, Shallower, Act, PutBack, Send };

struct TableRect {
    int X = 0, Y = 0, W = 0, H = 0;
    bool operator==(const TableRect&) const = default;
};
struct TablePoint {
    int X = 0, Y = 0;
};

// The places in reading order: stock, waste, the four goals, the seven tableau piles.
inline constexpr std::array<uint8_t, 13> PlaceOrder = {12, 13, 8, 9, 10, 11, 1, 2, 3, 4, 5, 6, 7};

// Where a place is, in table pixels: the cards a press there takes (the run `depth` cards
// below the top of a tableau pile), or, while cards are carried, the carried cards where they
// would land.
TableRect PlaceFrame(const Table& t, uint8_t drawRule, uint8_t place, int depth);
TableRect CardsFrame(const Table& t, uint8_t drawRule, uint8_t place, int depth); // never the hand
// Where the mouse would press to take that card (or turn it, or press the stock).
TablePoint PressPoint(const Table& t, uint8_t drawRule, uint8_t place, int depth);
// The top-left corner at which carried cards would land on a place.
TablePoint LandCorner(const Table& t, uint8_t drawRule, uint8_t place);
// How many face-up cards lie at the top of a tableau pile (0 elsewhere).
int FaceUpRun(const Table& t, uint8_t place);

class KeyPlay {
  public:
    // Keeps up with the game: each deal puts the focus back on the stock, and a reach deeper
    // than the pile's face-up run shrinks to it.
    void Follow(const Table& t);
    // One play key, made into mouse gestures on the game.
    void Handle(Game& g, PlayKey key);
    uint8_t Place() const { return place; }
    int Depth() const { return depth; }
    bool Shown() const { return shown; }
    void Show() { shown = true; }
    void Hide() { shown = false; }
    TableRect Frame(const Game& g) const;

  private:
    void Move(Game& g, PlayKey key);
    void Act(Game& g);
    void Send(Game& g);
    void CarryToFocus(Game& g);
    bool Interrupted(const Game& g) const; // the game ended or dealt anew inside a gesture

    uint8_t place = 12;
    int depth = 0;
    bool shown = false;
    std::optional<uint32_t> deal; // the deal the focus belongs to
    uint32_t gesture = 0;         // the deal a gesture began on: a window event may deal anew
};
