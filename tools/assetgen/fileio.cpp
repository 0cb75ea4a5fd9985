#include "fileio.h"

#include <QFile>
#include <algorithm>
#include <cmath>

namespace assetgen {
namespace {

void put16(QByteArray& out, uint16_t v) {
    out.append(char(v & 0xff));
    out.append(char(v >> 8));
}

void put32(QByteArray& out, uint32_t v) {
    put16(out, uint16_t(v & 0xffff));
    put16(out, uint16_t(v >> 16));
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return file.write(bytes) == bytes.size();
}

} // namespace

bool writeBmp(const QString& path, const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    const int stride = (w * 3 + 3) & ~3;
    const uint32_t pixelBytes = uint32_t(stride) * uint32_t(h);
    const uint32_t headerBytes = 14 + 40;

    QByteArray out;
    out.reserve(int(headerBytes + pixelBytes));
    out.append("BM", 2);
    put32(out, headerBytes + pixelBytes);
    put32(out, 0);
    put32(out, headerBytes);
    put32(out, 40);
    put32(out, uint32_t(w));
    put32(out, uint32_t(h));
    put16(out, 1);  // planes
    put16(out, 24); // bits per pixel
    put32(out, 0);  // BI_RGB
    put32(out, pixelBytes);
    put32(out, 2835); // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);

    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.append(char(qBlue(row[x])));
            out.append(char(qGreen(row[x])));
            out.append(char(qRed(row[x])));
        }
        for (int pad = w * 3; pad < stride; ++pad)
            out.append('\0');
    }
    return writeAll(path, out);
}

bool writeWav(const QString& path, const std::vector<float>& samples, int sampleRate) {
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    QByteArray out;
    out.append("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.append("WAVE", 4);
    out.append("fmt ", 4);
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, uint32_t(sampleRate));
    put32(out, uint32_t(sampleRate * 2));
    put16(out, 2);
    put16(out, 16);
    out.append("data", 4);
    put32(out, dataBytes);
    for (float s : samples) {
        const float clamped = std::clamp(s, -1.0f, 1.0f);
        put16(out, uint16_t(int16_t(std::lround(clamped * 32767.0f))));
    }
    return writeAll(path, out);
}

} // namespace assetgen
