// exceptions_shot <site.spf> <YYYY-MM-DD> <days> <file.png>: the exceptions window over the days
// up to the date, on its first repeated in (the flagged swipe beside the one before it), saved
// as a picture.
#include "core/parameters/parameter_table.h"
#include "tool_output.h"
#include "ui/common/swipe_pictures/thumbnail_list_model.h"
#include "ui/exceptions/exceptions_window.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QPushButton>
#include <QTableView>

#include <cstdio>

namespace {

using card::tools::fail;

bool allShown(const QAbstractItemModel* model)
{
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, 0).data(card::ThumbnailListModel::ThumbnailStateRole).toInt() ==
            card::ThumbnailListModel::Pending)
            return false;
    }
    return model->rowCount() > 0;
}

void waitFor(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 30000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

} // namespace

int main(int argc, char* argv[])
{
    card::tools::setToolName("exceptions_shot");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    if (args.size() != 4) {
        fail(QStringLiteral("usage: exceptions_shot <site.spf> <YYYY-MM-DD> <days> <file.png>"));
        return 2;
    }
    card::ParameterTable para;
    card::ExceptionQuery query;
    query.end = QDate::fromString(args[1], Qt::ISODate);
    query.dayCount = args[2].toInt();
    if (!card::readParameterFile(args[0], para) || !query.end.isValid() || query.dayCount < 1) {
        fail(QStringLiteral("cannot read %1 or the range %2, %3 days")
                 .arg(args[0], args[1], args[2]));
        return 1;
    }
    query.recordsFolder = para[card::kRecordsFolderSlot];
    query.photoFolder = para[card::kPhotoFolderSlot];
    query.parameterFile = args[0];

    QWidget mainWindow;
    card::ExceptionsWindow window(&mainWindow);
    window.resize(1200, 800);
    window.show();
    window.search(query);
    const auto* stop = window.findChild<QPushButton*>(QStringLiteral("exceptions_stop"));
    auto* rows = window.findChild<QTableView*>(QStringLiteral("exceptions_rows"));
    const auto* photos = window.findChild<QListView*>(QStringLiteral("exceptions_photos"));
    waitFor([stop] { return !stop->isEnabled(); });
    const QModelIndexList repeated = rows->model()->match(
        rows->model()->index(0, 5), Qt::DisplayRole, QStringLiteral("重複進"), 1, Qt::MatchExactly);
    if (!repeated.isEmpty()) {
        rows->setCurrentIndex(repeated.first());
        rows->scrollTo(repeated.first(), QAbstractItemView::PositionAtCenter);
    }
    waitFor([photos] { return allShown(photos->model()); });
    QApplication::processEvents();
    if (!window.grab().save(args[3])) {
        fail(QStringLiteral("cannot write %1").arg(args[3]));
        return 1;
    }
    std::printf("%s: %d hits\n", qPrintable(args[3]), rows->model()->rowCount());
    return 0;
}
