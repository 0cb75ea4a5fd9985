#include "game/Mouse.h"
#include "game/Game.h"

// Placeholder bodies; the mouse rules come with the play work.
void Form_MouseDown(Game&, uint8_t, uint8_t, float, float) {}
void Form_MouseMove(Game&, uint8_t, uint8_t, float, float) {}
void Form_MouseUp(Game&, uint8_t, uint8_t, float, float) {}
void Form_DblClick(Game&) {}
void Form_CaptureLost(Game&) {}
void TriggerClick(Game&, int32_t, int32_t) {}
bool ClickStockOrWaste(Game&, float, float) { return false; }
bool PickUpFromTableau(Game&, float, float) { return false; }
bool PickUpFromGoal(Game&, float, float) { return false; }
void DrawHand(Game&, float, float) {}
bool DropOnTableau(Game&, float, float) { return false; }
bool DropOnGoal(Game&, float, float) { return false; }
void ReturnHand(Game&) {}
bool SendToGoal(Game&, int32_t, int32_t) { return false; }
void UndoMove(Game&) {}
void mnuFileUndo_Click(Game& g) { UndoMove(g); }
