// The photo area's reactions: a row chosen in a result list, a tick of the playback timer and a
// photo box that changed size. Lookups and decoding run off the interface thread; the newest
// press wins and a late result of an older one is dropped.
#pragma once

#include "core/platform/latest_request.h"

#include <QObject>
#include <QString>

#include <array>
#include <optional>

class QImage;
class QTimer;

namespace card {

struct FrameStep;
struct MainControls;
struct MainWindowState;

class RecordDisplay : public QObject {
    Q_OBJECT
public:
    RecordDisplay(const MainControls& controls, MainWindowState& state, QObject* parent);

    // Aligns the four lists on the row chosen in result list listIndex at once, stores the
    // swipe in the current record, then shows its still photo, the first frame of its sequence
    // (starting the playback timer), or the fallback picture with "影像不存在" when the lookup
    // and decoding are done. A photo that cannot be decoded counts as no photo. The row's texts
    // are taken at the press: the clear command and the query leave its result alone.
    void showRecord(int listIndex);

    // While another site is being loaded a press's lookup waits for its photo folder; a lookup
    // already on its way ends in the folder it started in.
    void holdLookups();
    void resumeLookups();

    // A tick of the playback timer: shows the next lower frame present and ends the playback at
    // frame 1, or at a frame that cannot be decoded (leaving the last good frame shown). A tick
    // while the previous frame is still loading waits for it.
    void stepPlayback();

    // After the photo box has changed size: decodes the shown photo or frame again at the new
    // size. The start picture, the fallback picture and a photo file that is gone or broken
    // meanwhile stay as they are.
    void redecodeShownPhoto();

    // True while a lookup or decoding runs.
    bool busy() const { return m_press.pending() || m_frame.pending() || m_redecode.pending(); }

private:
    // A pressed row as the lists showed it at the press.
    struct PressedRow {
        LatestRequest::Ticket press = 0;
        QString day;
        QString time;
        QString card;
        std::array<QString, 3> details;
    };
    void lookUp(const PressedRow& row);
    void showFrame(const FrameStep& step, const QImage& image);
    void endLoadingSign();

    const MainControls& m_controls;
    MainWindowState& m_state;
    // A frame or a new decoding belongs to the press that showed the record: a later press
    // drops it.
    LatestRequest m_press;
    LatestRequest m_frame;
    LatestRequest m_redecode;
    bool m_tickWaiting = false;
    bool m_lookupsHeld = false;
    std::optional<PressedRow> m_heldPress;
    // Shows that the photo box still holds the previous swipe's picture, once a press's lookup
    // has taken long enough to be noticed.
    QTimer* m_loadingSign;
};

} // namespace card
