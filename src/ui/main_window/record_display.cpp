#include "ui/main_window/record_display.h"

#include "core/photos/frame_step.h"
#include "core/photos/photo_find.h"
#include "core/platform/file_exists.h"
#include "core/platform/site_io_task.h"
#include "core/records/record_table.h"
#include "core/text/time_of_day.h"
#include "ui/common/photo_loader.h"
#include "ui/main_window/main_controls.h"
#include "ui/main_window/main_window_state.h"
#include "ui/main_window/main_window_texts.h"
#include "ui/main_window/record_list_view.h"

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QTimer>

namespace card {

namespace {

constexpr int kLoadingSignDelayMs = 150;
constexpr qreal kLoadingOpacity = 0.35;

// What the lookup and the decoding of a pressed row found.
struct RecordPhoto {
    PhotoLookup lookup;
    QImage image; // null when there is no photo or it cannot be decoded
};

// What one playback tick found.
struct FramePhoto {
    FrameStep step;
    QImage image;
};

QString listText(const MainControls& c, RecordField column)
{
    return c.resultLists[static_cast<size_t>(column)]->selectedText();
}

// The detail lines of the selected row, read when it is pressed.
std::array<QString, 3> detailLines(const MainControls& c, const QString& day)
{
    return {day + u' ' + listText(c, TimeField), listText(c, CardField),
            listText(c, NameField) + QStringLiteral("--") + listText(c, DirectionField)};
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

// The photo box's size on screen, in device pixels: photos are decoded straight to it.
QSize decodeSize(const QLabel& box)
{
    return box.contentsRect().size() * box.devicePixelRatioF();
}

void showNoPhoto(const MainControls& c, MainWindowState& state)
{
    c.photoBox->setPixmap(c.fallbackPicture->pixmap());
    state.shownPhoto.clear();
    c.statusLine->setText(kNoPhotoText);
    for (QLabel* line : c.detailValues)
        line->clear();
}

void showPhoto(const MainControls& c, MainWindowState& state, const std::array<QString, 3>& details,
               const QString& imageType, const QImage& photo)
{
    c.statusLine->clear();
    for (size_t i = 0; i < details.size(); ++i)
        c.detailValues[i]->setText(details[i]);
    c.detailValues[3]->setText(imageType);
    c.photoBox->setPixmap(QPixmap::fromImage(photo));
    state.shownPhoto = state.currentRecord.photoPath;
}

// The busy cursor over the photo box and its picture dimmed.
void showLoadingSign(QLabel& box)
{
    box.setCursor(Qt::BusyCursor);
    auto* dimmed = new QGraphicsOpacityEffect(&box);
    dimmed->setOpacity(kLoadingOpacity);
    box.setGraphicsEffect(dimmed);
}

void endPlayback(const MainControls& c)
{
    c.playbackTimer->stop();
    c.detailValues[3]->setText(kPlaybackEndText);
}

} // namespace

RecordDisplay::RecordDisplay(const MainControls& controls, MainWindowState& state, QObject* parent)
    : QObject(parent)
    , m_controls(controls)
    , m_state(state)
    , m_loadingSign(new QTimer(this))
{
    m_loadingSign->setSingleShot(true);
    m_loadingSign->setInterval(kLoadingSignDelayMs);
    connect(m_loadingSign, &QTimer::timeout, this,
            [this] { showLoadingSign(*m_controls.photoBox); });
}

void RecordDisplay::endLoadingSign()
{
    m_loadingSign->stop();
    m_controls.photoBox->unsetCursor();
    m_controls.photoBox->setGraphicsEffect(nullptr);
}

void RecordDisplay::showRecord(int listIndex)
{
    const MainControls& c = m_controls;
    c.playbackTimer->stop();
    m_tickWaiting = false;
    alignLists(c, listIndex);
    CurrentRecord& record = m_state.currentRecord;
    record.time = timeOfDayDigits(listText(c, TimeField));
    record.card = listText(c, CardField);
    const PressedRow row{m_press.start(), record.day, record.time, record.card,
                         detailLines(c, record.day)};
    m_loadingSign->start();
    if (m_lookupsHeld)
        m_heldPress = row;
    else
        lookUp(row);
}

void RecordDisplay::lookUp(const PressedRow& row)
{
    auto lookUp = [folder = m_state.parameters[kPhotoFolderSlot], row,
                   size = decodeSize(*m_controls.photoBox)] {
        const PhotoLookup found = findPhoto(folder, row.card, row.day, row.time, fileExists);
        if (found.outcome == PhotoOutcome::None)
            return RecordPhoto{found, {}};
        return RecordPhoto{found, loadPhoto(found.path, size)};
    };
    runOnSiteIo(this, std::move(lookUp), [this, row](const RecordPhoto& found) {
        if (!m_press.finish(row.press))
            return;
        endLoadingSign();
        m_state.currentRecord.photoPath = found.lookup.path;
        if (found.image.isNull()) {
            showNoPhoto(m_controls, m_state);
        } else {
            const bool sequence = found.lookup.outcome == PhotoOutcome::Sequence;
            showPhoto(m_controls, m_state, row.details, sequence ? kSequenceText : kStillPhotoText,
                      found.image);
            if (sequence)
                m_controls.playbackTimer->start();
        }
    });
}

void RecordDisplay::holdLookups()
{
    m_lookupsHeld = true;
}

void RecordDisplay::resumeLookups()
{
    m_lookupsHeld = false;
    if (const std::optional<PressedRow> row = std::exchange(m_heldPress, std::nullopt))
        lookUp(*row);
}

void RecordDisplay::stepPlayback()
{
    if (m_frame.pending()) {
        m_tickWaiting = true;
        return;
    }
    const LatestRequest::Ticket frame = m_frame.start();
    const LatestRequest::Ticket press = m_press.current();
    auto step = [path = m_state.currentRecord.photoPath, size = decodeSize(*m_controls.photoBox)] {
        const FrameStep next = stepFrame(path, fileExists);
        return FramePhoto{next, next.load ? loadPhoto(next.path, size) : QImage()};
    };
    runOnSiteIo(this, std::move(step), [this, frame, press](const FramePhoto& found) {
        m_frame.finish(frame);
        if (m_press.isCurrent(press))
            showFrame(found.step, found.image);
        if (std::exchange(m_tickWaiting, false) && m_controls.playbackTimer->isActive())
            stepPlayback();
    });
}

void RecordDisplay::showFrame(const FrameStep& step, const QImage& image)
{
    m_state.currentRecord.photoPath = step.path;
    if (step.ends)
        endPlayback(m_controls);
    if (!step.load)
        return;
    if (image.isNull()) {
        if (!step.ends)
            endPlayback(m_controls);
        return;
    }
    m_controls.photoBox->setPixmap(QPixmap::fromImage(image));
    m_state.shownPhoto = step.path;
}

void RecordDisplay::redecodeShownPhoto()
{
    const QString path = m_state.shownPhoto;
    if (path.isEmpty())
        return;
    const LatestRequest::Ticket decoding = m_redecode.start();
    const LatestRequest::Ticket press = m_press.current();
    auto decode = [path, size = decodeSize(*m_controls.photoBox)] {
        return loadPhoto(path, size);
    };
    runOnSiteIo(this, std::move(decode), [this, decoding, press, path](const QImage& photo) {
        if (m_redecode.finish(decoding) && m_press.isCurrent(press) && m_state.shownPhoto == path &&
            !photo.isNull())
            m_controls.photoBox->setPixmap(QPixmap::fromImage(photo));
    });
}

} // namespace card
