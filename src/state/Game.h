#pragma once
#include "host/Host.h"
#include "model/Table.h"
#include "state/Surface.h"
#include <cstdint>
#include <string>
#include <vector>

// The game context and the plain records it gathers. Nothing here does anything: every
// procedure that reads or changes this state lives in a folder above.

// Every surface of the game. surfWindow is what the window shows.
struct Graphics {
    Surface surfFront, surfBack, surfSort, surfSign, surfImgCard, surfGoal, surfTavi,
        surfTaviAni, surfBgFile, surfBackground, surfTable, surfDrag, surfWindow;
    int16_t FrontDesignCount = 0;
    int16_t BackDesignCount = 0;
    int16_t BackgroundCount = 0;
    int16_t SoundCount = 0;
};

// Whole WAV files, read once so that playing never touches the disk.
struct Sounds {
    SoundImage MoveSoundData, GoalSoundData, WinSound, WinSound2;
};

// The player's choices, as kept in memory. Indexes are 0-based; files are numbered from 1.
struct Settings {
    int16_t FrontDesign = 0;
    int16_t BackDesign = 0;
    int16_t Background = 0;
    uint8_t DrawRule = 1; // cards turned per stock press: 1 or 3
    int16_t MoveSound = 0;
    int16_t GoalSound = 1;
    bool ShowTavi = true;
    bool PlaySounds = true;
    bool DebugMode = false;
    std::string LanguageCode = "EN";
};

// Every text of the caption and the menu bar, plus the new-game question.
struct UiTexts {
    std::string WindowTitle, FileMenu, OptionsMenu, HelpMenu, NewGameItem, UndoItem, ExitGame,
        LanguageMenu, English, German, Norwegian, LayoutWord, FrontMenu, FrontItem, BackMenu,
        BackItem, BackgroundMenu, BackgroundItem, SoundsMenu, MoveSoundMenu, MoveSoundItem,
        GoalSoundMenu, GoalSoundItem, PlaySoundsItem, DrawRuleMenu, DrawHeading, DrawOne,
        DrawThree, ShowPortrait, About, HelpIndex, NewGameTitle, NewGameQuestion;
};

// One game context: all state of the running program, reached by every procedure.
struct Game {
    Host host;
    Table table;
    Settings settings;
    Graphics gfx;
    Sounds sounds;
    UiTexts texts;
    std::string KeyBuffer; // the last keys typed, for the debug phrases
    bool Ended = false;    // ShutDown has run; nothing else may happen
    bool QuietEnd = false; // ended by a signal: nobody is there to read a message
    std::string SaveError; // what the player is told when the last save failed
    bool BlinkRunning = false; // a portrait animation is between its frames

    explicit Game(const Host& h) : host(h) {}
};
