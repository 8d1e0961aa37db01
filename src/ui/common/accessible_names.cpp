#include "ui/common/accessible_names.h"

#include <QWidget>

namespace card {

namespace {

void describe(QWidget* widget)
{
    const QString name = widget->objectName();
    // Qt's own inner widgets (spin box editors, scroll bar containers) are named qt_*.
    if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")))
        widget->setAccessibleDescription(name);
}

} // namespace

void describeControlsByName(QWidget* root)
{
    describe(root);
    for (QWidget* child : root->findChildren<QWidget*>())
        describe(child);
}

} // namespace card
