#include "Printers.h"
#include "model/Table.h"
#include <array>

namespace {
constexpr std::array<const char*, 14> RankText{"?", "A", "2", "3",  "4", "5", "6",
                                               "7", "8", "9", "10", "J", "Q", "K"};
constexpr std::array<const char*, 4> SuitText{"♠", "♣", "♥", "♦"};

std::string Line(const Table& t, uint8_t number) {
    Table& mt = const_cast<Table&>(t); // PileAt has no const overload; nothing is changed
    return Cat({PileName(number), ": ", PileText(t, mt.PileAt(number)), "\n"});
}
} // namespace

std::string Cat(std::initializer_list<std::string_view> parts) {
    std::string s;
    for (std::string_view part : parts)
        s.append(part);
    return s;
}

std::string CardText(const Table& t, uint8_t card) {
    if (card == 0 || card > 52) return Cat({"#", std::to_string(card)});
    const Card& c = t.Cards[card];
    if (c.Rank < 1 || c.Rank > 13 || c.Suit > 3) return Cat({"#", std::to_string(card)});
    return std::string(RankText[c.Rank]) + SuitText[c.Suit];
}

std::string PileName(uint8_t number) {
    if (number >= 1 && number <= 7) return Cat({"pile ", std::to_string(number)});
    if (number >= 8 && number <= 11) return Cat({"goal ", std::to_string(number - 7)});
    if (number == PileStock) return "stock";
    if (number == PileWaste) return "waste";
    return Cat({"pile #", std::to_string(number)});
}

std::string PileText(const Table& t, const Pile& p) {
    if (p.Count == 0) return "empty";
    int k = 1;
    while (k <= p.Count && t.Cards[p.List[k]].State == StateFaceDown)
        ++k;
    std::string cards;
    for (int j = k; j <= p.Count; ++j) {
        const std::string name = CardText(t, p.List[j]);
        const bool down = t.Cards[p.List[j]].State == StateFaceDown;
        cards += Cat({j > k ? " " : "", down ? "[" : "", name, down ? "]" : ""});
    }
    if (k == 1) return cards;
    const std::string downs = std::to_string(k - 1) + " down";
    return cards.empty() ? downs : downs + ", " + cards;
}

std::string HandText(const Table& t) {
    if (t.HandCount == 0) return t.Dragging ? "nothing, yet dragging" : "nothing";
    std::string s;
    for (int k = 1; k <= t.HandCount && k <= 13; ++k)
        s += Cat({k > 1 ? " " : "", CardText(t, t.Hand[k])});
    return Cat({s, " from ", PileName(t.HandFrom), " (kind ", std::to_string(t.HandKind), ")",
                t.Dragging ? "" : ", not dragging"});
}

std::string PositionText(const Table& t) {
    std::string s = "\n";
    for (uint8_t n = 1; n <= 13; ++n)
        s += Line(t, n);
    s += Cat({"hand: ", HandText(t), "\n"});
    s += Cat({"fan: ", std::to_string(t.WasteFan), ", undo: "});
    s += t.UndoAvailable ? Cat({std::to_string(t.UndoCount), " from ", PileName(t.UndoFrom), " to ",
                                PileName(t.UndoTo)})
                         : "none";
    return s + "\n";
}
