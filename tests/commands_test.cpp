#include "DrawArt.h"
#include "Invariants.h"
#include "TestHost.h"
#include "debug/DebugMode.h"
#include "host/QtPictureDecoder.h"
#include "options/Options.h"
#include "play/Commands.h"
#include "play/Deck.h"
#include "play/Lifecycle.h"
#include "play/Loading.h"
#include "play/Mouse.h"
#include "play/Win.h"
#include "settings/UiTexts.h"
#include "sound/Sound.h"
#include "status/ElapsedTime.h"
#include "status/Portrait.h"
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {
using enum MenuItem;
using enum TimerId;
constexpr uint32_t Felt = 0x00123456;
const auto On = [](bool b) { return std::string(b ? "1" : "0"); };

// Notes the moment of every repaint, and fails a case whose events never stop instead of hanging.
struct CaseHost : TestHost {
    std::function<void()> onPaint;
    std::map<int, std::function<void()>> atLook; // what happens at the n-th look at the events
    std::string saw;                             // the portrait timer and the reseeds at each look
    void Invalidate(int x, int y, int w, int h) override {
        TestHost::Invalidate(x, y, w, h);
        if (onPaint) onPaint();
    }
    void DoEvents() override {
        if (doEventsCalls >= 1000) throw std::runtime_error("the events never stop");
        TestHost::DoEvents();
        saw += On(TimerEnabled(TaviBlink)) + std::to_string(reseeds) + ' ';
        if (atLook.count(doEventsCalls)) atLook[doEventsCalls]();
    }
};

// Each case acts on a fresh game (a 640 x 480 table, sound files of 10 and 20 bytes in its
// folder) and ends in Expect("key=value;..."), naming only the observations it cares about.
struct Commands : ::testing::Test {
    QTemporaryDir dir;
    CaseHost h;
    QtPictureDecoder pictures;
    std::optional<Game> game;
    std::map<std::string, std::string> seen; // what a case noted on the way
    Game& g = Fresh();
    Game& Fresh() {
        h = CaseHost{};
        h.Get(TopDebug).visible = false;
        seen.clear();
        Game& n = game.emplace(h.AsHost());
        n.host.pictures = &pictures;
        SetDefaultTexts(n);
        n.table.AppFolder = dir.path().toStdString() + "/";
        n.table.UserSection = "ann";
        for (Surface* s : {&n.gfx.surfTable, &n.gfx.surfBackground, &n.gfx.surfWindow})
            *s = NewBlankSurface(640, 480);
        for (int i : {1, 2})
            std::ofstream(SoundFile(n, i - 1)) << std::string(10 * i, 'x');
        return n;
    }
    void Type(const std::string& keys) { // letters as capitals, other keys as their own codes
        for (char ch : keys)
            Form_KeyDown(g, std::toupper(static_cast<unsigned char>(ch)), 0);
    }
    // A sorted deal on the synthetic art, three goals counted full; win sounds of 1 and 2 bytes.
    void Deal() {
        drawtest::Dress(g);
        g.sounds.WinSound = {1}, g.sounds.WinSound2 = {2, 2};
        NewGame(g, 0);
        h.invalidated.clear();
        g.table.Goal[1].Count = g.table.Goal[2].Count = g.table.Goal[3].Count = 13;
    }
    // Four portrait frames, each a colour, over a felt; every repaint notes what the eye shows.
    void Strip() {
        FillSurface(g.gfx.surfBackground, Felt);
        g.gfx.surfTavi = NewBlankSurface(120, 280);
        g.gfx.surfTaviAni = NewBlankSurface(35 * 4, 99);
        for (size_t i = 0; i < g.gfx.surfTaviAni.Pixels.size(); ++i)
            g.gfx.surfTaviAni.Pixels[i] = 0x100000u * uint32_t(i % 140 / 35 + 1);
        h.tickStep = 10;
        h.onPaint = [this] { seen["frames"] += At(g.gfx.surfTable, 195 + 22, 15 + 37); };
    }
    static char At(const Surface& s, int x, int y) { // a frame's number, the felt or nothing
        return s.At(x, y) == Felt ? 'F' : s.At(x, y) ? char('0' + s.At(x, y) / 0x100000 - 1) : '.';
    }
    // Everything a case may look at, as ";key=value;key=value;...;".
    std::string Observed() const {
        const Settings& s = g.settings;
        const Table& t = g.table;
        std::ostringstream o;
        o << ";move=" << s.MoveSound << ";goal=" << s.GoalSound << ";tavi=" << s.ShowTavi
          << ";sounds=" << s.PlaySounds << ";armed=" << t.InputArmed << ";busy=" << t.WinCheckBusy
          << ";goal1=" << int(t.Goal[1].Count) << ";end=" << g.Ended << ";endCalls=" << h.endCalls
          << ";flushes=" << h.flushes << ";reseeds=" << h.reseeds << ";looks=" << h.doEventsCalls
          << ";keys=" << h.store.size() << ";buf=" << g.KeyBuffer.size() << ";saw=" << h.saw
          << ";running=" << g.BlinkRunning << ";msgs=" << h.shown.size() << ";cap=" << h.caption
          << ";blink=" << h.TimerEnabled(TaviBlink) << ";effect=" << h.TimerEnabled(Effect)
          << ";debug=" << h.items[size_t(TopDebug)].visible << s.DebugMode << ";paused=" << h.paused
          << ";time=" << h.status[2] << ";undo=" << h.items[size_t(FileUndo)].enabled
          << ";bytes=" << g.sounds.MoveSoundData.size() << "," << g.sounds.GoalSoundData.size();
        for (const auto& m : h.shown)
            o << ";title=" << m.title << ";style=" << int(m.style) << ";msg=" << m.text;
        o << ";played=";
        for (const auto& p : h.played)
            o << p.how << p.data.size() << ' ';
        const auto& inv = h.invalidated;
        o << ";paints=" << inv.size()
          << ";wholes=" << std::count(inv.begin(), inv.end(), std::array{0, 0, 640, 480});
        int faces = 0;
        for (auto r : inv)
            if (r[2] == CardWidth && r[3] == CardHeight)
                o << ";face" << faces++ << "=" << r[0] << "," << r[1];
        o << ";faces=" << faces;
        for (const auto* notes : {&h.store, &seen})
            for (const auto& [k, v] : *notes)
                o << ";" << k << "=" << v;
        return o.str() + ";";
    }
    void Expect(const std::string& expect) {
        const std::string o = Observed();
        std::string missing, item;
        for (std::istringstream in(expect); std::getline(in, item, ';');)
            if (o.find(";" + item + ";") == std::string::npos) missing += item + "; ";
        EXPECT_EQ(missing, "") << o;
        Fresh();
    }
};
} // namespace

