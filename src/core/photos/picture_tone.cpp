#include "core/photos/picture_tone.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace card {

namespace {

// The share of the picture let go at each end before the levels are taken.
constexpr double kLevelsClip = 0.005;
// Levels closer together than this would turn noise into black and white: they are widened.
constexpr int kSmallestLevelsSpan = 16;
constexpr double kContrastRange = 4.0;

QString signedNumber(int value)
{
    return value > 0 ? QStringLiteral("+%1").arg(value) : QString::number(value);
}

} // namespace

bool PictureTone::isPlain() const
{
    return *this == PictureTone{};
}

ToneLevels autoToneLevels(const LumaHistogram& histogram)
{
    const std::uint64_t total =
        std::accumulate(histogram.begin(), histogram.end(), std::uint64_t{0});
    if (total == 0)
        return {};
    const auto clip = static_cast<std::uint64_t>(double(total) * kLevelsClip);
    int black = 0;
    for (std::uint64_t seen = histogram[0]; seen <= clip && black < 255;
         seen += histogram[++black]) {
    }
    int white = 255;
    for (std::uint64_t seen = histogram[255]; seen <= clip && white > 0;
         seen += histogram[--white]) {
    }
    if (white - black < kSmallestLevelsSpan) {
        const int middle = (black + white) / 2;
        black = std::max(0, middle - kSmallestLevelsSpan / 2);
        white = std::min(255, black + kSmallestLevelsSpan);
        black = white - kSmallestLevelsSpan;
    }
    return {black, white};
}

ToneTable toneTable(const PictureTone& tone, const ToneLevels& levels)
{
    const double span = std::max(1, levels.white - levels.black);
    const double contrast = std::pow(kContrastRange, double(tone.contrast) / kToneStepLimit);
    const double brightness = double(tone.brightness) / kToneStepLimit;
    const double inverseGamma = 1.0 / std::clamp(tone.gamma, kSmallestGamma, kLargestGamma);
    ToneTable table{};
    for (int value = 0; value < 256; ++value) {
        double level = std::clamp((value - levels.black) / span, 0.0, 1.0);
        level = (level - 0.5) * contrast + 0.5 + brightness;
        level = std::pow(std::clamp(level, 0.0, 1.0), inverseGamma);
        table[static_cast<size_t>(value)] = static_cast<std::uint8_t>(std::lround(level * 255.0));
    }
    return table;
}

QString toneText(const PictureTone& tone)
{
    QStringList parts{QStringLiteral("亮度 ") + signedNumber(tone.brightness),
                      QStringLiteral("對比 ") + signedNumber(tone.contrast),
                      QStringLiteral("伽瑪 ") + QString::number(tone.gamma, 'f', 1)};
    if (tone.autoLevels)
        parts << QStringLiteral("自動色階");
    return parts.join(u'、');
}

} // namespace card
