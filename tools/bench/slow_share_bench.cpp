// card_bench slow_share: the interface thread while the site's share is slow, then dead. Every
// read of the day file and of the shown photo is first delayed 2 s, then never returns. Printed
// for a click on the query button, a press on a row, a playback tick and a close request: the
// longest turn of the interface thread (the gap between two ticks of a 1 ms timer) and, for a
// delayed read, the time from the read's end to the rows or the photo shown.
#include "bench_support.h"

#include "core/parameters/parameter_table.h"
#include "core/platform/file_access.h"
#include "core/platform/site_io_pool.h"
#include "core/records/record_file.h"
#include "core/records/record_table_model.h"
#include "ui/main_window/card_image_window.h"
#include "ui/main_window/record_list_view.h"

#include <QApplication>
#include <QBuffer>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QMutex>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWaitCondition>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace card::bench {

namespace {

constexpr int kDelayMs = 2000;
// How long a read that never returns is watched.
constexpr int kHangWatchMs = 1000;
// How long a delayed read's result is waited for at most.
constexpr int kDelayWatchMs = kDelayMs + 5000;
constexpr int kFillerRows = 10'000;
constexpr int kPhotoWidth = 2592;
constexpr int kPhotoHeight = 1944;
const QDate kDay(2007, 5, 15);
const QString kStill = QStringLiteral("00000001-070515-080000");
const QString kSequence = QStringLiteral("00000002-070515-080100");

// The clock shared by the seam's threads and the interface thread.
QElapsedTimer& benchClock()
{
    static QElapsedTimer clock;
    return clock;
}

double msSince(qint64 fromNs, qint64 toNs)
{
    return static_cast<double>(toNs - fromNs) / 1e6;
}

// The file system with the reads of chosen paths delayed or held for good; the end of the last
// such read is noted on the shared clock.
class SlowShare final : public FileAccess {
public:
    enum class Mode { Delay, Hang };

    void slowDown(const QStringList& pathParts, Mode mode)
    {
        QMutexLocker lock(&m_mutex);
        m_parts = pathParts;
        m_mode = mode;
        m_lastSlowEnd = -1;
    }
    // Lets every held read go on; later reads run at full speed.
    void release()
    {
        QMutexLocker lock(&m_mutex);
        m_parts.clear();
        m_released.wakeAll();
    }
    qint64 lastSlowReadEnd() const
    {
        QMutexLocker lock(&m_mutex);
        return m_lastSlowEnd;
    }

    bool exists(const QString& path) override { return systemFileAccess().exists(path); }
    FileReadStatus readSnapshot(const QString& path, qint64 maxSize, QByteArray& bytes) override
    {
        const bool slow = slowDown(path);
        const FileReadStatus status = systemFileAccess().readSnapshot(path, maxSize, bytes);
        noteEnd(slow);
        return status;
    }
    FileReadStatus readStart(const QString& path, qint64 maxSize, QByteArray& bytes,
                             bool& goesOn) override
    {
        const bool slow = slowDown(path);
        const FileReadStatus status = systemFileAccess().readStart(path, maxSize, bytes, goesOn);
        noteEnd(slow);
        return status;
    }
    FileReadStatus readFrom(const QString& path, qint64 offset, qint64 maxSize, QByteArray& bytes,
                            qint64& size) override
    {
        const bool slow = slowDown(path);
        const FileReadStatus status =
            systemFileAccess().readFrom(path, offset, maxSize, bytes, size);
        noteEnd(slow);
        return status;
    }
    bool canEnterFolder(const QString& folder) override
    {
        return systemFileAccess().canEnterFolder(folder);
    }
    bool isFolder(const QString& path) override { return systemFileAccess().isFolder(path); }
    void listFolder(const QString& folder, const EntryVisitor& visit) override
    {
        systemFileAccess().listFolder(folder, visit);
    }

private:
    bool isSlow(const QString& path) const
    {
        return std::any_of(m_parts.cbegin(), m_parts.cend(),
                           [&path](const QString& part) { return path.contains(part); });
    }
    bool slowDown(const QString& path)
    {
        QMutexLocker lock(&m_mutex);
        if (!isSlow(path))
            return false;
        if (m_mode == Mode::Delay) {
            lock.unlock();
            QThread::msleep(kDelayMs);
            return true;
        }
        while (isSlow(path))
            m_released.wait(&m_mutex);
        return false;
    }
    void noteEnd(bool slow)
    {
        if (!slow)
            return;
        QMutexLocker lock(&m_mutex);
        m_lastSlowEnd = benchClock().nsecsElapsed();
    }

