// What the screenshot tools share: an off-screen start, waiting for a window's work and
// saving what it shows.
#pragma once

#include <QString>

#include <functional>

class QAbstractItemModel;
class QWidget;

namespace card::tools {

// Draws off screen unless a display platform is asked for; call before the application is made.
void preferOffscreen();

// Runs the event loop until done says so or limitMs have passed, then once more so that what
// the last event changed is painted.
void waitFor(const std::function<bool()>& done, int limitMs = 20000);

// Whether a picture strip has rows and every one of them is loaded, found missing or failed.
bool allPicturesShown(const QAbstractItemModel* model);

// Saves what window shows as an image at path; reports a failure through fail().
bool saveShot(QWidget& window, const QString& path);

} // namespace card::tools
