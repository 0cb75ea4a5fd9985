#include "status/ElapsedTime.h"
#include "state/Game.h"

namespace {
std::string PadLeft(std::string s, size_t width) {
    if (s.size() < width) s.insert(0, width - s.size(), ' ');
    return s;
}
} // namespace

std::string ElapsedText(uint32_t elapsedMs) {
    const uint32_t hours = elapsedMs / 3600000;
    const uint32_t rest = elapsedMs % 3600000;
    const uint32_t minutes = rest / 60000;
    const uint32_t seconds = (rest % 60000) / 1000;
    const std::string h = hours > 0 ? std::to_string(hours) + " h " : "";
    const std::string m = (minutes > 0 || hours > 0) ? std::to_string(minutes) + " m " : "";
    const std::string s = std::to_string(seconds) + " s ";
    return PadLeft(PadLeft(h, 6) + PadLeft(m, 5) + PadLeft(s, 5), 16);
}

void tmrUpdateTime_Timer(Game& g) {
    // Unsigned subtraction: a tick counter that wrapped since the deal still gives the interval.
    const uint32_t elapsed = g.host.system->TickCount() - g.table.GameStart;
    g.host.window->SetStatusText(2, ElapsedText(elapsed));
}
