// card_bench reports: the three reports written as PDF files. The evidence sheet of a swipe with
// a 12-megapixel photo, the list of a 10,000-row day, and a 30-day card history with 600 small
// pictures of 5-megapixel photos; each with its peak memory, and the longest interface-thread
// turn while the history is made off the interface thread as the windows make it.
#include "bench_support.h"

#include "core/platform/path_join.h"
#include "core/platform/site_io_task.h"
#include "core/records/record_file.h"
#include "core/records/record_reader.h"
#include "ui/common/swipe_pictures/swipe_picture_work.h"
#include "ui/reports/day_list_report.h"
#include "ui/reports/evidence_report.h"
#include "ui/reports/history_report.h"
#include "ui/reports/report_output.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <malloc.h>
#include <unistd.h>

namespace card::bench {

namespace {

constexpr QSize kBigPhoto(4000, 3000);
constexpr QSize kCameraPhoto(2592, 1944);
constexpr int kListRows = 10'000;
constexpr int kHistoryDays = 30;
constexpr int kSwipesPerDay = 20;
constexpr int kRuns = 3;
const QDate kDay(2007, 5, 3);
const QString kCard = QStringLiteral("00100037");

struct Figures {
    double seconds = -1;   // no figures when negative
    double cpuSeconds = 0; // of every thread, in the fastest run
    qint64 peakAdded = -1;
    qint64 fileSize = 0;
    int pages = 0;
};

Figures failed(const char* what)
{
    std::fprintf(stderr, "report benchmark: %s could not be written\n", what);
    return {};
}

QString timeText(int seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QChar(u'0'))
        .arg(seconds / 60 % 60, 2, 10, QChar(u'0'))
        .arg(seconds % 60, 2, 10, QChar(u'0'));
}

QString photoName(QDate day, const QString& time)
{
    return QStringLiteral("%1-%2-%3-C.jpg").arg(kCard, dayDigits(day), QString(time).remove(u':'));
}

// Makes the report and writes it, best of kRuns, with the peak memory of the worst run.
Figures measure(const std::function<ReportPages()>& make, const QString& target)
{
    Figures figures;
    for (int run = 0; run < kRuns; ++run) {
        QFile::remove(target);
        malloc_trim(0);
        const bool peakKnown = resetPeakResident();
        const qint64 before = residentBytes();
        QElapsedTimer timer;
        timer.start();
        const std::clock_t cpuBefore = std::clock();
        const ReportPages report = make();
        const SafeWriteResult result = writeReportPdf(report, target, {});
        const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        if (!result.ok())
            return failed("the report");
        if (peakKnown)
            figures.peakAdded = std::max(figures.peakAdded, peakResidentBytes() - before);
        if (run == 0 || seconds < figures.seconds)
            figures.cpuSeconds = static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
        figures.seconds = run == 0 ? seconds : std::min(figures.seconds, seconds);
        figures.fileSize = QFile(target).size();
        figures.pages = report.a4PageCount();
    }
    return figures;
}

void print(const char* what, const Figures& figures, double targetSeconds)
{
    if (figures.seconds < 0)
        return;
    std::printf("  %-36s %7.0f ms (target %5.0f ms, CPU %6.0f ms)  %4d pages  %5.1f MB", what,
                figures.seconds * 1e3, targetSeconds * 1e3, figures.cpuSeconds * 1e3, figures.pages,
                megabytes(figures.fileSize));
    if (figures.peakAdded >= 0)
        std::printf("  peak +%.0f MB", megabytes(figures.peakAdded));
    std::printf("\n");
}

// The swipe with a 12-megapixel photo, on a day with nine more swipes of its card.
Figures evidenceSheet(const QString& records, const QString& photos, const QString& target)
{
    QString day;
    for (int i = 0; i < 10; ++i)
        day += QStringLiteral("%1,\"%2\",\"陳怡君\",\"%3\"\r\n")
                   .arg(timeText(8 * 3600 + i * 600), kCard,
                        i % 2 == 0 ? QStringLiteral("進") : QStringLiteral("出"));
    if (!writeFile(joinPath(records, recordFileName(kDay)), day.toUtf8()) ||
        !writeFile(joinPath(photos, photoName(kDay, timeText(8 * 3600))), cameraJpeg(kBigPhoto)))
        return failed("the evidence sheet's site");
    const Swipe swipe{timeText(8 * 3600),
                      kCard,
                      QStringLiteral("陳怡君"),
                      QStringLiteral("進"),
                      kDay,
                      records,
                      photos,
                      QStringLiteral("site.spf")};
    return measure(
        [swipe] {
            return evidenceReport({swipe, QDateTime::currentDateTime()});
        },
        target);
}

Figures dayList(const QString& target)
{
    auto table = std::make_shared<const RecordTable>(readRecords(dayFile(kListRows), {}));
    const DayListRequest request{
        table, kDay, {}, QStringLiteral("site.spf"), QStringLiteral("records")};
    return measure([request] { return dayListReport(request); }, target);
}

// 30 days of 20 swipes each, every one with a photo: hard links to one 5-megapixel JPEG, so
// the decoding costs as for 600 photos and the folder as for one.
HistoryQuery writeHistorySite(const QString& records, const QString& photos)
{
    const QString camera = joinPath(photos, QStringLiteral("camera.jpg"));
    if (!writeFile(camera, cameraJpeg(kCameraPhoto)))
        return {};
    for (int d = 0; d < kHistoryDays; ++d) {
        const QDate date = kDay.addDays(-d);
        QString day;
        for (int i = 0; i < kSwipesPerDay; ++i) {
            const QString time = timeText(7 * 3600 + i * 1800);
            day += QStringLiteral("%1,\"%2\",\"陳怡君\",\"%3\"\r\n")
                       .arg(time, kCard, i % 2 == 0 ? QStringLiteral("進") : QStringLiteral("出"));
            const QString photo = joinPath(photos, photoName(date, time));
            QFile::remove(photo);
            if (::link(QFile::encodeName(camera).constData(), QFile::encodeName(photo).constData()))
                return {};
        }
        if (!writeFile(joinPath(records, recordFileName(date)), day.toUtf8()))
            return {};
    }
    HistoryQuery query;
    query.text = kCard;
    query.end = kDay;
    query.dayCount = kHistoryDays;
    query.recordsFolder = records;
    query.photoFolder = photos;
    query.parameterFile = QStringLiteral("site.spf");
    return query;
}

ReportPages historyWithPictures(const HistoryQuery& query)
{
    return historyReport(query, readCardHistory(query), [](const Swipe& swipe) {
        return swipeThumbnail(swipe, kHistoryPictureSize);
    });
}

// The longest gap between the checks of a 1 ms timer while the history is made and written on
// the site pool, as the windows do.
double longestTurnWhileMade(const HistoryQuery& query, const QString& target)
{
    QEventLoop loop;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    QElapsedTimer clock;
    qint64 last = 0;
    double longest = 0;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, static_cast<double>(now - last) / 1e6);
        last = now;
    });
    probe.start();
    clock.start();
    runOnSiteIo(
        &loop,
        [query, target] { return writeReportPdf(historyWithPictures(query), target, {}).ok(); },
        [&loop](bool) { loop.quit(); });
    loop.exec();
    return longest;
}

