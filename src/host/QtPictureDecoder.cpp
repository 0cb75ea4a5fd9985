#include "host/QtPictureDecoder.h"
#include "host/Files.h"
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QString>

namespace {
// Reads through a QImageReader, looking at the declared size before anything is allocated.
std::optional<Picture> Read(QImageReader& reader) {
    reader.setDecideFormatFromContent(true);
    const QSize declared = reader.size();
    auto tooLarge = [](QSize s) {
        return s.width() > QtPictureDecoder::MaxSide || s.height() > QtPictureDecoder::MaxSide ||
               static_cast<long long>(s.width()) * s.height() > QtPictureDecoder::MaxPixels;
    };
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
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return Read(reader);
}
