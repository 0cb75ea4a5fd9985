#include "Printers.h"
#include "model/Table.h"

std::string Cat(std::initializer_list<std::string_view> parts) {
    std::string s;
    for (std::string_view part : parts)
        s.append(part);
    return s;
}
std::string CardText(const Table& t, uint8_t card) {
    static const char* const Suits[] = {"♠", "♣", "♥", "♦"};
    const Card& c = t.Cards[card <= 52 ? card : 0];
    if (card < 1 || card > 52 || c.Rank < 1 || c.Rank > 13 || c.Suit > 3)
        return Cat({"#", std::to_string(card)});
    return Cat({c.Rank == 10 ? "10" : std::string(1, "A23456789-JQK"[c.Rank - 1]), Suits[c.Suit]});
}
uint8_t PileNo(const std::string& key) {
    if (key == "S" || key == "W") return key == "S" ? PileStock : PileWaste;
    return static_cast<uint8_t>(std::stoi(key.substr(1)) + (key[0] == 'g' ? 7 : 0));
}
std::string PileName(uint8_t n) {
    if (n == PileStock || n == PileWaste) return n == PileStock ? "stock" : "waste";
    return Cat(
        {n <= 7 || n > 13 ? "pile " : "goal ", std::to_string(n <= 7 || n > 13 ? n : n - 7)});
}
std::string PileText(const Table& t, const Pile& p) {
    int downs = 0;
    while (downs < p.Count && t.Cards[p.List[downs + 1]].State == StateFaceDown)
        ++downs;
    std::string s = std::to_string(downs) + " down";
    for (int k = downs + 1; k <= p.Count; ++k) // a face-down card above a face-up one marked ~
        s += Cat({k > downs + 1 ? " " : ", ", t.Cards[p.List[k]].State == StateFaceDown ? "~" : "",
                  CardText(t, p.List[k])});
    return p.Count == 0 ? "empty" : downs > 0 ? s : s.substr(s.find(", ") + 2);
}
std::string HandText(const Table& t) {
    if (t.HandCount == 0) return "nothing";
    std::string s;
    for (int k = 1; k <= t.HandCount && k <= 13; ++k)
        s += Cat({k > 1 ? " " : "", CardText(t, t.Hand[k])});
    return Cat({s, " from ", PileName(t.HandFrom), t.Dragging ? "" : ", let go"});
}
std::string UndoText(const Table& t) {
    if (!t.UndoAvailable) return "none";
    return Cat({std::to_string(t.UndoCount), " ", PileName(t.UndoFrom), " > ", PileName(t.UndoTo)});
}
std::string PositionText(const Table& t) {
    std::string s = "\n";
    for (uint8_t n = 1; n <= 13; ++n)
        s += Cat({PileName(n), ": ", PileText(t, const_cast<Table&>(t).PileAt(n)), "\n"});
    return Cat({s, "hand: ", HandText(t), "\nfan: ", std::to_string(t.WasteFan),
                ", undo: ", UndoText(t), "\n"});
}
