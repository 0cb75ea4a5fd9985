// The yardstick for start-up: the least a Qt program with our window's parts and texts can do.
// The same Chinese captions as the game's, so that loading the CJK font costs both the same.
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

void AddMenu(QMainWindow& window, const char* caption, std::initializer_list<const char*> items) {
    QMenu* menu = window.menuBar()->addMenu(caption);
    for (const char* item : items)
        menu->addAction(item);
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Zorvo - Quenta软件");
    AddMenu(window, "文件(&F)", {"新游戏(&G)", "撤销(&U)", "退出(&X)"});
    AddMenu(window, "选项(&O)",
            {"扑克正面图案", "扑克背面图案", "游戏背景", "声效(&S)", "翻牌规则", "显示头像"});
    AddMenu(window, "帮助(&H)", {"关于(&A)..."});
    window.setCentralWidget(new Canvas);
    for (const char* text : {"Quenta软件", "           0 s "}) {
        auto* panel = new QLabel(text);
        panel->setFixedWidth(96);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        window.statusBar()->addWidget(panel);
    }
    window.show();
    return QApplication::exec();
}
