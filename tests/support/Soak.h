#pragma once
// Long seeded streams of events through the real handlers, with the table's invariants checked
// after every event. Shared by the default test run and the long soak program.
#include "DrawArt.h"
#include "Invariants.h"
#include "Positions.h"
#include "Printers.h"
#include "TestHost.h"
#include "debug/DebugMode.h"
#include "drawing/CardFaces.h"
#include "drawing/TablePainter.h"
#include "play/Commands.h"
#include "play/Lifecycle.h"
#include "play/Deck.h"
#include "model/Rules.h"
#include "play/Win.h"
#include "options/Options.h"
#include "settings/Settings.h"
#include "settings/UiTexts.h"
#include "sound/Sound.h"
#include "status/ElapsedTime.h"
#include "status/Portrait.h"
#include <array>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <random>
#include <string>

#ifndef SOAK_DATA_DIR
#define SOAK_DATA_DIR "data"
#endif

namespace soak {

// The pictures service of a folder whose pictures cannot be read: the fast streams' table.
class NoPictureFiles : public PictureService {
public:
    std::optional<Picture> Decode(const std::string&) override { return std::nullopt; }
};

struct Tally {
    long events = 0, goalMoves = 0, tableauMoves = 0, pickUps = 0;
};

class Soak {
  public:
    // Without pictures the streams run many times faster; the rules never look at pixels.
    // With everything, the game starts as the program does, from the data folder, and the
    // stream also carries every menu command, keys with the debug phrases, and timer ticks.
    Soak(uint64_t seed, bool withPictures, bool withEverything = false)
        : pictures(withPictures), everything(withEverything), rng(seed) {
        tg.host.rngState = seed;
        tg.host.tickStep = 7;
        tg.host.onDoEvents = [this] { t.InputArmed = true; };
        if (everything) {
            StartLikeTheProgram();
            return;
        }
        if (pictures) drawtest::Dress(g);
        BuildCardFaces(g);
        NewGame(g, 1);
        if (pictures) ShowTable(g);
    }
    long restarts = 0;

    // Runs the stream; returns "" or what broke, with the recent events.
    std::string Run(int events, Tally& tally) {
        for (int i = 0; i < events; ++i) {
            const int goalsBefore = GoalsWithHand();
            const std::array<int, 8> piles = TableauCounts();
            const bool carrying = t.Dragging;
            const uint8_t from = t.HandKind == HandFromTableau ? t.HandFrom : 0;
            Step();
            if (!carrying && t.Dragging) ++tally.pickUps;
            if (GoalsWithHand() > goalsBefore) ++tally.goalMoves;
            for (uint8_t p = 1; p <= 7; ++p)
                if (carrying && !t.Dragging && p != from && t.Tableau[p].Count > piles[p])
                    ++tally.tableauMoves;
            ++tally.events;
            tg.host.invalidated.clear(); // the recordings would only grow
            tg.host.played.clear();
            const std::string broken = Broken();
            if (!broken.empty())
                return Cat({"event ", std::to_string(i), ": ", broken, "\nlast events:", Recent(),
                            PositionText(t)});
        }
        return "";
    }

  private:
    bool pictures;
    bool everything;
    TestGame tg;
    Game& g = tg.g();
    Table& t = g.table;
    std::mt19937_64 rng;
    // The last events, kept cheaply and spelt out only when something breaks.
    struct Event {
        const char* what = "";
        int button = 0;
        Point at{};
    };
    std::array<Event, 12> log{};
    size_t logged = 0;

    int Roll(int n) { return static_cast<int>(rng() % static_cast<uint64_t>(n)); }
    void Note(const char* what, int button = 0, Point at = {}) {
        log[logged++ % log.size()] = {what, button, at};
    }
    std::string Recent() const {
        std::string s;
        for (size_t i = logged > log.size() ? logged - log.size() : 0; i < logged; ++i) {
            const Event& e = log[i % log.size()];
            s += Cat({"\n  ", e.what, " ", std::to_string(e.button), " ", At(e.at)});
        }
        return s + "\n";
    }
    static std::string At(Point p) {
        return Cat({"(", std::to_string(p.x), ", ", std::to_string(p.y), ")"});
    }

    // ---- Where events land: mostly on cards, corners and edges ----

