#include "shell/Application.h"
#include "host/ClockRandom.h"
#include "host/Files.h"
#include "host/QtPictureDecoder.h"
#include "play/Deck.h"
#include "play/Lifecycle.h"
#include "settings/QtSettingsStore.h"
#include "settings/Settings.h"
#include "shell/QtServices.h"
#include "shell/TableWidget.h"
#include "shell/frmMain.h"
#include "sound/AudioDevice.h"
#include "state/Game.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <algorithm>
#include <cstdio>

struct Application::Owned {
    QtSystem system;
    std::unique_ptr<QtDialogs> dialogs;
    QtPictureDecoder pictures;
    std::unique_ptr<QtSettingsStore> store;
    std::unique_ptr<AudioService> audio;
    std::unique_ptr<QtAudioWait> audioWait;
    ClockRandom random;
    QTranslator toolkitTexts; // Chinese for the toolkit's own buttons, whatever the locale
};

namespace {
// The icon and the audio device are readied once the first frame is on the screen.
constexpr int AudioWarmUpDelayMs = 250;

// The folder the program lies in, through any symlinks, as installed games are launched; its
// name is kept as raw bytes, since a folder unpacked from an archive need not be UTF-8.
std::string ProgramFolder() {
    if (std::string folder = ExecutableFolder(); !folder.empty()) return folder;
    const QString exe = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    return QFile::encodeName(QDir::toNativeSeparators(QFileInfo(exe).absolutePath())).toStdString();
}
} // namespace

Application::Application(const ServiceOverrides& o)
    : owned(std::make_unique<Owned>()), overrides(o) {
    if (owned->toolkitTexts.load("qtbase_zh_CN",
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&owned->toolkitTexts);
    window = std::make_unique<frmMain>();
    owned->dialogs = std::make_unique<QtDialogs>(window.get());
    Host h;
    h.window = window.get();
    h.menus = window.get();
    h.timers = window.get();
    h.dialogs = o.dialogs ? o.dialogs : owned->dialogs.get();
    h.system = o.system ? o.system : &owned->system;
    h.pictures = &owned->pictures;
    if (o.store == nullptr) owned->store = std::make_unique<QtSettingsStore>(SettingsApplication);
    h.store = o.store ? o.store : owned->store.get();
    if (o.audio == nullptr) owned->audio = OpenAudioDevice();
    owned->audioWait = std::make_unique<QtAudioWait>(o.audio ? *o.audio : *owned->audio,
                                                     [this] { return g && g->Ended; });
    h.audio = owned->audioWait.get();
    h.random = o.random ? o.random : &owned->random;
    g = std::make_unique<Game>(h);

    tmrEffect = new QTimer(window.get());
    tmrEffect->setInterval(1);
    tmrEffect->setSingleShot(true);
    QObject::connect(tmrEffect, &QTimer::timeout, window.get(), [this] { SplashStep(); });
    window->onEffectTimer = [this](bool on) { on ? tmrEffect->start() : tmrEffect->stop(); };
}

// The window outlives nothing it points at: it forgets the game before either goes.
Application::~Application() {
    window->SetGame(nullptr);
}

bool Application::Main() {
    if (!ScreenCheck(*g)) return false;
    int screenW = 0, screenH = 0;
    g->host.system->ScreenSize(screenW, screenH);
    window->SizeAndCentre(screenW);
    g->table.TableWidth = window->Table()->width();
    g->table.TableHeight = window->Table()->height();
    g->host.system->DoEvents();
    g->table.AppFolder =
        MakeAppFolder(overrides.appFolder.empty() ? ProgramFolder() : overrides.appFolder);
    g->table.UserSection =
        MakeUserSection(overrides.loginName.empty() ? CurrentLoginName() : overrides.loginName);
    LoadGame(*g);
    if (g->Ended) return false;
    window->SetGame(g.get()); // from here on the window's events reach the game
    // A close asked for while a start-up message was shown ends the program now it has loaded.
    if (window->CloseRequested()) window->close();
    return !g->Ended;
}

void Application::EndOnSignal() {
    g->QuietEnd = true;
    // A message shown after the end (a failed save) gives way too.
    if (g->Ended) QCoreApplication::exit(1);
    window->close();
}

int Application::Finish() {
    if (g->SaveError.empty()) return 0;
    if (g->QuietEnd) {
        std::string line = g->SaveError;
        std::replace(line.begin(), line.end(), '\n', ' ');
        std::fputs(("zorvo: " + line + "\n").c_str(), stderr);
    }
    return 1;
}

// The splash window is never shown; its one tick is the step from start-up to play.
void Application::SplashStep() {
    if (splashDone || g->Ended) return;
    splashDone = true;
    tmrEffect->stop();
    NewGame(*g, 1);
    window->show();
    window->Table()->setFocus();
    // What the first frame need not wait for comes just after it.
    AudioService* audio = g->host.audio;
    frmMain* w = window.get();
    QTimer::singleShot(AudioWarmUpDelayMs, w, [audio, w] {
        w->LoadIcon();
        audio->Prepare();
    });
}
