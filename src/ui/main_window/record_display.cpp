#include "ui/main_window/record_display.h"

#include "ui/main_window/main_controls.h"
#include "ui/main_window/main_window_state.h"
#include "ui/main_window/record_list_view.h"
#include "core/platform/file_exists.h"
#include "core/photos/frame_step.h"
#include "core/photos/photo_find.h"
#include "ui/common/photo_loader.h"
#include "core/photos/time_of_day.h"

#include <QLabel>
#include <QTimer>

namespace card {

namespace {

enum ListColumn { TimeColumn = 0, CardColumn = 1, NameColumn = 2, DirectionColumn = 3 };

const QString kNoImageText = QStringLiteral("影像不存在");
const QString kStillPhotoText = QStringLiteral("刷卡照相");
const QString kSequenceText = QStringLiteral("動態播放");
const QString kPlaybackEndText = QStringLiteral("播放結束");

QString listText(const MainControls& c, ListColumn column)
{
    return c.List1[static_cast<size_t>(column)]->selectedText();
}

// Every list selects the row of List1(list_no); no selection (-1) is copied like any row.
void alignLists(const MainControls& c, int list_no)
{
    const int row = c.List1[static_cast<size_t>(list_no)]->selectedRow();
    for (int k = 0; k < static_cast<int>(c.List1.size()); ++k) {
        if (k != list_no)
            c.List1[static_cast<size_t>(k)]->setSelectedRow(row);
    }
}

void showNoPhoto(const MainControls& c, MainWindowState& state)
{
    c.Image1->setPixmap(c.Image2->pixmap());
    state.shownPhoto.clear();
    c.Label6->setText(kNoImageText);
    for (QLabel* line : c.Label9)
        line->clear();
}

void showPhoto(const MainControls& c, MainWindowState& state, const QString& imageType,
               const QPixmap& photo)
{
    const QString& date = state.cur_rec[kCurRecDate];
    c.Label6->clear();
    c.Label9[0]->setText(date + u' ' + listText(c, TimeColumn));
    c.Label9[1]->setText(listText(c, CardColumn));
    c.Label9[2]->setText(listText(c, NameColumn) + QStringLiteral("--") +
                         listText(c, DirectionColumn));
    c.Label9[3]->setText(imageType);
    c.Image1->setPixmap(photo);
    state.shownPhoto = state.cur_rec[kCurRecPhoto];
}

void endPlayback(const MainControls& c)
{
    c.Timer1->stop();
    c.Label9[3]->setText(kPlaybackEndText);
}

} // namespace

void showSelectedRecord(const MainControls& c, MainWindowState& state, int list_no)
{
    c.Timer1->stop();
    alignLists(c, list_no);
    auto& cur_rec = state.cur_rec;
    cur_rec[kCurRecTime] = timeOfDayDigits(listText(c, TimeColumn));
    cur_rec[kCurRecCard] = listText(c, CardColumn);
    const PhotoLookup found = photo_find(state.para[kPhotoFolderSlot], cur_rec[kCurRecCard],
                                         cur_rec[kCurRecDate], cur_rec[kCurRecTime], fileExists);
    cur_rec[kCurRecPhoto] = found.path;
    const QPixmap photo =
        found.outcome == PhotoOutcome::None ? QPixmap() : photoForBox(*c.Image1, found.path);
    if (photo.isNull()) {
        showNoPhoto(c, state);
        return;
    }
    const bool sequence = found.outcome == PhotoOutcome::Sequence;
    showPhoto(c, state, sequence ? kSequenceText : kStillPhotoText, photo);
    if (sequence)
        c.Timer1->start();
}

void showNextFrame(const MainControls& c, MainWindowState& state)
{
    const FrameStep step = frame_step(state.cur_rec[kCurRecPhoto], fileExists);
    state.cur_rec[kCurRecPhoto] = step.path;
    if (step.ends)
        endPlayback(c);
    if (!step.load)
        return;
    const QPixmap frame = photoForBox(*c.Image1, step.path);
    if (frame.isNull()) {
        if (!step.ends)
            endPlayback(c);
        return;
    }
    c.Image1->setPixmap(frame);
    state.shownPhoto = step.path;
}

void redecodeShownPhoto(const MainControls& c, const MainWindowState& state)
{
    if (state.shownPhoto.isEmpty())
        return;
    const QPixmap photo = photoForBox(*c.Image1, state.shownPhoto);
    if (!photo.isNull())
        c.Image1->setPixmap(photo);
}

} // namespace card
