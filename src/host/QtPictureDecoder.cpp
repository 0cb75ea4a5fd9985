#include "host/QtPictureDecoder.h"
#include "host/BitmapCheck.h"
#include "host/Files.h"
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <algorithm>

namespace {
bool TooLarge(int64_t width, int64_t height) {
    return width > QtPictureDecoder::MaxSide || height > QtPictureDecoder::MaxSide ||
           width * height > QtPictureDecoder::MaxPixels;
}

// True when every pixel of a palette picture names one of the colours its file holds: the
// first `entries` of its table, and no more than the decoder took from it.
bool IndexesInTable(const QImage& image, int entries) {
    const int colours = std::min(entries, image.colorCount());
    if (colours >= (image.depth() == 1 ? 2 : 256)) return true;
    for (int y = 0; y < image.height(); ++y) {
        if (image.format() == QImage::Format_Indexed8) {
            const uchar* line = image.constScanLine(y);
            if (std::any_of(line, line + image.width(), [&](uchar i) { return i >= colours; }))
                return false;
            continue;
        }
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelIndex(x, y) >= colours) return false;
    }
    return true;
}

// Reads through a QImageReader, looking at the declared size before anything is allocated.
// A palette picture must find each of its indexes among the `entries` colours of its table.
std::optional<Picture> Read(QImageReader& reader, std::optional<int> entries) {
    reader.setDecideFormatFromContent(true);
    const QSize declared = reader.size();
    auto tooLarge = [](QSize s) { return TooLarge(s.width(), s.height()); };
    if (declared.isValid() && tooLarge(declared)) return std::nullopt;
    QImage image;
    if (!reader.read(&image) || image.isNull() || tooLarge(image.size())) return std::nullopt;
    if (entries && image.colorCount() > 0 && !IndexesInTable(image, *entries)) return std::nullopt;
    image = image.convertToFormat(QImage::Format_RGB32);

    Picture p;
    p.Width = image.width();
    p.Height = image.height();
    p.Pixels.resize(static_cast<size_t>(p.Width) * p.Height);
    for (int y = 0; y < p.Height; ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < p.Width; ++x)
            p.Pixels[static_cast<size_t>(y) * p.Width + x] = line[x] & 0x00FFFFFFu;
    }
    return p;
}
uint32_t Le32(std::span<const uint8_t> b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
// The plain 24-bit bitmap every picture of ours is, read straight. The reader would first
// load and ask every image plugin installed what the bytes hold, which costs start-up a few
// milliseconds; anything less plain than this goes to the reader.
std::optional<Picture> PlainBitmap(std::span<const uint8_t> b) {
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
    const uint32_t offset = Le32(b, 10);
    const int64_t width = static_cast<int32_t>(Le32(b, 18));
    const int64_t height = static_cast<int32_t>(Le32(b, 22));
    const int planes = b[26] | b[27] << 8, bits = b[28] | b[29] << 8;
    if (Le32(b, 14) != 40 || planes != 1 || bits != 24 || Le32(b, 30) != 0 || offset < 54)
        return std::nullopt;
    const int64_t rows = height < 0 ? -height : height;
    if (width <= 0 || rows == 0 || TooLarge(width, rows)) return std::nullopt;
    const int64_t stride = (width * 3 + 3) / 4 * 4;
    if (static_cast<int64_t>(offset) + stride * rows > static_cast<int64_t>(b.size()))
        return std::nullopt;
    Picture p;
    p.Width = static_cast<int>(width);
    p.Height = static_cast<int>(rows);
    p.Pixels.resize(static_cast<size_t>(width * rows));
    for (int64_t y = 0; y < rows; ++y) {
        const int64_t fileRow = height > 0 ? rows - 1 - y : y; // stored bottom row first
        const uint8_t* from = b.data() + offset + fileRow * stride;
        uint32_t* to = p.Pixels.data() + y * width;
        for (int64_t x = 0; x < width; ++x, from += 3)
            to[x] = uint32_t{from[2]} << 16 | uint32_t{from[1]} << 8 | from[0];
    }
    return p;
}
} // namespace

// The path's bytes are the file system's own, whatever their encoding: read them as they are.
std::optional<Picture> QtPictureDecoder::Decode(const std::string& path) {
    const std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(path, MaxFileBytes);
    if (!bytes) return std::nullopt;
    return DecodeBytes(*bytes);
}

std::optional<Picture> QtPictureDecoder::DecodeBytes(std::span<const uint8_t> bytes) {
    if (!WholeBitmap(bytes)) return std::nullopt;
    if (std::optional<Picture> plain = PlainBitmap(bytes)) return plain;
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return Read(reader, ColourTableEntries(bytes));
}
