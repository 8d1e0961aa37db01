// Placing a designed control: its control name and its geometry in twips.
#pragma once

#include "core/platform/twips.h"

#include <QString>
#include <QWidget>

namespace card {

// Names the control (its objectName) and puts it at its design geometry, given in twips.
template <typename Widget>
Widget* place(Widget* widget, const QString& name, int left, int top, int width, int height)
{
    widget->setObjectName(name);
    widget->setGeometry(twipsRect(left, top, width, height));
    return widget;
}

// The name of one element of a control array, e.g. List1(0).
inline QString indexed(const char* name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

} // namespace card
