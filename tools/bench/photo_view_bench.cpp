// card_bench photo_view: the photo inspection window on a 12-megapixel photo (time to the first
// picture, zoom and pan repaints, a tone change at a screen's size) and on a card with 200
// swipes of 5-megapixel photos (the list, all its thumbnails), with the longest
// interface-thread turn meanwhile and the memory the window holds.
#include "bench_support.h"

#include "core/photos/swipe_photos.h"
#include "core/platform/path_join.h"
#include "core/records/record_file.h"
#include "ui/common/photo_loader.h"
#include "ui/common/swipe_pictures/thumbnail_list_model.h"
#include "ui/common/swipe_pictures/zoom_image_view.h"
#include "ui/photo_view/photo_view_window.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QListView>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace card::bench {

namespace {

const QDate kDay(2007, 5, 15);
const QSize kBigPhoto(4000, 3000);
const QSize kCameraPhoto(2592, 1944);
constexpr int kDaySwipes = 200;
constexpr int kRepaints = 20;
const QSize kScreen(1920, 1080);
const QString kBigCard = QStringLiteral("00000007");
const QString kBusyCard = QStringLiteral("00000042");

QString timeText(int secondOfDay)
{
    return QTime(0, 0).addSecs(secondOfDay).toString(QStringLiteral("HH:mm:ss"));
}

QString photoPath(const QString& folder, const QString& card, const QString& time,
                  const QString& suffix)
{
    return joinPath(folder, QStringLiteral("%1-%2-%3-%4.jpg")
                                .arg(card, dayDigits(kDay), QString(time).remove(u':'), suffix));
}

// 200 swipes of one card from 07:00 every three minutes, in and out in turn; every tenth has a
// five-frame sequence, every twentieth no photo, the rest a still photo. All photos are hard
// links to one 5-megapixel JPEG, so the folder costs one file's space.
bool writeSite(const QString& records, const QString& photos, QString& busyShown)
{
    const QString bigPath =
        photoPath(photos, kBigCard, QStringLiteral("08:00:00"), QStringLiteral("C"));
    const QString cameraPath = joinPath(photos, QStringLiteral("camera.jpg"));
    if (!writeFile(bigPath, cameraJpeg(kBigPhoto)) ||
        !writeFile(cameraPath, cameraJpeg(kCameraPhoto)))
        return false;
    QString day = QStringLiteral("08:00:00,\"%1\",\"王大明\",\"進\"\r\n").arg(kBigCard);
    for (int i = 0; i < kDaySwipes; ++i) {
        const QString time = timeText(7 * 3600 + i * 180);
        day += QStringLiteral("%1,\"%2\",\"陳怡君\",\"%3\"\r\n")
                   .arg(time, kBusyCard, i % 2 == 0 ? QStringLiteral("進") : QStringLiteral("出"));
        day += QStringLiteral("%1,\"00000099\",\"林志明\",\"進\"\r\n").arg(time);
        if (i == kDaySwipes / 2)
            busyShown = time;
        QStringList suffixes;
        if (i % 20 == 19)
            continue;
        if (i % 10 == 0)
            suffixes = {"1", "2", "3", "4", "5"};
        else
            suffixes = {"C"};
        for (const QString& suffix : suffixes) {
            if (::link(QFile::encodeName(cameraPath).constData(),
                       QFile::encodeName(photoPath(photos, kBusyCard, time, suffix)).constData()) !=
                0)
                return false;
        }
    }
    return writeFile(joinPath(records, recordFileName(kDay)), day.toUtf8());
}

// Runs the event loop from start() until done() holds (checked every millisecond) or timeoutMs
// passes; the longest gap between two checks is the longest interface-thread turn.
struct LoopFigures {
    double doneMs = -1;
    double longestTurnMs = 0;
};

LoopFigures runUntil(const std::function<void()>& start, const std::function<bool()>& done,
                     int timeoutMs)
{
    LoopFigures figures;
    QElapsedTimer clock;
    QEventLoop loop;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    qint64 last = 0;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        figures.longestTurnMs = std::max(figures.longestTurnMs, double(now - last) / 1e6);
        last = now;
        if (done()) {
            figures.doneMs = double(now) / 1e6;
            loop.quit();
        } else if (now / 1'000'000 > timeoutMs) {
            loop.quit();
        }
    });
    probe.start();
    clock.start();
    start(); // counted as the first turn
    loop.exec();
    return figures;
}

