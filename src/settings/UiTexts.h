#pragma once
#include <string>

struct Game;

// Every text of the caption and the menu bar, plus the new-game question.
struct UiTexts {
    std::string WindowTitle, FileMenu, OptionsMenu, HelpMenu, NewGameItem, UndoItem, ExitGame,
        LanguageMenu, English, German, Norwegian, LayoutWord, FrontMenu, FrontItem, BackMenu,
        BackItem, BackgroundMenu, BackgroundItem, SoundsMenu, MoveSoundMenu, MoveSoundItem,
        GoalSoundMenu, GoalSoundItem, PlaySoundsItem, DrawRuleMenu, DrawHeading, DrawOne,
        DrawThree, ShowPortrait, About, HelpIndex, NewGameTitle, NewGameQuestion;
};

void SetDefaultTexts(Game& g);
void ApplyTexts(Game& g);
