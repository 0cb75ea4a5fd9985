// The table in device pixels: the resampler against an exact area-coverage reference, and the
// real window at whatever ratio the run is given (QT_SCALE_FACTOR, Xft.dpi), at its own size and
// filling large screens: what it shows, and that every gesture hits as at 100 %.
#include "AppFixture.h"
#include "model/Table.h"
#include "play/Deck.h"
#include "shell/Resample.h"
#include <cmath>
#include <cstdlib>
#include <random>

namespace {
struct Image {
    int w, h;
    std::vector<uint32_t> px;
    uint32_t At(int x, int y) const { return px[size_t(y) * w + x]; }
};

int Channel(uint32_t c, int ch) { return static_cast<int>((c >> (8 * ch)) & 0xff); }

// The source pixels target pixel t covers, with how much of each, in source pixels.
std::vector<std::vector<std::pair<int, double>>> Coverage(int from, int to) {
    std::vector<std::vector<std::pair<int, double>>> taps(to);
    for (int t = 0; t < to; ++t) {
        const double lo = double(t) * from / to, hi = double(t + 1) * from / to;
        for (int j = static_cast<int>(lo); j < from && j < hi; ++j)
            taps[t].push_back({j, std::min(hi, j + 1.0) - std::max(lo, double(j))});
    }
    return taps;
}

// Mean and largest difference per colour channel from the exact average over each target pixel.
std::pair<double, int> ErrorAgainstReference(const Image& src, const Image& out) {
    const auto cols = Coverage(src.w, out.w), rows = Coverage(src.h, out.h);
    double total = 0, worst = 0;
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x) {
            double sum[3] = {0, 0, 0}, area = 0;
            for (const auto& [i, oy] : rows[y])
                for (const auto& [j, ox] : cols[x]) {
                    for (int ch = 0; ch < 3; ++ch)
                        sum[ch] += ox * oy * Channel(src.At(j, i), ch);
                    area += ox * oy;
                }
            for (int ch = 0; ch < 3; ++ch) {
                const double e = std::abs(sum[ch] / area - Channel(out.At(x, y), ch));
                total += e, worst = std::max(worst, e);
            }
        }
    return {total / (3.0 * out.w * out.h), static_cast<int>(std::lround(worst))};
}

Image Scaled(const Image& src, int w, int h, std::vector<PixelArea> areas = {}) {
    Image out{w, h, std::vector<uint32_t>(size_t(w) * h, 0xdeadbeef)};
    if (areas.empty()) areas = {{0, 0, w, h}};
    for (const PixelArea& a : areas)
        Resample({src.px.data(), src.w, src.h, src.w}, {out.px.data(), w, h, w}, a);
    return out;
}

// Every pixel the integer multiple k of its source pixel's place shows that pixel.
bool UniformBlocks(const Image& src, const Image& out, int k) {
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x)
            if ((out.At(x, y) ^ src.At(x / k, y / k)) & 0xffffff) return false;
    return true;
}

// The real window at the run's ratio: shown at its own size, then as large as each screen.
struct ScaledWindow : AppFixture {
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(Start());
        mnuDebugNoshuffle_Click(g());
    }
    void CheckPicture(const std::string& where) {
        const Surface& s = g().gfx.surfWindow;
        const Image src{s.Width, s.Height, s.Pixels};
        const TableView view = table()->View();
        const QImage grabbed = table()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage shown = grabbed.copy(view.Device());
        Image out{shown.width(), shown.height(), {}};
        for (int y = 0; y < out.h; ++y) {
            const auto* line = reinterpret_cast<const uint32_t*>(shown.constScanLine(y));
            for (int x = 0; x < out.w; ++x) // the alpha byte is the toolkit's; the table's is 0
                out.px.push_back(line[x] & 0xffffff);
        }
        const qreal k = view.Scale();
        ASSERT_EQ(out.w, std::lround(k * src.w)) << where;
        EXPECT_TRUE(!view.Exact() || out.px == src.px) << where << ": not the surface as it is";
        EXPECT_TRUE(k != std::round(k) || UniformBlocks(src, out, int(k))) << where;
        const auto [mean, worst] = ErrorAgainstReference(src, out);
        EXPECT_LE(mean, 1.0) << where;
        EXPECT_LE(worst, 8) << where;
    }
    void CheckGestures(const std::string& where) {
        for (int i = 1; i <= 7; ++i) { // the top card of each pile, picked up at its centre
            const QPoint centre(TableauX(i) + CardWidth / 2,
                                TableauY + TableauStep * (i - 1) + CardHeight / 2);
            QTest::mousePress(table(), Qt::LeftButton, {}, At(centre));
            EXPECT_TRUE(g().table.Dragging && g().table.HandFrom == i) << where << " pile " << i;
            QTest::mouseRelease(table(), Qt::LeftButton, {}, At(centre));
        }
        for (int i = 0; i < 5; ++i)
            QTest::mouseClick(table(), Qt::LeftButton, {}, At({50, 80}));
        Drag({130, 80}, {355, 234}); // the nine from the waste onto the ten
        EXPECT_EQ(Counts(), "12540") << where << ": a drop";
        Drag({130, 214}, {205, 228}); // the ace onto a pile: refused, it flies back
        EXPECT_EQ(Counts(), "12540") << where << ": a refused drop";
        QTest::mouseClick(table(), Qt::RightButton, {}, At({130, 214}));
        EXPECT_EQ(Counts(), "02541") << where << ": a right-click sends the ace home";
    }
};
} // namespace

