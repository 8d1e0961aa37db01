#include "ui/common/window_caption.h"

#include <QWidget>

namespace card {

namespace {

const QString kModifiedMark = QStringLiteral("[*]");
const QString kLiteralModifiedMark = kModifiedMark + kModifiedMark;

} // namespace

void setCaption(QWidget* window, const QString& caption)
{
    window->setWindowTitle(QString(caption).replace(kModifiedMark, kLiteralModifiedMark));
}

QString caption(const QWidget* window)
{
    return window->windowTitle().replace(kLiteralModifiedMark, kModifiedMark);
}

} // namespace card
