#include "settings/UiTexts.h"

void SetDefaultTexts(Game& g) {
    UiTexts& t = g.texts;
    t.WindowTitle = "Zorvo - Quenta软件";
    t.FileMenu = "文件(&F)";
    t.OptionsMenu = "选项(&O)";
    t.HelpMenu = "帮助(&H)";
    t.NewGameItem = "新游戏(&G)";
    t.UndoItem = "撤销(&U)";
    t.ExitGame = "退出(&X)";
    t.LanguageMenu = "语言";
    t.English = "English";
    t.German = "German";
    t.Norwegian = "Norwegian";
    t.LayoutWord = "Layout";
    t.FrontMenu = "扑克正面图案";
    t.FrontItem = "图案 ";
    t.BackMenu = "扑克背面图案";
    t.BackItem = "图案 ";
    t.BackgroundMenu = "游戏背景";
    t.BackgroundItem = "背景 ";
    t.SoundsMenu = "声效(&S)";
    t.MoveSoundMenu = "普通移动";
    t.MoveSoundItem = "声效 ";
    t.GoalSoundMenu = "移到目标";
    t.GoalSoundItem = "声效 ";
    t.PlaySoundsItem = "启动声效";
    t.DrawRuleMenu = "翻牌规则";
    t.DrawHeading = "Draw..";
    t.DrawOne = "每次一张";
    t.DrawThree = "每次三张";
    t.ShowPortrait = "显示头像";
    t.About = "关于(&A)...";
    t.HelpIndex = "Index";
    t.NewGameTitle = "是否开始新游戏?";
    t.NewGameQuestion = "是否结束当前游戏?";
}

namespace {
// Captions list items 0..count-1 as the word followed by the item's number.
void CaptionList(Game& g, MenuList list, const std::string& word, int count) {
    for (int i = 0; i < count && i < g.host.menus->ListCount(list); ++i)
        g.host.menus->ListSetCaption(list, i, word + std::to_string(i + 1));
}
} // namespace

void ApplyTexts(Game& g) {
    MenuService& m = *g.host.menus;
    const UiTexts& t = g.texts;
    const Graphics& x = g.gfx;
    m.SetCaption(MenuItem::TopFile, t.FileMenu);
    m.SetCaption(MenuItem::TopOptions, t.OptionsMenu);
    m.SetCaption(MenuItem::TopHelp, t.HelpMenu);
    m.SetCaption(MenuItem::FileNewgame, t.NewGameItem);
    m.SetCaption(MenuItem::FileUndo, t.UndoItem);
    m.SetCaption(MenuItem::FileExit, t.ExitGame);
    m.SetCaption(MenuItem::OptionsLanguage, t.LanguageMenu);
    m.SetCaption(MenuItem::OptionsLanguageEnglish, t.English);
    m.SetCaption(MenuItem::OptionsLanguageGerman, t.German);
    m.SetCaption(MenuItem::OptionsLanguageNorwegian, t.Norwegian);
    m.SetCaption(MenuItem::OptionsLayoutFront, t.FrontMenu);
    CaptionList(g, MenuList::LayoutFrontFront, t.FrontItem, x.FrontDesignCount);
    m.SetCaption(MenuItem::OptionsLayoutBack, t.BackMenu);
    CaptionList(g, MenuList::LayoutBackBack, t.BackItem, x.BackDesignCount);
    m.SetCaption(MenuItem::OptionsLayoutBg, t.BackgroundMenu);
    CaptionList(g, MenuList::LayoutBgBg, t.BackgroundItem, x.BackgroundCount);
    m.SetCaption(MenuItem::OptionsSounds, t.SoundsMenu);
    m.SetCaption(MenuItem::OptionsSoundsDefsnd, t.MoveSoundMenu);
    CaptionList(g, MenuList::SoundsDefsndSnd, t.MoveSoundItem, x.SoundCount);
    m.SetCaption(MenuItem::OptionsSoundsGoalsnd, t.GoalSoundMenu);
    CaptionList(g, MenuList::SoundsGoalsndSnd, t.GoalSoundItem, x.SoundCount);
    m.SetCaption(MenuItem::OptionsSoundsPlaysounds, t.PlaySoundsItem);
    m.SetCaption(MenuItem::OptionsRules, t.DrawRuleMenu);
    m.SetCaption(MenuItem::OptionsRulesDraw, t.DrawHeading);
    m.SetCaption(MenuItem::OptionsRulesDrawOne, t.DrawOne);
    m.SetCaption(MenuItem::OptionsRulesDrawThree, t.DrawThree);
    m.SetCaption(MenuItem::OptionsTavi, t.ShowPortrait);
    m.SetCaption(MenuItem::HelpAbout, t.About);
    m.SetCaption(MenuItem::HelpHelp, t.HelpIndex);
    g.host.window->SetCaption(t.WindowTitle);
}
