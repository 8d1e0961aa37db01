// reference_shot <site.spf> <YYYY-MM-DD> <reference.png> <compare.png>: finds, on the month up
// to the date, a card with a night swipe and a day swipe that both have photos; pins the day
// swipe's photo as the card's reference (in a case store of its own), shows the night swipe
// brightened beside it, saves the window, then compares the two swipes as they are and saves
// that window.
#include "core/parameters/parameter_table.h"
#include "core/platform/file_exists.h"
#include "core/records/record_file.h"
#include "core/records/record_reader.h"
#include "tool_output.h"
#include "ui/common/case_desk.h"
#include "ui/common/photo_texts.h"
#include "ui/common/reference_photo_view.h"
#include "ui/common/swipe_pictures/swipe_picture_work.h"
#include "ui/common/swipe_pictures/zoom_image_view.h"
#include "ui/photo_view/photo_view_texts.h"
#include "ui/photo_view/photo_view_window.h"
#include "window_shot.h"

#include <QAction>
#include <QApplication>
#include <QHash>
#include <QListView>
#include <QMouseEvent>
#include <QSlider>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

using card::tools::allPicturesShown;
using card::tools::fail;
using card::tools::saveShot;
using card::tools::waitFor;

constexpr int kDaysLooked = 31;
const QTime kDaylightFrom(6, 30);
const QTime kDaylightUntil(19, 0);

struct Pair {
    card::Swipe day;   // pinned as the reference
    card::Swipe night; // shown brightened beside it
};

bool isNight(const QString& time)
{
    const QTime at = QTime::fromString(time, QStringLiteral("H:mm:ss"));
    return at.isValid() && (at < kDaylightFrom || at >= kDaylightUntil);
}

// The first card of the day with a night swipe and a day swipe, both with photos.
std::optional<Pair> pairOn(const card::ParameterTable& para, const QString& paraFile,
                           const QDate& day)
{
    card::RecordTable table;
    if (card::readRecordFile(card::recordFilePath(para[card::kRecordsFolderSlot], day), {},
                             table) != card::FileReadStatus::Ok)
        return std::nullopt;
    QHash<QString, card::Swipe> nights;
    QHash<QString, card::Swipe> days;
    for (qsizetype row = 0; row < table.rowCount(); ++row) {
        const card::Swipe swipe = card::swipeOfRow(table, row, day, para[card::kRecordsFolderSlot],
                                                   para[card::kPhotoFolderSlot], paraFile);
        auto& found = isNight(swipe.time) ? nights : days;
        if (!found.contains(swipe.card) &&
            !card::findSwipePhotos(swipe, card::fileExists).frames.isEmpty())
            found.insert(swipe.card, swipe);
    }
    for (auto night = nights.cbegin(); night != nights.cend(); ++night) {
        if (days.contains(night.key()))
            return Pair{days.value(night.key()), night.value()};
    }
    return std::nullopt;
}

void trigger(const QWidget* widget, const QString& text)
{
    for (QAction* action : widget->actions()) {
        if (action->text() == text)
            action->trigger();
    }
}

void controlClick(QWidget* widget, const QPoint& at)
{
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::ControlModifier);
    QApplication::sendEvent(widget, &press);
}

} // namespace

int main(int argc, char* argv[])
{
    card::tools::setToolName("reference_shot");
    card::tools::preferOffscreen();
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    if (args.size() != 4) {
        fail(QStringLiteral(
            "usage: reference_shot <site.spf> <YYYY-MM-DD> <reference.png> <compare.png>"));
        return 2;
    }
    card::ParameterTable para;
    const QDate last = QDate::fromString(args[1], Qt::ISODate);
    std::optional<Pair> pair;
    if (card::readParameterFile(args[0], para)) {
        for (int back = 0; back < kDaysLooked && !pair; ++back)
            pair = pairOn(para, args[0], last.addDays(-back));
    }
    if (!pair) {
        fail(QStringLiteral("no card with a night and a day photo at %1").arg(args[0]));
        return 1;
    }
    const QTemporaryDir store;
    card::CaseDesk::instance().setLocationText(store.filePath(QStringLiteral("cases.sqlite")));

    QWidget mainWindow;
    card::PhotoViewWindow window(&mainWindow);
    window.resize(1100, 760);
    window.show();
    auto* image = window.findChild<card::ZoomImageView*>(QStringLiteral("photo_view_image"));
    const auto* reference =
        window.findChild<card::ReferencePhotoView*>(QStringLiteral("photo_view_reference"));
    window.showSwipe(pair->day);
    waitFor([image] { return image->hasFullPicture(); });
    trigger(image, card::kPinReferenceAction);
    waitFor([reference] { return reference->reference().has_value(); });

    window.showSwipe(pair->night);
    for (const auto& [name, value] :
         {std::pair{"photo_view_brightness", 20}, std::pair{"photo_view_contrast", 10},
          std::pair{"photo_view_gamma", 14}})
        window.findChild<QSlider*>(QString::fromLatin1(name))->setValue(value);
    auto* cardDay = window.findChild<QListView*>(QStringLiteral("photo_view_card_day"));
    const auto* frames = window.findChild<QListView*>(QStringLiteral("photo_view_frames"));
    waitFor([&] {
        return image->hasFullPicture() && allPicturesShown(cardDay->model()) &&
               allPicturesShown(frames->model());
    });
    if (!saveShot(window, args[2]))
        return 1;

    const QModelIndexList dayRow =
        cardDay->model()->match(cardDay->model()->index(0, 0), Qt::DisplayRole,
                                QStringLiteral("✓ "), 1, Qt::MatchStartsWith);
    if (dayRow.isEmpty()) {
        fail(QStringLiteral("the reference swipe is not ticked in the card's day"));
        return 1;
    }
    // The two photos as they are, side by side.
    trigger(&window, card::photo_view_texts::kToneReset);
    cardDay->scrollTo(dayRow.first());
    controlClick(cardDay->viewport(), cardDay->visualRect(dayRow.first()).center());
    auto* compare = window.findChild<QWidget*>(QStringLiteral("photo_view_compare"));
    if (!compare) {
        fail(QStringLiteral("the comparison did not open"));
        return 1;
    }
    compare->resize(1100, 520);
    const auto views = compare->findChildren<card::ZoomImageView*>();
    waitFor([&views] {
        return std::all_of(views.cbegin(), views.cend(),
                           [](const card::ZoomImageView* view) { return view->hasFullPicture(); });
    });
    views.first()->zoomIn();
    QApplication::processEvents();
    if (!saveShot(*compare, args[3]))
        return 1;
    std::printf("%s, %s: card %s, reference %s, night %s\n", qPrintable(args[2]),
                qPrintable(args[3]), qPrintable(pair->day.card), qPrintable(pair->day.time),
                qPrintable(pair->night.time));
    return 0;
}
