#pragma once
#include "host/Host.h"
#include <functional>

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

// Plays the blocking sound on a helper thread while the window goes on hearing a close or an
// end signal, and nothing else: no input, no timers, so the game still waits for the sound
// as it should. Once the program has ended, the sound is cut short.
class QtAudioWait : public AudioService {
  public:
    QtAudioWait(AudioService& device, std::function<bool()> programEnded)
        : inner(device), ended(std::move(programEnded)) {}
    void PlayAsync(const SoundImage& wav) override { inner.PlayAsync(wav); }
    void PlaySync(const SoundImage& wav) override;
    void PlayLoop(const SoundImage& wav) override { inner.PlayLoop(wav); }
    void Stop() override { inner.Stop(); }
    void Prepare() override { inner.Prepare(); }

  private:
    AudioService& inner;
    std::function<bool()> ended;
};
