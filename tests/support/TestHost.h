#pragma once
#include "state/Game.h"
#include "host/Host.h"
#include <array>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A host that records what the game asked of the outside world and answers from a script.
class TestHost : public WindowService, public MenuService, public DialogService,
                 public TimerService, public SystemService, public SettingsStore,
                 public AudioService, public RandomSource {
public:
    TestHost();
    Host AsHost();

    // WindowService
    void Invalidate(int x, int y, int w, int h) override;
    void SetCaption(const std::string& text) override { caption = text; }
    void SetStatusText(int panel, const std::string& text) override { status[panel] = text; }
    void SetPanelWidth(int panel, int width) override { panelWidth[panel] = width; }
    int PanelWidth(int panel) const override { return panelWidth[panel]; }
    void PopupOptionsMenu() override { ++optionsPopups; }
    // What had been invalidated when the window was told to show it at once.
    void ShowNow() override { shownNow.push_back(invalidated.size()); }

    // MenuService
    struct Item {
        std::string caption;
        bool checked = false, enabled = true, visible = true;
    };
    void SetCaption(MenuItem item, const std::string& text) override { Get(item).caption = text; }
    void SetChecked(MenuItem item, bool on) override { Get(item).checked = on; }
    void SetEnabled(MenuItem item, bool on) override { Get(item).enabled = on; }
    void SetVisible(MenuItem item, bool on) override { Get(item).visible = on; }
    int ListCount(MenuList list) const override;
    void ListAdd(MenuList list, const std::string& text) override;
    void ListRemoveLast(MenuList list) override;
    void ListSetCaption(MenuList list, int index, const std::string& text) override;
    void ListSetChecked(MenuList list, int index, bool on) override;
    Item& Get(MenuItem item) { return items[static_cast<size_t>(item)]; }
    std::vector<Item>& List(MenuList list) { return lists[static_cast<size_t>(list)]; }

    // DialogService: answers come from the queue; Yes when it runs dry.
    struct Shown {
        std::string text;
        MsgStyle style;
        std::string title;
    };
    MsgResult MsgBox(const std::string& text, MsgStyle style, const std::string& title) override;

    // TimerService
    void SetTimerEnabled(TimerId timer, bool on) override { timers[static_cast<size_t>(timer)] = on; }
    bool TimerEnabled(TimerId timer) const override { return timers[static_cast<size_t>(timer)]; }

    // SystemService: the tick count moves only when the test moves it (or tickStep per call).
    uint32_t TickCount() override;
    void DoEvents() override;
    void EndProgram() override { ++endCalls; }
    void ScreenSize(int& width, int& height) override { width = screenW; height = screenH; }
    void Pause(int ms) override {
        paused += ms;
        tick += static_cast<uint32_t>(ms);
    }

    // SettingsStore: an in-memory map keyed by "section/key".
    std::optional<std::string> Get(const std::string& section, const std::string& key) override;
    void Set(const std::string& section, const std::string& key, const std::string& value) override;
    void Flush() override { ++flushes; }

    // AudioService
    void PlayAsync(std::span<const uint8_t> wav) override { played.push_back({"async", Bytes(wav)}); }
    void PlaySync(std::span<const uint8_t> wav) override { played.push_back({"sync", Bytes(wav)}); }
    void PlayLoop(std::span<const uint8_t> wav) override { played.push_back({"loop", Bytes(wav)}); }
    void Stop() override { played.push_back({"stop", {}}); }

    // RandomSource: scripted values first, then a fixed-seed generator.
    void Reseed() override { ++reseeds; }
    double Next() override;

    static std::vector<uint8_t> Bytes(std::span<const uint8_t> s) { return {s.begin(), s.end()}; }

    std::string caption;
    std::array<std::string, 3> status{};
    std::array<int, 3> panelWidth{0, 96, 96};
    int optionsPopups = 0;
    std::vector<size_t> shownNow;
    std::vector<std::array<int, 4>> invalidated;
    std::vector<Item> items;
    std::array<std::vector<Item>, 5> lists;
    std::deque<MsgResult> answers;
    std::vector<Shown> shown;
    std::array<bool, 3> timers{};
    uint32_t tick = 1000;
    uint32_t tickStep = 0; // added after every TickCount call
    int screenW = 1280, screenH = 1024;
    int endCalls = 0;
    int flushes = 0;
    int doEventsCalls = 0;
    int paused = 0; // milliseconds, each moving the tick count on
    std::function<void()> onDoEvents; // what "pending events" do, if anything
    std::map<std::string, std::string> store;
    struct Sound {
        std::string how;
        std::vector<uint8_t> data;
    };
    std::vector<Sound> played;
    std::deque<double> randomScript;
    int reseeds = 0;
    uint64_t rngState = 12345;
};

// A game wired to a TestHost, with a real picture decoder.
struct TestGame {
    TestHost host;
    std::unique_ptr<PictureService> pictures;
    std::unique_ptr<Game> game;
    TestGame();
    Game& g() { return *game; }
};
