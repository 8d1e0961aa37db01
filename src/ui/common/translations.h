// Qt's own texts (the file dialogs, their buttons and questions) in Traditional Chinese.
#pragma once

namespace card {

// Installs Qt's Traditional Chinese translations when the system has them (Debian's
// qt6-translations-l10n); without them Qt's texts stay English.
void installQtChineseTranslations();

} // namespace card
