#include "drawing/Graphics.h"
#include "drawing/TablePainter.h"
#include "DrawArt.h"
#include "Invariants.h"
#include "play/Deck.h"
#include "drawing/CardFaces.h"
#include "options/Options.h"
#include "settings/Settings.h"
#include "settings/UiTexts.h"
#include "host/Files.h"
#include "host/QtPictureDecoder.h"
#include "debug/DebugMode.h"
#include "play/Loading.h"
#include <QImage>
#include <climits>

using namespace drawtest;

namespace {

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

// Our own pictures are read without the toolkit's reader; they must come out as it reads them,
// stored bottom row first as they are, and top row first as a bitmap may be.
TEST(LoadSurface, PlainBitmapsReadAsTheToolkitReadsThem) {
    for (const char* name : {"FRONT.BMP", "BACK.BMP", "SIGN.BMP", "Tavi.BMP", "BG/BG2.BMP"})
        for (const bool topDown : {false, true}) {
            auto bytes = ReadWholeFile(std::string(GAME_DATA_DIR) + "/" + name, 1 << 24);
            ASSERT_TRUE(bytes) << name;
            if (topDown) { // the same picture with its rows the other way round
                const uint32_t at = bytes->at(10) | bytes->at(11) << 8;
                const int32_t w = bytes->at(18) | bytes->at(19) << 8,
                              h = bytes->at(22) | bytes->at(23) << 8;
                const size_t stride = size_t(w * 3 + 3) / 4 * 4;
                for (int32_t y = 0; y < h / 2; ++y)
                    std::swap_ranges(bytes->begin() + at + y * stride,
                                     bytes->begin() + at + (y + 1) * stride,
                                     bytes->begin() + at + (h - 1 - y) * stride);
                for (int i = 0; i < 4; ++i)
                    bytes->at(22 + i) = uint8_t(uint32_t(-h) >> (8 * i));
            }
            const QImage qt = QImage::fromData(bytes->data(), int(bytes->size()), "BMP")
                                  .convertToFormat(QImage::Format_RGB32);
            const auto ours = QtPictureDecoder().DecodeBytes(*bytes);
            ASSERT_TRUE(ours && !qt.isNull()) << name;
            ASSERT_EQ(ours->Width, qt.width()) << name;
            ASSERT_EQ(ours->Height, qt.height()) << name;
            for (int y = 0; y < qt.height(); ++y)
                for (int x = 0; x < qt.width(); ++x)
                    ASSERT_EQ(ours->Pixels[size_t(y * qt.width() + x)], qt.pixel(x, y) & 0xFFFFFFu)
                        << name << (topDown ? " top down" : "") << " at " << x << ", " << y;
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
    ASSERT_EQ(l.t.host.shown.size(), 1u);
    EXPECT_TRUE(l.g.sounds.WinSound2.empty()) << "nothing more is loaded after the end";
}

// Choosing a table, or resetting the settings, shows the new table at once: the window is a full
// repaint on the chosen background.
TEST(LoadGraphics, ChoosingABackgroundOrResettingShowsItsTableAtOnce) {
    GoodFolder f(2, 3);
    Loaded l(f.dir);
    LoadGraphics(l.g);
    BuildCardFaces(l.g);
    DealCards(l.g);
    RedrawTable(l.g);
    const auto felt = [&] { return l.g.gfx.surfWindow.At(600, 450); }; // bare felt on the window
    ASSERT_EQ(felt(), 0x100000u | 450 % 32 << 8 | 600 % 32) << "BG1 tiled";
    mnuOptionsLayoutBgBg_Click(l.g, 2);
    EXPECT_EQ(l.g.settings.Background, 2);
    EXPECT_EQ(felt(), 0x300000u | 450 % 32 << 8 | 600 % 32) << "BG3 shown";
    EXPECT_EQ(PictureDiffers(l.g), "");
    l.g.settings.FrontDesign = 1;
    l.g.settings.BackDesign = 1;
    mnuDebugResetsettings_Click(l.g);
    EXPECT_EQ(l.g.settings.Background, 0);
    EXPECT_EQ(l.g.settings.FrontDesign, 0);
    EXPECT_EQ(l.g.settings.BackDesign, 0);
    EXPECT_EQ(felt(), 0x100000u | 450 % 32 << 8 | 600 % 32) << "BG1 shown again";
    EXPECT_EQ(PictureDiffers(l.g), "");
    EXPECT_EQ(l.g.gfx.surfWindow.Pixels, l.g.gfx.surfTable.Pixels);
    EXPECT_TRUE(l.t.host.shown.empty());
}