TEST(CommandTexts, TimesFoldersAndUserSections) {
    const auto join = [](auto f, auto... xs) { return ((f(xs) + "|") + ...); };
    EXPECT_EQ(join(ElapsedText, 0u, 5000u, 59999u, 60000u, 754000u, 3599000u, 3600000u, 3725000u,
                   36061000u, 1000u * 3600000u + 1000u),
              "            0 s |            5 s |           59 s |       1 m  0 s |"
              "      12 m 34 s |      59 m 59 s |  1 h  0 m  0 s |  1 h  2 m  5 s |"
              " 10 h  1 m  1 s |1000 h  0 m  1 s |"); // a thousand hours outgrow the field
    EXPECT_EQ(join(MakeAppFolder, "/usr/lib/zorvo", "/usr/lib/zorvo/", "/usr/lib/zorvo//", "/",
                   "/opt/z\\", "/opt/z\\/", "C:\\x\\y"),
              "/usr/lib/zorvo/|/usr/lib/zorvo/|/usr/lib/zorvo/|/|/opt/z\\/|/opt/z\\/|C:\\x\\y/|");
    EXPECT_EQ(join(MakeUserSection, "ann", "  ann ", "", "   ", "ann lee"),
              "ann|ann|$Default$|$Default$|ann lee|");
}