// Notes the first paint of a widget once a condition holds.
class PaintWatch : public QObject {
public:
    PaintWatch(QWidget* widget, std::function<bool()> ready)
        : m_ready(std::move(ready))
    {
        widget->installEventFilter(this);
    }
    bool painted() const { return m_painted; }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_painted && m_ready())
            m_painted = true;
        return false;
    }

private:
    std::function<bool()> m_ready;
    bool m_painted = false;
};

bool allThumbnails(const QAbstractItemModel* model, int rows)
{
    if (model->rowCount() != rows)
        return false;
    for (int row = 0; row < rows; ++row) {
        if (model->index(row, 0).data(ThumbnailListModel::ThumbnailStateRole).toInt() ==
            ThumbnailListModel::Pending)
            return false;
    }
    return true;
}

// The rows the list shows have their pictures.
bool thumbnailsInView(const QListView* list)
{
    const QAbstractItemModel* model = list->model();
    const QRect view = list->viewport()->rect();
    bool any = false;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        if (!list->visualRect(index).intersects(view))
            continue;
        any = true;
        if (index.data(ThumbnailListModel::ThumbnailStateRole).toInt() ==
            ThumbnailListModel::Pending)
            return false;
    }
    return any;
}

struct Spread {
    double median = 0;
    double max = 0;
    double cpuMedian = 0; // the interface thread's own time, which the machine's load leaves out
};

Spread timeRepaints(ZoomImageView* image, const std::function<void(int)>& change)
{
    std::vector<double> samples;
    std::vector<double> cpuSamples;
    QElapsedTimer timer;
    for (int k = 0; k < kRepaints; ++k) {
        const double cpu = threadProcessorMs();
        timer.start();
        change(k);
        image->repaint();
        samples.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpuSamples.push_back(threadProcessorMs() - cpu);
    }
    std::sort(samples.begin(), samples.end());
    std::sort(cpuSamples.begin(), cpuSamples.end());
    return {samples[samples.size() / 2], samples.back(), cpuSamples[cpuSamples.size() / 2]};
}

void printTarget(const char* what, double value, const char* unit, double target)
{
    std::printf("  %-52s %8.1f %-3s (target %s %.0f %s)\n", what, value, unit,
                value <= target ? "met, <=" : "MISSED, <=", target, unit);
}

Swipe swipeOf(const QString& time, const QString& card, const QString& name,
              const QString& direction, const QString& records, const QString& photos)
{
    return {time, card, name, direction, kDay, records, photos, {}};
}

void printCost(const char* what, const RunTimes& cost)
{
    std::printf("  %-52s %8.1f ms (CPU %.1f ms)\n", what, cost.best, cost.thread);
}

// The decoder alone on this machine, and how long the event loop stalls with nothing to do:
// the floor under the window's figures.
void printFloor(const QString& photos)
{
    const QString big =
        photoPath(photos, kBigCard, QStringLiteral("08:00:00"), QStringLiteral("C"));
    const QString camera = joinPath(photos, QStringLiteral("camera.jpg"));
    std::printf("floor (best of three, one thread); JPEG files of %.1f MB and %.1f MB:\n",
                megabytes(QFileInfo(big).size()), megabytes(QFileInfo(camera).size()));
    printCost("12-megapixel photo decoded to 800 x 600",
              timeRuns(3, [&] { loadPhoto(big, QSize(800, 600)); }));
    printCost("12-megapixel photo decoded in full", timeRuns(3, [&] { loadPhoto(big, QSize()); }));
    printCost("5-megapixel photo decoded to 128 x 96",
              timeRuns(3, [&] { loadPhoto(camera, QSize(128, 96)); }));
    const LoopFigures idle = runUntil([] {}, [] { return false; }, 300);
    std::printf("  %-52s %8.1f ms\n", "longest event-loop turn, idle for 300 ms",
                idle.longestTurnMs);
    double load[3] = {};
    if (getloadavg(load, 3) > 0)
        std::printf("  %-52s %8.2f\n", "machine load average (1 min)", load[0]);
}

