#include "keys/PlaceNames.h"
#include "keys/KeyPlay.h"
#include "model/Table.h"
#include <array>

namespace {
using std::to_string;

std::string Count(int n) {
    return to_string(n) + " 张";
}

std::string TableauName(const Table& t, uint8_t i) {
    const Pile& p = t.Tableau[i];
    std::string name = "第 " + to_string(i) + " 列：";
    if (p.Count == 0) return name + "空";
    const int up = FaceUpRun(t, i);
    const int down = p.Count - up;
    if (up == 0) return name + Count(down) + "背面";
    name += CardName(t, p.Top());
    if (p.Count == 1) return name;
    name += " 在上，下面 ";
    for (int k = p.Count - 1; k > down; --k)
        name += CardName(t, p.List[k]) + "，";
    if (down > 0) return name + Count(down) + "背面";
    name.resize(name.size() - std::string("，").size());
    return name;
}
} // namespace

std::string CardName(const Table& t, uint8_t card) {
    static constexpr std::array<const char*, 4> suits = {"黑桃", "梅花", "红心", "方块"};
    static constexpr std::array<const char*, 14> ranks = {"",  "A", "2", "3",  "4", "5", "6",
                                                          "7", "8", "9", "10", "J", "Q", "K"};
    const Card& c = t.Cards[card];
    if (c.Suit > 3 || c.Rank < 1 || c.Rank > 13) return "?";
    return std::string(suits[c.Suit]) + " " + ranks[c.Rank];
}

std::string PlaceName(const Table& t, uint8_t place) {
    if (place >= 1 && place <= 7) return TableauName(t, place);
    if (place == PileStock)
        return "发牌堆：" + (t.Stock.Count == 0 ? std::string("空") : Count(t.Stock.Count));
    const bool waste = place == PileWaste;
    const Pile& p = waste ? t.Waste : t.Goal[place - 7];
    const std::string name = waste ? "废牌堆：" : "目标 " + to_string(place - 7) + "：";
    return name + (p.Count == 0 ? "空" : CardName(t, p.Top()));
}

std::string FocusedPlaceName(const Table& t, uint8_t place, int depth) {
    const std::string name = PlaceName(t, place);
    return depth > 0 ? name + "；选中 " + Count(depth + 1) : name;
}
