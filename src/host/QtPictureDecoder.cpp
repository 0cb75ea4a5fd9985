#include "host/QtPictureDecoder.h"
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QString>

std::optional<Picture> QtPictureDecoder::Decode(const std::string& path) {
    const QString file = QString::fromStdString(path);
    if (!QFileInfo(file).isFile()) return std::nullopt;
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    // Look at the declared size before anything is allocated for it.
    const QSize declared = reader.size();
    if (declared.isValid() &&
        (declared.width() > MaxSide || declared.height() > MaxSide ||
         static_cast<long long>(declared.width()) * declared.height() > MaxPixels))
        return std::nullopt;
    QImage image;
    if (!reader.read(&image) || image.isNull()) return std::nullopt;
    if (image.width() > MaxSide || image.height() > MaxSide) return std::nullopt;
    image = image.convertToFormat(QImage::Format_RGB32);

    Picture p;
    p.Width = image.width();
    p.Height = image.height();
    p.Pixels.resize(static_cast<size_t>(p.Width) * p.Height);
    for (int y = 0; y < p.Height; ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < p.Width; ++x) p.Pixels[static_cast<size_t>(y) * p.Width + x] = line[x] & 0x00FFFFFFu;
    }
    return p;
}
