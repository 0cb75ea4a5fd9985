#pragma once
#include <cstdint>

struct Game;

constexpr uint8_t ButtonLeft = 1;
constexpr uint8_t ButtonRight = 2;
constexpr uint8_t ButtonMiddle = 4;

// Window events, in table pixels.
void Form_MouseDown(Game& g, uint8_t button, uint8_t shift, float x, float y);
void Form_MouseMove(Game& g, uint8_t buttons, uint8_t shift, float x, float y);
void Form_MouseUp(Game& g, uint8_t button, uint8_t shift, float x, float y);
void Form_DblClick(Game& g);
// The window lost the mouse or the focus while cards were carried.
void Form_CaptureLost(Game& g);
void TriggerClick(Game& g, int32_t x, int32_t y);

bool ClickStockOrWaste(Game& g, float x, float y);
bool PickUpFromTableau(Game& g, float x, float y);
bool PickUpFromGoal(Game& g, float x, float y);
void DrawHand(Game& g, float x, float y);
bool DropOnTableau(Game& g, float x, float y);
bool DropOnGoal(Game& g, float x, float y);
void ReturnHand(Game& g);
bool SendToGoal(Game& g, int32_t x, int32_t y);
void UndoMove(Game& g);
void mnuFileUndo_Click(Game& g);
