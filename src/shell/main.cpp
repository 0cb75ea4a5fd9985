#include "shell/Application.h"
#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    Application game;
    if (!game.Main()) return 0;
    return QApplication::exec();
}
