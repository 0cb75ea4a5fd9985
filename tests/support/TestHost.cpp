#include "TestHost.h"
#include "host/QtPictureDecoder.h"

TestHost::TestHost() {
    items.resize(static_cast<size_t>(MenuItem::Count_));
    for (auto& l : lists) l.push_back(Item{});
}

Host TestHost::AsHost() {
    Host h;
    h.window = this;
    h.menus = this;
    h.dialogs = this;
    h.timers = this;
    h.system = this;
    h.store = this;
    h.audio = this;
    h.random = this;
    return h;
}

void TestHost::Invalidate(int x, int y, int w, int h) {
    invalidated.push_back({x, y, w, h});
}

int TestHost::ListCount(MenuList list) const {
    return static_cast<int>(lists[static_cast<size_t>(list)].size());
}
void TestHost::ListAdd(MenuList list, const std::string& text) {
    List(list).push_back(Item{text});
}
void TestHost::ListRemoveLast(MenuList list) {
    if (List(list).size() > 1) List(list).pop_back();
}
void TestHost::ListSetCaption(MenuList list, int index, const std::string& text) {
    List(list).at(static_cast<size_t>(index)).caption = text;
}
void TestHost::ListSetChecked(MenuList list, int index, bool on) {
    List(list).at(static_cast<size_t>(index)).checked = on;
}

MsgResult TestHost::MsgBox(const std::string& text, MsgStyle style, const std::string& title) {
    shown.push_back({text, style, title});
    if (answers.empty()) return style == MsgStyle::YesNoQuestion || style == MsgStyle::YesNoExclamation
                                    ? MsgResult::Yes
                                    : MsgResult::Ok;
    MsgResult r = answers.front();
    answers.pop_front();
    return r;
}

uint32_t TestHost::TickCount() {
    uint32_t now = tick;
    tick += tickStep;
    return now;
}

void TestHost::DoEvents() {
    ++doEventsCalls;
    if (onDoEvents) onDoEvents();
}

std::optional<std::string> TestHost::Get(const std::string& section, const std::string& key) {
    auto it = store.find(section + "/" + key);
    if (it == store.end()) return std::nullopt;
    return it->second;
}
void TestHost::Set(const std::string& section, const std::string& key, const std::string& value) {
    store[section + "/" + key] = value;
}

double TestHost::Next() {
    if (!randomScript.empty()) {
        double v = randomScript.front();
        randomScript.pop_front();
        return v;
    }
    // splitmix64: reproducible, good enough for tests
    uint64_t z = (rngState += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * 0x1.0p-53;
}

TestGame::TestGame() : pictures(std::make_unique<QtPictureDecoder>()) {
    Host h = host.AsHost();
    h.pictures = pictures.get();
    game = std::make_unique<Game>(h);
    host.Get(MenuItem::TopDebug).visible = false;
}
