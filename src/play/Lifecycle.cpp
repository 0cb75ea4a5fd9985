#include "play/Lifecycle.h"
#include "drawing/CardFaces.h"
#include "play/Deck.h"
#include "play/Loading.h"
#include "settings/Settings.h"
#include "settings/UiTexts.h"
#include "state/Game.h"
#include <cstdlib>
#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace {
constexpr int MinScreenWidth = 800;
constexpr int MinScreenHeight = 600;
constexpr char Separator = '/';

// A backslash is an ordinary character in a file name here; only Windows separates with it.
bool IsSeparator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}
} // namespace

bool ScreenCheck(Game& g) {
    int w = 0, h = 0;
    g.host.system->ScreenSize(w, h);
    if (w >= MinScreenWidth && h >= MinScreenHeight) return true;
    std::string text = "该游戏适合在分辨率 800x600 或者更高分辨率下进行。\n"
                       "在玩游戏之前，你想改变当前屏幕分辨率吗？";
    text += "\n\n是否忽略该该错误继续游戏?";
    return g.host.dialogs->MsgBox(text, MsgStyle::YesNoExclamation, "错误报告：") == MsgResult::Yes;
}

std::string MakeAppFolder(const std::string& folder) {
    std::string f = folder;
    while (f.size() > 1 && IsSeparator(f.back())) f.pop_back();
    if (f.size() == 1 && IsSeparator(f[0])) return f;
#ifdef _WIN32
    // A drive root such as C:\ keeps its one separator.
    if (f.size() == 2 && f[1] == ':') return f + '\\';
#endif
    return f + Separator;
}

std::string MakeUserSection(const std::string& loginName) {
    const auto first = loginName.find_first_not_of(' ');
    if (first == std::string::npos) return "$Default$";
    const auto last = loginName.find_last_not_of(' ');
    return loginName.substr(first, last - first + 1);
}

std::string CurrentLoginName() {
#ifndef _WIN32
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name && *pw->pw_name) return pw->pw_name;
    if (const char* user = std::getenv("USER")) return user;
#else
    if (const char* user = std::getenv("USERNAME")) return user;
#endif
    return {};
}

void LoadGame(Game& g) {
    LoadSettings(g);
    SetDefaultTexts(g);
    ApplyTexts(g);
    LoadGraphics(g);
    if (g.Ended) return; // a win sound was missing
    BuildCardFaces(g);
    DealCards(g);
    LoadMoveSounds(g);
    if (g.Ended) return;
    g.table.UndoAvailable = false;
    g.table.PortraitX = 195;
    g.table.PortraitY = 15;
    g.host.timers->SetTimerEnabled(TimerId::TaviBlink, true);
    g.host.timers->SetTimerEnabled(TimerId::Effect, true);
}

void ShutDown(Game& g) {
    Graphics& x = g.gfx;
    for (Surface* s : {&x.surfSort, &x.surfImgCard, &x.surfFront, &x.surfBack, &x.surfSign,
                       &x.surfTavi, &x.surfTaviAni, &x.surfBgFile, &x.surfDrag, &x.surfGoal,
                       &x.surfTable, &x.surfBackground})
        FreeSurface(*s);
    // The piles are emptied rather than freed: nothing may read a card after this.
    Table& t = g.table;
    for (auto& p : t.Tableau) p.Count = 0;
    for (auto& p : t.Goal) p.Count = 0;
    t.HandCount = 0;
    t.Dragging = false;

    MenuService& m = *g.host.menus;
    for (int i = 1; i < x.FrontDesignCount; ++i) m.ListRemoveLast(MenuList::LayoutFrontFront);
    for (int i = 1; i < x.BackDesignCount; ++i) m.ListRemoveLast(MenuList::LayoutBackBack);
    for (int i = 1; i < x.BackgroundCount; ++i) m.ListRemoveLast(MenuList::LayoutBgBg);
    g.host.window->SetCaption(g.texts.WindowTitle);
    g.SaveError = SaveSettings(g);
    g.Ended = true;
}

// A failed save is told before the end, unless a signal ended the game and no one would see it.
void EndGame(Game& g) {
    if (!g.Ended) {
        ShutDown(g);
        if (!g.SaveError.empty() && !g.QuietEnd)
            g.host.dialogs->MsgBox(g.SaveError, MsgStyle::Ok, g.texts.WindowTitle);
    }
    g.host.system->EndProgram();
}
