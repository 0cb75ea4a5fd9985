#include "shell/Resample.h"
#include <algorithm>
#include <vector>

namespace {
constexpr int WeightBits = 8;
constexpr uint32_t WeightOne = 1u << WeightBits;

// The source pixels one target pixel covers, with their shares summing to WeightOne.
struct Taps {
    std::vector<int> first;      // first source index, per target index
    std::vector<int> count;      // how many source indices
    std::vector<uint16_t> share; // `count` shares per target index, in order
    std::vector<int> at;         // where each target index's shares start
};

// Target pixel t covers [t*from, (t+1)*from) in units of 1/to source pixel; source pixel j
// covers [j*to, (j+1)*to). Shares are rounded cumulatively so they always sum to WeightOne.
Taps AxisTaps(int from, int to, int begin, int end) {
    Taps taps;
    for (int t = begin; t < end; ++t) {
        const int64_t lo = int64_t{t} * from, hi = lo + from;
        const int j0 = static_cast<int>(lo / to), j1 = static_cast<int>((hi - 1) / to);
        taps.first.push_back(j0);
        taps.count.push_back(j1 - j0 + 1);
        taps.at.push_back(static_cast<int>(taps.share.size()));
        int64_t covered = 0;
        uint32_t given = 0;
        for (int j = j0; j <= j1; ++j) {
            covered +=
                std::min<int64_t>(hi, int64_t{j + 1} * to) - std::max<int64_t>(lo, int64_t{j} * to);
            const auto upTo = static_cast<uint32_t>((covered * WeightOne + from / 2) / from);
            taps.share.push_back(static_cast<uint16_t>(upTo - given));
            given = upTo;
        }
    }
    return taps;
}

// One source row scaled across the area's columns: channels times WeightOne.
void ScaleRow(const uint8_t* row, const Taps& cols, uint16_t* out) {
    const size_t n = cols.first.size();
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* p = row + size_t(cols.first[i]) * 4;
        const uint16_t* w = &cols.share[size_t(cols.at[i])];
        uint32_t c[4] = {0, 0, 0, 0};
        for (int k = 0; k < cols.count[i]; ++k, p += 4)
            for (int ch = 0; ch < 4; ++ch)
                c[ch] += uint32_t{w[k]} * p[ch];
        for (int ch = 0; ch < 4; ++ch)
            out[i * 4 + ch] = static_cast<uint16_t>(c[ch]);
    }
}

// The common case, a target row between two scaled source rows.
void BlendRows(const uint16_t* a, uint32_t wa, const uint16_t* b, uint32_t wb, uint8_t* out,
               size_t n) {
    constexpr uint32_t Half = WeightOne * WeightOne / 2;
    for (size_t i = 0; i < n; ++i)
        out[i] = static_cast<uint8_t>((wa * a[i] + wb * b[i] + Half) >> (2 * WeightBits));
}


void Opaque(uint32_t* row, int n) {
    for (int i = 0; i < n; ++i)
        row[i] |= 0xff000000u;
}

// Ratio 1: the pixels as they are.
void Copy(PixelsIn src, PixelsOut dst, int x0, int x1, int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
        uint32_t* out = dst.data + size_t(y) * dst.stride + x0;
        std::copy_n(src.data + size_t(y) * src.stride + x0, x1 - x0, out);
        Opaque(out, x1 - x0);
    }
}
} // namespace

void Resample(PixelsIn src, PixelsOut dst, PixelArea area) {
    const int x0 = std::max(area.x, 0), x1 = std::min(area.x + area.w, dst.width);
    const int y0 = std::max(area.y, 0), y1 = std::min(area.y + area.h, dst.height);
    if (x0 >= x1 || y0 >= y1 || src.width <= 0 || src.height <= 0) return;
    if (src.width == dst.width && src.height == dst.height) return Copy(src, dst, x0, x1, y0, y1);
    const Taps cols = AxisTaps(src.width, dst.width, x0, x1);
    const Taps rows = AxisTaps(src.height, dst.height, y0, y1);
    const size_t n = size_t(x1 - x0) * 4;
    // Each source row the area needs is scaled across once, then rows are blended down.
    const int firstRow = rows.first.front();
    const int lastRow = rows.first.back() + rows.count.back() - 1;
    std::vector<uint16_t> scaled(size_t(lastRow - firstRow + 1) * n);
    for (int r = firstRow; r <= lastRow; ++r)
        ScaleRow(reinterpret_cast<const uint8_t*>(src.data + size_t(r) * src.stride), cols,
                 &scaled[size_t(r - firstRow) * n]);
    std::vector<uint32_t> sum(n);
    for (int y = y0; y < y1; ++y) {
        const size_t i = size_t(y - y0);
        const uint16_t* w = &rows.share[size_t(rows.at[i])];
        const uint16_t* first = &scaled[size_t(rows.first[i] - firstRow) * n];
        auto* out = reinterpret_cast<uint8_t*>(dst.data + size_t(y) * dst.stride + x0);
        if (rows.count[i] == 1) {
            BlendRows(first, w[0], first, 0, out, n);
        } else if (rows.count[i] == 2) {
            BlendRows(first, w[0], first + n, w[1], out, n);
        } else { // shrinking: many rows to one
            std::fill(sum.begin(), sum.end(), WeightOne * WeightOne / 2);
            for (int k = 0; k < rows.count[i]; ++k)
                for (size_t c = 0; c < n; ++c)
                    sum[c] += uint32_t{w[k]} * first[size_t(k) * n + c];
            for (size_t c = 0; c < n; ++c)
                out[c] = static_cast<uint8_t>(sum[c] >> (2 * WeightBits));
        }
        Opaque(dst.data + size_t(y) * dst.stride + x0, x1 - x0);
    }
}
