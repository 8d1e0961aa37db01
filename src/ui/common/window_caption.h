// Window captions that show exactly their text.
#pragma once

#include <QString>

class QWidget;

namespace card {

// Qt reads "[*]" in a window title as the place of its unsaved-changes mark and hides it; a path
// holding "[*]" is shown whole all the same.
void setCaption(QWidget* window, const QString& caption);

// The caption as setCaption was given it.
QString caption(const QWidget* window);

} // namespace card
