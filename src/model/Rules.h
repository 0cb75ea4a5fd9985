#pragma once
#include "model/Card.h"
#include "model/Pile.h"
#include "model/Table.h"
#include <algorithm>
#include <cmath>
#include <cstdint>

// The move rules and hit tests, each stated once and named after what it says. The procedures
// of the mouse handlers only call these.

// ---- Move rules ----

inline bool KingOnEmptyPile(const Pile& target, const Card& c) {
    return target.Count == 0 && c.Rank == RankKing;
}

// Only the rank and colour of the card below count: a face-down top card takes a card too.
inline bool OneLowerAndOtherColour(const Card& c, const Card& below) {
    return IsFaceUp(c) && Colour(c) != Colour(below) && c.Rank + 1 == below.Rank;
}

// An empty pile takes nothing but a king; the rest of a carried run is never examined.
inline bool FitsOnTableau(const Pile& target, const Card& c, const Card& top) {
    if (target.Count == 0) return KingOnEmptyPile(target, c);
    return OneLowerAndOtherColour(c, top);
}

// Goal pile k (1..4) is built up in suit k - 1 from the ace.
// A full pile takes nothing (only the debug win leaves one holding no king on top).
inline bool NextOfGoalSuit(int goal, const Pile& target, const Card& c, const Card& top) {
    if (c.Suit != goal - 1 || target.Full()) return false;
    if (target.Count == 0) return c.Rank == RankAce;
    return IsFaceUp(c) && c.Rank == top.Rank + 1;
}

// Sending finds the goal pile by suit, so only the rank is left to check.
inline bool NextOnItsGoal(const Card& c, const Card& goalTop) {
    return c.Rank == goalTop.Rank + 1;
}
inline uint8_t GoalForSuit(const Card& c) {
    return static_cast<uint8_t>(c.Suit + 1);
}

// ---- Hit tests, in whole table pixels ----

// A card's rectangle: right edge out, bottom edge in.
inline bool InCardRect(int cx, int cy, int x, int y) {
    return cx <= x && x < cx + CardWidth && cy <= y && y <= cy + CardHeight;
}

// A tableau pile reaches one fan step below its last card.
inline bool InTableauRect(const Pile& p, int x, int y) {
    return p.X <= x && x < p.X + CardWidth && p.Y <= y &&
           y <= p.Y + CardHeight + TableauStep * p.Count;
}

// The slot (1..Count) of a tableau pile under a point of its rectangle; 0 on none.
inline int TableauSlotAt(const Pile& p, int y) {
    const int dy = y - p.Y;
    if (p.Count == 0 || dy < 0) return 0;
    const int lastTop = TableauStep * (p.Count - 1);
    if (dy < lastTop) return dy / TableauStep + 1;
    return dy < lastTop + CardHeight ? p.Count : 0;
}

// Stock and waste for sending: both edges in.
inline bool InSendRect(int cx, int cy, int x, int y) {
    return cx <= x && x <= cx + CardWidth && cy <= y && y <= cy + CardHeight;
}

// Drop zones, judged by the top-left corner of the lowest carried card.
inline bool InTableauDropZone(const Pile& p, int left, int top) {
    return p.X - 37 <= left && left < p.X + 37 && p.Y - 25 <= top &&
           top <= p.Y + TableauStep * (p.Count + 5) + 25;
}
inline bool InGoalDropZone(const Pile& p, int left, int top) {
    return p.X - 37 <= left && left < p.X + 37 && p.Y - 57 <= top && top <= p.Y + 57;
}

// ---- The draw-three fan ----

// How many cards of the waste's fan are still shown: the top card lies in the last of them.
inline int FanSlots(const Table& t) {
    return std::min<int>(t.Waste.Count, 3 - t.WasteFan);
}
// Offset of the waste's top card from Waste.X (-15 for an empty draw-three waste).
inline int WasteTopOffset(const Table& t, uint8_t drawRule) {
    return drawRule == 3 ? FanSlots(t) * FanStep - FanStep : 0;
}
// Where a card taken off the fan goes back to, counted after it was taken.
inline int WasteReturnOffset(const Table& t, uint8_t drawRule) {
    return drawRule == 3 ? FanSlots(t) * FanStep : 0;
}

// ---- Event coordinates ----

// Whole table pixels from an event coordinate. Wild values (far off, NaN) are pinned well
// outside the table so that the arithmetic on them stays in range.
inline int32_t Pixel(float v) {
    constexpr float Far = 1e6f;
    if (!(v > -Far)) return -1000000;
    if (v > Far) return 1000000;
    return static_cast<int32_t>(std::lround(v));
}
