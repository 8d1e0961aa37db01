// The daily record query on a generated day file: the read floor, the reader alone and the
// whole query through the main window to the rows painted, with their peak memory.
#include "bench_support.h"

#include "core/parameters/parameter_table.h"
#include "core/records/record_file.h"
#include "core/records/record_reader.h"
#include "core/records/record_table_model.h"
#include "core/text/text_decoding.h"
#include "ui/main_window/card_image_window.h"
#include "ui/main_window/record_list_view.h"

#include <QApplication>
#include <QDate>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <malloc.h>
#include <memory>
#include <random>
#include <set>
#include <unistd.h>
#include <vector>

namespace card::bench {

namespace {

constexpr int kRuns = 3;
const QDate kBenchDay(2007, 5, 3);

struct Measure {
    double seconds = 0;
    qint64 peakAdded = -1; // bytes above the resident size before the run; -1 when unknown
};

// Freed memory that the allocator keeps would be reused unseen by the next run: it is handed
// back first, so the baseline holds only live data and every page the run touches counts.
Measure measure(const std::function<void()>& run)
{
    malloc_trim(0);
    const bool peakKnown = resetPeakResident();
    const qint64 before = residentBytes();
    QElapsedTimer timer;
    timer.start();
    run();
    Measure result;
    result.seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    if (peakKnown)
        result.peakAdded = peakResidentBytes() - before;
    return result;
}

// The fastest of kRuns runs, with the largest peak among them; prepare runs before each run,
// outside the measure.
Measure bestOf(
    const std::function<void()>& run, const std::function<void()>& prepare = [] {})
{
    Measure best;
    for (int i = 0; i < kRuns; ++i) {
        prepare();
        const Measure m = measure(run);
        if (i == 0 || m.seconds < best.seconds)
            best.seconds = m.seconds;
        best.peakAdded = std::max(best.peakAdded, m.peakAdded);
    }
    return best;
}

// The file read into a fresh buffer in one piece: the floor of any query. Not zero-filled: the
// read itself is the first touch of every page, as in the reader.
std::unique_ptr<char[]> freshRead(const QString& path, size_t& filled)
{
    filled = 0;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return nullptr;
    const off_t size = ::lseek(fd, 0, SEEK_END);
    ::lseek(fd, 0, SEEK_SET);
    std::unique_ptr<char[]> buffer(new char[static_cast<size_t>(size)]);
    while (filled < static_cast<size_t>(size)) {
        const ssize_t got = ::read(fd, buffer.get() + filled, static_cast<size_t>(size) - filled);
        if (got <= 0)
            break;
        filled += static_cast<size_t>(got);
    }
    ::close(fd);
    return buffer;
}

double cpuSeconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The line ends of bytes in memory, counted as wc -l does.
qint64 lineEnds(const char* p, const char* end)
{
    qint64 count = 0;
    while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p))))) {
        ++count;
        ++p;
    }
    return count;
}

void printLine(const char* what, const Measure& m, qint64 fileSize, double floorSeconds)
{
    const double mb = megabytes(fileSize);
    std::printf("%-34s %8.1f ms %8.0f MB/s %6.2fx floor", what, m.seconds * 1e3, mb / m.seconds,
                m.seconds / floorSeconds);
    if (m.peakAdded >= 0)
        std::printf("   peak +%6.1f MB (%.2fx file)", megabytes(m.peakAdded),
                    static_cast<double>(m.peakAdded) / static_cast<double>(fileSize));
    std::printf("\n");
}

// Counts the paints of the result lists that show rows.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(const CardImageWindow& window)
    {
        for (RecordListView* list : window.controls().resultLists) {
            m_lists.push_back(list);
            list->viewport()->installEventFilter(this);
        }
    }
    void restart() { m_painted.clear(); }
    bool allPainted() const { return m_painted.size() == m_lists.size(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            for (RecordListView* list : m_lists) {
                if (list->viewport() == watched && list->model()->rowCount() > 0)
                    m_painted.insert(list);
            }
        }
        return false;
    }

private:
    std::vector<RecordListView*> m_lists;
    std::set<const RecordListView*> m_painted;
};

// The query as the operator runs it, from the query button's handler: "rows listed" when the
// read off the interface thread has handed its rows to the lists, "rows painted" when the
// event loop has then finished the first paint of all four lists. Each run starts from empty
// lists, so the memory of the previous run is not counted in the baseline.
void wholeQuery(CardImageWindow& window, qint64 recordCount, qint64 fileSize, double readSeconds)
{
    PaintWatch paints(window);
    double bestPainted = 0;
    double bestListed = 0;
    const Measure m = bestOf(
        [&] {
            QElapsedTimer timer;
            timer.start();
            window.runQuery();
            waitForWindowWork(window);
            const double listed = static_cast<double>(timer.nsecsElapsed()) / 1e9;
            while (!paints.allPainted())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            const double painted = static_cast<double>(timer.nsecsElapsed()) / 1e9;
            if (bestPainted == 0 || painted < bestPainted) {
                bestPainted = painted;
                bestListed = listed;
            }
        },
        [&] {
            window.clearResults();
            QCoreApplication::processEvents();
            paints.restart();
        });
    printLine("click to rows painted (window, 全選)", m, fileSize, readSeconds);
    const auto* list = window.controls().resultLists[3];
    std::printf("  click to rows listed %.1f ms (%.2fx read), click to rows painted %.1f ms "
                "(%.2fx read)\n  rows listed: %d of %lld; scroll range 0..%d\n",
                bestListed * 1e3, bestListed / readSeconds, bestPainted * 1e3,
                bestPainted / readSeconds, list->model()->rowCount(),
                static_cast<long long>(recordCount), list->verticalScrollBar()->maximum());
}

