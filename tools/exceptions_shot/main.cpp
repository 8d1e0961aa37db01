// exceptions_shot <site.spf> <YYYY-MM-DD> <days> <file.png>: the exceptions window over the days
// up to the date, on its first repeated in (the flagged swipe beside the one before it), saved
// as a picture.
#include "core/parameters/parameter_table.h"
#include "tool_output.h"
#include "ui/exceptions/exceptions_window.h"
#include "window_shot.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QListView>
#include <QPushButton>
#include <QTableView>

#include <cstdio>

namespace {

using card::tools::allPicturesShown;
using card::tools::fail;
using card::tools::saveShot;
using card::tools::waitFor;

} // namespace

int main(int argc, char* argv[])
{
    card::tools::setToolName("exceptions_shot");
    card::tools::preferOffscreen();
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
    waitFor([stop] { return !stop->isEnabled(); }, 30000);
    const QModelIndexList repeated = rows->model()->match(
        rows->model()->index(0, 5), Qt::DisplayRole, QStringLiteral("重複進"), 1, Qt::MatchExactly);
    if (!repeated.isEmpty()) {
        rows->setCurrentIndex(repeated.first());
        rows->scrollTo(repeated.first(), QAbstractItemView::PositionAtCenter);
    }
    waitFor([photos] { return allPicturesShown(photos->model()); }, 30000);
    if (!saveShot(window, args[3]))
        return 1;
    std::printf("%s: %d hits\n", qPrintable(args[3]), rows->model()->rowCount());
    return 0;
}
