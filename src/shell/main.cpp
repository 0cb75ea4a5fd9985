#include "shell/Application.h"
#include "shell/TableWidget.h"
#include "shell/frmMain.h"
#include <QApplication>
#include <QEvent>
#include <cstdio>
#include <cstdlib>
#ifndef _WIN32
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {
#ifndef _WIN32
// A session ending, or `kill`, closes the window the ordinary way so the settings are saved.
// The handler only writes a byte; the event loop does the closing.
int signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = write(signalPipe[1], &c, 1);
}

void CloseOnSignals(Application& game) {
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
    QWidget* window = &game.Window();
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [&game] {
        char c;
        [[maybe_unused]] const ssize_t n = read(signalPipe[0], &c, 1);
        game.EndOnSignal();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        sigaction(signal, &action, nullptr);
}
#endif

// For the start-up benchmark and the tests: tell when the table is first on the screen, and
// end there if asked to.
class ReportFirstPaint : public QObject {
  public:
    explicit ReportFirstPaint(bool quitThen) : quit(quitThen) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !done) {
            done = true;
            std::fputs("painted\n", stdout);
            std::fflush(stdout);
            if (quit) QMetaObject::invokeMethod(qApp, &QApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool quit;
    bool done = false;
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName("zorvo"); // lets docks match the window to its menu entry
    Application game;
    const bool quit = std::getenv("ZORVO_QUIT_AFTER_FIRST_PAINT") != nullptr;
    ReportFirstPaint reporter(quit);
    if (quit || std::getenv("ZORVO_REPORT_FIRST_PAINT") != nullptr)
        game.Window().Table()->installEventFilter(&reporter);
#ifndef _WIN32
    CloseOnSignals(game);
#endif
    if (game.Main()) QApplication::exec();
    return game.Finish();
}
