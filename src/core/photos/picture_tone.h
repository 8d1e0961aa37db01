// A clearer picture for the eye: brightness, contrast, gamma and automatic levels, worked out as
// one table from each 8-bit channel value to the value drawn. Only what is drawn goes through
// it; the photo files and their copies are never changed.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace card {

inline constexpr int kToneStepLimit = 100; // brightness and contrast run from -100 to +100
inline constexpr double kSmallestGamma = 0.2;
inline constexpr double kLargestGamma = 5.0;

struct PictureTone {
    int brightness = 0; // a share of the full range added, in percent
    int contrast = 0;   // +100 steepens about the middle grey fourfold, -100 flattens as much
    double gamma = 1.0; // above 1 lifts the shadows
    bool autoLevels =
        false; // the picture's darkest and lightest parts stretched to black and white

    bool isPlain() const;
    bool operator==(const PictureTone&) const = default;
};

// The values the picture's darkest and lightest parts hold, stretched to 0 and 255.
struct ToneLevels {
    int black = 0;
    int white = 255;
};

using ToneTable = std::array<std::uint8_t, 256>;
using LumaHistogram = std::array<std::uint64_t, 256>;

// The levels of a picture from the counts of its brightness values: the darkest and lightest
// half percent are let go, so a few hot or dead pixels do not hold the stretch back.
ToneLevels autoToneLevels(const LumaHistogram& histogram);

// The value drawn for each channel value: levels first, then contrast about the middle grey,
// then brightness, each clamped to the range, then gamma.
ToneTable toneTable(const PictureTone& tone, const ToneLevels& levels = {});

// The settings as printed under an adjusted picture: 亮度 +20、對比 +10、伽瑪 1.4、自動色階.
QString toneText(const PictureTone& tone);

} // namespace card
