#include "host/BitmapCheck.h"
#include <algorithm>

namespace {
constexpr int64_t MaxSide = 16384;

uint32_t Le16(std::span<const uint8_t> b, size_t at) {
    return b[at] | b[at + 1] << 8;
}
uint32_t Le32(std::span<const uint8_t> b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// The fields every kind of header has, in 64 bits so that no sum of them can wrap.
struct Header {
    int64_t size = 0, offset = 0, width = 0, height = 0, bits = 0, compression = 0;
    int64_t colours = 0;   // table entries declared; 0: as many as the bits can index
    int64_t imageSize = 0; // pixel bytes declared; 0: not said
    int64_t end = 0;       // where the headers, with any colour masks after them, end
    int64_t entryBytes = 4;
};

// Nothing when the bytes hold no header this check understands; the decoder judges those.
std::optional<Header> ReadHeader(std::span<const uint8_t> b) {
    Header h;
    h.offset = Le32(b, 10), h.size = Le32(b, 14);
    if (h.size == 12) { // the old OS/2 header: 16-bit sides, three-byte colours
        if (b.size() < 26) return std::nullopt;
        h.width = Le16(b, 18), h.height = static_cast<int16_t>(Le16(b, 20)), h.bits = Le16(b, 24);
        h.end = 26, h.entryBytes = 3;
        return h;
    }
    if (h.size < 40 || b.size() < 54) return std::nullopt;
    h.width = static_cast<int32_t>(Le32(b, 18)), h.height = static_cast<int32_t>(Le32(b, 22));
    h.bits = Le16(b, 28), h.compression = Le32(b, 30), h.imageSize = Le32(b, 34);
    h.colours = Le32(b, 46);
    const bool masksAfter = h.size == 40 && (h.compression == 3 || h.compression == 6);
    h.end = 14 + h.size + (masksAfter ? (h.compression == 3 ? 12 : 16) : 0);
    return h;
}

// The colours a palette picture's table declares, and how many lie between its headers and its
// pixels. Nothing when the picture has more than 8 bits and looks up no table.
struct Table {
    int64_t declared, there;
};
std::optional<Table> ColourTable(std::span<const uint8_t> b, const Header& h) {
    if (h.bits < 1 || h.bits > 8) return std::nullopt;
    const int64_t tableEnd = std::min(h.offset, static_cast<int64_t>(b.size()));
    return Table{h.colours > 0 ? h.colours : int64_t{1} << h.bits,
                 std::max<int64_t>(0, tableEnd - h.end) / h.entryBytes};
}

// Walks run-length data to the end of the picture or of its rows; false when the bytes run
// out first, unless the last row has all its pixels and only its end marks are missing.
bool RunsComplete(std::span<const uint8_t> b, const Header& h, int64_t rows) {
    const bool four = h.compression == 2;
    size_t at = static_cast<size_t>(h.offset);
    int64_t x = 0, y = 0;
    while (at + 2 <= b.size()) {
        const uint8_t count = b[at], code = b[at + 1];
        at += 2;
        x += count > 0 ? count : code > 2 ? code : 0;
        if (count > 0) continue;    // a run of one colour
        if (code == 1) return true; // end of the picture
        if (code == 0 && (x = 0, ++y >= rows)) return true;
        if (code == 2) { // a jump right and down
            if (at + 2 > b.size()) return false;
            x += b[at], y += b[at + 1], at += 2;
            if (y >= rows) return true;
        }
        if (code > 2) { // pixels as they are, padded to whole 16-bit words
            const size_t n = four ? (code + 1u) / 2 : code;
            at += n + (n & 1);
            if (at > b.size()) return false;
        }
    }
    return y == rows - 1 && x >= h.width;
}
} // namespace

bool WholeBitmap(std::span<const uint8_t> b) {
    if (b.size() < 2 || b[0] != 'B' || b[1] != 'M') return true; // not ours to judge
    if (b.size() < 30) return false;
    const std::optional<Header> h = ReadHeader(b);
    if (!h) return true; // other headers: the decoder's to judge
    if (h->offset < h->end) return false;
    // A short table makes the decoder take pixels for colours, then the wrong bytes for pixels.
    if (const auto table = ColourTable(b, *h); table && table->there < table->declared)
        return false;
    const int64_t rows = h->height < 0 ? -h->height : h->height;
    if (h->compression == 1 || h->compression == 2) return RunsComplete(b, *h, rows);
    if (h->compression != 0 && h->compression != 3) return true; // other codings: the decoder's
    if (h->width <= 0 || h->width > MaxSide || rows > MaxSide || h->bits <= 0 || h->bits > 64)
        return false;
    const int64_t stride = ((h->width * h->bits + 31) / 32) * 4;
    const int64_t need = stride * rows, there = static_cast<int64_t>(b.size()) - h->offset;
    const bool claimsMore = h->imageSize >= need + stride && h->imageSize <= there;
    return there >= need && !claimsMore;
}

std::optional<int> ColourTableEntries(std::span<const uint8_t> b) {
    if (b.size() < 30 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
    const std::optional<Header> h = ReadHeader(b);
    if (!h) return std::nullopt;
    const std::optional<Table> table = ColourTable(b, *h);
    if (!table) return std::nullopt;
    return static_cast<int>(std::min({table->declared, table->there, int64_t{256}}));
}
