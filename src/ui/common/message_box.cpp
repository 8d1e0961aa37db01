#include "ui/common/message_box.h"

#include "core/platform/product.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace card {

namespace {

const QString kOkText = QStringLiteral("確定");
const QString kCancelText = QStringLiteral("取消");

} // namespace

void showMessage(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, kProductTitle, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText); // a path is shown as written, never as markup
    box.button(QMessageBox::Ok)->setText(kOkText);
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
    return box.exec() == QMessageBox::Yes;
}

QString askText(QWidget* parent, const QString& prompt, const QString& title)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(QString());
    dialog.setOkButtonText(kOkText);
    dialog.setCancelButtonText(kCancelText);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

} // namespace card
