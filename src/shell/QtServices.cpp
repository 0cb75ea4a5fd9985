#include "shell/QtServices.h"
#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <future>
#include <memory>
#include <utility>

uint32_t QtSystem::TickCount() {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(ms); // wraps like the tick counter it replaces
}

void QtSystem::DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// The game has already shut down; leave the event loop and let nothing else run.
void QtSystem::EndProgram() {
    for (QWidget* w : QApplication::topLevelWidgets())
        w->hide();
    QCoreApplication::exit(0);
}

void QtSystem::ScreenSize(int& width, int& height) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen != nullptr ? screen->size() : QSize(0, 0);
    width = size.width();
    height = size.height();
}

void QtSystem::Pause(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

// A nested loop that sleeps until an event or the time is up: no busy waiting.
void QtSystem::WaitEvents(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

namespace {
// A question must be answered: Escape and the close button would pick No for the player, and
// No to the win offer ends the game. Only a single-button box may be closed that way.
class QuestionBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (!e->matches(QKeySequence::Cancel)) QMessageBox::keyPressEvent(e);
    }
    void closeEvent(QCloseEvent* e) override { e->ignore(); }
};

// Every text of the game is Chinese, and so are its buttons. The toolkit's own translation
// names them when it is installed; a button it left in English gets our caption.
void ChineseButtons(QMessageBox& box) {
    const std::pair<QMessageBox::StandardButton, const char*> captions[] = {
        {QMessageBox::Yes, "是(&Y)"}, {QMessageBox::No, "否(&N)"}, {QMessageBox::Ok, "确定"}};
    for (const auto& [which, caption] : captions) {
        QAbstractButton* b = box.button(which);
        if (b == nullptr) continue;
        const QString shown = b->text();
        if (std::all_of(shown.begin(), shown.end(), [](QChar c) { return c.unicode() < 0x80; }))
            b->setText(QString::fromUtf8(caption));
    }
}
} // namespace

MsgResult QtDialogs::MsgBox(const std::string& text, MsgStyle style, const std::string& title) {
    const bool question = style == MsgStyle::YesNoQuestion || style == MsgStyle::YesNoExclamation;
    std::unique_ptr<QMessageBox> owned =
        question ? std::make_unique<QuestionBox>(parent) : std::make_unique<QMessageBox>(parent);
    QMessageBox& box = *owned;
    box.setText(QString::fromStdString(text));
    box.setWindowTitle(QString::fromStdString(title));
    switch (style) {
    case MsgStyle::YesNoQuestion:
    case MsgStyle::YesNoExclamation:
        box.setIcon(style == MsgStyle::YesNoQuestion ? QMessageBox::Question
                                                     : QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        ChineseButtons(box);
        return box.exec() == QMessageBox::Yes ? MsgResult::Yes : MsgResult::No;
    case MsgStyle::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgStyle::Ok:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    ChineseButtons(box);
    box.exec();
    return MsgResult::Ok;
}

void QtAudioWait::PlaySync(const SoundImage& wav) {
    auto playing = std::async(std::launch::async, [this, wav] { inner.PlaySync(wav); });
    bool cut = false;
    while (playing.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::X11ExcludeTimers);
        if (!cut && ended()) {
            inner.Stop();
            cut = true;
        }
    }
}
