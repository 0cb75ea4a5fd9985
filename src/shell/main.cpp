#include "shell/Application.h"
#include "shell/TableWidget.h"
#include "shell/frmMain.h"
#include <QApplication>
#include <QEvent>
#include <cstdio>
#include <cstdlib>

namespace {
// For the start-up benchmark: end as soon as the table has been painted on screen once.
class QuitAfterFirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !done) {
            done = true;
            std::fputs("painted\n", stdout);
            std::fflush(stdout);
            QMetaObject::invokeMethod(qApp, &QApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool done = false;
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName("zorvo"); // lets docks match the window to its menu entry
    Application game;
    QuitAfterFirstPaint quitter;
    if (std::getenv("ZORVO_QUIT_AFTER_FIRST_PAINT") != nullptr)
        game.Window().Table()->installEventFilter(&quitter);
    if (!game.Main()) return 0;
    return QApplication::exec();
}
