#pragma once

struct Game;

void tmrTaviBlink_Timer(Game& g);
