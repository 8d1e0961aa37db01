#include "ui/common/message_box.h"

#include "core/platform/product.h"
#include "ui/common/action_texts.h"

#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace card {

namespace {

const QString kOkText = QStringLiteral("確定");

// Room for the window manager's icon and buttons beside the title.
constexpr int kTitleBarExtras = 140;

// A box is never narrower than its title, so the title is read whole.
int titleWidth(const QWidget& box)
{
    return box.fontMetrics().horizontalAdvance(box.windowTitle()) + kTitleBarExtras;
}

void fitTitle(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    grid->addItem(new QSpacerItem(titleWidth(box), 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

void showMessage(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, kProductTitle, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText); // a path is shown as written, never as markup
    box.button(QMessageBox::Ok)->setText(kOkText);
    fitTitle(box);
    box.exec();
}

bool askYesNo(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, kProductTitle, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否"));
    box.setDefaultButton(QMessageBox::Yes);
    fitTitle(box);
    return box.exec() == QMessageBox::Yes;
}

QString askText(QWidget* parent, const QString& prompt, const QString& title)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(QString());
    dialog.setOkButtonText(kOkText);
    dialog.setCancelButtonText(action_texts::kCancel);
    dialog.setMinimumWidth(titleWidth(dialog));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

} // namespace card
