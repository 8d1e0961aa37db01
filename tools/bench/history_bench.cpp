// The card history over many day files: the floor (cat of the same files to /dev/null), the
// per-day read spread over every core for a card and for a name, and the whole search through
// the history window: its first day's row, its end, its longest interface-thread turn and the
// peak memory it adds; and a surname matching more cards than the window shows, stopped at the
// limit: the days it read, the peak memory and the memory still held after the stop.
#include "bench_support.h"

#include "core/records/card_history.h"
#include "core/records/record_file.h"
#include "core/records/record_table.h"
#include "core/text/text_decoding.h"
#include "ui/history/card_history_window.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <malloc.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace card::bench {

namespace {

constexpr int kRuns = 3;
// Runs of the search through the window, and of cat beside it: the machine may be shared, so the
// fastest and the middle run are both printed.
constexpr int kWindowRuns = 7;
const QDate kLastDay(2007, 5, 31);

struct Site {
    QTemporaryDir dir;
    QStringList files;
    QString card;
    QString name;
};

// One day file, linked under every day's name: the same bytes are read for each day, all warm.
bool makeSite(Site& site, qint64 records, int days)
{
    const QByteArray bytes = dayFile(records);
    const QString first = site.dir.filePath(recordFileName(kLastDay));
    if (!writeFile(first, bytes))
        return false;
    site.files = {first};
    for (int back = 1; back < days; ++back) {
        const QString path = site.dir.filePath(recordFileName(kLastDay.addDays(-back)));
        if (::link(QFile::encodeName(first).constData(), QFile::encodeName(path).constData()) != 0)
            return false;
        site.files.append(path);
    }
    // The card and name of the file's first record, which swipes about as often as any other.
    RecordTable table(bytes);
    table.appendRecordAt(0);
    site.card = table.text(0, CardField);
    site.name = table.text(0, NameField);
    return true;
}

RunTimes catTiming(const QStringList& files)
{
    return timeRuns(kRuns, [&files] {
        QProcess cat;
        cat.setStandardOutputFile(QProcess::nullDevice());
        cat.start(QStringLiteral("cat"), files);
        cat.waitForFinished(-1);
    });
}

HistoryQuery queryOf(const Site& site, HistoryField field, int days)
{
    HistoryQuery query;
    query.field = field;
    query.text = field == HistoryField::Card ? site.card : site.name;
    query.end = kLastDay;
    query.dayCount = days;
    query.recordsFolder = site.dir.path();
    return query;
}

// The per-day read over every day of the range, as many days at a time as there are cores.
RunTimes scanTiming(const HistoryQuery& query, qsizetype& swipes)
{
    const QList<QDate> dates = historyDates(query);
    return timeRuns(kRuns, [&] {
        std::atomic<qsizetype> next = 0;
        std::atomic<qsizetype> found = 0;
        std::vector<std::thread> workers;
        for (int k = 0; k < QThread::idealThreadCount(); ++k) {
            workers.emplace_back([&] {
                for (qsizetype at = next++; at < dates.size(); at = next++) {
                    for (const HistoryDay& day : readHistoryDay(query, dates[at]))
                        found += day.swipes.size();
                }
            });
        }
        for (std::thread& worker : workers)
            worker.join();
        swipes = found;
    });
}

struct WindowRun {
    double firstRow = 0;
    double done = 0;
    double processor = 0; // every thread's, until done
    double longestTurn = 0;
    qint64 peakAdded = -1;
    qint64 keptAdded = 0; // once the search has ended
    int daysRead = 0;
};

// The search through the window: a 2 ms timer's late ticks give the interface thread's turns.
WindowRun windowRun(const HistoryQuery& query)
{
    CardHistoryWindow window(nullptr);
    window.show();
    auto* days = window.findChild<QTableView*>(QStringLiteral("card_history_days"));
    auto* progress = window.findChild<QProgressBar*>(QStringLiteral("card_history_progress"));
    auto* stop = window.findChild<QPushButton*>(QStringLiteral("card_history_stop"));
    malloc_trim(0);
    const bool peakKnown = resetPeakResident();
    const qint64 before = residentBytes();
    WindowRun run;
    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    QTimer ticks;
    ticks.setInterval(2);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        run.longestTurn = std::max(run.longestTurn, sinceTick.nsecsElapsed() / 1e9);
        sinceTick.restart();
    });
    const double processorBefore = processorMs();
    clock.start();
    sinceTick.start();
    ticks.start();
    window.search(query);
    while (stop->isEnabled()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (run.firstRow == 0 && days->model()->rowCount() > 0)
            run.firstRow = clock.nsecsElapsed() / 1e9;
    }
    run.done = clock.nsecsElapsed() / 1e9;
    run.processor = (processorMs() - processorBefore) / 1e3;
    if (peakKnown)
        run.peakAdded = peakResidentBytes() - before;
    // Reads still on their way when a search stops end on their own, their results dropped.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 2000) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
    run.keptAdded = residentBytes() - before;
    run.daysRead = progress->value();
    return run;
}

