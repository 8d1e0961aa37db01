// Exporting the listed rows as a CSV file: a day of 1,000,000 listed swipes written to a
// temporary file, with the time and the peak memory added against the file's size.
#include "bench_support.h"

#include "core/records/record_export.h"
#include "core/records/record_reader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <malloc.h>
#include <random>

namespace card::bench {

namespace {

constexpr int kExportRuns = 3;

QByteArray big5Text(const QString& text)
{
    QStringEncoder encoder("windows-950");
    return encoder.encode(text);
}

// A day of swipes as the card readers write them (code page 950, CR LF), the same shape as the
// record benchmark's day file.
QByteArray swipeDay(qint64 recordCount)
{
    constexpr int kCards = 5000;
    std::mt19937 random(20070503);
    const QString surnames = QStringLiteral("陳林黃張李王吳劉蔡楊");
    const QString given = QStringLiteral("志明怡君淑芬家豪雅婷俊傑美玲");
    std::vector<QByteArray> names;
    for (int i = 0; i < kCards; ++i) {
        QString name = surnames.at(static_cast<qsizetype>(random() % surnames.size()));
        for (int k = 0; k < 2; ++k)
            name += given.at(static_cast<qsizetype>(random() % given.size()));
        names.push_back(big5Text(name));
    }
    const std::array<QByteArray, 2> directions = {big5Text(QStringLiteral("進")),
                                                  big5Text(QStringLiteral("出"))};
    QByteArray bytes;
    bytes.reserve(recordCount * 40);
    char line[64];
    for (qint64 i = 0; i < recordCount; ++i) {
        const qint64 second = i * 86400 / recordCount;
        const int card = static_cast<int>(random() % kCards);
        const int length =
            std::snprintf(line, sizeof line, "%02d:%02d:%02d,\"%08d\",\"", int(second / 3600),
                          int(second / 60 % 60), int(second % 60), 100000 + card * 37);
        bytes.append(line, length);
        bytes += names[static_cast<size_t>(card)];
        bytes += "\",\"";
        bytes += directions[random() % 2];
        bytes += "\"\r\n";
    }
    return bytes;
}

bool resetPeak()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

} // namespace

int runExportBenchmark(qint64 recordCount)
{
    const QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "export benchmark: no temporary folder\n");
        return 1;
    }
    const RecordTable table = readRecords(swipeDay(recordCount), RecordCriteria{});
    const QString target = folder.filePath(QStringLiteral("export.csv"));
    std::printf("export benchmark: %lld listed rows to %s\n",
                static_cast<long long>(table.rowCount()), qPrintable(target));

    double best = 0;
    qint64 peakAdded = -1;
    qint64 fileSize = 0;
    for (int run = 0; run < kExportRuns; ++run) {
        QFile::remove(target);
        malloc_trim(0);
        const bool peakKnown = resetPeak();
        const qint64 before = residentBytes();
        QElapsedTimer timer;
        timer.start();
        const SafeWriteResult result = exportRecordsCsv(table, target, {});
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
