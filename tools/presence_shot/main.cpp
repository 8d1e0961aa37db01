// presence_shot <site.spf> <YYYY-MM-DDThh:mm:ss> <file.png>: shows the people inside the site
// at the moment in the presence window, with their entry photos, and saves the window as a
// picture.
#include "core/parameters/parameter_table.h"
#include "tool_output.h"
#include "ui/presence/presence_model.h"
#include "ui/presence/presence_window.h"
#include "window_shot.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>

#include <cstdio>

namespace {

using card::tools::fail;

bool picturesShown(const QAbstractItemModel* model)
{
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, card::PresenceModel::PictureColumn).data(Qt::DecorationRole).isNull())
            return false;
    }
    return model->rowCount() > 0;
}

} // namespace

int main(int argc, char* argv[])
{
    card::tools::setToolName("presence_shot");
    card::tools::preferOffscreen();
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const QStringList args = QApplication::arguments().mid(1);
    if (args.size() != 3) {
        fail(QStringLiteral("usage: presence_shot <site.spf> <YYYY-MM-DDThh:mm:ss> <file.png>"));
        return 2;
    }
    card::ParameterTable para;
    const QDateTime moment = QDateTime::fromString(args[1], Qt::ISODate);
    if (!card::readParameterFile(args[0], para) || !moment.isValid()) {
        fail(QStringLiteral("cannot read %1, or %2 is no moment").arg(args[0], args[1]));
        return 1;
    }

    QWidget mainWindow;
    card::PresenceWindow window(&mainWindow);
    window.resize(760, 620);
    window.show();
    window.follow({para[card::kRecordsFolderSlot], para[card::kPhotoFolderSlot], args[0]});
    window.showMoment(moment);
    const auto* rows = window.findChild<QAbstractItemView*>(QStringLiteral("presence_rows"));
    card::tools::waitFor([rows] { return picturesShown(rows->model()); });
    if (!card::tools::saveShot(window, args[2]))
        return 1;
    std::printf("%s: %s\n", qPrintable(args[2]),
                qPrintable(window.findChild<QLabel*>(QStringLiteral("presence_count"))->text()));
    return 0;
}