    mutable QMutex m_mutex;
    QWaitCondition m_released;
    QStringList m_parts;
    Mode m_mode = Mode::Delay;
    qint64 m_lastSlowEnd = -1;
};

// The day file: the still photo's swipe, the sequence's swipe, then a day's worth of others.
QByteArray dayRecords()
{
    QByteArray text = "\"8:00:00\",\"00000001\",\"A\",\"in\"\r\n"
                      "\"8:01:00\",\"00000002\",\"B\",\"out\"\r\n";
    for (int i = 0; i < kFillerRows; ++i) {
        const int second = 9 * 3600 + i;
        char line[64];
        std::snprintf(line, sizeof line, "\"%d:%02d:%02d\",\"%08d\",\"C\",\"in\"\r\n",
                      second / 3600, second / 60 % 60, second % 60, 10'000 + i);
        text += line;
    }
    return text;
}

bool writeSite(const QString& folder)
{
    const QByteArray jpeg = cameraJpeg(QSize(kPhotoWidth, kPhotoHeight));
    if (!QDir(folder).mkpath(QStringLiteral("photos")) ||
        !writeFile(recordFilePath(folder, kDay), dayRecords()) ||
        !writeFile(folder + "/photos/" + kStill + "-C.jpg", jpeg))
        return false;
    for (int frame = 1; frame <= 5; ++frame) {
        if (!writeFile(folder + QStringLiteral("/photos/%1-%2.jpg").arg(kSequence).arg(frame),
                       jpeg))
            return false;
    }
    std::printf("  day file of %d rows, photos of %.2f MB (%d x %d)\n", kFillerRows + 2,
                megabytes(jpeg.size()), kPhotoWidth, kPhotoHeight);
    return true;
}

void sendMouse(QWidget* target, QPointF at, QEvent::Type type)
{
    QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void click(QWidget* button)
{
    const QPointF centre = QRectF(button->rect()).center();
    sendMouse(button, centre, QEvent::MouseButtonPress);
    sendMouse(button, centre, QEvent::MouseButtonRelease);
}

void pressRow(const CardImageWindow& window, int row)
{
    RecordListView* list = window.controls().resultLists[0];
    const QPointF centre = list->visualRect(list->model()->index(row, 0)).center();
    sendMouse(list->viewport(), centre, QEvent::MouseButtonPress);
    sendMouse(list->viewport(), centre, QEvent::MouseButtonRelease);
}

struct Turns {
    double longestMs = 0;
    double shownAfterReadMs = -1; // -1: nothing shown
};

// Runs action in a turn of the event loop and watches the turns that follow with a 1 ms timer
// until shown() holds (and 50 ms more), or for watchMs.
Turns watchTurns(const std::function<void()>& action, const std::function<bool()>& shown,
                 const SlowShare& share, int watchMs)
{
    Turns turns;
    QEventLoop loop;
    qint64 last = -1;
    qint64 start = -1;
    qint64 shownAt = -1;
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticks, &QTimer::timeout, &loop, [&] {
        const qint64 now = benchClock().nsecsElapsed();
        if (start < 0)
            return;
        turns.longestMs = std::max(turns.longestMs, msSince(last, now));
        last = now;
        if (shownAt < 0 && shown && shown()) {
            shownAt = now;
            turns.shownAfterReadMs = msSince(share.lastSlowReadEnd(), now);
        }
        const bool done = shownAt >= 0 ? msSince(shownAt, now) > 50 : msSince(start, now) > watchMs;
        if (done)
            loop.quit();
    });
    QTimer::singleShot(0, &loop, [&] {
        start = last = benchClock().nsecsElapsed();
        action();
    });
    ticks.start(1);
    loop.exec();
    return turns;
}

void printTurns(const char* what, const Turns& t)
{
    std::printf("  %-40s longest turn %7.2f ms", what, t.longestMs);
    if (t.shownAfterReadMs >= 0)
        std::printf("   shown %7.2f ms after the read", t.shownAfterReadMs);
    std::printf("\n");
}

// A window on the site, shown and laid out, with nothing slowed down.
void openWindow(CardImageWindow& window, const QString& folder)
{
    window.state().parameters[kRecordsFolderSlot] = folder;
    window.state().parameters[kPhotoFolderSlot] = folder + "/photos";
    window.controls().datePicker->setDate(kDay);
    window.controls().directionOptions[2]->setChecked(true);
    window.show();
    QApplication::processEvents();
}

bool listsTheDay(CardImageWindow& window)
{
    return window.records().rowCount() == kFillerRows + 2;
}

// Pictures set in the photo box since before: its pixmap changed.
std::function<bool()> pictureChanged(const CardImageWindow& window)
{
    const qint64 before = window.controls().photoBox->pixmap().cacheKey();
    return [&window, before] {
        return window.controls().photoBox->pixmap().cacheKey() != before;
    };
}

QString dayFileName()
{
    return recordFileName(kDay);
}

bool delayedReads(SlowShare& share, const QString& folder)
{
    std::printf("every read delayed %d ms:\n", kDelayMs);
    CardImageWindow window;
    openWindow(window, folder);
    QPushButton* query = window.controls().queryButton;

    share.slowDown({dayFileName()}, SlowShare::Mode::Delay);
    Turns t = watchTurns([&] { click(query); }, [&] { return listsTheDay(window); }, share,
                         kDelayWatchMs);
    printTurns("click on the query button (Command2)", t);
    bool ok = t.shownAfterReadMs >= 0;

    share.slowDown({kStill}, SlowShare::Mode::Delay);
    t = watchTurns([&] { pressRow(window, 0); }, pictureChanged(window), share, kDelayWatchMs);
    printTurns("press on a row (still photo)", t);
    ok = ok && t.shownAfterReadMs >= 0;

    share.slowDown({kSequence}, SlowShare::Mode::Delay);
    t = watchTurns([&] { pressRow(window, 1); }, pictureChanged(window), share, kDelayWatchMs);
    printTurns("press on a row (sequence, first frame)", t);
    ok = ok && t.shownAfterReadMs >= 0;
    // One tick, called as the timer calls it; the timer itself stays off so that no second tick
    // joins the measured one.
    window.controls().playbackTimer->stop();
    t = watchTurns([&] { window.stepPlayback(); }, pictureChanged(window), share, kDelayWatchMs);
    printTurns("playback tick (next frame)", t);
    ok = ok && t.shownAfterReadMs >= 0;

    share.slowDown({dayFileName()}, SlowShare::Mode::Delay);
    click(query);
    t = watchTurns([&] { window.close(); }, {}, share, kDelayMs + 500);
    printTurns("close request during a delayed query", t);
    waitForWindowWork(window);
    return ok;
}

bool hangingReads(SlowShare& share, const QString& folder)
{
    std::printf("reads that never return (each watched %d ms):\n", kHangWatchMs);
    CardImageWindow window;
    openWindow(window, folder);
    share.slowDown({}, SlowShare::Mode::Hang);
    window.runQuery();
    waitForWindowWork(window);

    share.slowDown({kStill}, SlowShare::Mode::Hang);
    Turns t = watchTurns([&] { pressRow(window, 0); }, {}, share, kHangWatchMs);
    printTurns("press on a row (still photo)", t);

    // The sequence's first frame at full speed, then its next frame hangs (the still photo's
    // read stays held).
    share.slowDown({kStill, kSequence + "-4.jpg"}, SlowShare::Mode::Hang);
    const std::function<bool()> firstFrame = pictureChanged(window);
    pressRow(window, 1);
    while (!firstFrame())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    window.controls().playbackTimer->stop();
    t = watchTurns([&] { window.stepPlayback(); }, {}, share, kHangWatchMs);
    printTurns("playback tick (next frame)", t);

    share.slowDown({dayFileName(), kStill, kSequence + "-4.jpg"}, SlowShare::Mode::Hang);
    t = watchTurns([&] { click(window.controls().queryButton); }, {}, share, kHangWatchMs);
    printTurns("click on the query button (Command2)", t);
    const bool nothingListed = window.records().rowCount() == 0;

    t = watchTurns([&] { window.close(); }, {}, share, kHangWatchMs);
    printTurns("close request", t);
    std::printf("  %d reads still held at the close\n", siteIoPool().activeThreadCount());
    // Let the held reads go, so that the threads are free for whatever runs next.
    share.release();
    siteIoPool().waitForDone();
    return nothingListed;
}

} // namespace

int runSlowShareBenchmark()
{
    benchClock().start();
    std::printf("slow share benchmark:\n");
    QTemporaryDir folder;
    if (!folder.isValid() || !writeSite(folder.path())) {
        std::printf("cannot write the site\n");
        return 1;
    }
    SlowShare share;
    installFileAccess(&share);
    const bool delayed = delayedReads(share, folder.path());
    const bool hung = hangingReads(share, folder.path());
    installFileAccess(nullptr);
    if (!delayed || !hung)
        std::printf("  a result did not appear as it should\n");
    return delayed && hung ? 0 : 1;
}

} // namespace card::bench
