#pragma once
#include "host/Host.h"
#include "state/Game.h"
#include <array>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A host that records what the game asked of the outside world and answers from a script.
class TestHost : public WindowService, public MenuService, public DialogService,
                 public TimerService, public SystemService, public SettingsStore,
                 public AudioService, public RandomSource {
  public:
    TestHost() {
        items.resize(static_cast<size_t>(MenuItem::Count_));
        for (auto& l : lists) l.push_back(Item{});
    }
    Host AsHost() { return {this, this, this, this, this, nullptr, this, this, this}; }

    // WindowService; ShowNow records how much had been invalidated when it was shown at once.
    void Invalidate(int x, int y, int w, int h) override { invalidated.push_back({x, y, w, h}); }
    void SetCaption(const std::string& text) override { caption = text; }
    void SetStatusText(int panel, const std::string& text) override { status[panel] = text; }
    void SetPanelWidth(int panel, int width) override { panelWidth[panel] = width; }
    int PanelWidth(int panel) const override { return panelWidth[panel]; }
    void PopupOptionsMenu() override { ++optionsPopups; }
    void ShowNow() override { shownNow.push_back(invalidated.size()); }

    // MenuService
    struct Item {
        std::string caption;
        bool checked = false, enabled = true, visible = true;
    };
    Item& Get(MenuItem item) { return items[static_cast<size_t>(item)]; }
    std::vector<Item>& List(MenuList list) { return lists[static_cast<size_t>(list)]; }
    void SetCaption(MenuItem item, const std::string& text) override { Get(item).caption = text; }
    void SetChecked(MenuItem item, bool on) override { Get(item).checked = on; }
    void SetEnabled(MenuItem item, bool on) override { Get(item).enabled = on; }
    void SetVisible(MenuItem item, bool on) override { Get(item).visible = on; }
    int ListCount(MenuList list) const override {
        return static_cast<int>(lists[static_cast<size_t>(list)].size());
    }
    void ListAdd(MenuList list, const std::string& text) override { List(list).push_back({text}); }
    void ListRemoveLast(MenuList list) override {
        if (List(list).size() > 1) List(list).pop_back();
    }
    void ListSetCaption(MenuList list, int i, const std::string& text) override {
        List(list).at(static_cast<size_t>(i)).caption = text;
    }
    void ListSetChecked(MenuList list, int i, bool on) override {
        List(list).at(static_cast<size_t>(i)).checked = on;
    }

    // DialogService: answers come from the queue; Yes (or OK) when it runs dry.
    struct Shown {
        std::string text;
        MsgStyle style;
        std::string title;
    };
    MsgResult MsgBox(const std::string& text, MsgStyle style, const std::string& title) override;

    void SetTimerEnabled(TimerId timer, bool on) override { timers[size_t(timer)] = on; }
    bool TimerEnabled(TimerId timer) const override { return timers[size_t(timer)]; }

    // SystemService: the tick count moves only when the test moves it (or tickStep per call).
    uint32_t TickCount() override { return std::exchange(tick, tick + tickStep); }
    void DoEvents() override {
        ++doEventsCalls;
        if (onDoEvents) onDoEvents();
    }
    void EndProgram() override { ++endCalls; }
    void ScreenSize(int& width, int& height) override { width = screenW, height = screenH; }
    void Pause(int ms) override { paused += ms, tick += static_cast<uint32_t>(ms); }

    // SettingsStore: an in-memory map keyed by "section/key".
    std::optional<std::string> Get(const std::string& section, const std::string& key) override {
        const auto it = store.find(section + "/" + key);
        return it == store.end() ? std::nullopt : std::optional(it->second);
    }
    void Set(const std::string& section, const std::string& key, const std::string& v) override {
        store[section + "/" + key] = v;
    }
    SaveResult Flush() override { return ++flushes, flushResult; }

    void PlayAsync(const SoundImage& w) override { played.push_back({"async", Bytes(w)}); }
    void PlaySync(const SoundImage& wav) override { played.push_back({"sync", Bytes(wav)}); }
    void PlayLoop(const SoundImage& wav) override { played.push_back({"loop", Bytes(wav)}); }
    void Stop() override { played.push_back({"stop", {}}); }
    static std::vector<uint8_t> Bytes(std::span<const uint8_t> s) { return {s.begin(), s.end()}; }

    // RandomSource: scripted values first, then a fixed-seed generator.
    void Reseed() override { ++reseeds; }
    double Next() override;

    std::string caption;
    std::array<std::string, 3> status{};
    std::array<int, 3> panelWidth{0, 96, 96};
    int optionsPopups = 0, endCalls = 0, flushes = 0, doEventsCalls = 0, reseeds = 0;
    int paused = 0; // milliseconds, each moving the tick count on
    std::vector<size_t> shownNow;
    std::vector<std::array<int, 4>> invalidated;
    std::vector<Item> items;
    std::array<std::vector<Item>, 5> lists;
    std::deque<MsgResult> answers;
    std::vector<Shown> shown;
    std::array<bool, 3> timers{};
    uint32_t tick = 1000, tickStep = 0;
    int screenW = 1280, screenH = 1024;
    std::function<void()> onDoEvents; // what "pending events" do, if anything
    std::map<std::string, std::string> store;
    SaveResult flushResult; // what every save answers
    struct Sound {
        std::string how;
        std::vector<uint8_t> data;
    };
    std::vector<Sound> played;
    std::deque<double> randomScript;
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
