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
// A w x 4 bitmap written by hand in four colours (two at one bit): its header size (12: OS/2),
// bits, compression (1, 2: run-length), colours declared and written, rows top first, an offset
// of its own, its last bytes cut off, other bytes after it, and a bit count its header says.
struct Bmp {
    int w = 6, header = 40, bits = 24, compression = 0, declared = 0, written = 0;
    bool topDown = false;
    int offset = -1, cut = 0, tail = 0, said = 0;
};
uint32_t Colour(int i) {
    return uint32_t(40 + 50 * i) << 16 | uint32_t(200 - 30 * i) << 8 | (10 + 60 * i);
}
int IndexAt(const Bmp& b, int x, int y) {
    return b.bits == 1 ? (x + y) % 2 : (x + 2 * y) % 4;
}
QByteArray PixelRow(const Bmp& b, int y) {
    QByteArray row;
    for (int x = 0, bitsUsed = 0; x < b.w; ++x, bitsUsed += b.bits) {
        const int i = IndexAt(b, x, y);
        const uint32_t c = Colour(i);
        if (b.bits >= 24)
            row += QByteArray::fromRawData((const char*)&c, b.bits / 8);
        else if (bitsUsed % 8 == 0)
            row += char(i << (8 - b.bits));
        else
            row.back() = char(row.back() | i << (8 - b.bits - bitsUsed % 8));
    }
    if (b.compression == 0) row.resize((row.size() + 3) / 4 * 4);
    if (b.compression == 0) return row;
    QByteArray runs; // one pixel a run; a row ends with 0 0, the picture with 0 1
    for (int x = 0; x < b.w; ++x)
        runs += char(1), runs += char(IndexAt(b, x, y) * (b.compression == 2 ? 17 : 1));
    return runs + QByteArray("\0\0", 2);
}
QByteArray Write(const Bmp& b) {
    const auto le = [](int64_t v, int n) {
        const auto u = uint32_t(v);
        return QByteArray((const char*)&u, n);
    };
    QByteArray pixels;
    for (int k = 0; k < 4; ++k)
        pixels += PixelRow(b, b.topDown ? k : 3 - k);
    if (b.compression) pixels += QByteArray("\0\1", 2);
    const int entry = b.header == 12 ? 3 : 4, offset = 14 + b.header + entry * b.written;
    const int bits = b.said ? b.said : b.bits;
    QByteArray h = b.header == 12
                       ? le(12, 4) + le(b.w, 2) + le(4, 2) + le(1, 2) + le(bits, 2)
                       : le(b.header, 4) + le(b.w, 4) + le(b.topDown ? -4 : 4, 4) + le(1, 2) +
                             le(bits, 2) + le(b.compression, 4) + le(pixels.size(), 4) + le(0, 4) +
                             le(0, 4) + le(b.declared, 4);
    h.resize(b.header, '\0');
    for (int i = 0; i < b.written; ++i)
        h += le(Colour(i), entry);
    QByteArray file = "BM" + le(14 + h.size() + pixels.size(), 4) + le(0, 4) +
                      le(b.offset >= 0 ? b.offset : offset, 4) + h + pixels;
    return file.left(file.size() - b.cut) + QByteArray(b.tail, '\x5A');
}
// Every kind of bitmap shows its own colours, plain ones (read without the toolkit) at every row
// padding and with a gap before the pixels; those whose headers lie about their bytes are
// refused as broken, not shown as whatever the bytes happen to be.
TEST(LoadSurface, BitmapsOfEveryKindShowTheirColoursAndBrokenOnesNone) {
    // clang-format off
    const struct { Bmp b; bool shown; const char* what; } rows[] = {
        {{}, true, "24-bit"}, {{.w = 1}, true, "1 wide"}, {{.w = 3}, true, "3 wide"},
        {{.w = 4}, true, "4 wide"}, {{.w = 5, .written = 1}, true, "a gap before the pixels"},
        {{.topDown = true}, true, "top-down"}, {{.bits = 32}, true, "32-bit"},
        {{.header = 108}, true, "V4"}, {{.header = 124, .bits = 32, .topDown = true}, true, "V5"},
        {{.header = 124, .bits = 8, .declared = 4, .written = 4}, true, "V5, 4 colours"},
        {{.header = 12}, true, "OS/2"}, {{.header = 12, .bits = 8, .written = 256}, true, "OS/2 8"},
        {{.header = 12, .bits = 1, .written = 2}, true, "OS/2, 1-bit"},
        {{.bits = 8, .declared = 4, .written = 4}, true, "8-bit"},
        {{.bits = 8, .written = 256}, true, "8-bit, 256 colours"},
        {{.bits = 4, .declared = 4, .written = 4}, true, "4-bit"},
        {{.bits = 1, .declared = 2, .written = 2}, true, "1-bit"},
        {{.bits = 8, .compression = 1, .declared = 4, .written = 4}, true, "RLE8"},
        {{.bits = 4, .compression = 2, .declared = 4, .written = 4}, true, "RLE4"},
        {{.bits = 8, .compression = 1, .written = 256, .cut = 4}, true, "RLE8, no marks"},
        {{.bits = 8, .tail = 1024}, false, "8-bit, no table"},
        {{.bits = 4, .tail = 64}, false, "4-bit, no table"}, {{.bits = 1}, false, "1-bit no table"},
        {{.bits = 8, .declared = 3, .written = 3}, false, "an index past its table"},
        {{.bits = 8, .written = 4, .tail = 1024}, false, "256 colours said, 4 there"},
        {{.header = 12, .bits = 8, .written = 4, .tail = 768}, false, "OS/2 short table"},
        {{.bits = 8, .compression = 1, .written = 256, .cut = 5}, false, "RLE8 cut"},
        {{.bits = 4, .compression = 2, .written = 16, .cut = 5}, false, "RLE4 cut"},
        {{.offset = 14}, false, "offset 14"}, {{.offset = 0}, false, "offset 0"},
        {{.offset = 53}, false, "offset 53"}, {{.header = 108, .offset = 54}, false, "V4 at 54"},
        {{.header = 124, .bits = 8, .written = 256, .offset = 70}, false, "V5 over its table"},
        {{.said = 16}, false, "24-bit said to be 16"}};
    // clang-format on
    for (const auto& r : rows) {
        const QByteArray file = Write(r.b);
        const auto pic =
            QtPictureDecoder().DecodeBytes({(const uint8_t*)file.data(), size_t(file.size())});
        EXPECT_EQ(pic.has_value(), r.shown) << r.what;
        for (int y = 0; pic && y < 4; ++y)
            for (int x = 0; x < r.b.w; ++x)
                EXPECT_EQ(pic->Pixels[size_t(y * r.b.w + x)], Colour(IndexAt(r.b, x, y))) << r.what;
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
