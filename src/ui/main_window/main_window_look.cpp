#include "ui/main_window/main_window_look.h"

#include "ui/common/command_button.h"
#include "ui/common/photo_texts.h"
#include "ui/main_window/date_picker.h"
#include "ui/main_window/record_list_view.h"

#include <QHash>
#include <QLabel>

namespace card {

namespace {

const QColor kHeadingBackground(224, 224, 224);
const QColor kStatusText(255, 0, 0);

// The buttons' colours and the pictures' start contents, by control name.
const QHash<QString, QColor> kButtonColours = {
    {QStringLiteral("Command2"), QColor(255, 255, 128)},
    {QStringLiteral("Command1"), QColor(192, 255, 192)},
    {QStringLiteral("Command3"), QColor(255, 192, 128)},
};
const QHash<QString, QString> kPictures = {
    {QStringLiteral("Image1"), QStringLiteral(":/pictures/start.jpg")},
    {QStringLiteral("Image2"), kNoPhotoPicture.toString()},
};

QString captionOf(const ControlRow& row)
{
    return row.caption ? QString::fromUtf16(row.caption) : QString();
}

// "新細明體" where it exists, else the closest Traditional Chinese Ming face, else any CJK face.
QFont mingFont(double pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("新細明體"), QStringLiteral("PMingLiU"),
                      QStringLiteral("AR PL UMing TW"), QStringLiteral("AR PL UMing TW MBE"),
                      QStringLiteral("Noto Serif CJK TC"), QStringLiteral("Noto Sans CJK TC"),
                      QStringLiteral("WenQuanYi Zen Hei")});
    font.setPointSizeF(pointSize);
    font.setBold(true);
    return font;
}

void fillBackground(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QLabel* headingLabel(const ControlRow& row, QWidget* parent)
{
    auto* label = new QLabel(captionOf(row), parent);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setAlignment(Qt::AlignCenter);
    fillBackground(label, kHeadingBackground);
    return label;
}

QLabel* valueLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText); // values from the record file are shown as written
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setAlignment(Qt::AlignCenter);
    fillBackground(label, parent->palette().color(QPalette::Base));
    return label;
}

QLabel* statusLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(mingFont(20.25));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kStatusText);
    label->setPalette(palette);
    return label;
}

QLabel* pictureBox(const ControlRow& row, QWidget* parent)
{
    auto* box = new QLabel(parent);
    box->setScaledContents(true); // a picture box stretches its picture to its own size
    box->setPixmap(QPixmap(kPictures.value(QString::fromLatin1(row.objectName))));
    return box;
}

QPushButton* commandButton(const ControlRow& row, QWidget* parent)
{
    auto* button = new CommandButton(captionOf(row), parent);
    button->setFont(mingFont(9));
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, kButtonColours.value(QString::fromLatin1(row.objectName)));
    button->setPalette(palette);
    return button;
}

QDateEdit* datePicker(QWidget* parent)
{
    auto* picker = new DatePicker(parent);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    return picker;
}

} // namespace

QWidget* makeMainWindowControl(const ControlRow& row, QWidget* parent)
{
    switch (row.kind) {
    case ControlKind::HeadingLabel:
        return headingLabel(row, parent);
    case ControlKind::ValueLabel:
        return valueLabel(parent);
    case ControlKind::StatusLabel:
        return statusLabel(parent);
    case ControlKind::PictureBox:
        return pictureBox(row, parent);
    case ControlKind::PushButton:
        return commandButton(row, parent);
    case ControlKind::DatePicker:
        return datePicker(parent);
    case ControlKind::RecordListView:
        return new RecordListView(parent);
    default:
        return nullptr; // Qt's plain widget of the kind
    }
}

} // namespace card
