// A picture's tone adjusted for drawing (brightness, contrast, gamma, automatic levels): a copy
// is made, the picture given stays as it is.
#pragma once

#include "core/photos/picture_tone.h"

#include <QImage>

namespace card {

// The levels of the picture's brightness; a large picture is sampled on an even grid.
ToneLevels pictureLevels(const QImage& image);

// image with tone applied, its levels given (taken from the whole picture when only a part of
// it is drawn); a plain tone gives image itself.
QImage tonedImage(const QImage& image, const PictureTone& tone, const ToneLevels& levels);

// The same with the levels of image itself, when tone asks for automatic levels.
QImage tonedImage(const QImage& image, const PictureTone& tone);

} // namespace card
