#pragma once
#include "host/SoundImage.h"
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The narrow services through which the game reaches the outside world. The Qt, QSettings
// and SDL adapters implement them in the application; tests use a recording host.

enum class TimerId { UpdateTime, TaviBlink, Effect };

enum class MenuItem {
    TopFile, FileNewgame, FileUndo, FileSep01, FileExit,
    TopOptions, OptionsLayoutBg, OptionsLayoutSep01, OptionsLayoutFront, OptionsLayoutBack,
    OptionsSep01, OptionsLanguage, OptionsLanguageEnglish, LanguageSep01,
    OptionsLanguageNorwegian, OptionsLanguageGerman, OptionsSounds, OptionsSoundsDefsnd,
    OptionsSoundsGoalsnd, OptionsSoundsSep01, OptionsSoundsPlaysounds, OptionsRules,
    OptionsRulesDraw, OptionsRulesDrawOne, OptionsRulesDrawThree, OptionsSep02, OptionsTavi,
    TopDebug, DebugWin, DebugSep01, DebugNoshuffle, DebugResetsettings, DebugSep02,
    DebugDisabledebug,
    TopHelp, HelpHelp, HelpSep01, HelpAbout,
    Count_
};

// The five menus whose items are an indexed array that grows at start-up.
enum class MenuList { LayoutBgBg, LayoutFrontFront, LayoutBackBack, SoundsDefsndSnd, SoundsGoalsndSnd };

// Message box styles, with the button/icon values the game's texts were written for.
enum class MsgStyle : int { Ok = 0, Information = 64, YesNoQuestion = 36, YesNoExclamation = 52 };
enum class MsgResult { Ok, Yes, No };

class WindowService {
public:
    virtual ~WindowService() = default;
    // Pixels of the window surface changed in this rectangle; show them.
    virtual void Invalidate(int x, int y, int w, int h) = 0;
    virtual void SetCaption(const std::string& text) = 0;
    virtual void SetStatusText(int panel, const std::string& text) = 0;
    virtual void SetPanelWidth(int panel, int width) = 0;
    virtual int PanelWidth(int panel) const = 0;
    virtual void PopupOptionsMenu() = 0;
    // Put what was invalidated on the screen now, for animations that run inside a handler.
    virtual void ShowNow() {}
};

class MenuService {
public:
    virtual ~MenuService() = default;
    virtual void SetCaption(MenuItem item, const std::string& text) = 0;
    virtual void SetChecked(MenuItem item, bool on) = 0;
    virtual void SetEnabled(MenuItem item, bool on) = 0;
    virtual void SetVisible(MenuItem item, bool on) = 0;
    virtual int ListCount(MenuList list) const = 0;
    virtual void ListAdd(MenuList list, const std::string& caption) = 0;
    virtual void ListRemoveLast(MenuList list) = 0;
    virtual void ListSetCaption(MenuList list, int index, const std::string& text) = 0;
    virtual void ListSetChecked(MenuList list, int index, bool on) = 0;
};

class DialogService {
public:
    virtual ~DialogService() = default;
    virtual MsgResult MsgBox(const std::string& text, MsgStyle style, const std::string& title) = 0;
};

class TimerService {
public:
    virtual ~TimerService() = default;
    virtual void SetTimerEnabled(TimerId timer, bool on) = 0;
    virtual bool TimerEnabled(TimerId timer) const = 0;
};

class SystemService {
public:
    virtual ~SystemService() = default;
    virtual uint32_t TickCount() = 0;  // milliseconds, wraps at 2^32
    virtual void DoEvents() = 0;       // let pending window events run once
    virtual void EndProgram() = 0;     // stop at once; the game sets its Ended flag first
    virtual void ScreenSize(int& width, int& height) = 0;
    // A short pause that paces an animation; pending events are not served.
    virtual void Pause(int /*milliseconds*/) {}
    // Serve window events for up to the given time, sleeping while there are none.
    virtual void WaitEvents(int /*milliseconds*/) { DoEvents(); }
};

// A decoded picture: 0x00RRGGBB pixels, row-major.
struct Picture {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;
};

class PictureService {
public:
    virtual ~PictureService() = default;
    // Nothing when the file cannot be decoded or is too large to be a sensible picture.
    virtual std::optional<Picture> Decode(const std::string& path) = 0;
};

// Why a save did not reach the disk.
enum class SaveProblem {
    None,
    NoHome,
    FolderNotMade,
    NotAFile,
    Locked,
    DiskFull,
    ReadOnly,
    NoPermission,
    TooLarge,
    NotWritten
};
struct SaveResult {
    SaveProblem problem = SaveProblem::None;
    std::string file; // the settings file, as the file system spells it
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<std::string> Get(const std::string& section, const std::string& key) = 0;
    virtual void Set(const std::string& section, const std::string& key, const std::string& value) = 0;
    // Make what was set durable now; what failed stays set for the next try.
    virtual SaveResult Flush() = 0;
};

class AudioService {
public:
    virtual ~AudioService() = default;
    virtual void PlayAsync(const SoundImage& wav) = 0; // cuts off what plays
    virtual void PlaySync(const SoundImage& wav) = 0;  // returns when it has ended
    virtual void PlayLoop(const SoundImage& wav) = 0;
    virtual void Stop() = 0;
    // A hint that sounds will be wanted soon: a device may get ready in the background.
    virtual void Prepare() {}
};

// Uniform numbers in [0, 1), re-seeded from the clock when asked.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void Reseed() = 0;
    virtual double Next() = 0;
};

struct Host {
    WindowService* window = nullptr;
    MenuService* menus = nullptr;
    DialogService* dialogs = nullptr;
    TimerService* timers = nullptr;
    SystemService* system = nullptr;
    PictureService* pictures = nullptr;
    SettingsStore* store = nullptr;
    AudioService* audio = nullptr;
    RandomSource* random = nullptr;
};