// Noise, the hardest case for a filter; partial areas give the very bytes of the whole. Whatever
// the source's fourth byte, what is shown is opaque.
TEST(Resample, MatchesAreaCoverageAndIsExactAtWholeRatios) {
    std::mt19937 random(7);
    Image src{16, 12, {}};
    for (int i = 0; i < src.w * src.h; ++i)
        src.px.push_back(static_cast<uint32_t>(random()));
    const std::tuple<int, int, int> rows[] = {
        {16, 12, 1}, {32, 24, 2}, {48, 36, 3}, // whole ratios: blocks
        {20, 15, 0}, {24, 18, 0}, {28, 21, 0}, {40, 30, 0}, {37, 23, 0}, {11, 7, 0}};
    for (const auto& [w, h, k] : rows) {
        const Image out = Scaled(src, w, h);
        EXPECT_TRUE(k == 0 || UniformBlocks(src, out, k)) << k;
        const auto [mean, worst] = ErrorAgainstReference(src, out);
        EXPECT_LE(mean, 1.0) << w << "x" << h;
        EXPECT_LE(worst, 8) << w << "x" << h;
        const Image parts = Scaled(src, w, h, {{0, 0, w / 3, h}, {w / 3, 0, w, h / 2},
                                               {w / 3, h / 2, w, h}, {-5, -5, 2, 2}});
        EXPECT_TRUE(parts.px == out.px) << "pieces differ from the whole at " << w << "x" << h;
        EXPECT_TRUE(std::all_of(out.px.begin(), out.px.end(), [](uint32_t c) { return c >> 24 == 0xff; }));
    }
}

// At ratio 1 and the default size this is the window as it has always been.
TEST_F(ScaledWindow, ShowsTheTableSharpAndTakesEveryGesture) {
    const qreal dpr = table()->devicePixelRatioF();
    const char* asked = std::getenv("ZORVO_TEST_RATIO"); // the ratio the run's display gives
    ASSERT_EQ(dpr, asked != nullptr ? std::stod(asked) : dpr);
    const std::pair<QSize, const char*> sizes[] = {
        {{}, "own size"}, {{1920, 1080}, "1920x1080"}, {{3840, 2160}, "3840x2160"}};
    for (const auto& [screen, name] : sizes) {
        const std::string where = std::string(name) + " at " + std::to_string(dpr);
        const QSize logical = (QSizeF(screen) / dpr).toSize();
        const QSize least = window().minimumSize();
        if (!screen.isEmpty() && (logical.width() < least.width() || logical.height() < least.height()))
            continue; // the window does not fit on this screen at this ratio
        if (!screen.isEmpty()) {
            window().resize(logical);
            ASSERT_TRUE(QTest::qWaitFor(
                [&] { return table()->width() > frmMain::TableClientWidth; }, ReadyMs));
            mnuDebugNoshuffle_Click(g());
        }
        EXPECT_EQ(table()->View().Exact(), screen.isEmpty() && dpr == 1) << where;
        CheckPicture(where);
        CheckGestures(where);
        CheckPicture(where + " after play");
    }
}
