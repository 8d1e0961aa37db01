#include "core/platform/user_settings.h"

namespace card {

QSettings userSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("card_image"),
                     QStringLiteral("card_image"));
}

} // namespace card
