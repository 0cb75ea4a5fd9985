#include "shell/Resample.h"
#include <algorithm>
#include <cstring>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
constexpr int WeightBits = 8;
constexpr uint32_t WeightOne = 1u << WeightBits;

// The source pixels one target pixel covers, with their shares summing to WeightOne.
struct Taps {
    std::vector<int> first;      // first source index, per target index
    std::vector<int> count;      // how many source indices
    std::vector<uint16_t> share; // `count` shares per target index, in order
    std::vector<int> at;         // where each target index's shares start
    // When no target pixel covers more than two source pixels, as whenever the table grows:
    // the shares of `first` and the one after it.
    bool pairs = true;
    std::vector<uint16_t> near, next;
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
        taps.pairs = taps.pairs && j1 - j0 < 2;
        taps.near.push_back(taps.share[size_t(taps.at.back())]);
        taps.next.push_back(j1 > j0 ? taps.share.back() : 0);
    }
    return taps;
}

// A pixel's four bytes in four 16-bit lanes, so that one multiplication weighs them all.
inline uint64_t Spread(uint32_t p) {
    uint64_t v = p;
    v = (v | v << 16) & 0x0000ffff0000ffffull;
    return (v | v << 8) & 0x00ff00ff00ff00ffull;
}

// One source row scaled across the area's columns: channels times WeightOne.
void ScaleRow(const uint32_t* row, int width, const Taps& cols, uint16_t* out,
              std::vector<uint64_t>& spread) {
    const int from = cols.first.front(), to = cols.first.back() + cols.count.back();
    spread.resize(size_t(width) + 1); // one more, weighed 0, for the last pair
    for (int j = from; j < to; ++j)
        spread[size_t(j)] = Spread(row[j]);
    spread[size_t(to)] = 0;
    const size_t n = cols.first.size();
    if (cols.pairs) {
        for (size_t i = 0; i < n; ++i) {
            const uint64_t* p = &spread[size_t(cols.first[i])];
            const uint64_t sum = p[0] * cols.near[i] + p[1] * cols.next[i];
            std::memcpy(out + i * 4, &sum, sizeof sum);
        }
        return;
    }
    for (size_t i = 0; i < n; ++i) {
        const uint64_t* p = &spread[size_t(cols.first[i])];
        const uint16_t* w = &cols.share[size_t(cols.at[i])];
        uint64_t sum = 0; // no lane passes 255 * WeightOne
        for (int k = 0; k < cols.count[i]; ++k)
            sum += p[k] * w[k];
        std::memcpy(out + i * 4, &sum, sizeof sum);
    }
}

// Lanes of channel times WeightOne, rounded back to bytes.
void Narrow(const uint16_t* a, uint8_t* out, size_t n) {
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i half = _mm_set1_epi16(WeightOne / 2);
    for (; i + 16 <= n; i += 16) {
        const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i + 8));
        const __m128i l = _mm_srli_epi16(_mm_add_epi16(lo, half), WeightBits);
        const __m128i h = _mm_srli_epi16(_mm_add_epi16(hi, half), WeightBits);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(l, h));
    }
#endif
    for (; i < n; ++i)
        out[i] = static_cast<uint8_t>((a[i] + WeightOne / 2) >> WeightBits);
}

// A target row between two scaled source rows, with shares below WeightOne: the high half of
// 16-bit products, the same bytes with or without vector instructions.
void Blend(const uint16_t* a, uint32_t wa, const uint16_t* b, uint32_t wb, uint8_t* out,
           size_t n) {
    const auto ma = static_cast<uint16_t>(wa << WeightBits);
    const auto mb = static_cast<uint16_t>(wb << WeightBits);
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi16(static_cast<short>(ma));
    const __m128i vb = _mm_set1_epi16(static_cast<short>(mb));
    const __m128i half = _mm_set1_epi16(WeightOne / 2);
    const auto mix = [&](size_t at) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + at));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + at));
        const __m128i sum = _mm_add_epi16(_mm_mulhi_epu16(x, va), _mm_mulhi_epu16(y, vb));
        return _mm_srli_epi16(_mm_add_epi16(sum, half), WeightBits);
    };
    for (; i + 16 <= n; i += 16)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(mix(i), mix(i + 8)));
#endif
    for (; i < n; ++i) {
        const uint32_t sum = ((a[i] * uint32_t{ma}) >> 16) + ((b[i] * uint32_t{mb}) >> 16);
        out[i] = static_cast<uint8_t>(std::min<uint32_t>((sum + WeightOne / 2) >> WeightBits, 255));
    }
}

void Opaque(uint32_t* row, int n) {
    for (int i = 0; i < n; ++i)
        row[i] |= 0xff000000u;
}

// Ratio 1: the pixels as they are.
void Copy(PixelsIn src, PixelsOut dst, int x0, int x1, int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
        uint32_t* out = dst.data + size_t(y) * dst.stride + x0;
        const uint32_t* in = src.data + size_t(y) * src.stride + x0;
        for (int x = 0; x < x1 - x0; ++x)
            out[x] = in[x] | 0xff000000u;
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
    // Each source row the area needs is scaled across once, into a ring of as many rows as one
    // target row blends, then rows are blended down.
    const size_t ring = size_t(*std::max_element(rows.count.begin(), rows.count.end()));
    std::vector<uint16_t> scaled(ring * n);
    std::vector<int> held(ring, -1);
    std::vector<uint64_t> spread;
    std::vector<const uint16_t*> lines(ring);
    std::vector<uint32_t> sum(n);
    for (int y = y0; y < y1; ++y) {
        const size_t i = size_t(y - y0);
        for (int k = 0; k < rows.count[i]; ++k) {
            const int r = rows.first[i] + k;
            uint16_t* slot = &scaled[size_t(r) % ring * n];
            if (held[size_t(r) % ring] != r)
                ScaleRow(src.data + size_t(r) * src.stride, src.width, cols, slot, spread);
            held[size_t(r) % ring] = r;
            lines[size_t(k)] = slot;
        }
        const uint16_t* w = &rows.share[size_t(rows.at[i])];
        auto* out = reinterpret_cast<uint8_t*>(dst.data + size_t(y) * dst.stride + x0);
        if (rows.count[i] <= 2 && w[0] == WeightOne) {
            Narrow(lines[0], out, n);
        } else if (rows.count[i] == 2 && w[1] == WeightOne) {
            Narrow(lines[1], out, n);
        } else if (rows.count[i] == 2) {
            Blend(lines[0], w[0], lines[1], w[1], out, n);
        } else { // shrinking: many rows to one
            std::fill(sum.begin(), sum.end(), WeightOne * WeightOne / 2);
            for (int k = 0; k < rows.count[i]; ++k)
                for (size_t c = 0; c < n; ++c)
                    sum[c] += uint32_t{w[k]} * lines[size_t(k)][c];
            for (size_t c = 0; c < n; ++c)
                out[c] = static_cast<uint8_t>(sum[c] >> (2 * WeightBits));
        }
        Opaque(dst.data + size_t(y) * dst.stride + x0, x1 - x0);
    }
}
