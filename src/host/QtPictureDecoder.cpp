#include "host/QtPictureDecoder.h"
#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
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
} // namespace

std::optional<Picture> QtPictureDecoder::Decode(const std::string& path) {
    const QString file = QString::fromStdString(path);
    if (!QFileInfo(file).isFile()) return std::nullopt;
    QImageReader reader(file);
    return Read(reader);
}

std::optional<Picture> QtPictureDecoder::DecodeBytes(std::span<const uint8_t> bytes) {
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return Read(reader);
}
