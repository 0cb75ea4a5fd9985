#include "DrawArt.h"
#include "Invariants.h"
#include "debug/DebugMode.h"
#include "drawing/Graphics.h"
#include "drawing/TablePainter.h"
#include "host/QtPictureDecoder.h"
#include "options/Options.h"
#include "play/Deck.h"
#include "play/Loading.h"
#include "settings/UiTexts.h"
#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <filesystem>

using namespace drawtest;

namespace {
QImage Image(const Surface& s) {
    return QImage((const uchar*)s.Pixels.data(), s.Width, s.Height, QImage::Format_RGB32);
}
// A game on a copy of the shipped files, its table w x h.
struct Loaded {
    QTemporaryDir dir;
    TestGame t;
    Game& g = t.g();
    std::string at = dir.path().toStdString() + "/";
    explicit Loaded(int w = 640, int h = 480) {
        std::filesystem::copy(GAME_DATA_DIR, at, std::filesystem::copy_options::recursive);
        SetDefaultTexts(g);
        g.table.AppFolder = at, g.table.TableWidth = w, g.table.TableHeight = h;
    }
    void Write(const std::string& name, const Surface& s) { Image(s).save((at + name).c_str()); }
};
} // namespace
// Our quick reader of plain bitmaps agrees with the toolkit's: padded rows, either order, a gap.
TEST(LoadSurface, PlainBitmapsReadAsTheToolkitReadsThem) {
    for (const int w : {1, 2, 3, 4, 5})
        for (const int variant : {0, 1, 2}) {
            QByteArray b;
            QBuffer out(&b);
            out.open(QIODevice::WriteOnly), Image(Art(w, 3, Tag(3))).save(&out, "BMP");
            const qsizetype row = (w * 3 + 3) / 4 * 4;
            if (variant == 1) // the three rows the other way round, the height negative
                b = b.left(22) + QByteArray("\xFD\xFF\xFF\xFF", 4) + b.mid(26, 28) +
                    b.mid(54 + 2 * row, row) + b.mid(54 + row, row) + b.mid(54, row);
            if (variant == 2) b.insert(54, "gap!"), b[10] = 58;
            const Surface pic = Art(w, 3, Tag(3));
            const auto ours =
                QtPictureDecoder().DecodeBytes({(const uint8_t*)b.data(), size_t(b.size())});
            EXPECT_TRUE(b[28] == 24 &&
                        QImage::fromData(b).convertToFormat(QImage::Format_RGB32) == Image(pic));
            EXPECT_TRUE(ours && ours->Width == w && ours->Pixels == pic.Pixels) << w << variant;
        }
}
// Tiles from the top-left, cut at the edges, or plain green; a missing win sound ends loading.
TEST(LoadGraphics, TilesTheBackgroundFromTheTopLeftAndStopsAtTheEnd) {
    // clang-format off
    for (auto [tableW, tableH, tileW, tileH] : {std::array{800, 600, 128, 128}, {800, 600, 100, 70},
             {640, 480, 1, 1}, {640, 480, 700, 500}, {640, 480, 0, 0}}) {
        // clang-format on
        Loaded l(tableW, tableH);
        const Surface tile = Art(tileW, tileH, Tag(2));
        std::filesystem::remove(l.at + "BG/BG1.BMP");
        if (tileW) l.Write("BG/BG1.BMP", tile);
        LoadGraphics(l.g);
        const auto tiled = [&](int x, int y) {
            return tileW ? tile.At(x % tileW, y % tileH) : PlainTableColour;
        };
        EXPECT_TRUE(Same(l.g.gfx.surfBackground, Coded(tableW, tableH, tiled)))
            << tileW << "x" << tileH;
    }
    Loaded l;
    std::filesystem::remove(l.at + "Win.wav");
    LoadGraphics(l.g);
    EXPECT_TRUE(l.g.Ended && l.t.host.shown.size() == 1u && l.g.sounds.WinSound2.empty());
}
// Menus grow by the files found. Choosing a background or resetting shows the new table at once
// (felt in the window, table as a repaint makes it); files gone since start-up change nothing.
TEST(LoadGraphics, MenusGrowAndChoicesShowAtOnce) {
    Loaded l;
    l.Write("FRONT.BMP", Art(64, 312, Tag(1)));
    l.Write("BACK.BMP", Art(128, 300, Tag(2))); // two designs and a part
    for (int k = 1; k <= 3; ++k)
        l.Write("BG/BG" + std::to_string(k) + ".BMP", Art(32, 32, Tag(k)));
    LoadGraphics(l.g);
    using enum MenuList;
    // clang-format off
    for (auto [list, n, last] : {std::tuple{LayoutFrontFront, 3u, "图案 3"}, {LayoutBgBg, 3u, "背景 3"},
             {LayoutBackBack, 2u, "图案 2"}, {SoundsDefsndSnd, 3u, "声效 3"},
             {SoundsGoalsndSnd, 3u, "声效 3"}})
        EXPECT_TRUE(l.t.host.List(list).size() == n && l.t.host.List(list).back().caption == last);
    // clang-format on
    BuildCardFaces(l.g), DealCards(l.g);
    const auto shows = [&l](int k) {
        EXPECT_EQ(l.g.gfx.surfWindow.At(600, 450), Art(32, 32, Tag(k)).At(600 % 32, 450 % 32)) << k;
        EXPECT_EQ(PictureDiffers(l.g), "") << k;
    };
    RedrawTable(l.g), shows(1);
    mnuOptionsLayoutBgBg_Click(l.g, 2), shows(3);
    l.g.settings.FrontDesign = l.g.settings.BackDesign = 1;
    mnuDebugResetsettings_Click(l.g), shows(1);
    std::filesystem::remove_all(l.at + "BG"), mnuOptionsLayoutBgBg_Click(l.g, 1), shows(1);
    mnuDebugResetsettings_Click(l.g), shows(1);
    const Settings& s = l.g.settings;
    EXPECT_TRUE(s.Background == 0 && s.FrontDesign == 0 && s.BackDesign == 0);
    l.g.gfx.surfFront.FileName = l.at + "none.bmp";
    LoadSurface(l.g, l.g.gfx.surfFront);
    EXPECT_TRUE(Same(l.g.gfx.surfFront, Art(64, 312, Tag(1))));
    EXPECT_TRUE(l.t.host.shown.empty());
}
