#pragma once
#include "host/Host.h"
#include <memory>

class frmMain;
class QTimer;
struct Game;

// Services an embedding (the end-to-end tests) may replace; null means the real one.
struct ServiceOverrides {
    DialogService* dialogs = nullptr;
    SettingsStore* store = nullptr;
    AudioService* audio = nullptr;
    SystemService* system = nullptr;
    RandomSource* random = nullptr;
    std::string appFolder;   // the program's own folder when empty
    std::string loginName;   // the effective user's name when empty
};

// Owns the whole running program: the game, its window and the real services.
class Application {
public:
    explicit Application(const ServiceOverrides& overrides = {});
    ~Application();
    // Start-up up to the splash step. False when the program must end before anything loads.
    bool Main();
    // The splash step: the first shuffled game, the window shown once.
    void SplashStep();
    // Ends the game as a close does, but with no one there to read a message.
    void EndOnSignal();
    // Once the program has ended: 1 when the settings could not be saved (said on stderr if a
    // signal ended it), else 0.
    int Finish();
    frmMain& Window() { return *window; }
    Game& game() { return *g; }

private:
    struct Owned;
    std::unique_ptr<Owned> owned;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<Game> g;
    QTimer* tmrEffect = nullptr;
    bool splashDone = false;
    ServiceOverrides overrides;
};
