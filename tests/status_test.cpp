#include "TestHost.h"
#include "debug/DebugMode.h"
#include "settings/UiTexts.h"
#include "status/ElapsedTime.h"
#include <gtest/gtest.h>

TEST(ElapsedTime, TextMatchesTheWorkedTable) {
    struct Case {
        uint32_t ms;
        const char* text;
    };
    for (Case c : {Case{0, "            0 s "}, Case{5000, "            5 s "},
                   Case{59999, "           59 s "}, Case{60000, "       1 m  0 s "},
                   Case{754000, "      12 m 34 s "}, Case{3599000, "      59 m 59 s "},
                   Case{3600000, "  1 h  0 m  0 s "}, Case{3725000, "  1 h  2 m  5 s "},
                   Case{36061000, " 10 h  1 m  1 s "}}) {
        EXPECT_EQ(ElapsedText(c.ms), c.text) << c.ms;
    }
    // A thousand hours outgrow the field rather than lose digits.
    EXPECT_EQ(ElapsedText(1000u * 3600000u + 1000), "1000 h  0 m  1 s ");
}

TEST(ElapsedTime, TickShowsTimeSinceTheDealAcrossACounterWrap) {
    TestGame t;
    t.g().table.GameStart = 0xFFFFF000u; // 4096 ms before the counter wraps
    t.host.tick = 904;                    // 5000 ms after the deal
    tmrUpdateTime_Timer(t.g());
    EXPECT_EQ(t.host.status[2], "            5 s ");
}

namespace {
void Type(Game& g, const std::string& keys) {
    for (char ch : keys) Form_KeyDown(g, ch == ' ' ? 32 : std::toupper(static_cast<unsigned char>(ch)), 0);
}
} // namespace

TEST(DebugMode, PhrasesSwitchTheMenuAfterAnyOtherKeys) {
    TestGame t;
    Game& g = t.g();
    g.table.InputArmed = false;
    Type(g, "x");
    EXPECT_TRUE(g.table.InputArmed);
    Type(g, "start admin view");
    EXPECT_TRUE(g.settings.DebugMode);
    EXPECT_TRUE(t.host.Get(MenuItem::TopDebug).visible);
    EXPECT_TRUE(g.KeyBuffer.empty());
    Type(g, "qqqqqqqqqqqqqqqqqqqqqqqqstop admin view");
    EXPECT_FALSE(g.settings.DebugMode);
    EXPECT_FALSE(t.host.Get(MenuItem::TopDebug).visible);
    EXPECT_TRUE(t.host.store.empty()); // neither switch writes the store
}

TEST(DebugMode, ShiftBreaksThePhraseAndOtherKeysHaveTheirOwnCodes) {
    TestGame t;
    Game& g = t.g();
    Type(g, "start ");
    Form_KeyDown(g, 16, 1); // Shift, for a capital A
    Type(g, "admin view");
    EXPECT_FALSE(g.settings.DebugMode);
    Type(g, "start admin");
    Form_KeyDown(g, 255, 0); // some other key
    Type(g, " view");
    EXPECT_FALSE(g.settings.DebugMode);
    EXPECT_LE(g.KeyBuffer.size(), 16u);
}

TEST(DebugMode, DisableDebuggingSavesAtOnce) {
    TestGame t;
    Game& g = t.g();
    SetDefaultTexts(g);
    g.table.UserSection = "ann";
    Type(g, "start admin view");
    mnuDebugDisabledebug_Click(g);
    EXPECT_FALSE(t.host.Get(MenuItem::TopDebug).visible);
    EXPECT_EQ(t.host.Get("ann", "Version"), "Release");
    EXPECT_EQ(t.host.caption, "Zorvo - Quenta软件");
}
