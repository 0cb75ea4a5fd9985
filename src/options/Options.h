#pragma once

struct Game;

void RefreshOptionsMenu(Game& g);
void mnuOptionsLayoutFrontFront_Click(Game& g, int index);
void mnuOptionsLayoutBackBack_Click(Game& g, int index);
void mnuOptionsLayoutBgBg_Click(Game& g, int index);
void mnuOptionsSoundsDefsndSnd_Click(Game& g, int index);
void mnuOptionsSoundsGoalsndSnd_Click(Game& g, int index);
void mnuOptionsSoundsPlaysounds_Click(Game& g);
void mnuOptionsRulesDrawOne_Click(Game& g);
void mnuOptionsRulesDrawThree_Click(Game& g);
void mnuOptionsTavi_Click(Game& g);
