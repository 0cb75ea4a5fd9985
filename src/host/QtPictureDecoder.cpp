#include "host/QtPictureDecoder.h"
#include "host/Files.h"
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QString>

namespace {
bool TooLarge(int64_t width, int64_t height) {
    return width > QtPictureDecoder::MaxSide || height > QtPictureDecoder::MaxSide ||
           width * height > QtPictureDecoder::MaxPixels;
}

// Reads through a QImageReader, looking at the declared size before anything is allocated.
std::optional<Picture> Read(QImageReader& reader) {
    reader.setDecideFormatFromContent(true);
    const QSize declared = reader.size();
    auto tooLarge = [](QSize s) { return TooLarge(s.width(), s.height()); };
    if (declared.isValid() && tooLarge(declared)) return std::nullopt;
    QImage image;
    if (!reader.read(&image) || image.isNull() || tooLarge(image.size())) return std::nullopt;
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

// An uncompressed Windows bitmap must hold every row it declares; the reader would otherwise
// hand back a picture whose missing rows are whatever memory held.
bool QtPictureDecoder::WholeBitmap(std::span<const uint8_t> b) {
    if (b.size() < 2 || b[0] != 'B' || b[1] != 'M') return true; // not ours to judge
    if (b.size() < 30) return false;
    const uint32_t offset = Le32(b, 10);
    const uint32_t headerSize = Le32(b, 14);
    if (headerSize < 40 || b.size() < 34) return true; // old core headers: leave to the reader
    const int64_t width = static_cast<int32_t>(Le32(b, 18));
    const int64_t height = static_cast<int32_t>(Le32(b, 22));
    const int bits = b[28] | b[29] << 8;
    const uint32_t compression = Le32(b, 30);
    if (compression != 0 && compression != 3) return true; // run-length data has no fixed size
    const int64_t rows = height < 0 ? -height : height;
    if (width <= 0 || width > MaxSide || rows > MaxSide || bits <= 0 || bits > 64) return false;
    const int64_t stride = ((width * bits + 31) / 32) * 4;
    const int64_t need = static_cast<int64_t>(offset) + stride * rows;
    return static_cast<int64_t>(b.size()) >= need;
}

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
    return Read(reader);
}
