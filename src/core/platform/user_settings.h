// The operator's settings file, where choices made once are kept for the next time.
#pragma once

#include <QSettings>

namespace card {

QSettings userSettings();

} // namespace card
