#pragma once
#include "drawing/Surface.h"
#include "game/Table.h"
#include "host/Host.h"
#include "settings/Settings.h"
#include "settings/UiTexts.h"
#include <cstdint>
#include <string>
#include <vector>

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
    std::vector<uint8_t> MoveSoundData, GoalSoundData, WinSound, WinSound2;
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
    bool BlinkRunning = false; // a portrait animation is between its frames

    explicit Game(const Host& h) : host(h) {}
};

// Run ShutDown, then end the program at once.
void EndGame(Game& g);
