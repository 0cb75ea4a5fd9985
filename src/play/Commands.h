#pragma once

struct Game;

void mnuTopFile_Click(Game& g);
void mnuTopHelp_Click(Game& g);
void mnuHelpAbout_Click(Game& g);
void mnuFileExit_Click(Game& g);
void Form_Unload(Game& g);