TEST_F(Commands, MenusAndOptions) {
    h.ListSetCaption(MenuList::LayoutFrontFront, 0, "own"); // the count is still 0
    g.gfx.BackDesignCount = 2, h.ListAdd(MenuList::LayoutBackBack, "");
    ApplyTexts(g);
    for (MenuItem i : {TopFile, FileNewgame, FileUndo, OptionsSounds, OptionsSoundsPlaysounds,
                       OptionsTavi, HelpAbout, OptionsRulesDraw, DebugWin})
        seen["menu"] += h.Get(i).caption + "|";
    seen["menu"] += h.List(MenuList::LayoutFrontFront)[0].caption + "|";
    seen["menu"] += h.List(MenuList::LayoutBackBack)[1].caption;
    mnuHelpAbout_Click(g);
    Expect("cap=Zorvo - Quenta软件;msg=ZorvoV2.7(Quenta软件);title=关于;style=64;menu=文件(&F)|"
           "新游戏(&G)|撤销(&U)|声效(&S)|启动声效|显示头像|关于(&A)...|Draw..||own|图案 2;msgs=1");
    g.table.InputArmed = g.table.UndoAvailable = false;
    mnuTopFile_Click(g);
    g.table.UndoAvailable = true;
    seen["before"] = On(h.Get(FileUndo).enabled); // only opening File follows it
    mnuTopFile_Click(g);
    Expect("before=0;undo=1;armed=1");
    g.gfx.FrontDesignCount = g.gfx.BackgroundCount = g.gfx.SoundCount = 3,
    g.gfx.BackDesignCount = 4;
    for (int l : {0, 0, 1, 1, 2, 2, 2, 3, 3, 4, 4}) // background, front, back, move, goal sound
        h.ListAdd(MenuList(l), "");
    h.ListSetChecked(MenuList::SoundsDefsndSnd, 0, true); // a stale mark
    Settings& s = g.settings;
    s.MoveSound = 2, s.ShowTavi = false, s.LanguageCode = "DE";
    mnuOptionsLayoutFrontFront_Click(g, 1);
    mnuOptionsLayoutBackBack_Click(g, 3); // each choice repaints; the store waits for the end
    g.table.InputArmed = false;
    for (auto choose : {mnuOptionsRulesDrawThree_Click, mnuOptionsRulesDrawOne_Click}) {
        choose(g);
        RefreshOptionsMenu(g);
        for (auto& list : h.lists)
            for (auto& item : list)
                seen["marks"] += item.checked ? 'x' : '.';
        for (MenuItem i : {OptionsTavi, OptionsRulesDrawOne, OptionsRulesDrawThree,
                           OptionsSoundsPlaysounds, OptionsLanguageGerman, OptionsLanguageEnglish})
            seen["marks"] += h.Get(i).checked ? 'X' : '_';
    }
    Expect("armed=1;wholes=4;keys=0;marks=x...x....x..x.x.__XXX_x...x....x..x.x._X_XX_");
    h.onDoEvents = [&] { seen["during"] += std::to_string(s.MoveSound * 10 + s.GoalSound); };
    mnuOptionsSoundsDefsndSnd_Click(g, 1); // pending events run before the choice changes
    mnuOptionsSoundsGoalsndSnd_Click(g, 0);
    Expect("during=111;move=1;goal=0;bytes=20,10;played=;msgs=0");
    mnuOptionsSoundsGoalsndSnd_Click(g, 4); // its file is gone since start-up
    Expect("msg=不能打开文件 " + g.table.AppFolder + "Snd5.wav;end=1;endCalls=1;ann/GoalMove=4");
    h.onDoEvents = [&] { EndGame(g); };
    mnuOptionsSoundsDefsndSnd_Click(g, 1);
    Expect("move=0;endCalls=1;msgs=0");
    g.sounds.MoveSoundData = {1, 2};
    mnuOptionsSoundsPlaysounds_Click(g);
    seen["once"] = On(g.settings.PlaySounds);
    mnuOptionsSoundsPlaysounds_Click(g);
    h.SetTimerEnabled(TaviBlink, true); // and off at every repaint of the switch
    h.onPaint = [&] { seen["paints"] += On(h.TimerEnabled(TaviBlink)); };
    mnuOptionsTavi_Click(g);
    seen["off"] = On(g.settings.ShowTavi) + On(h.TimerEnabled(TaviBlink));
    mnuOptionsTavi_Click(g);
    Expect("paints=00;off=00;tavi=1;blink=1;once=0;sounds=1;bytes=2,0");
}