// Moving about the filled lists: a scroll and a selection deep in the day, each painted.
void browsing(CardImageWindow& window)
{
    RecordListView* last = window.controls().resultLists[3];
    const int rows = last->model()->rowCount();
    const Measure scroll = bestOf([&] {
        last->verticalScrollBar()->setValue(last->verticalScrollBar()->value() + rows / 3);
        window.repaint();
    });
    const Measure select = bestOf([&] {
        for (RecordListView* list : window.controls().resultLists)
            list->setSelectedRow(rows / 2 + 7);
        window.repaint();
    });
    std::printf("%-34s %8.2f ms\n%-34s %8.2f ms\n", "scroll a third of the day + paint",
                scroll.seconds * 1e3, "select a row in all four + paint", select.seconds * 1e3);
}

} // namespace

int runRecordBenchmark(qint64 recordCount)
{
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::puts("record benchmark: no temporary folder");
        return 1;
    }
    const QString path = recordFilePath(folder.path(), kBenchDay);
    {
        QFile file(path);
        const QByteArray bytes = dayFile(recordCount);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::puts("record benchmark: cannot write the day file");
            return 1;
        }
    }
    const qint64 fileSize = QFile(path).size();
    std::printf("record benchmark: %lld records, %.1f MB, %s\n",
                static_cast<long long>(recordCount), megabytes(fileSize), qPrintable(path));

    size_t filled = 0;
    freshRead(path, filled); // warms the page cache
    const Measure floor = bestOf([&] { freshRead(path, filled); });
    std::printf("%-34s %8.1f ms %8.0f MB/s   peak +%6.1f MB\n", "read floor (fresh buffer)",
                floor.seconds * 1e3, megabytes(fileSize) / floor.seconds,
                megabytes(floor.peakAdded));
    {
        const std::unique_ptr<char[]> bytes = freshRead(path, filled);
        qint64 ends = 0;
        const Measure scan = bestOf([&] { ends = lineEnds(bytes.get(), bytes.get() + filled); });
        std::printf("%-34s %8.1f ms %8.0f MB/s   (%lld line ends)\n", "line-end scan (wc -l)",
                    scan.seconds * 1e3, megabytes(fileSize) / scan.seconds,
                    static_cast<long long>(ends));
    }

    RecordCriteria all;
    qint64 rows = 0;
    const Measure reader = bestOf([&] {
        RecordTable table;
        readRecordFile(path, all, table);
        rows = table.rowCount();
    });
    printLine("reader alone (全選)", reader, fileSize, floor.seconds);
    std::printf("  rows kept: %lld\n", static_cast<long long>(rows));

    {
        QByteArray bytes;
        readFileSnapshot(path, kMaxRecordFileSize, bytes);
        // The table shares the bytes, so the runs after the first measure the parse alone.
        printLine("parse only (bytes in memory, 全選)",
                  bestOf([&] { rows = readRecords(bytes, all).rowCount(); }), fileSize,
                  floor.seconds);
        printLine("parse only, one thread (全選)",
                  bestOf([&] { rows = readRecordsSplitAt(bytes, all, bytes.size()).rowCount(); }),
                  fileSize, floor.seconds);
        // Processor time does not count the waits of a loaded machine: the calling thread's
        // share is the parse's critical path when both cores are free.
        const double threadBefore = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        const double processBefore = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        rows = readRecords(bytes, all).rowCount();
        std::printf("  two halves: processor time %.1f ms on the calling thread, %.1f ms in all\n",
                    (cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - threadBefore) * 1e3,
                    (cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processBefore) * 1e3);
    }

    RecordCriteria out;
    out.direction = DirectionChoice::Out;
    printLine("reader alone (出)", bestOf([&] {
                  RecordTable table;
                  readRecordFile(path, out, table);
              }),
              fileSize, floor.seconds);

    CardImageWindow window;
    window.state().parameters[kRecordsFolderSlot] = folder.path();
    window.controls().datePicker->setDate(kBenchDay);
    window.controls().directionOptions[2]->setChecked(true);
    window.show();
    QCoreApplication::processEvents();
    wholeQuery(window, recordCount, fileSize, floor.seconds);
    browsing(window);
    return 0;
}

} // namespace card::bench
