// Exporting the listed rows as a CSV file: a day of 1,000,000 listed swipes written to a
// temporary file, with the time and the peak memory added against the file's size.
#include "bench_support.h"

#include "core/records/record_export.h"
#include "core/records/record_reader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <malloc.h>
#include <random>

namespace card::bench {

namespace {

constexpr int kExportRuns = 3;

} // namespace

int runExportBenchmark(qint64 recordCount)
{
    const QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "export benchmark: no temporary folder\n");
        return 1;
    }
    const RecordTable table = readRecords(dayFile(recordCount), RecordCriteria{});
    const QString target = folder.filePath(QStringLiteral("export.csv"));
    std::printf("export benchmark: %lld listed rows to %s\n",
                static_cast<long long>(table.rowCount()), qPrintable(target));

    double best = 0;
    qint64 peakAdded = -1;
    qint64 fileSize = 0;
    for (int run = 0; run < kExportRuns; ++run) {
        QFile::remove(target);
        malloc_trim(0);
        const bool peakKnown = resetPeakResident();
        const qint64 before = residentBytes();
        QElapsedTimer timer;
        timer.start();
        const SafeWriteResult result = exportRecordsCsv(table, QDate(2007, 5, 3), target, {});
        const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        if (!result.ok()) {
            std::fprintf(stderr, "export benchmark: %s: %s\n", qPrintable(result.path),
                         qPrintable(result.reason));
            return 1;
        }
        if (peakKnown)
            peakAdded = std::max(peakAdded, peakResidentBytes() - before);
        best = run == 0 ? seconds : std::min(best, seconds);
        fileSize = QFile(target).size();
    }
    std::printf("%-34s %8.1f ms %8.0f MB/s   file %.1f MB", "CSV export (best of 3)", best * 1e3,
                megabytes(fileSize) / best, megabytes(fileSize));
    if (peakAdded >= 0)
        std::printf("   peak +%.1f MB (%.3fx file)", megabytes(peakAdded),
                    static_cast<double>(peakAdded) / static_cast<double>(fileSize));
    std::printf("\n");
    return 0;
}

} // namespace card::bench
