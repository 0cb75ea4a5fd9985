#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

namespace assetgen {

// 24-bit uncompressed bottom-up BMP: the most widely readable flavour.
bool writeBmp(const QString& path, const QImage& image);

// Mono 16-bit PCM. Samples are in [-1, 1]; they are clamped, never wrapped.
bool writeWav(const QString& path, const std::vector<float>& samples, int sampleRate);

} // namespace assetgen
