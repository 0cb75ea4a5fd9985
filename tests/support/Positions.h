#pragma once
#include "state/Game.h"
#include <cstdint>
#include <string_view>

// Hand-built positions for the play rules, on the sorted deck (card 13 * suit + rank).

// Sorted deck, every pile empty at its place, nothing carried, no undo, synthetic art.
void ClearTable(Game& g);
// Card number of a name such as "QH", "10S", "AD" (suits S C H D).
uint8_t CardNo(std::string_view name);
// Lays cards on pile number 1..13, bottom first: "(7S) (2D) 9H 8C"; parentheses mean face down.
void Lay(Game& g, uint8_t pile, std::string_view cards);

// Points that hit things: a little inside the card's top-left corner.
struct Point {
    float x, y;
};
Point OnTableauCard(const Game& g, int pile, int slot);
Point OnCard(const Pile& p);

#include "Invariants.h"
#include "Printers.h"
#include "TestHost.h"
#include "play/Mouse.h"
#include <gtest/gtest.h>
#include <vector>

// A cleared table on a recording host, with the mouse gestures the window delivers. Before
// each event the position as laid by hand is painted; after it, the table must equal a full
// repaint and the window the table plus the hand, and every invariant must hold.
class PlayTest : public ::testing::Test {
  protected:
    TestGame tg;
    Game& g = tg.g();
    Table& t = g.table;
    TestHost& host = tg.host;

    void SetUp() override;

    void Event(void (*handler)(Game&, uint8_t, uint8_t, float, float), uint8_t button, Point p) {
        Before();
        handler(g, button, 0, p.x, p.y);
        After();
    }
    void Press(Point p) { Event(Form_MouseDown, ButtonLeft, p); }
    void Move(Point p) { Event(Form_MouseMove, ButtonLeft, p); }
    void Release(Point p) { Event(Form_MouseUp, ButtonLeft, p); }
    void Click(Point p) {
        Press(p);
        Release(p);
    }
    // As the platform delivers it: press, release, double-click, release.
    void DoubleClick(Point p) {
        Click(p);
        Do(Form_DblClick);
        Release(p);
    }
    void RightClick(Point p) {
        Event(Form_MouseDown, ButtonRight, p);
        Event(Form_MouseUp, ButtonRight, p);
    }
    // Press, carry and release somewhere else.
    void Drag(Point from, Point to) {
        Press(from);
        Move(to);
        Release(to);
    }
    // Any other command, checked the same way.
    void Do(void (*command)(Game&)) {
        Before();
        command(g);
        After();
    }
    void Before() {
        if (!t.Dragging) RepaintQuietly(g);
        windowBefore = g.gfx.surfWindow;
        shownBefore = host.invalidated.size();
        cardsBefore = CardsOnTable(t);
    }
    void After() {
        EXPECT_EQ(PictureDiffers(g), "") << PositionText(t);
        EXPECT_EQ(BrokenInvariant(g, false), "") << PositionText(t);
        EXPECT_GE(CardsOnTable(t), cardsBefore) << "a card was lost" << PositionText(t);
        EXPECT_EQ(ChangedButNotShown(), "") << PositionText(t);
    }
    // A window pixel that changed during the event outside every rectangle it invalidated.
    std::string ChangedButNotShown() const;
    Surface windowBefore;
    size_t shownBefore = 0;
    int cardsBefore = 0;

    // How often each sound was played.
    int MoveSounds() const { return Heard(g.sounds.MoveSoundData); }
    int GoalSounds() const { return Heard(g.sounds.GoalSoundData); }
    int Heard(const std::vector<uint8_t>& image) const;
};
