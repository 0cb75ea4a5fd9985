#include "TestHost.h"
#include "host/QtPictureDecoder.h"

MsgResult TestHost::MsgBox(const std::string& text, MsgStyle style, const std::string& title) {
    shown.push_back({text, style, title});
    const bool yesNo = style == MsgStyle::YesNoQuestion || style == MsgStyle::YesNoExclamation;
    if (answers.empty()) return yesNo ? MsgResult::Yes : MsgResult::Ok;
    const MsgResult r = answers.front();
    answers.pop_front();
    return r;
}

double TestHost::Next() {
    if (!randomScript.empty()) {
        const double v = randomScript.front();
        randomScript.pop_front();
        return v;
    }
    uint64_t z = (rngState += 0x9e3779b97f4a7c15ULL); // splitmix64: reproducible
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return static_cast<double>((z ^ (z >> 31)) >> 11) * 0x1.0p-53;
}

TestGame::TestGame() : pictures(std::make_unique<QtPictureDecoder>()) {
    Host h = host.AsHost();
    h.pictures = pictures.get();
    game = std::make_unique<Game>(h);
    host.Get(MenuItem::TopDebug).visible = false;
}
