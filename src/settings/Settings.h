#pragma once
#include <cstdint>
#include <string>

struct Game;

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

constexpr const char* SettingsApplication = "Varnel";

void LoadSettings(Game& g);
void SaveSettings(Game& g);
void ValidateSettings(Game& g);
void mnuDebugResetsettings_Click(Game& g);
