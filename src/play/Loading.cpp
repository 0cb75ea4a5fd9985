#include "play/Loading.h"
#include "drawing/Graphics.h"
#include "host/Files.h"
#include "play/Lifecycle.h"
#include "settings/Settings.h"
#include "sound/Sound.h"
#include "state/Game.h"
#include <algorithm>
#include <functional>

namespace {
// Our sounds are a few hundred kilobytes; a file far beyond that is not one of them and is
// not worth the memory.
constexpr uint64_t MaxSoundFileBytes = 64ull * 1024 * 1024;

void NameAndLoad(Game& g) {
    Graphics& x = g.gfx;
    const std::string& folder = g.table.AppFolder;
    const std::pair<Surface*, const char*> files[] = {
        {&x.surfSort, "SORT.BMP"}, {&x.surfFront, "FRONT.BMP"},     {&x.surfBack, "BACK.BMP"},
        {&x.surfSign, "SIGN.BMP"}, {&x.surfImgCard, "IMGCARD.BMP"}, {&x.surfGoal, "GOAL.BMP"},
        {&x.surfTavi, "Tavi.BMP"}, {&x.surfTaviAni, "Taviani.BMP"},
    };
    for (auto& [surface, name] : files)
        surface->FileName = folder + name;
    for (auto& [surface, name] : files)
        LoadSurface(g, *surface);
}

void MakeBlankSurfaces(Game& g) {
    Graphics& x = g.gfx;
    const int w = g.table.TableWidth, h = g.table.TableHeight;
    x.surfBackground = NewSurface(g, w, h);
    FillSurface(x.surfBackground, PlainTableColour); // the table until a background is tiled
    x.surfTable = NewSurface(g, w, h);
    x.surfDrag = NewSurface(g, 128, 376);
    x.surfWindow = NewSurface(g, w, h);
}

int16_t DesignCount(const Surface& s) {
    return static_cast<int16_t>(std::min(s.Height / DesignBandHeight, MaxDesigns));
}

// Files numbered from 1 upwards without gaps; the first missing one ends the count.
int16_t CountNumberedFiles(const std::function<std::string(int)>& fileOf) {
    int n = 0;
    while (n < MaxNumberedFiles && FileExists(fileOf(n)))
        ++n;
    return static_cast<int16_t>(n);
}

// Element 0 of each list stands in the menu already; numbers 2..count are added.
void GrowList(Game& g, MenuList list, int count, const std::string& word) {
    for (int i = 2; i <= count; ++i)
        g.host.menus->ListAdd(list, word + std::to_string(i));
}

void CountResources(Game& g) {
    Graphics& x = g.gfx;
    const UiTexts& t = g.texts;
    x.FrontDesignCount = DesignCount(x.surfFront);
    GrowList(g, MenuList::LayoutFrontFront, x.FrontDesignCount, t.FrontItem);
    x.BackDesignCount = DesignCount(x.surfBack);
    GrowList(g, MenuList::LayoutBackBack, x.BackDesignCount, t.BackItem);
    x.BackgroundCount = CountNumberedFiles([&g](int i) { return BackgroundFile(g, i); });
    GrowList(g, MenuList::LayoutBgBg, x.BackgroundCount, t.BackgroundItem);
    x.SoundCount = CountNumberedFiles([&g](int i) { return SoundFile(g, i); });
    for (int i = 2; i <= x.SoundCount; ++i) {
        g.host.menus->ListAdd(MenuList::SoundsDefsndSnd, t.MoveSoundItem + std::to_string(i));
        g.host.menus->ListAdd(MenuList::SoundsGoalsndSnd, t.GoalSoundItem + std::to_string(i));
    }
}
} // namespace

void LoadGraphics(Game& g) {
    NameAndLoad(g);
    MakeBlankSurfaces(g);
    CountResources(g);
    ValidateSettings(g);
    Surface& bg = g.gfx.surfBgFile;
    bg.FileName = BackgroundFile(g, g.settings.Background);
    LoadSurface(g, bg);
    const std::string& folder = g.table.AppFolder;
    LoadSoundFile(g, folder + "Win.wav", g.sounds.WinSound);
    if (g.Ended) return; // a missing win sound has ended the program
    LoadSoundFile(g, folder + "Win2.wav", g.sounds.WinSound2);
    if (g.Ended) return;
    TileBackground(g);
}

void LoadSoundFile(Game& g, const std::string& path, SoundImage& image) {
    if (!FileExists(path)) {
        g.host.dialogs->MsgBox("不能打开文件 " + path, MsgStyle::Ok, g.texts.WindowTitle);
        EndGame(g);
        return;
    }
    // A file that is there but cannot be read, or is absurdly large, stays silent.
    image = ReadWholeFile(path, MaxSoundFileBytes).value_or(std::vector<uint8_t>{});
}

void LoadMoveSounds(Game& g) {
    LoadSoundFile(g, SoundFile(g, g.settings.MoveSound), g.sounds.MoveSoundData);
    if (g.Ended) return;
    LoadSoundFile(g, SoundFile(g, g.settings.GoalSound), g.sounds.GoalSoundData);
}
