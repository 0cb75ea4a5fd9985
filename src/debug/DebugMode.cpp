#include "debug/DebugMode.h"
#include "settings/Settings.h"
#include "state/Game.h"
#include <algorithm>
#include <cctype>

namespace {
constexpr std::string_view SwitchOnPhrase = "START ADMIN VIEW";
constexpr std::string_view SwitchOffPhrase = "STOP ADMIN VIEW";
// The longest phrase: a longer memory could not match anything more.
constexpr size_t KeyBufferLength = 16;

bool Contains(const std::string& buffer, std::string_view phrase) {
    std::string upper = buffer;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper.find(phrase) != std::string::npos;
}

void SetDebugMenu(Game& g, bool on) {
    g.host.menus->SetVisible(MenuItem::TopDebug, on);
    g.settings.DebugMode = on;
}
} // namespace

void Form_KeyDown(Game& g, int keyCode, int /*shift*/) {
    g.table.InputArmed = true; // any key ends a running celebration
    g.KeyBuffer += static_cast<char>(keyCode & 0xFF);
    if (g.KeyBuffer.size() > KeyBufferLength) g.KeyBuffer.erase(0, g.KeyBuffer.size() - KeyBufferLength);
    if (Contains(g.KeyBuffer, SwitchOnPhrase)) {
        g.KeyBuffer.clear();
        SetDebugMenu(g, true);
    }
    if (Contains(g.KeyBuffer, SwitchOffPhrase)) {
        g.KeyBuffer.clear();
        SetDebugMenu(g, false);
    }
}

void mnuDebugDisabledebug_Click(Game& g) {
    g.settings.DebugMode = false;
    g.host.menus->SetVisible(MenuItem::TopDebug, false);
    g.host.window->SetCaption(g.texts.WindowTitle);
    if (const std::string failed = SaveSettings(g); !failed.empty())
        g.host.dialogs->MsgBox(failed, MsgStyle::Ok, g.texts.WindowTitle);
}
