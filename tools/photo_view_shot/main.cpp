// photo_view_shot <site.spf> <YYYY-MM-DD> <file.png>: shows the busiest card of the day in the
// photo inspection window, on one of its full sequences, and saves the window as a picture.
#include "core/parameters/parameter_table.h"
#include "core/platform/file_exists.h"
#include "core/records/record_file.h"
#include "core/records/record_reader.h"
#include "tool_output.h"
#include "ui/common/swipe_pictures/swipe_picture_work.h"
#include "ui/common/swipe_pictures/zoom_image_view.h"
#include "ui/photo_view/photo_view_window.h"
#include "window_shot.h"

#include <QApplication>
#include <QHash>
#include <QListView>

#include <cstdio>

namespace {

using card::tools::allPicturesShown;
using card::tools::fail;

// The busiest card's first swipe after noon with all five frames, or its first swipe.
bool chooseSwipe(const card::ParameterTable& para, const QDate& day, card::Swipe& chosen)
{
    const QString records = para[card::kRecordsFolderSlot];
    const QString photos = para[card::kPhotoFolderSlot];
    card::RecordTable table;
    if (card::readRecordFile(card::recordFilePath(records, day), {}, table) !=
        card::FileReadStatus::Ok)
        return false;
    QHash<QString, int> counts;
    QString busiest;
    for (qsizetype row = 0; row < table.rowCount(); ++row) {
        const QString cardNumber = table.text(row, card::CardField);
        if (++counts[cardNumber] > counts.value(busiest))
            busiest = cardNumber;
    }
    bool found = false;
    for (qsizetype row = 0; row < table.rowCount(); ++row) {
        if (table.text(row, card::CardField) != busiest)
            continue;
        const card::Swipe swipe = card::swipeOfRow(table, row, day, records, photos, {});
        if (!found)
            chosen = swipe;
        found = true;
        if (swipe.time >= QStringLiteral("12") &&
            card::findSwipePhotos(swipe, card::fileExists).frames.size() == 5) {
            chosen = swipe;
            return true;
        }
    }
    return found;
}

} // namespace

int main(int argc, char* argv[])
{
    card::tools::setToolName("photo_view_shot");
    card::tools::preferOffscreen();
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    if (args.size() != 3) {
        fail(QStringLiteral("usage: photo_view_shot <site.spf> <YYYY-MM-DD> <file.png>"));
        return 2;
    }
    card::ParameterTable para;
    const QDate day = QDate::fromString(args[1], Qt::ISODate);
    card::Swipe swipe;
    if (!card::readParameterFile(args[0], para) || !day.isValid() ||
        !chooseSwipe(para, day, swipe)) {
        fail(QStringLiteral("no records for %1 at %2").arg(args[1], args[0]));
        return 1;
    }

    QWidget mainWindow;
    card::PhotoViewWindow window(&mainWindow);
    window.resize(1100, 760);
    window.show();
    window.showSwipe(swipe);
    const auto* frames = window.findChild<QListView*>(QStringLiteral("photo_view_frames"));
    const auto* cardDay = window.findChild<QListView*>(QStringLiteral("photo_view_card_day"));
    const auto* image = window.findChild<card::ZoomImageView*>(QStringLiteral("photo_view_image"));
    card::tools::waitFor([&] {
        return allPicturesShown(frames->model()) && allPicturesShown(cardDay->model()) &&
               image->hasFullPicture();
    });
    if (!card::tools::saveShot(window, args[2]))
        return 1;
    std::printf("%s: card %s, %s, %d swipes that day\n", qPrintable(args[2]),
                qPrintable(swipe.card), qPrintable(swipe.time), cardDay->model()->rowCount());
    return 0;
}