struct Spread {
    double fastest = 0;
    double median = 0;
};

Spread spreadOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return {values.front(), values[values.size() / 2]};
}

// From the search asked to the last day shown, against cat of the same files (best of three)
// beside each run.
void printWindowCardSearch(const Site& site, int days)
{
    std::vector<double> firstRows;
    std::vector<double> allDays;
    std::vector<double> cats;
    std::vector<double> processor; // every thread's, a steadier figure on a shared machine
    double longestTurn = 0;
    qint64 peakAdded = -1;
    for (int k = 0; k < kWindowRuns; ++k) {
        const WindowRun run = windowRun(queryOf(site, HistoryField::Card, days));
        processor.push_back(run.processor);
        firstRows.push_back(run.firstRow);
        allDays.push_back(run.done);
        longestTurn = std::max(longestTurn, run.longestTurn);
        peakAdded = std::max(peakAdded, run.peakAdded);
        cats.push_back(catTiming(site.files).best / 1e3);
    }
    const Spread first = spreadOf(firstRows);
    const Spread all = spreadOf(allDays);
    const Spread cat = spreadOf(cats);
    const Spread work = spreadOf(processor);
    std::printf("  window, card search over %d runs (fastest / median): first row %.1f / %.1f ms, "
                "all days shown %.1f / %.1f ms = %.2f / %.2f x cat (%.1f / %.1f ms); longest "
                "interface turn %.1f ms, peak memory added %.1f MB; processor %.1f / %.1f ms\n",
                kWindowRuns, first.fastest * 1000, first.median * 1000, all.fastest * 1000,
                all.median * 1000, all.fastest / cat.fastest, all.median / cat.median,
                cat.fastest * 1000, cat.median * 1000, longestTurn * 1000, megabytes(peakAdded),
                work.fastest * 1000, work.median * 1000);
}

void printRange(const Site& site, qint64 records, int days)
{
    const RunTimes floor = catTiming(site.files);
    std::printf("history: %d days x %lld records (%.0f MB), card %s, %d cores\n", days,
                static_cast<long long>(records),
                megabytes(QFileInfo(site.files.first()).size()) * days, qPrintable(site.card),
                QThread::idealThreadCount());
    std::printf("  floor, cat of the files to /dev/null:   %8.1f ms  (processor %.1f ms)\n",
                floor.best, floor.processor);
    for (const HistoryField field : {HistoryField::Card, HistoryField::Name}) {
        const HistoryQuery query = queryOf(site, field, days);
        qsizetype swipes = 0;
        const RunTimes scan = scanTiming(query, swipes);
        std::printf("  %s search, per-day reads on every core: %8.1f ms  %.2f x floor  "
                    "(processor %.1f ms, %.2f x floor's; %lld swipes)\n",
                    field == HistoryField::Card ? "card" : "name", scan.best,
                    scan.best / floor.best, scan.processor, scan.processor / floor.processor,
                    static_cast<long long>(swipes));
    }
    printWindowCardSearch(site, days);
    HistoryQuery surname = queryOf(site, HistoryField::Name, days);
    surname.text = surname.text.left(1);
    const WindowRun many = windowRun(surname);
    std::printf("  window, surname matching more than %d cards: stopped after %.1f ms and %d "
                "of %d days, peak memory added %.1f MB, %.1f MB still held 2 s after\n",
                kHistoryCardLimit, many.done * 1000, many.daysRead, days, megabytes(many.peakAdded),
                megabytes(many.keptAdded));
}

} // namespace

int runHistoryBenchmark(qint64 recordsPerDay)
{
    for (const auto& [records, days] :
         {std::pair<qint64, int>{recordsPerDay, 30}, std::pair<qint64, int>{60'000, 365}}) {
        Site site;
        if (!makeSite(site, records, days)) {
            std::fprintf(stderr, "history: cannot write the day files\n");
            return 1;
        }
        printRange(site, records, days);
    }
    return 0;
}

} // namespace card::bench
