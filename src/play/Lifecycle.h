#pragma once
#include <string>

struct Game;

// False when the screen is too small and the player chose not to go on.
bool ScreenCheck(Game& g);
// The program's folder with exactly one trailing separator ("/" stays "/").
std::string MakeAppFolder(const std::string& folder);
// The settings section for a login name; "$Default$" when there is none.
std::string MakeUserSection(const std::string& loginName);
std::string CurrentLoginName();
// The loading steps of start-up, from the settings to the armed timers.
void LoadGame(Game& g);
void ShutDown(Game& g);
// Run ShutDown, then end the program at once.
void EndGame(Game& g);
