// The product's message and input boxes: no icon, the product's title, Chinese buttons.
#pragma once

#include <QString>

class QWidget;

namespace card {

// A modal message with an OK button only.
void showMessage(QWidget* parent, const QString& text);

// A modal Yes/No question; true only when Yes was pressed.
bool askYesNo(QWidget* parent, const QString& text);

// A modal input box with an empty entry; the empty text on Cancel.
QString askText(QWidget* parent, const QString& prompt, const QString& title);

} // namespace card
