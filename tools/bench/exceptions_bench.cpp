// The exception rules over many day files: the floor (cat of the same files to /dev/null), every
// rule over every day read once on every core, and the search through the exceptions window:
// its first rows, its end and its longest interface-thread turn.
#include "bench_support.h"

#include "core/records/exception_rules.h"
#include "core/records/record_file.h"
#include "ui/exceptions/exceptions_window.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <unistd.h>
#include <vector>

namespace card::bench {

namespace {

constexpr int kRuns = 5;
const QDate kLastDay(2007, 5, 31);

struct Site {
    QTemporaryDir dir;
    QStringList files;
};

// A week of working days, each written once and linked under the name of every seventh day the
// rules read: all warm, as a site read once before would be.
bool makeSite(Site& site, const ExceptionQuery& query, qint64 records)
{
    constexpr int kWeek = 7;
    const QList<QDate> dates = exceptionReadDates(query);
    for (qsizetype k = 0; k < dates.size(); ++k) {
        const QString path = site.dir.filePath(recordFileName(dates[k]));
        const bool written =
            k < kWeek ? writeFile(path, workingDayFile(records, static_cast<unsigned>(k)))
                      : ::link(QFile::encodeName(site.files[k - kWeek]).constData(),
                               QFile::encodeName(path).constData()) == 0;
        if (!written)
            return false;
        site.files.append(path);
    }
    return true;
}

qint64 siteBytes(const Site& site)
{
    qint64 bytes = 0;
    for (const QString& file : site.files)
        bytes += QFileInfo(file).size();
    return bytes;
}

struct WindowRun {
    double firstRows = 0;
    double done = 0;
    double longestTurn = 0;
    double longestBusy = 0; // the same turn's processor time: on a shared machine a turn can
                            // last longer on the clock while the thread waits for a core
    int rows = 0;
    qint64 residentAdded = 0; // how far resident memory rose during the search, most of it rows
};

// The search through the window: a 2 ms timer's late ticks give the interface thread's turns.
WindowRun windowRun(const ExceptionQuery& query)
{
    ExceptionsWindow window(nullptr);
    window.show();
    auto* rows = window.findChild<QTableView*>(QStringLiteral("exceptions_rows"));
    auto* stop = window.findChild<QPushButton*>(QStringLiteral("exceptions_stop"));
    WindowRun run;
    const qint64 residentBefore = residentBytes();
    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    QTimer ticks;
    ticks.setInterval(2);
    double busySince = threadProcessorMs();
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        run.longestTurn = std::max(run.longestTurn, sinceTick.nsecsElapsed() / 1e9);
        sinceTick.restart();
        const double busy = threadProcessorMs();
        run.longestBusy = std::max(run.longestBusy, (busy - busySince) / 1e3);
        busySince = busy;
    });
    clock.start();
    sinceTick.start();
    ticks.start();
    window.search(query);
    while (stop->isEnabled()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (run.firstRows == 0 && rows->model()->rowCount() > 0)
            run.firstRows = clock.nsecsElapsed() / 1e9;
    }
    run.done = clock.nsecsElapsed() / 1e9;
    run.rows = rows->model()->rowCount();
    run.residentAdded = residentBytes() - residentBefore;
    return run;
}

// The two stages on one thread: the day reads alone, then the reads with the rules after them.
void printStages(const ExceptionQuery& query, qsizetype dayFiles)
{
    const QList<QDate> dates = exceptionReadDates(query);
    const RunTimes reads = timeRuns(kRuns, [&] {
        SwipeDay day;
        SwipeSortRoom room;
        for (const QDate& date : dates)
            readSwipeDay(query.recordsFolder, date, day, room);
    });
    const RunTimes both = timeRuns(kRuns, [&] {
        ExceptionFinder finder(query);
        const auto days = std::make_shared<SwipeDayPool>(2);
        QList<ExceptionHit> hits;
        for (const QDate& date : dates) {
            hits.clear();
            finder.addDay(days->read(query.recordsFolder, date), hits);
        }
    });
    std::printf("    one thread: day reads %.1f ms (%.1f ms a day), rules after them %.1f ms\n",
                reads.best, reads.best / static_cast<double>(dayFiles), both.best - reads.best);
}

void printRange(qint64 records, int days)
{
    ExceptionQuery query;
    query.end = kLastDay;
    query.dayCount = days;
    query.now = QDateTime(kLastDay.addDays(2), QTime(12, 0));
    Site site;
    query.recordsFolder = site.dir.path();
    if (!makeSite(site, query, records)) {
        std::fprintf(stderr, "exceptions: cannot write the day files\n");
        return;
    }
    const RunTimes floor = timeRuns(kRuns, [&site] {
        QProcess cat;
        cat.setStandardOutputFile(QProcess::nullDevice());
        cat.start(QStringLiteral("cat"), site.files);
        cat.waitForFinished(-1);
    });
    qsizetype hits = 0;
    const RunTimes rules = timeRuns(kRuns, [&] {
        hits = 0;
        findExceptions(query, [&hits](const QList<ExceptionHit>& found, int, int) {
            hits += found.size();
            return true;
        });
    });
    std::printf("exceptions: %d days x %lld records of working days (%lld day files read, %.0f "
                "MB), %d cores; best and median of %d runs\n",
                days, static_cast<long long>(records), static_cast<long long>(site.files.size()),
                megabytes(siteBytes(site)), QThread::idealThreadCount(), kRuns);
    std::printf("  floor, cat of the files to /dev/null: %8.1f ms  %8.1f ms\n", floor.best,
                floor.median);
    std::printf("  every rule, every day read once:      %8.1f ms  %8.1f ms  %.2f x floor  (%lld "
                "hits)\n",
                rules.best, rules.median, rules.best / floor.best, static_cast<long long>(hits));
    std::printf("    processor %.1f ms, peak added %.0f MB\n", rules.processor,
                megabytes(rules.peakAdded));
    printStages(query, site.files.size());
    const WindowRun run = windowRun(query);
    std::printf("  window: first rows %.1f ms, all days %.1f ms, longest interface turn %.1f ms "
                "(busy %.1f ms of it), %d rows, resident memory up %.0f MB\n",
                run.firstRows * 1000, run.done * 1000, run.longestTurn * 1000,
                run.longestBusy * 1000, run.rows, megabytes(run.residentAdded));
}

} // namespace

int runExceptionsBenchmark(qint64 recordsPerDay)
{
    printRange(60'000, 365);
    printRange(recordsPerDay, 30);
    return 0;
}

} // namespace card::bench