    Point Jitter(int x, int y, int w, int h) {
        return {static_cast<float>(x + Roll(w)), static_cast<float>(y + Roll(h))};
    }
    Point OnTableau() {
        const Pile& p = t.Tableau[1 + Roll(7)];
        int slot = p.Count == 0 ? 1 : 1 + Roll(p.Count);
        while (Roll(4) != 0 && slot < p.Count && !IsFaceUp(t.Cards[p.List[slot]]))
            ++slot;
        const int h = slot == p.Count ? CardHeight + 1 : TableauStep;
        return Jitter(p.X, p.Y + TableauStep * (slot - 1), CardWidth, h);
    }
    Point OnWaste() {
        const int off = WasteTopOffset(t, g.settings.DrawRule);
        return Jitter(t.Waste.X + (off > 0 && Roll(2) ? off : 0), t.Waste.Y, CardWidth + 1,
                      CardHeight + 1);
    }
    Point OnEdge() {
        const Pile& p = t.PileAt(static_cast<uint8_t>(1 + Roll(13)));
        const int dx[] = {-1, 0, 63, 64, 65};
        const int dy[] = {-1, 0, 103, 104, 105, 14 * p.Count + 104, 14 * p.Count + 105};
        return {static_cast<float>(p.X + dx[Roll(5)]), static_cast<float>(p.Y + dy[Roll(7)])};
    }
    Point Anywhere() {
        return {static_cast<float>(Roll(t.TableWidth + 80) - 40) +
                    0.25f * static_cast<float>(Roll(4)),
                static_cast<float>(Roll(t.TableHeight + 80) - 40)};
    }
    Point Somewhere() {
        const int r = Roll(10);
        if (r < 4) return OnTableau();
        if (r == 4) return Jitter(t.Stock.X, t.Stock.Y, CardWidth, CardHeight);
        if (r < 7) return OnWaste();
        if (r == 7) return OnCard(t.Goal[1 + Roll(4)]);
        return r == 8 ? OnEdge() : Anywhere();
    }
    // While carrying: the pointer that puts the lowest card on a pile, if possible one it fits.
    Point DropPoint() {
        const Card& c = t.Cards[t.Hand[1]];
        if (Roll(4) == 0) return Anywhere();
        for (int tries = 0; tries < 12; ++tries) {
            const uint8_t n = static_cast<uint8_t>(1 + Roll(11));
            Pile& p = t.PileAt(n);
            const bool fits = n <= 7 ? FitsOnTableau(p, c, t.TopCard(p))
                                     : NextOfGoalSuit(n - 7, p, c, t.TopCard(p));
            if (!fits && tries < 11) continue;
            const int y = n <= 7 ? p.Y + TableauStep * p.Count : p.Y;
            return {static_cast<float>(p.X + t.GrabDX + Roll(9) - 4),
                    static_cast<float>(y + t.GrabDY + Roll(9) - 4)};
        }
        return Anywhere();
    }

    // ---- One event ----

    void Step() {
        const int r = Roll(1000);
        if (r < 300) return Down(ButtonLeft, Somewhere());
        if (r < 520) return MoveTo(t.Dragging && Roll(3) ? DropPoint() : Somewhere());
        if (r < 760) return Up(ButtonLeft, t.Dragging && Roll(4) ? DropPoint() : Somewhere());
        if (r < 820) return DoubleClick(Somewhere());
        if (r < 850) return Do("double-click", Form_DblClick);
        if (r < 890) return Down(ButtonRight, Somewhere());
        if (r < 930) return Up(ButtonRight, Somewhere());
        if (r < 955) return Do("undo", mnuFileUndo_Click);
        if (r < 975) return Do("capture lost", Form_CaptureLost);
        if (r < 985) return Other();
        if (everything && r < 997) return Anything();
        if (r < 997) {
            if (t.Dragging) Do("capture lost", Form_CaptureLost);
            return DrawRule();
        }
        Note("new game");
        NewGame(g, 1);
    }
    // ---- The rest of the program: menus, keys, timers, and its ends ----