// A tone change redraws the 12-megapixel picture in a view of a screen's size: fitted (from the
// reduced copy, as shown), zoomed one step past it (the largest visible part of the full
// picture, shrunk first) and at 100 %.
void benchTone(const QImage& full)
{
    ZoomImageView view(nullptr);
    view.resize(kScreen);
    view.show();
    // A repaint paints only once the platform has exposed the window.
    QElapsedTimer exposing;
    exposing.start();
    while (!(view.windowHandle() && view.windowHandle()->isExposed()) && exposing.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    view.setPicture(full.scaled(kScreen, Qt::KeepAspectRatio, Qt::SmoothTransformation),
                    full.size());
    view.setFullPicture(full);
    const auto toneChanges = [&view](int k) {
        view.setTone({10 + k, 10, 1.4, k % 2 == 0});
    };
    std::printf("tone change on the 12-megapixel picture, view %d x %d:\n", kScreen.width(),
                kScreen.height());
    const auto report = [&](const char* what) {
        const Spread spread = timeRepaints(&view, toneChanges);
        printTarget(what, spread.max, "ms", 30);
        std::printf("  %-52s %8.2f ms median (CPU %.2f ms)\n", what, spread.median,
                    spread.cpuMedian);
    };
    report("tone change + repaint, fitted");
    // The zoom's own repaint shrinks the newly visible part; the changes then adjust it.
    view.zoomIn();
    view.repaint();
    report("tone change + repaint, one step past fit");
    view.showActualSize();
    view.repaint();
    report("tone change + repaint, 100 %");
}

bool benchBigPhoto(PhotoViewWindow& window, const QString& records, const QString& photos)
{
    auto* image = window.findChild<ZoomImageView*>(QStringLiteral("photo_view_image"));
    PaintWatch shown(image, [image] { return image->pictureSize() == kBigPhoto; });
    const Swipe swipe = swipeOf(QStringLiteral("08:00:00"), kBigCard, QStringLiteral("王大明"),
                                QStringLiteral("進"), records, photos);
    const LoopFigures first =
        runUntil([&] { window.showSwipe(swipe); }, [&] { return shown.painted(); }, 5000);
    const LoopFigures full = runUntil([] {}, [&] { return image->hasFullPicture(); }, 5000);
    if (first.doneMs < 0 || full.doneMs < 0) {
        std::printf("  the 12-megapixel photo was not shown\n");
        return false;
    }
    std::printf("12-megapixel photo (%d x %d), view %d x %d:\n", kBigPhoto.width(),
                kBigPhoto.height(), image->width(), image->height());
    printTarget("first picture shown, fitted", first.doneMs, "ms", 100);
    printTarget("longest interface-thread turn meanwhile", first.longestTurnMs, "ms", 30);
    std::printf("  %-52s %8.1f ms (longest turn %.1f ms)\n", "full picture decoded after that",
                full.doneMs, full.longestTurnMs);

    const Spread fitted = timeRepaints(image, [](int) {});
    std::printf("  %-52s %8.2f ms median, %.2f ms max\n", "repaint, fitted", fitted.median,
                fitted.max);
    image->showActualSize();
    const QPointF centre(image->width() / 2.0, image->height() / 2.0);
    const Spread zoom = timeRepaints(image, [&](int k) { image->zoomBy(k % 2 ? -1 : 1, centre); });
    const Spread pan =
        timeRepaints(image, [&](int k) { image->panBy(QPointF(k % 2 ? -40 : 40, 25)); });
    printTarget("zoom step about 100 % + repaint (max)", zoom.max, "ms", 16);
    std::printf("  %-52s %8.2f ms median\n", "zoom step about 100 % + repaint", zoom.median);
    printTarget("pan at 100 % + repaint (max)", pan.max, "ms", 16);
    std::printf("  %-52s %8.2f ms median\n", "pan at 100 % + repaint", pan.median);
    image->zoomBy(10, centre);
    const Spread sharp =
        timeRepaints(image, [&](int k) { image->panBy(QPointF(k % 2 ? -40 : 40, 0)); });
    std::printf("  %-52s %8.2f ms median, %.2f ms max\n", "pan at 800 % + repaint", sharp.median,
                sharp.max);
    benchTone(image->shownImage());
    return true;
}

bool benchCardDay(PhotoViewWindow& window, const QString& records, const QString& photos,
                  const QString& shownTime)
{
    auto* list = window.findChild<QListView*>(QStringLiteral("photo_view_card_day"));
    const QAbstractItemModel* model = list->model();
    PaintWatch listed(list->viewport(), [model] { return model->rowCount() == kDaySwipes; });
    const Swipe swipe = swipeOf(shownTime, kBusyCard, QStringLiteral("陳怡君"),
                                QStringLiteral("進"), records, photos);
    const double cpuBefore = threadProcessorMs();
    const LoopFigures shown =
        runUntil([&] { window.showSwipe(swipe); }, [&] { return listed.painted(); }, 5000);
    const LoopFigures inView = runUntil([] {}, [&] { return thumbnailsInView(list); }, 30000);
    const LoopFigures rest =
        runUntil([] {}, [&] { return allThumbnails(model, kDaySwipes); }, 30000);
    const LoopFigures all{inView.doneMs + rest.doneMs,
                          std::max(inView.longestTurnMs, rest.longestTurnMs)};
    const double interfaceCpu = threadProcessorMs() - cpuBefore;
    if (shown.doneMs < 0 || inView.doneMs < 0 || rest.doneMs < 0) {
        std::printf("  the card's day was not shown\n");
        return false;
    }
    std::printf("card's day of %d swipes, 5-megapixel photos (%d x %d):\n", kDaySwipes,
                kCameraPhoto.width(), kCameraPhoto.height());
    printTarget("list shown", shown.doneMs, "ms", 50);
    std::printf("  %-52s %8.1f ms\n", "thumbnails in view (around the shown swipe) shown",
                shown.doneMs + inView.doneMs);
    printTarget("all thumbnails shown", (shown.doneMs + all.doneMs) / 1000.0, "s", 3);
    printTarget("longest interface-thread turn while they load",
                std::max(shown.longestTurnMs, all.longestTurnMs), "ms", 30);
    std::printf("  %-52s %8.1f ms\n", "interface-thread CPU time meanwhile (probe included)",
                interfaceCpu);
    return true;
}

} // namespace

