// The drawings of the main window's design pictures.
#pragma once

#include <QImage>

namespace card {

inline constexpr QSize kStartPictureSize{320, 240};
inline constexpr QSize kNoPhotoPictureSize{100, 100};
inline constexpr int kStartPictureDpi = 150;

// The picture shown before the first query: a card swiped at a reader, watched by a camera,
// over the program's name. Carries kStartPictureDpi as its resolution.
QImage drawStartPicture();

// Shown in place of a photo that does not exist: a grey camera, crossed out.
QImage drawNoPhotoPicture();

// The window icon at size x size pixels (32 or 16), drawn without antialiasing in colours of
// the classic 16-colour palette so the 4-bit icon shows it unchanged.
QImage drawCardIcon(int size);

} // namespace card
