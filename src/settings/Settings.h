#pragma once
#include "state/Game.h"
#include <string>

constexpr const char* SettingsApplication = "Varnel";

void LoadSettings(Game& g);
void SaveSettings(Game& g);
void ValidateSettings(Game& g);
// AppFolder + "BG/BG<index + 1>.BMP": the picture a background setting names.
std::string BackgroundFile(const Game& g, int index);
