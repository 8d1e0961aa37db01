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
#include <fcntl.h>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <unistd.h>
#include <vector>

namespace card::bench {

namespace {

constexpr int kRuns = 3;
const QDate kBenchDay(2007, 5, 3);

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

void printLine(const char* what, const RunTimes& m, qint64 fileSize, double floorMs)
{
    std::printf("%-34s %8.1f ms %8.0f MB/s %6.2fx floor", what, m.best,
                megabytes(fileSize) * 1e3 / m.best, m.best / floorMs);
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
void wholeQuery(CardImageWindow& window, qint64 recordCount, qint64 fileSize, double readMs)
{
    PaintWatch paints(window);
    double bestPainted = 0;
    double bestListed = 0;
    const RunTimes m = timeRuns(
        kRuns,
        [&] {
            QElapsedTimer timer;
            timer.start();
            window.runQuery();
            waitForWindowWork(window);
            const double listed = static_cast<double>(timer.nsecsElapsed()) / 1e6;
            while (!paints.allPainted())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            const double painted = static_cast<double>(timer.nsecsElapsed()) / 1e6;
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
    printLine("click to rows painted (window, 全選)", m, fileSize, readMs);
    const auto* list = window.controls().resultLists[3];
    std::printf("  click to rows listed %.1f ms (%.2fx read), click to rows painted %.1f ms "
                "(%.2fx read)\n  rows listed: %d of %lld; scroll range 0..%d\n",
                bestListed, bestListed / readMs, bestPainted, bestPainted / readMs,
                list->model()->rowCount(), static_cast<long long>(recordCount),
                list->verticalScrollBar()->maximum());
}

// Moving about the filled lists: a scroll and a selection deep in the day, each painted.
void browsing(CardImageWindow& window)
{
    RecordListView* last = window.controls().resultLists[3];
    const int rows = last->model()->rowCount();
    const RunTimes scroll = timeRuns(kRuns, [&] {
        last->verticalScrollBar()->setValue(last->verticalScrollBar()->value() + rows / 3);
        window.repaint();
    });
    const RunTimes select = timeRuns(kRuns, [&] {
        for (RecordListView* list : window.controls().resultLists)
            list->setSelectedRow(rows / 2 + 7);
        window.repaint();
    });
    std::printf("%-34s %8.2f ms\n%-34s %8.2f ms\n", "scroll a third of the day + paint",
                scroll.best, "select a row in all four + paint", select.best);
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
    const RunTimes floor = timeRuns(kRuns, [&] { freshRead(path, filled); });
    std::printf("%-34s %8.1f ms %8.0f MB/s   peak +%6.1f MB\n", "read floor (fresh buffer)",
                floor.best, megabytes(fileSize) * 1e3 / floor.best, megabytes(floor.peakAdded));
    {
        const std::unique_ptr<char[]> bytes = freshRead(path, filled);
        qint64 ends = 0;
        const RunTimes scan =
            timeRuns(kRuns, [&] { ends = lineEnds(bytes.get(), bytes.get() + filled); });
        std::printf("%-34s %8.1f ms %8.0f MB/s   (%lld line ends)\n", "line-end scan (wc -l)",
                    scan.best, megabytes(fileSize) * 1e3 / scan.best, static_cast<long long>(ends));
    }

    RecordCriteria all;
    qint64 rows = 0;
    const RunTimes reader = timeRuns(kRuns, [&] {
        RecordTable table;
        readRecordFile(path, all, table);
        rows = table.rowCount();
    });
    printLine("reader alone (全選)", reader, fileSize, floor.best);
    std::printf("  rows kept: %lld\n", static_cast<long long>(rows));

    {
        QByteArray bytes;
        readFileSnapshot(path, kMaxRecordFileSize, bytes);
        // The table shares the bytes, so the runs after the first measure the parse alone.
        printLine("parse only (bytes in memory, 全選)",
                  timeRuns(kRuns, [&] { rows = readRecords(bytes, all).rowCount(); }), fileSize,
                  floor.best);
        printLine("parse only, one thread (全選)",
                  timeRuns(kRuns,
                           [&] { rows = readRecordsSplitAt(bytes, all, bytes.size()).rowCount(); }),
                  fileSize, floor.best);
        // Processor time does not count the waits of a loaded machine: the calling thread's
        // share is the parse's critical path when both cores are free.
        const RunTimes halves = timeRuns(1, [&] { rows = readRecords(bytes, all).rowCount(); });
        std::printf("  two halves: processor time %.1f ms on the calling thread, %.1f ms in all\n",
                    halves.thread, halves.processor);
    }

    RecordCriteria out;
    out.direction = DirectionChoice::Out;
    printLine("reader alone (出)",
              timeRuns(kRuns,
                       [&] {
                           RecordTable table;
                           readRecordFile(path, out, table);
                       }),
              fileSize, floor.best);

    CardImageWindow window;
    window.state().parameters[kRecordsFolderSlot] = folder.path();
    window.controls().datePicker->setDate(kBenchDay);
    window.controls().directionOptions[2]->setChecked(true);
    window.show();
    QCoreApplication::processEvents();
    wholeQuery(window, recordCount, fileSize, floor.best);
    browsing(window);
    return 0;
}

} // namespace card::bench
