#include "play/Win.h"
#include "drawing/CardFaces.h"
#include "drawing/TablePainter.h"
#include "play/Deck.h"
#include "play/Lifecycle.h"
#include "state/Game.h"
#include <cmath>

namespace {
// Each step waits this long so the trail looks the same on any machine; 52 steps (one round
// of the deck, after which input is looked at) stay well under a quarter of a second.
constexpr int CelebrationStepMs = 4;

bool AllGoalsFull(const Table& t) {
    for (int k = 1; k <= 4; ++k)
        if (t.Goal[k].Count != 13) return false;
    return true;
}

// A whole-pixel position, kept far inside int even if a card wanders off the table.
int Pixel(float v) {
    constexpr float Limit = 1.0e6f;
    return static_cast<int>(std::nearbyint(std::fmax(-Limit, std::fmin(Limit, v))));
}

// Uniform in -half .. +half: floor(u * (2 * half + 1)) - half.
float Jitter(RandomSource& random, int half) {
    return static_cast<float>(static_cast<int>(random.Next() * (2 * half + 1)) - half);
}

struct Bouncer {
    float X, Y, DX = 4, DY = 3;
    void Step(RandomSource& r, int width, int height) {
        if (X + DX > static_cast<float>(width - CardWidth) || X + DX < 0) {
            DX = Jitter(r, 4) - DX;
            DY = DY + Jitter(r, 4);
        }
        if (Y + DY > static_cast<float>(height - CardHeight) || Y + DY < 0) {
            DY = Jitter(r, 4) - DY;
            DX = DX + Jitter(r, 4);
        }
        X += DX;
        Y += DY;
        DX += Jitter(r, 1);
        DY += Jitter(r, 1);
    }
};

void DrawTrailCard(Game& g, uint8_t c, int x, int y) {
    Card face = g.table.Cards[c];
    face.State = StateFaceUp;
    DrawCard(g, g.gfx.surfTable, x, y, face);
    CopyTableToWindow(g, x, y, CardWidth, CardHeight);
    g.host.window->ShowNow();
}
} // namespace

void CheckForWin(Game& g) {
    Table& t = g.table;
    if (t.WinCheckBusy) return;
    t.WinCheckBusy = true;
    if (!AllGoalsFull(t)) {
        t.WinCheckBusy = false;
        return;
    }
    // The win sound plays to its end whether or not move sounds are on.
    g.host.audio->PlaySync(g.sounds.WinSound);
    if (g.Ended) return; // closed while the tune played
    Celebrate(g);
    if (g.Ended) return;
    const MsgResult answer = g.host.dialogs->MsgBox("是否开始新游戏？", MsgStyle::YesNoQuestion, "开始新游戏");
    if (g.Ended) return;
    if (answer == MsgResult::Yes) {
        NewGame(g, 1);
        t.WinCheckBusy = false;
        return;
    }
    EndGame(g);
}

void Celebrate(Game& g) {
    Table& t = g.table;
    RandomSource& random = *g.host.random;
    g.host.timers->SetTimerEnabled(TimerId::TaviBlink, false);
    random.Reseed();
    t.InputArmed = false;
    uint8_t c = 1;
    Bouncer card{static_cast<float>(t.Goal[1].X), static_cast<float>(t.Goal[1].Y)};
    g.host.audio->PlayLoop(g.sounds.WinSound2);
    for (;;) {
        if (g.Ended) return; // the program was closed from inside the celebration
        if (t.InputArmed) {
            g.host.audio->Stop();
            RedrawTable(g);
            g.host.timers->SetTimerEnabled(TimerId::TaviBlink, true);
            return;
        }
        DrawTrailCard(g, c, Pixel(card.X), Pixel(card.Y));
        g.host.system->Pause(CelebrationStepMs);
        card.Step(random, t.TableWidth, t.TableHeight);
        if (++c > 52) {
            c = 1;
            g.host.system->DoEvents();
        }
    }
}

void mnuDebugWin_Click(Game& g) {
    for (int k = 1; k <= 4; ++k) g.table.Goal[k].Count = 13;
    CheckForWin(g);
}