TEST_F(Commands, KeysSoundsStartAndEnd) {
    g.table.GameStart = 0xFFFFF000u, h.tick = 904; // 4096 ms before the wrap, 5000 ms after
    g.table.InputArmed = false;
    tmrUpdateTime_Timer(g);
    Type("xstart admin view");
    seen["on"] = On(h.Get(TopDebug).visible) + std::to_string(g.KeyBuffer.size());
    Type("qqqqqqqqqqqqqqqqqqqqqqqqstop admin view");
    Expect("on=10;debug=00;armed=1;keys=0;time=            5 s ");
    Type("start \020admin view start admin\377 view"); // Shift, and a key with no code of its own
    Expect("debug=00;buf=16");
    Type("start admin view");
    mnuDebugDisabledebug_Click(g);
    Expect("debug=00;ann/Version=Release;flushes=1;cap=Zorvo - Quenta软件");
    std::ofstream(SoundFile(g, 1)); // empty
    LoadMoveSounds(g);
    PlayMoveSound(g, {9, 8});
    g.settings.PlaySounds = false;
    PlayMoveSound(g, {9, 8});
    Expect("bytes=10,0;end=0;msgs=0;played=async2 ");
    LoadSoundFile(g, g.table.AppFolder + "Win.wav", g.sounds.WinSound);
    Expect("msg=不能打开文件 " + g.table.AppFolder + "Win.wav;style=0;end=1;endCalls=1;ann/Draw=1");
    for (auto [x, y, a] : {std::tuple{800, 600, 0}, {800, 599, 1}, {799, 600, 0}, {640, 480, 0}}) {
        h.screenW = x, h.screenH = y, h.answers = {a ? MsgResult::Yes : MsgResult::No};
        const bool ok = ScreenCheck(g);
        seen["ok, asked"] += On(ok) + std::to_string(h.shown.size());
    }
    Expect("ok, asked=10110203;keys=0;style=52;title=错误报告：;msg=该游戏适合在分辨率 "
           "800x600 或者更高分辨率下进行。\n在玩游戏之前，你想改变当前屏幕分辨率吗？\n\n"
           "是否忽略该该错误继续游戏?");
    g.gfx.FrontDesignCount = 3, g.gfx.BackDesignCount = 4, g.gfx.BackgroundCount = 2;
    for (int l : {1, 1, 2, 2, 2, 0, 3, 3}) // front, back, background and move sound lists grow
        h.ListAdd(MenuList(l), "");
    g.gfx.surfBgFile = NewBlankSurface(10, 10);
    ShutDown(g);
    seen["freed"] = On(g.gfx.surfTable.Empty() && g.gfx.surfBgFile.Empty());
    for (auto& list : h.lists)
        seen["lists"] += std::to_string(list.size());
    mnuFileExit_Click(g); // an end after the end does not shut down again
    Expect("freed=1;lists=11131;cap=Zorvo - Quenta软件;ann/Draw=1;end=1;endCalls=1;flushes=1");
    // A failed save is told once, by the debug switch and by an end, but not at a signal's end.
    const std::string told =
        "msg=不能保存文件 /h/Varnel.conf\n原因：磁盘已满。本次的设置没有保存。";
    const struct {
        void (*command)(Game&);
        bool signal;
        std::string expect;
    } saves[] = {
        {mnuDebugDisabledebug_Click, false,
         told + ";end=0;msgs=1;style=0;title=Zorvo - Quenta软件"},
        {mnuFileExit_Click, false, told + ";end=1;endCalls=2;msgs=1"}, // the second exit: no box
        {Form_Unload, true, "end=1;endCalls=1;msgs=0;flushes=1"}};
    for (const auto& [command, signal, expect] : saves) {
        h.flushResult = {SaveProblem::DiskFull, "/h/Varnel.conf"}, g.QuietEnd = signal;
        command(g);
        if (command == mnuFileExit_Click) command(g);
        Expect(expect);
    }
    for (const char* showTavi : {"1", "0"}) { // the portrait's tick looks at the setting itself
        g.table.AppFolder = GAME_DATA_DIR "/";
        h.Set("ann", "ShowTavi", showTavi);
        LoadGame(g);
        seen["in"] =
            BrokenInvariant(g) + On(g.sounds.MoveSoundData.size() && g.sounds.WinSound2.size());
        const Table& t = g.table;
        seen["portrait"] = std::to_string(t.PortraitX) + "," + std::to_string(t.PortraitY);
        Expect("end=0;msgs=0;blink=1;effect=1;in=1;portrait=195,15");
    }
}

