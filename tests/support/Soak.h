#pragma once
// Long seeded streams of events through the real handlers, with the game's invariants checked
// after every event. Shared by the default test run and the long soak program.
#include "Invariants.h"
#include "Printers.h"
#include "TestHost.h"
#include "debug/DebugMode.h"
#include "keys/KeyPlay.h"
#include "model/Rules.h"
#include "options/Options.h"
#include "play/Commands.h"
#include "play/Deck.h"
#include "play/Lifecycle.h"
#include "play/Mouse.h"
#include "play/Win.h"
#include "status/ElapsedTime.h"
#include "status/Portrait.h"
#include <random>

namespace soak {
struct Tally {
    long events = 0, goalMoves = 0, tableauMoves = 0, pickUps = 0;
};
// The rest of the program, and the options that pick one of a list.
inline constexpr void (*Commands[])(Game&) = {
    tmrUpdateTime_Timer,         tmrTaviBlink_Timer,         mnuTopFile_Click,
    RefreshOptionsMenu,          mnuTopHelp_Click,           mnuOptionsSoundsPlaysounds_Click,
    mnuOptionsTavi_Click,        mnuFileUndo_Click,          mnuFileNewgame_Click,
    mnuDebugWin_Click,           mnuFileExit_Click,          Form_Unload,
    mnuDebugResetsettings_Click, mnuDebugDisabledebug_Click, mnuHelpAbout_Click,
    mnuDebugNoshuffle_Click};
inline constexpr void (*Choices[])(Game&, int) = {
    mnuOptionsLayoutFrontFront_Click, mnuOptionsLayoutBackBack_Click, mnuOptionsLayoutBgBg_Click,
    mnuOptionsSoundsDefsndSnd_Click, mnuOptionsSoundsGoalsndSnd_Click};
// A stream starts as the program does, from the data folder. Without pictures it runs many
// times faster: the rules never look at pixels. With everything, it carries the menus, keys
// with the debug phrases, the timers and the program's ends besides the mouse.
struct Soak {
    Soak(uint64_t seed, bool withPictures, bool withEverything = false)
        : pictures(withPictures), everything(withEverything), rng(seed) {
        tg.host.rngState = seed;
        tg.host.tickStep = 7;
        tg.host.onDoEvents = [this] { t.InputArmed = true; };
        Start();
    }
    long restarts = 0;
    auto Record() const { return std::tuple(t.UndoAvailable, t.UndoFrom, t.UndoTo); }
    // Returns "" or what broke and where.
    std::string Run(int events, Tally& tally) {
        for (int i = 0; i < events; ++i, ++tally.events) {
            const bool carrying = t.Dragging;
            const auto before = Record();
            Event();
            if (g.Ended) Start();
            tally.pickUps += !carrying && t.Dragging;
            if (t.UndoAvailable && t.UndoFrom != t.UndoTo && Record() != before)
                ++(t.UndoTo <= 7 ? tally.tableauMoves : tally.goalMoves); // a drop or a send
            tg.host.invalidated.clear(); // the recordings would only grow
            tg.host.played.clear();
            std::string broken = BrokenInvariant(g);
            if (broken.empty() && pictures) broken = PictureDiffers(g);
            if (!broken.empty())
                return Cat({"event ", std::to_string(i), ": ", broken, PositionText(t)});
        }
        return "";
    }
    using Point = std::pair<float, float>;
    bool pictures, everything;
    TestGame tg;
    Game& g = tg.g();
    Table& t = g.table;
    std::mt19937_64 rng;
    // The pictures service of a folder whose pictures cannot be read: the fast streams' table.
    struct NoPictureFiles : PictureService {
        std::optional<Picture> Decode(const std::string&) override { return std::nullopt; }
    };
    void Start() { // and again after File/Exit, the close box or No after a win ended the program
        static NoPictureFiles none;
        restarts += g.Ended;
        if (g.Ended) g = Game(g.host);
        t.AppFolder = std::string(SOAK_DATA_DIR) + "/";
        t.UserSection = "soak";
        if (!pictures) g.host.pictures = &none;
        LoadGame(g);
        // Without pictures nothing is drawn, but the menus offer what the folder holds.
        for (Surface* s : {&g.gfx.surfTable, &g.gfx.surfWindow, &g.gfx.surfBackground})
            if (!pictures) FreeSurface(*s);
        if (!pictures) g.gfx.FrontDesignCount = g.gfx.BackDesignCount = 4;
        NewGame(g, 1);
    }
    int Roll(int n) { return static_cast<int>(rng() % static_cast<uint64_t>(n)); }
    static Point At(double x, double y) { return {static_cast<float>(x), static_cast<float>(y)}; }
    // Where events land: mostly on cards, and a pixel over every edge, where hit tests go wrong.
    Point Somewhere() {
        const auto n = static_cast<uint8_t>(Roll(2) ? 1 + Roll(7) : 1 + Roll(13));
        const Pile& p = t.PileAt(n);
        int slot = p.Count == 0 ? 1 : 1 + Roll(p.Count);
        while (Roll(4) != 0 && slot < p.Count && !IsFaceUp(t.Cards[p.List[slot]]))
            ++slot;
        const int x =
            p.X + (n == PileWaste && Roll(2) ? WasteTopOffset(t, g.settings.DrawRule) : 0);
        const int y = p.Y + (n <= 7 ? TableauStep * (slot - 1) : 0);
        const int h = n > 7 || slot >= p.Count ? CardHeight : TableauStep;
        if (Roll(8) == 0)
            return At(Roll(t.TableWidth + 80) - 40 + 0.25 * Roll(4), Roll(t.TableHeight + 80) - 40);
        return At(x - 1 + Roll(CardWidth + 3), y - 1 + Roll(h + 3));
    }
    // While carrying: the pointer that puts the lowest card on a pile, if possible one it fits.
    Point DropPoint() {
        const Card& c = t.Cards[t.Hand[1]];
        for (int tries = 0;; ++tries) {
            const auto n = static_cast<uint8_t>(1 + Roll(11));
            const Pile& p = t.PileAt(n);
            const bool fits = n <= 7 ? FitsOnTableau(p, c, t.TopCard(p))
                                     : NextOfGoalSuit(n - 7, p, c, t.TopCard(p));
            const int y = p.Y + (n <= 7 ? TableauStep * p.Count : 0) + t.GrabDY;
            if (fits || tries == 11) return At(p.X + t.GrabDX + Roll(9) - 4, y + Roll(9) - 4);
        }
    }
    void Mouse(void (*handler)(Game&, uint8_t, uint8_t, float, float), int button, Point p) {
        handler(g, static_cast<uint8_t>(button), 0, p.first, p.second);
    }
    KeyPlay keys; // the keyboard's focus, as the window keeps it
    // A few play keys, as a player walks the focus and acts, carries and sends.
    void PlayKeys() {
        for (int k = 1 + Roll(8); k > 0 && !g.Ended; --k)
            keys.Handle(g, static_cast<PlayKey>(Roll(9)));
    }
    void Event() {
        const int r = Roll(everything ? 1010 : 1000), b = r < 820 ? ButtonLeft : ButtonMiddle;
        if (r >= 1004) return PlayKeys();
        const Point p = t.Dragging && Roll(4) && r >= 300 && r < 760 ? DropPoint() : Somewhere();
        const auto rule = Roll(2) ? mnuOptionsRulesDrawOne_Click : mnuOptionsRulesDrawThree_Click;
        if (r < 300) return Mouse(Form_MouseDown, ButtonLeft, p);
        if (r < 520) return Mouse(Form_MouseMove, Roll(8) ? ButtonLeft : Roll(4), p);
        if (r < 760) return Mouse(Form_MouseUp, ButtonLeft, p);
        if (r < 830) Mouse(Form_MouseDown, b, p), Mouse(Form_MouseUp, b, p);
        if (r < 820) Form_DblClick(g), Mouse(Form_MouseUp, b, p); // as the platform delivers it
        if (r < 830) return;
        if (r < 860) return Form_DblClick(g);
        if (r < 940) return Mouse(r < 900 ? Form_MouseDown : Form_MouseUp, ButtonRight, p);
        if (r < 965) return mnuFileUndo_Click(g);
        if (r < 985) return Form_CaptureLost(g);
        if (r < 997) Form_CaptureLost(g); // a menu takes the mouse
        if (r < 997) return rule(g);
        if (r < 1000) return NewGame(g, 1);
        if (r < 1001) { // keys, the debug phrases among them
            static const char* phrases[] = {"start admin view", "stop admin view",
                                            "start admin vie", "xyz"};
            for (const char* c = Roll(3) ? "" : phrases[Roll(4)]; *c; ++c)
                Form_KeyDown(g, *c == ' ' ? 32 : *c - 'a' + 'A', 0);
            const int codes[] = {'A' + Roll(26), 32, 16, 17, 27, 255, '0' + Roll(10)};
            return Form_KeyDown(g, codes[Roll(7)], Roll(2));
        }
        // The rest of the program; but for the timers, a menu takes the mouse first.
        const Graphics& x = g.gfx;
        const int counts[] = {x.FrontDesignCount, x.BackDesignCount, x.BackgroundCount,
                              x.SoundCount, x.SoundCount};
        const int n = Roll(21);
        if (n >= 2) Form_CaptureLost(g);
        tg.host.answers = {Roll(3) ? MsgResult::Yes : MsgResult::No}; // should a question come
        if (n < 16) return Commands[n](g);
        Choices[n - 16](g, Roll(std::max(1, counts[n - 16])));
    }
};
} // namespace soak
