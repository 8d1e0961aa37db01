// Qt's own texts (the file dialogs, their buttons and questions) in Traditional Chinese.
#pragma once

namespace card {

// Installs Qt's Traditional Chinese translations when the system has them (Debian's
// qt6-translations-l10n), and the few texts of the file dialogs they lack; without them Qt's
// other texts stay English.
void installQtChineseTranslations();

} // namespace card
