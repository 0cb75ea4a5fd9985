#include "options/Options.h"
#include "drawing/Graphics.h"
#include "drawing/TablePainter.h"
#include "play/Loading.h"
#include "settings/Settings.h"
#include "sound/Sound.h"
#include "state/Game.h"

namespace {
void CheckOnly(MenuService& m, MenuList list, int count, int chosen) {
    for (int i = 0; i < count && i < m.ListCount(list); ++i) m.ListSetChecked(list, i, false);
    if (chosen >= 0 && chosen < m.ListCount(list)) m.ListSetChecked(list, chosen, true);
}
} // namespace

// Check marks always come from the settings as they are when the menu opens.
void RefreshOptionsMenu(Game& g) {
    MenuService& m = *g.host.menus;
    const Settings& s = g.settings;
    const Graphics& x = g.gfx;
    g.table.InputArmed = true;
    CheckOnly(m, MenuList::LayoutFrontFront, x.FrontDesignCount, s.FrontDesign);
    CheckOnly(m, MenuList::LayoutBackBack, x.BackDesignCount, s.BackDesign);
    CheckOnly(m, MenuList::LayoutBgBg, x.BackgroundCount, s.Background);
    CheckOnly(m, MenuList::SoundsDefsndSnd, x.SoundCount, s.MoveSound);
    CheckOnly(m, MenuList::SoundsGoalsndSnd, x.SoundCount, s.GoalSound);
    m.SetChecked(MenuItem::OptionsTavi, s.ShowTavi);
    m.SetChecked(MenuItem::OptionsRulesDrawOne, s.DrawRule == 1);
    m.SetChecked(MenuItem::OptionsRulesDrawThree, s.DrawRule != 1);
    m.SetChecked(MenuItem::OptionsSoundsPlaysounds, s.PlaySounds);
    m.SetChecked(MenuItem::OptionsLanguageEnglish, s.LanguageCode == "EN");
    m.SetChecked(MenuItem::OptionsLanguageGerman, s.LanguageCode == "DE");
    m.SetChecked(MenuItem::OptionsLanguageNorwegian, s.LanguageCode == "NO");
}

void mnuOptionsLayoutFrontFront_Click(Game& g, int index) {
    g.settings.FrontDesign = static_cast<int16_t>(index);
    RedrawTable(g);
}

void mnuOptionsLayoutBackBack_Click(Game& g, int index) {
    g.settings.BackDesign = static_cast<int16_t>(index);
    RedrawTable(g);
}

void mnuOptionsLayoutBgBg_Click(Game& g, int index) {
    g.settings.Background = static_cast<int16_t>(index);
    g.gfx.surfBgFile.FileName = BackgroundFile(g, index);
    LoadSurface(g, g.gfx.surfBgFile);
    TileBackground(g);
    RedrawTable(g);
}

void mnuOptionsSoundsDefsndSnd_Click(Game& g, int index) {
    g.host.system->DoEvents();
    if (g.Ended) return;
    g.settings.MoveSound = static_cast<int16_t>(index);
    LoadSoundFile(g, SoundFile(g, index), g.sounds.MoveSoundData);
}

void mnuOptionsSoundsGoalsndSnd_Click(Game& g, int index) {
    g.host.system->DoEvents();
    if (g.Ended) return;
    g.settings.GoalSound = static_cast<int16_t>(index);
    LoadSoundFile(g, SoundFile(g, index), g.sounds.GoalSoundData);
}

void mnuOptionsSoundsPlaysounds_Click(Game& g) { g.settings.PlaySounds = !g.settings.PlaySounds; }

void mnuOptionsRulesDrawOne_Click(Game& g) {
    g.settings.DrawRule = 1;
    RedrawTable(g);
}

void mnuOptionsRulesDrawThree_Click(Game& g) {
    g.settings.DrawRule = 3;
    RedrawTable(g);
}

void mnuOptionsTavi_Click(Game& g) {
    const bool wasShown = g.settings.ShowTavi;
    g.settings.ShowTavi = !wasShown;
    if (wasShown) {
        g.host.timers->SetTimerEnabled(TimerId::TaviBlink, false);
        RedrawTable(g);
    } else {
        RedrawTable(g);
        g.host.timers->SetTimerEnabled(TimerId::TaviBlink, true);
    }
}
