#include "ui/common/picture_enhance.h"

#include <algorithm>
#include <cmath>

namespace card {

namespace {

// About this many pixels are enough to know a picture's levels.
constexpr double kLevelsSamples = 1'000'000;

int luma(QRgb pixel)
{
    return (qRed(pixel) * 77 + qGreen(pixel) * 150 + qBlue(pixel) * 29) >> 8;
}

} // namespace

ToneLevels pictureLevels(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int step = std::max(
        1, static_cast<int>(std::sqrt(double(rgb.width()) * rgb.height() / kLevelsSamples)));
    LumaHistogram histogram{};
    for (int y = 0; y < rgb.height(); y += step) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); x += step)
            ++histogram[static_cast<size_t>(luma(line[x]))];
    }
    return autoToneLevels(histogram);
}

QImage tonedImage(const QImage& image, const PictureTone& tone, const ToneLevels& levels)
{
    if (tone.isPlain() || image.isNull())
        return image;
    const ToneTable table = toneTable(tone, tone.autoLevels ? levels : ToneLevels{});
    const QImage source = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                        : QImage::Format_RGB32);
    // Written straight from the source's lines: a copy first would be one more pass over the
    // picture on every change of a slider.
    QImage toned(source.size(), source.format());
    toned.setDevicePixelRatio(source.devicePixelRatio());
    for (int y = 0; y < source.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(toned.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const QRgb pixel = from[x];
            to[x] = qRgba(table[static_cast<size_t>(qRed(pixel))],
                          table[static_cast<size_t>(qGreen(pixel))],
                          table[static_cast<size_t>(qBlue(pixel))], qAlpha(pixel));
        }
    }
    return toned;
}

QImage tonedImage(const QImage& image, const PictureTone& tone)
{
    return tonedImage(image, tone, tone.autoLevels ? pictureLevels(image) : ToneLevels{});
}

} // namespace card
