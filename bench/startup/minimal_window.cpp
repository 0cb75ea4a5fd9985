// The yardstick for start-up: the least a Qt program with our window's parts can do.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <cstdio>

namespace {
class Canvas : public QWidget {
public:
    Canvas() : image(640, 480, QImage::Format_RGB32) {
        image.fill(0x106A30);
        setFixedSize(640, 480);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).drawImage(0, 0, image);
        std::fputs("painted\n", stdout);
        std::fflush(stdout);
        QMetaObject::invokeMethod(qApp, &QApplication::quit, Qt::QueuedConnection);
    }

private:
    QImage image;
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu("文件(&F)")->addAction("退出(&X)");
    window.menuBar()->addMenu("帮助(&H)");
    window.setCentralWidget(new Canvas);
    window.statusBar()->addWidget(new QLabel("Quenta软件"));
    window.show();
    return QApplication::exec();
}
