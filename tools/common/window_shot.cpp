#include "window_shot.h"

#include "tool_output.h"
#include "ui/common/swipe_pictures/thumbnail_list_model.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QWidget>

namespace card::tools {

void preferOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void waitFor(const std::function<bool()>& done, int limitMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < limitMs)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QApplication::processEvents();
}

bool allPicturesShown(const QAbstractItemModel* model)
{
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, 0).data(ThumbnailListModel::ThumbnailStateRole).toInt() ==
            ThumbnailListModel::Pending)
            return false;
    }
    return model->rowCount() > 0;
}

bool saveShot(QWidget& window, const QString& path)
{
    if (window.grab().save(path))
        return true;
    fail(QStringLiteral("cannot write %1").arg(path));
    return false;
}

} // namespace card::tools