// The machine's load over the last minute: on a shared machine the wall-clock figures follow it.
QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readLine()).section(u' ', 0, 0)
                                          : QStringLiteral("unknown");
}

} // namespace

int runReportBenchmark()
{
    const QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "report benchmark: no temporary folder\n");
        return 1;
    }
    const QString records = folder.filePath(QStringLiteral("records"));
    const QString photos = folder.filePath(QStringLiteral("photos"));
    const QString target = folder.filePath(QStringLiteral("report.pdf"));
    if (!QDir().mkpath(records) || !QDir().mkpath(photos)) {
        std::fprintf(stderr, "report benchmark: no site folders\n");
        return 1;
    }
    std::printf("report benchmark: PDF files made and written, best of %d runs; load average "
                "%s\n",
                kRuns, qPrintable(loadAverage()));
    print("evidence sheet, 12-megapixel photo", evidenceSheet(records, photos, target), 1.0);
    print("day list, 10,000 rows", dayList(target), 2.0);
    const HistoryQuery query = writeHistorySite(records, photos);
    if (query.text.isEmpty()) {
        std::fprintf(stderr, "report benchmark: the history's site could not be written\n");
        return 1;
    }
    print("30-day history, 600 pictures",
          measure([query] { return historyWithPictures(query); }, target), 10.0);
    std::printf("  %-44s %8.1f ms\n", "longest interface-thread turn meanwhile",
                longestTurnWhileMade(query, target));
    return 0;
}

} // namespace card::bench