TEST_F(Commands, CelebrationAndPortrait) {
    Deal();
    const auto first = [&] { return g.table.Cards[1].Rank * 4 + g.table.Cards[1].Suit; };
    const int sorted = first();
    g.settings.PlaySounds = false; // the win is heard all the same
    h.onDoEvents = [&] { g.table.InputArmed = true; };
    mnuDebugWin_Click(g);
    seen["dealt"] = On(first() != sorted) + On(g.table.GameStart == h.tick);
    Expect("played=sync1 loop2 stop0 ;looks=1;faces=52;msgs=1;msg=是否开始新游戏？;"
           "title=开始新游戏;style=36;goal1=0;dealt=11;reseeds=2;busy=0;blink=1;paused=208");
    Deal();
    h.randomScript.assign(100000, 0.5); // no jitter, no kick
    h.atLook[6] = [&] { g.table.InputArmed = true; };
    mnuDebugWin_Click(g);
    Expect("faces=312;face0=325,30;face1=329,33;face62=573,216;face63=569,219;face115=361,375;"
           "face116=357,372;face205=1,105;face206=5,102;face240=141,0;face241=145,3");
    Deal();
    h.SetTimerEnabled(TaviBlink, true);
    h.onDoEvents = [&] { g.table.InputArmed = true; };
    Celebrate(g);
    seen["trail"] = PictureDiffers(g);
    Expect("saw=01 ;trail=;blink=1;reseeds=1;played=loop2 stop0 ");
    Deal();
    g.table.Goal[4].Count = 12;                 // three full goals and twelve: no win
    Form_MouseUp(g, ButtonLeft, 0, 5.0f, 5.0f); // a release carrying nothing looks for a win
    seen["twelve"] = std::to_string(h.played.size() + h.shown.size()) + On(g.table.WinCheckBusy);
    g.table.Goal[4].Count = 13;
    h.onDoEvents = [&] { g.table.InputArmed = true; };
    h.answers = {MsgResult::No};
    Form_MouseUp(g, ButtonLeft, 0, 5.0f, 5.0f);
    Expect("twelve=00;msgs=1;msg=是否开始新游戏？;end=1;endCalls=1;ann/Draw=1");
    Deal();
    h.atLook[1] = [&] { mnuDebugWin_Click(g); }; // turned away
    h.atLook[2] = [&] { mnuFileUndo_Click(g); };
    h.atLook[3] = [&] { mnuTopHelp_Click(g); }; // opening a menu ends it
    mnuDebugWin_Click(g);
    Expect("looks=3;played=sync1 loop2 stop0 ;msgs=1;busy=0");
    Deal();
    h.onDoEvents = [&] { Form_Unload(g); };
    mnuDebugWin_Click(g);
    Expect("end=1;endCalls=1;msgs=0;ann/Version=Release");
    Deal();
    h.onDoEvents = [&] { h.answers.push_front(MsgResult::Yes), mnuFileNewgame_Click(g); };
    mnuDebugWin_Click(g); // the new deal arms input, which ends the celebration
    Expect("busy=0;end=0;looks=1");
    Deal(); // counted full without cards: a right-click on the ace must not add a 14th
    h.onDoEvents = [&] {
        Form_MouseDown(g, ButtonRight, 0, 110, 170), Form_MouseUp(g, ButtonRight, 0, 110, 170);
        Form_MouseDown(g, ButtonLeft, 0, 110, 170); // ends the celebration, and does nothing else
        const Table& t = g.table;                   // the ace, the first goal, the hand
        seen["ace"] = std::to_string(t.Tableau[1].Count * 100 + t.Goal[1].Count) + On(t.HandCount);
    };
    mnuDebugWin_Click(g);
    Expect("ace=1130");
    Strip();
    tmrTaviBlink_Timer(g);
    const Surface& table = g.gfx.surfTable; // the other two pieces, each 35 wide
    seen["pieces"] = {At(table, 263, 51), At(table, 236, 101), At(table, 271, 101)};
    Expect("frames=01233210;pieces=00.;running=0");
    Strip();
    for (int off = 0; off < 4; ++off) { // off, celebrating, a drag begun over it, no whole frame
        g.settings.ShowTavi = off != 0;
        g.table.InputArmed = off != 1;
        g.table.Dragging = off == 2, g.table.HandCount = 1, g.table.DownX = 150, g.table.DownY = 20;
        if (off == 3) g.gfx.surfTaviAni = NewBlankSurface(34, 99);
        tmrTaviBlink_Timer(g);
    }
    Expect("paints=0");
    Strip();
    g.table.HandCount = 1, g.table.DownX = 150, g.table.DownY = 20; // over it from look 3 to 10
    h.atLook[3] = [&] { g.table.Dragging = true, seen["frames"] += '|'; };
    h.atLook[10] = [&] { g.table.Dragging = false, seen["frames"] += '|'; };
    tmrTaviBlink_Timer(g);
    Expect("frames=0||1233210;running=0");
    Strip();
    h.SetTimerEnabled(TaviBlink, true);
    h.atLook[6] = [&] { mnuOptionsTavi_Click(g); };
    tmrTaviBlink_Timer(g);
    seen["window"] = At(g.gfx.surfWindow, 217, 52);
    Expect("frames=01F;tavi=0;blink=0;window=F;running=0"); // not one frame more, portrait gone
}
