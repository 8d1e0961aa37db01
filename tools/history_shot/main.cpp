// history_shot <site.spf> <YYYY-MM-DD> <days> <name> <file.png>: searches the card history of
// part of a name over the days up to the date, shows the end day's picture row selected, and
// saves the window (days, hour picture and its legend) as a picture.
#include "core/parameters/parameter_table.h"
#include "tool_output.h"
#include "ui/history/card_history_window.h"
#include "window_shot.h"

#include <QApplication>
#include <QProgressBar>

#include <cstdio>

int main(int argc, char* argv[])
{
    card::tools::setToolName("history_shot");
    card::tools::preferOffscreen();
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const QStringList args = QApplication::arguments().mid(1);
    if (args.size() != 5) {
        card::tools::fail(
            QStringLiteral("usage: history_shot <site.spf> <YYYY-MM-DD> <days> <name> <file.png>"));
        return 2;
    }
    card::ParameterTable para;
    const QDate end = QDate::fromString(args[1], Qt::ISODate);
    const int days = args[2].toInt();
    if (!card::readParameterFile(args[0], para) || !end.isValid() || days <= 0) {
        card::tools::fail(
            QStringLiteral("cannot read %1, or %2 %3 is no range").arg(args[0], args[1], args[2]));
        return 1;
    }

    QWidget mainWindow;
    card::CardHistoryWindow window(&mainWindow);
    window.resize(1200, 800);
    window.show();
    window.search({card::HistoryField::Name, args[3], end, days, para[card::kRecordsFolderSlot],
                   para[card::kPhotoFolderSlot], args[0]});
    const auto* progress = window.findChild<QProgressBar*>(QStringLiteral("card_history_progress"));
    card::tools::waitFor([progress, days] { return progress->value() >= days; });
    if (!card::tools::saveShot(window, args[4]))
        return 1;
    std::printf("%s: %s\n", qPrintable(args[4]), qPrintable(window.windowTitle()));
    return 0;
}
