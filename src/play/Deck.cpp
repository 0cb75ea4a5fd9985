#include "play/Deck.h"
#include "drawing/CardFaces.h"
#include "drawing/TablePainter.h"
#include "model/Deal.h"
#include "state/Game.h"

void NewGame(Game& g, uint8_t Shuffle_) {
    if (Shuffle_ == 1) {
        RandomSource& random = *g.host.random;
        random.Reseed();
        Shuffle(g.table, [&random] { return random.Next(); });
    }
    g.table.UndoAvailable = false;
    DealCards(g);
    g.table.GameStart = g.host.system->TickCount();
    g.host.timers->SetTimerEnabled(TimerId::UpdateTime, true);
    RedrawTable(g);
}

void DealCards(Game& g) { DealCards(g.table); }

void mnuFileNewgame_Click(Game& g) {
    const MsgResult answer = g.host.dialogs->MsgBox(g.texts.NewGameQuestion, MsgStyle::YesNoQuestion,
                                                    g.texts.NewGameTitle);
    if (answer == MsgResult::Yes) NewGame(g, 1);
}

void mnuDebugNoshuffle_Click(Game& g) {
    BuildCardFaces(g);
    NewGame(g, 0);
}