int runPhotoViewBenchmark()
{
    QTemporaryDir site;
    const QString records = joinPath(site.path(), QStringLiteral("records"));
    const QString photos = joinPath(site.path(), QStringLiteral("photos"));
    QString busyShown;
    if (!site.isValid() || !QDir().mkpath(records) || !QDir().mkpath(photos) ||
        !writeSite(records, photos, busyShown)) {
        std::printf("cannot write the photo window's site\n");
        return 1;
    }
    std::printf("photo window benchmark (site in %s)\n", qPrintable(site.path()));
    printFloor(photos);

    QWidget mainWindow;
    malloc_trim(0);
    const qint64 residentBefore = residentBytes();
    const bool peakReset = resetPeakResident();
    bool ok = false;
    {
        PhotoViewWindow window(&mainWindow);
        window.show();
        QApplication::processEvents();
        ok = benchBigPhoto(window, records, photos);
        ok = benchCardDay(window, records, photos, busyShown) && ok;
        // The 5-megapixel picture of the shown swipe in full, and the 200 thumbnails.
        runUntil([] {}, [] { return false; }, 300);
        malloc_trim(0);
        const qint64 held = residentBytes() - residentBefore;
        std::printf("memory:\n  %-52s %8.1f MB (5-megapixel picture: %.1f MB, 200 thumbnails "
                    "of 128 x 96: %.1f MB)\n",
                    "resident growth with the card's day shown", megabytes(held),
                    megabytes(qint64(kCameraPhoto.width()) * kCameraPhoto.height() * 4),
                    megabytes(qint64(kDaySwipes) * 128 * 96 * 4));
        if (peakReset)
            std::printf("  %-52s %8.1f MB\n", "peak resident growth during the benchmark",
                        megabytes(peakResidentBytes() - residentBefore));
    }
    return ok ? 0 : 1;
}

} // namespace card::bench
