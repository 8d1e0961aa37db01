#include "ui/common/control_table.h"

#include "core/platform/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>

namespace card {

namespace {

QString text(const char16_t* utf16)
{
    return utf16 ? QString::fromUtf16(utf16) : QString();
}

QWidget* plainWidget(const ControlRow& row, QWidget* parent)
{
    const QString caption = text(row.caption);
    switch (row.kind) {
    case ControlKind::Label:
    case ControlKind::HeadingLabel:
    case ControlKind::ValueLabel:
    case ControlKind::StatusLabel:
    case ControlKind::PictureBox:
        return new QLabel(caption, parent);
    case ControlKind::CheckBox:
        return new QCheckBox(caption, parent);
    case ControlKind::LineEdit:
        return new QLineEdit(caption, parent);
    case ControlKind::RadioButton:
        return new QRadioButton(caption, parent);
    case ControlKind::PushButton:
        return new QPushButton(caption, parent);
    case ControlKind::ComboBox:
        return new QComboBox(parent);
    case ControlKind::ListView:
        return new QListView(parent);
    case ControlKind::DatePicker:
    case ControlKind::RecordListView:
        break;
    }
    qFatal("control %s: its kind needs the owner's factory", row.objectName);
}

} // namespace

void PlacedControls::add(QWidget* widget)
{
    m_byName.insert(widget->objectName(), widget);
}

void PlacedControls::missing(const QString& objectName)
{
    qFatal("control %s: not in the table, or of another kind", qPrintable(objectName));
}

PlacedControls createControls(std::span<const ControlRow> table, QWidget* parent,
                              const ControlFactory& factory)
{
    PlacedControls placed;
    for (const ControlRow& row : table) {
        QWidget* widget = factory ? factory(row, parent) : nullptr;
        if (!widget)
            widget = plainWidget(row, parent);
        widget->setObjectName(QString::fromLatin1(row.objectName));
        widget->setGeometry(
            twipsRect(row.twips.x(), row.twips.y(), row.twips.width(), row.twips.height()));
        if (row.accessibleName)
            widget->setAccessibleName(text(row.accessibleName));
        placed.add(widget);
    }
    return placed;
}

} // namespace card
