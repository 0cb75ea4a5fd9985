#pragma once
#include "state/Game.h"
#include <cstdint>
#include <string_view>

// Hand-built positions for the play rules, on the sorted deck (card 13 * suit + rank).

// Table-sized surfaces plus plain card pictures, so that DrawCard leaves a mark once it draws.
void MakeSurfaces(Game& g);
// Sorted deck, every pile empty at its place, nothing carried, no undo, surfaces made.
void ClearTable(Game& g);
// Card number of a name such as "QH", "10S", "AD" (suits S C H D).
uint8_t CardNo(std::string_view name);
// Lays cards on pile number 1..13, bottom first: "(7S) (2D) 9H 8C"; parentheses mean face down.
void Lay(Game& g, uint8_t pile, std::string_view cards);
// Whether DrawCard puts anything on a surface yet.
bool DrawCardDraws(Game& g);

// Points that hit things: a little inside the card's top-left corner.
struct Point {
    float x, y;
};
Point OnTableauCard(const Game& g, int pile, int slot);
Point OnCard(const Pile& p);

#include "TestHost.h"
#include "play/Mouse.h"
#include <gtest/gtest.h>
#include <vector>

// A cleared table on a recording host, with the mouse gestures the window delivers.
class PlayTest : public ::testing::Test {
  protected:
    TestGame tg;
    Game& g = tg.g();
    Table& t = g.table;
    TestHost& host = tg.host;

    void SetUp() override;

    void Press(Point p) { Form_MouseDown(g, ButtonLeft, 0, p.x, p.y); }
    void Move(Point p) { Form_MouseMove(g, ButtonLeft, 0, p.x, p.y); }
    void Release(Point p) { Form_MouseUp(g, ButtonLeft, 0, p.x, p.y); }
    void Click(Point p) {
        Press(p);
        Release(p);
    }
    // As the platform delivers it: press, release, double-click, release.
    void DoubleClick(Point p) {
        Click(p);
        Form_DblClick(g);
        Release(p);
    }
    void RightClick(Point p) {
        Form_MouseDown(g, ButtonRight, 0, p.x, p.y);
        Form_MouseUp(g, ButtonRight, 0, p.x, p.y);
    }
    // Press, carry and release somewhere else.
    void Drag(Point from, Point to) {
        Press(from);
        Move(to);
        Release(to);
    }

    // How often each move sound was played; -1 while the sound player is not wired up.
    int MoveSounds() const { return Heard(g.sounds.MoveSoundData); }
    int GoalSounds() const { return Heard(g.sounds.GoalSoundData); }
    int Heard(const std::vector<uint8_t>& image) const;
    bool soundsWired = false;
};

// Sound expectations hold once the sound player reaches the audio service.
#define EXPECT_HEARD(count, n)                                                                     \
    do {                                                                                           \
        if (soundsWired) {                                                                         \
            EXPECT_EQ(count, n);                                                                   \
        }                                                                                          \
    } while (0)