    void StartLikeTheProgram() {
        static NoPictureFiles none;
        t.AppFolder = std::string(SOAK_DATA_DIR) + "/";
        t.UserSection = "soak";
        if (!pictures) g.host.pictures = &none;
        LoadGame(g);
        if (!pictures) {
            // Without pictures nothing is drawn, but the menus offer what the folder holds.
            for (Surface* s : {&g.gfx.surfTable, &g.gfx.surfWindow, &g.gfx.surfBackground, &g.gfx.surfDrag})
                FreeSurface(*s);
            g.gfx.FrontDesignCount = g.gfx.BackDesignCount = 4;
        }
        NewGame(g, 1);
    }
    // The program ended (File/Exit, the close box, No after a win): the player starts it again.
    void RestartIfEnded() {
        if (!g.Ended) return;
        ++restarts;
        Note("the program ended and starts again");
        g = Game(g.host);
        StartLikeTheProgram();
    }
    void Anything() {
        const int r = Roll(100);
        // A menu takes the mouse: the window loses it before any command can run.
        if (r >= 40 && t.Dragging) Do("capture lost", Form_CaptureLost);
        if (r < 25) Keys();
        else if (r < 40) Timer();
        else if (r < 55) MenuOpening();
        else if (r < 85) OptionCommand();
        else FileOrDebugCommand();
        RestartIfEnded();
    }
    void Keys() {
        static const char* phrases[] = {"start admin view", "stop admin view", "start admin vie", "xyz"};
        if (Roll(3) == 0) {
            Note("types a phrase");
            for (const char* c = phrases[Roll(4)]; *c; ++c) Form_KeyDown(g, *c == ' ' ? 32 : *c - 'a' + 'A', 0);
            return;
        }
        const int codes[] = {'A' + Roll(26), 32, 16, 17, 27, 255, '0' + Roll(10)};
        Note("key");
        Form_KeyDown(g, codes[Roll(7)], Roll(2));
    }
    void Do(const char* what, void (*command)(Game&)) {
        Note(what);
        command(g);
    }
    void Timer() {
        if (Roll(2)) return Do("clock tick", tmrUpdateTime_Timer);
        Do("portrait tick", tmrTaviBlink_Timer);
    }
    void MenuOpening() {
        const int r = Roll(3);
        if (r == 0) return Do("opens File", mnuTopFile_Click);
        if (r == 1) return Do("opens Options", RefreshOptionsMenu);
        Do("opens Help", mnuTopHelp_Click);
    }
    int Index(int count) { return count > 0 ? Roll(count) : 0; }
    void OptionCommand() {
        const Graphics& x = g.gfx;
        switch (Roll(9)) {
        case 0: Note("front design"); return mnuOptionsLayoutFrontFront_Click(g, Index(x.FrontDesignCount));
        case 1: Note("back design"); return mnuOptionsLayoutBackBack_Click(g, Index(x.BackDesignCount));
        case 2: Note("background"); return mnuOptionsLayoutBgBg_Click(g, Index(x.BackgroundCount));
        case 3: Note("move sound"); return mnuOptionsSoundsDefsndSnd_Click(g, Index(x.SoundCount));
        case 4: Note("goal sound"); return mnuOptionsSoundsGoalsndSnd_Click(g, Index(x.SoundCount));
        case 5: Note("sounds on/off"); return mnuOptionsSoundsPlaysounds_Click(g);
        case 6: Note("portrait on/off"); return mnuOptionsTavi_Click(g);
        default: return DrawRule();
        }
    }
    void FileOrDebugCommand() {
        const MsgResult answer = Roll(2) ? MsgResult::Yes : MsgResult::No;
        switch (Roll(20)) {
        case 0: case 1: case 2: case 3:
            Note("new game, answered");
            tg.host.answers = {answer};
            return mnuFileNewgame_Click(g);
        case 4: case 5: case 6: return Do("undo from the menu", mnuFileUndo_Click);
        case 7: return Do("exit", mnuFileExit_Click);
        case 8: return Do("close box", Form_Unload);
        case 9: case 10: case 11:
            Note("win game, then the question answered");
            tg.host.answers = {Roll(4) ? MsgResult::Yes : MsgResult::No};
            return mnuDebugWin_Click(g);
        case 14: return Do("reset settings", mnuDebugResetsettings_Click);
        case 15: return Do("disable debugging", mnuDebugDisabledebug_Click);
        case 16: return Do("about", mnuHelpAbout_Click);
        default: return Do("no-shuffle game", mnuDebugNoshuffle_Click);
        }
    }

    void Down(uint8_t b, Point p) {
        Note("down", b, p);
        Form_MouseDown(g, b, 0, p.x, p.y);
    }
    void Up(uint8_t b, Point p) {
        Note("up", b, p);
        Form_MouseUp(g, b, 0, p.x, p.y);
    }
    void MoveTo(Point p) {
        const uint8_t buttons = Roll(8) == 0 ? static_cast<uint8_t>(Roll(4)) : ButtonLeft;
        Note("move", buttons, p);
        Form_MouseMove(g, buttons, 0, p.x, p.y);
    }
    void DoubleClick(Point p) {
        Note("press, release, double-click, release", ButtonLeft, p);
        Form_MouseDown(g, ButtonLeft, 0, p.x, p.y);
        Form_MouseUp(g, ButtonLeft, 0, p.x, p.y);
        Form_DblClick(g);
        Form_MouseUp(g, ButtonLeft, 0, p.x, p.y);
    }
    void Other() {
        const Point p = Somewhere();
        Note("middle press and release", ButtonMiddle, p);
        Form_MouseDown(g, ButtonMiddle, 0, p.x, p.y);
        Form_MouseUp(g, ButtonMiddle, 0, p.x, p.y);
    }
    void DrawRule() {
        Do("draw rule", g.settings.DrawRule == 1 ? mnuOptionsRulesDrawThree_Click
                                                 : mnuOptionsRulesDrawOne_Click);
    }

    // ---- What must hold after every event ----

    int GoalsWithHand() const {
        int n = t.Dragging && t.HandKind == HandFromGoal ? t.HandCount : 0;
        for (int k = 1; k <= 4; ++k) n += t.Goal[k].Count;
        return n;
    }
    std::array<int, 8> TableauCounts() const {
        std::array<int, 8> c{};
        for (int i = 1; i <= 7; ++i) c[i] = t.Tableau[i].Count;
        return c;
    }
    std::string Broken() {
        const std::string s = BrokenInvariant(g);
        return s.empty() && pictures ? PictureDiffers(g) : s;
    }
};

} // namespace soak
