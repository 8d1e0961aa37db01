#include "ui/main_window/record_display.h"

#include "core/photos/frame_step.h"
#include "core/photos/photo_find.h"
#include "core/photos/time_of_day.h"
#include "core/platform/file_exists.h"
#include "ui/common/photo_loader.h"
#include "ui/main_window/main_controls.h"
#include "ui/main_window/main_window_state.h"
#include "ui/main_window/main_window_texts.h"
#include "ui/main_window/record_list_view.h"

#include <QLabel>
#include <QTimer>

namespace card {

namespace {

enum ListColumn { TimeColumn = 0, CardColumn = 1, NameColumn = 2, DirectionColumn = 3 };

QString listText(const MainControls& c, ListColumn column)
{
    return c.resultLists[static_cast<size_t>(column)]->selectedText();
}

// Every list selects the row of result list listIndex; no selection (-1) is copied like any row.
void alignLists(const MainControls& c, int listIndex)
{
    const int row = c.resultLists[static_cast<size_t>(listIndex)]->selectedRow();
    for (int k = 0; k < static_cast<int>(c.resultLists.size()); ++k) {
        if (k != listIndex)
            c.resultLists[static_cast<size_t>(k)]->setSelectedRow(row);
    }
}

void showNoPhoto(const MainControls& c, MainWindowState& state)
{
    c.photoBox->setPixmap(c.fallbackPicture->pixmap());
    state.shownPhoto.clear();
    c.statusLine->setText(kNoPhotoText);
    for (QLabel* line : c.detailValues)
        line->clear();
}

void showPhoto(const MainControls& c, MainWindowState& state, const QString& imageType,
               const QPixmap& photo)
{
    const QString& date = state.currentRecord.day;
    c.statusLine->clear();
    c.detailValues[0]->setText(date + u' ' + listText(c, TimeColumn));
    c.detailValues[1]->setText(listText(c, CardColumn));
    c.detailValues[2]->setText(listText(c, NameColumn) + QStringLiteral("--") +
                               listText(c, DirectionColumn));
    c.detailValues[3]->setText(imageType);
    c.photoBox->setPixmap(photo);
    state.shownPhoto = state.currentRecord.photoPath;
}

void endPlayback(const MainControls& c)
{
    c.playbackTimer->stop();
    c.detailValues[3]->setText(kPlaybackEndText);
}

} // namespace

void showSelectedRecord(const MainControls& c, MainWindowState& state, int listIndex)
{
    c.playbackTimer->stop();
    alignLists(c, listIndex);
    auto& currentRecord = state.currentRecord;
    currentRecord.time = timeOfDayDigits(listText(c, TimeColumn));
    currentRecord.card = listText(c, CardColumn);
    const PhotoLookup found = findPhoto(state.parameters[kPhotoFolderSlot], currentRecord.card,
                                        currentRecord.day, currentRecord.time, fileExists);
    currentRecord.photoPath = found.path;
    const QPixmap photo =
        found.outcome == PhotoOutcome::None ? QPixmap() : photoForBox(*c.photoBox, found.path);
    if (photo.isNull()) {
        showNoPhoto(c, state);
        return;
    }
    const bool sequence = found.outcome == PhotoOutcome::Sequence;
    showPhoto(c, state, sequence ? kSequenceText : kStillPhotoText, photo);
    if (sequence)
        c.playbackTimer->start();
}

void showNextFrame(const MainControls& c, MainWindowState& state)
{
    const FrameStep step = stepFrame(state.currentRecord.photoPath, fileExists);
    state.currentRecord.photoPath = step.path;
    if (step.ends)
        endPlayback(c);
    if (!step.load)
        return;
    const QPixmap frame = photoForBox(*c.photoBox, step.path);
    if (frame.isNull()) {
        if (!step.ends)
            endPlayback(c);
        return;
    }
    c.photoBox->setPixmap(frame);
    state.shownPhoto = step.path;
}

void redecodeShownPhoto(const MainControls& c, const MainWindowState& state)
{
    if (state.shownPhoto.isEmpty())
        return;
    const QPixmap photo = photoForBox(*c.photoBox, state.shownPhoto);
    if (!photo.isNull())
        c.photoBox->setPixmap(photo);
}

} // namespace card
