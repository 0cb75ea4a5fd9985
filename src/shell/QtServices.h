#pragma once
#include "host/Host.h"

class QWidget;

class QtSystem : public SystemService {
public:
    uint32_t TickCount() override;
    void DoEvents() override;
    void EndProgram() override;
    void ScreenSize(int& width, int& height) override;
    void Pause(int milliseconds) override;
    void WaitEvents(int milliseconds) override;
};

class QtDialogs : public DialogService {
public:
    explicit QtDialogs(QWidget* owner) : parent(owner) {}
    MsgResult MsgBox(const std::string& text, MsgStyle style, const std::string& title) override;

private:
    QWidget* parent;
};
