// Building a window's controls from a table: one entry per control, in stacking order.
#pragma once

#include <QHash>
#include <QRect>
#include <QString>

#include <functional>
#include <span>

class QWidget;

namespace card {

enum class ControlKind {
    Label,          // a caption beside another control
    HeadingLabel,   // the heading of a column or a group
    ValueLabel,     // shows a value the program writes
    StatusLabel,    // shows the program's state in words
    PictureBox,     // shows a picture
    CheckBox,       // caption is its text
    LineEdit,       // caption is its starting text
    RadioButton,    // caption is its text
    PushButton,     // caption is its text
    ComboBox,       //
    ListView,       //
    DatePicker,     // made by the caller's factory only
    RecordListView, // made by the caller's factory only
};

struct ControlRow {
    const char* objectName; // the control name, e.g. "Command1(0)"
    ControlKind kind;
    const char16_t* caption;        // nullptr for none
    QRect twips;                    // design geometry in twips
    const char16_t* accessibleName; // for a control without caption; nullptr to keep the caption
};

// Makes the widget for an entry, or returns nullptr to have the kind's plain widget made.
// Owners give their own look (fonts, colours, pictures) here, and make the kinds whose widget
// classes are theirs.
using ControlFactory = std::function<QWidget*(const ControlRow& row, QWidget* parent)>;

// The widgets built from one table, by control name.
class PlacedControls {
public:
    void add(QWidget* widget);

    // The control of that name as Widget; a name or a kind the table lacks is a programming
    // error and stops the program at its first run.
    template <typename Widget> Widget* get(const QString& objectName) const
    {
        auto* widget = qobject_cast<Widget*>(m_byName.value(objectName));
        if (!widget)
            missing(objectName);
        return widget;
    }

private:
    [[noreturn]] static void missing(const QString& objectName);

    QHash<QString, QWidget*> m_byName;
};

// The name of one element of a control array, e.g. List1(0).
inline QString indexed(const char* name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

// Creates one widget per entry as a child of parent, in table order (so later entries lie
// above earlier ones), names it, gives it its caption and accessible name, and places it.
PlacedControls createControls(std::span<const ControlRow> table, QWidget* parent,
                              const ControlFactory& factory = {});

} // namespace card
