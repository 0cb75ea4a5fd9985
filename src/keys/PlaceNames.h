#pragma once
#include <cstdint>
#include <string>

struct Table;

// What a place holds, in words a screen reader speaks: "第 3 列：红心 Q 在上，下面 2 张背面",
// "废牌堆：梅花 7", "目标 1：空", "发牌堆：12 张".
std::string CardName(const Table& t, uint8_t card); // "红心 Q"
std::string PlaceName(const Table& t, uint8_t place);
// The focused tableau pile also says how many cards a press there takes, once more than one.
std::string FocusedPlaceName(const Table& t, uint8_t place, int depth);
