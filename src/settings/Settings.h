#pragma once
#include "state/Game.h"
#include <string>

constexpr const char* SettingsApplication = "Varnel";

void LoadSettings(Game& g);
// Empty when the choices reached the store, else the message that says why they did not.
std::string SaveSettings(Game& g);
void ValidateSettings(Game& g);
// AppFolder + "BG/BG<index + 1>.BMP": the picture a background setting names.
std::string BackgroundFile(const Game& g, int index);
