#include "play/Commands.h"
#include "play/Lifecycle.h"
#include "state/Game.h"

void mnuTopFile_Click(Game& g) {
    g.table.InputArmed = true;
    g.host.menus->SetEnabled(MenuItem::FileUndo, g.table.UndoAvailable);
}

void mnuTopHelp_Click(Game& g) { g.table.InputArmed = true; }

void mnuHelpAbout_Click(Game& g) {
    g.host.dialogs->MsgBox("ZorvoV2.7(Quenta软件)", MsgStyle::Information, "关于");
}

void mnuFileExit_Click(Game& g) { EndGame(g); }

void Form_Unload(Game& g) { EndGame(g); }
