#include "drawing/Graphics.h"
#include "drawing/TablePainter.h"
#include "DrawArt.h"
#include "game/Deck.h"
#include "settings/Options.h"
#include "settings/Settings.h"
#include "settings/UiTexts.h"
#include <climits>

using namespace drawtest;

namespace {
// A 3 x 2 picture in colours every depth keeps exactly (16-bit keeps five bits per channel).
const std::vector<uint32_t> Colours = {0x000000, 0xF8F8F8, 0xF80000, 0x00F800, 0x0000F8, 0x283848};

Surface Stamped(int w, int h, uint32_t base) {
    return drawtest::Coded(
        w, h, [base](int x, int y) { return base | uint32_t(y % 256) << 8 | uint32_t(x % 256); });
}

// Every file the loader reads, at the sizes it reads, in its own colour.
struct GoodFolder {
    TempFolder dir;
    GoodFolder(int frontDesigns = 2, int bgCount = 1) {
        WriteBmp(dir / "SORT.BMP", Stamped(60, 60, 0x010000));
        WriteBmp(dir / "FRONT.BMP", Stamped(64, 104 * frontDesigns, 0x020000));
        WriteBmp(dir / "BACK.BMP", Stamped(128, 104 * 2, 0x030000));
        WriteBmp(dir / "SIGN.BMP", Stamped(130, 80, 0x040000));
        WriteBmp(dir / "IMGCARD.BMP", Stamped(120, 70, 0x050000));
        WriteBmp(dir / "GOAL.BMP", Stamped(256, 208, 0x060000));
        WriteBmp(dir / "Tavi.BMP", Stamped(50, 80, 0x070000));
        WriteBmp(dir / "Taviani.BMP", Stamped(70, 99, 0x080000));
        for (int i = 1; i <= bgCount; ++i)
            WriteBmp(dir / ("BG/BG" + std::to_string(i) + ".BMP"),
                     Stamped(32, 32, uint32_t(0x100000 * i)));
        for (const char* wav : {"Snd1.wav", "Snd2.wav", "Win.wav", "Win2.wav"})
            WriteBytes(dir / wav, {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'});
    }
};

struct Loaded {
    TestGame t;
    Game& g = t.g();
    explicit Loaded(const TempFolder& dir, int width = 640, int height = 480) {
        SetDefaultTexts(g);
        g.table.AppFolder = dir.Folder();
        g.table.TableWidth = width;
        g.table.TableHeight = height;
    }
    std::vector<std::string> Captions(MenuList l) {
        std::vector<std::string> c;
        for (auto& item : t.host.List(l))
            c.push_back(item.caption);
        return c;
    }
};
} // namespace

TEST(LoadSurface, DecodesEveryBitmapDepth) {
    TempFolder dir;
    for (int bits : {1, 4, 8, 16, 24, 32, 0}) { // 0: 8 bits run-length encoded
        std::vector<uint32_t> px = Colours;
        if (bits == 1)
            for (uint32_t& c : px)
                c = c == 0 ? 0 : 0xF8F8F8;
        WriteBytes(dir / "a.bmp", EncodeBmp(3, 2, px, bits ? bits : 8, bits == 0));
        Loaded l(dir);
        Surface s;
        s.FileName = dir / "a.bmp";
        LoadSurface(l.g, s);
        EXPECT_EQ(s.Width, 3) << bits;
        EXPECT_EQ(s.Height, 2) << bits;
        EXPECT_EQ(s.Pixels, px) << bits;
        EXPECT_TRUE(l.t.host.shown.empty());
    }
}

TEST(LoadSurface, MissingFileKeepsThePictureAnotherFileReplacesIt) {
    TempFolder dir;
    Loaded l(dir);
    WriteBmp(dir / "one.bmp", Stamped(4, 3, 0x110000));
    WriteBmp(dir / "two.bmp", Stamped(2, 5, 0x220000));
    std::filesystem::create_directory(dir / "folder.bmp");
    Surface s;
    s.FileName = dir / "one.bmp";
    LoadSurface(l.g, s);
    for (const char* name : {"none.bmp", "folder.bmp"}) {
        s.FileName = dir / name;
        LoadSurface(l.g, s);
        EXPECT_EQ(s.Pixels, Stamped(4, 3, 0x110000).Pixels) << name;
    }
    s.FileName = dir / "two.bmp";
    LoadSurface(l.g, s);
    EXPECT_EQ(s.Width, 2);
    EXPECT_EQ(s.Pixels, Stamped(2, 5, 0x220000).Pixels);
    EXPECT_TRUE(l.t.host.shown.empty());
}

TEST(LoadSurface, BlankSurfaceOfUnusableSizeReportsMemoryError) {
    TempFolder dir;
    for (auto [w, h] :
         {std::pair{0, 480}, {640, 0}, {-1, 10}, {100000, 100000}, {INT_MAX, INT_MAX}}) {
        Loaded l(dir);
        EXPECT_TRUE(NewSurface(l.g, w, h).Empty());
        ASSERT_EQ(l.t.host.shown.size(), 1u);
        EXPECT_EQ(l.t.host.shown[0].text, "内存错误!");
        EXPECT_EQ(l.t.host.shown[0].style, MsgStyle::Ok);
        EXPECT_EQ(l.t.host.shown[0].title, l.g.texts.WindowTitle);
    }
}

TEST(LoadGraphics, CountsDesignsBackgroundsAndSoundsAndGrowsTheMenus) {
    GoodFolder f(3, 4);
    WriteBmp(f.dir / "BACK.BMP", Stamped(128, 300, 0x030000)); // 300 / 104 = 2
    std::filesystem::remove(f.dir / "BG/BG3.BMP");             // BG4 is never offered
    WriteBytes(f.dir / "Snd3.wav", {0});
    Loaded l(f.dir);
    l.g.settings.FrontDesign = 7; // out of range: reset
    l.g.settings.Background = 1;  // BG2 exists: kept
    LoadGraphics(l.g);
    const Graphics& x = l.g.gfx;
    EXPECT_EQ(x.FrontDesignCount, 3);
    EXPECT_EQ(x.BackDesignCount, 2);
    EXPECT_EQ(x.BackgroundCount, 2);
    EXPECT_EQ(x.SoundCount, 3);
    using V = std::vector<std::string>;
    EXPECT_EQ(l.Captions(MenuList::LayoutFrontFront), (V{"", "图案 2", "图案 3"}));
    EXPECT_EQ(l.Captions(MenuList::LayoutBackBack), (V{"", "图案 2"}));
    EXPECT_EQ(l.Captions(MenuList::LayoutBgBg), (V{"", "背景 2"}));
    EXPECT_EQ(l.Captions(MenuList::SoundsDefsndSnd), (V{"", "声效 2", "声效 3"}));
    EXPECT_EQ(l.Captions(MenuList::SoundsGoalsndSnd), (V{"", "声效 2", "声效 3"}));
    EXPECT_EQ(l.g.settings.FrontDesign, 0);
    EXPECT_EQ(l.g.settings.Background, 1);
    EXPECT_EQ(x.surfBackground.At(33, 34), 0x200000u | 2 << 8 | 1) << "BG2 tiled";
    EXPECT_EQ(x.surfSign.Pixels, Stamped(130, 80, 0x040000).Pixels);
    for (const Surface* s : {&x.surfTable, &x.surfBackground, &x.surfWindow}) {
        EXPECT_EQ(s->Width, 640);
        EXPECT_EQ(s->Height, 480);
    }
    EXPECT_EQ(x.surfDrag.Width, 128);
    EXPECT_EQ(x.surfDrag.Height, 376);
    EXPECT_TRUE(x.surfBgFile.Empty()) << "released after tiling";
    EXPECT_TRUE(l.t.host.shown.empty());
}

TEST(LoadGraphics, TilesTheBackgroundFromTheTopLeft) {
    struct Case {
        int tableW, tableH, tileW, tileH;
    } cases[] = {
        {800, 600, 128, 128}, {800, 600, 100, 100}, {640, 480, 1, 1}, {640, 480, 700, 500}};
    for (const Case& c : cases) {
        GoodFolder f;
        WriteBmp(f.dir / "BG/BG1.BMP", Stamped(c.tileW, c.tileH, 0x300000));
        Loaded l(f.dir, c.tableW, c.tableH);
        LoadGraphics(l.g);
        const Surface& bg = l.g.gfx.surfBackground;
        Surface want = NewBlankSurface(c.tableW, c.tableH);
        for (int y = 0; y < c.tableH; ++y)
            for (int x = 0; x < c.tableW; ++x)
                want.At(x, y) =
                    0x300000 | uint32_t(y % c.tileH % 256) << 8 | uint32_t(x % c.tileW % 256);
        EXPECT_TRUE(bg.Pixels == want.Pixels) << c.tileW << " x " << c.tileH;
    }
}

TEST(LoadGraphics, WithoutABackgroundTheTableIsPlainGreen) {
    GoodFolder f(2, 0);
    Loaded l(f.dir);
    l.g.settings.Background = 3;
    LoadGraphics(l.g);
    EXPECT_EQ(l.g.gfx.BackgroundCount, 0);
    EXPECT_EQ(l.g.settings.Background, 0);
    EXPECT_EQ(l.g.gfx.surfBackground.Pixels, std::vector<uint32_t>(640 * 480, PlainTableColour));
    EXPECT_TRUE(l.t.host.shown.empty());
}

TEST(LoadGraphics, ABackgroundFileGoneSinceStartUpLeavesTheTableAsItWas) {
    const std::function<void(Game&)> choices[] = {
        [](Game& g) { mnuOptionsLayoutBgBg_Click(g, 1); },
        [](Game& g) { mnuDebugResetsettings_Click(g); },
    };
    for (const auto& choose : choices) {
        GoodFolder f(2, 2);
        Loaded l(f.dir);
        l.g.settings.Background = 1;
        LoadGraphics(l.g);
        const std::vector<uint32_t> before = l.g.gfx.surfBackground.Pixels;
        ASSERT_EQ(before[0], 0x200000u) << "BG2 tiled";
        std::filesystem::remove_all(f.dir / "BG");
        choose(l.g);
        EXPECT_TRUE(l.g.gfx.surfBackground.Pixels == before);
        EXPECT_TRUE(l.t.host.shown.empty());
    }
}

TEST(LoadGraphics, StopsWhenAWinSoundEndsTheProgram) {
    GoodFolder f;
    std::filesystem::remove(f.dir / "Win.wav");
    Loaded l(f.dir);
    LoadGraphics(l.g);
    EXPECT_TRUE(l.g.Ended);
    ASSERT_EQ(l.t.host.shown.size(), 1u) << "Win2.wav is not tried";
    EXPECT_EQ(l.t.host.shown[0].text.rfind("不能打开文件 " + (f.dir / "Win.wav"), 0), 0u);
    EXPECT_TRUE(l.g.sounds.WinSound2.empty());
}

// Bad files, one at a time and all at once: never a crash, a message exactly when a file
// that is there cannot be read, and a table that can still be drawn.
enum class Bad { Missing, Empty, Truncated, HeaderOnly, NotBitmap, Folder, Huge, OnePixel, Small };

class LoadBadFile : public testing::TestWithParam<Bad> {
  protected:
    static void Spoil(const TempFolder& dir, const std::string& name, Bad how) {
        const std::string path = dir / name;
        std::vector<uint8_t> good = EncodeBmp(16, 16, std::vector<uint32_t>(256, 0x336699), 24);
        std::filesystem::remove(path);
        switch (how) {
        case Bad::Missing:
            break;
        case Bad::Empty:
            WriteBytes(path, {});
            break;
        case Bad::Truncated:
            good.resize(good.size() / 2), WriteBytes(path, good);
            break;
        case Bad::HeaderOnly:
            good.resize(54), WriteBytes(path, good);
            break;
        case Bad::NotBitmap:
            WriteBytes(path, {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
            break;
        case Bad::Folder:
            std::filesystem::create_directory(path);
            break;
        case Bad::Huge:
            WriteBytes(path,
                       EncodeBmp(16, 16, std::vector<uint32_t>(256), 24, false, 100000, 100000));
            break;
        case Bad::OnePixel:
            WriteBmp(path, Stamped(1, 1, 0x440000));
            break;
        case Bad::Small:
            WriteBmp(path, Stamped(9, 7, 0x440000));
            break;
        }
    }
    static bool Unreadable(Bad how) {
        return how == Bad::Empty || how == Bad::Truncated || how == Bad::HeaderOnly ||
               how == Bad::NotBitmap || how == Bad::Huge;
    }
    static void LoadAndPlay(const std::vector<std::string>& spoilt, Bad how) {
        GoodFolder f;
        for (const std::string& name : spoilt)
            Spoil(f.dir, name, how);
        Loaded l(f.dir);
        LoadGraphics(l.g);
        const auto& shown = l.t.host.shown;
        ASSERT_EQ(shown.size(), Unreadable(how) ? spoilt.size() : 0u) << spoilt.size();
        for (size_t i = 0; i < shown.size(); ++i)
            EXPECT_EQ(shown[i].text, "不能打开文件 " + (f.dir / spoilt[i]) + "!");
        const Graphics& x = l.g.gfx;
        for (const Surface* s :
             {&x.surfSort, &x.surfFront, &x.surfBack, &x.surfSign, &x.surfImgCard, &x.surfGoal,
              &x.surfTavi, &x.surfTaviAni, &x.surfBgFile})
            ASSERT_EQ(s->Pixels.size(), size_t(s->Width) * size_t(s->Height)) << s->FileName;
        BuildCardFaces(l.g);
        DealCards(l.g);
        l.g.table.Waste.Push(l.g.table.Stock.Pop());
        for (uint8_t rule : {uint8_t(1), uint8_t(3)}) {
            l.g.settings.DrawRule = rule;
            RedrawTable(l.g);
            EXPECT_EQ(x.surfWindow.Pixels, x.surfTable.Pixels);
        }
    }
};

TEST_P(LoadBadFile, OneAtATimeAndAllAtOnce) {
    const std::vector<std::string> names = {"SORT.BMP", "FRONT.BMP",   "BACK.BMP",
                                            "SIGN.BMP", "IMGCARD.BMP", "GOAL.BMP",
                                            "Tavi.BMP", "Taviani.BMP", "BG/BG1.BMP"};
    for (const std::string& name : names)
        LoadAndPlay({name}, GetParam());
    LoadAndPlay(names, GetParam());
}

INSTANTIATE_TEST_SUITE_P(LoadFiles, LoadBadFile,
                         testing::Values(Bad::Missing, Bad::Empty, Bad::Truncated, Bad::HeaderOnly,
                                         Bad::NotBitmap, Bad::Folder, Bad::Huge, Bad::OnePixel,
                                         Bad::Small));
