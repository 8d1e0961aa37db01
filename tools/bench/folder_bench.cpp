// Opening a folder of 100,000 entries in the dialog's folder and file lists.
#include "bench_support.h"

#include "core/dialog/file_list_model.h"
#include "core/dialog/folder_list_model.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace card::bench {

namespace {

constexpr int kEntryCount = 100'000;

// Turns the event loop until shown() holds; the listing runs on its own threads.
void waitFor(const std::function<bool()>& shown)
{
    while (!shown())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Longest time one turn of the event loop took while the rest of the folder was read.
qint64 finishScan(const ScannedListModel& model, QElapsedTimer& total)
{
    qint64 longestTurn = 0;
    QElapsedTimer turn;
    while (!model.scanComplete()) {
        turn.start();
        QCoreApplication::processEvents();
        longestTurn = std::max(longestTurn, turn.nsecsElapsed());
    }
    std::printf("  read to the end after %.1f ms, longest event-loop turn %.2f ms\n",
                double(total.nsecsElapsed()) / 1e6, double(longestTurn) / 1e6);
    return longestTurn;
}

void measureFolders(const QString& folder)
{
    FolderListModel model;
    QElapsedTimer total;
    total.start();
    model.open(folder);
    waitFor([&model] { return model.rowCount() > model.openFolderRow() + 1; });
    std::printf("folder list, %d subfolders: first rows after %.2f ms\n", kEntryCount,
                double(total.nsecsElapsed()) / 1e6);
    finishScan(model, total);
}

void measureFiles(const QString& folder)
{
    FileListModel model(kParameterFilePattern);
    QElapsedTimer total;
    total.start();
    model.setFolder(folder);
    waitFor([&model] { return model.rowCount() > 0 || model.scanComplete(); });
    std::printf("file list, %d files of which 10 match: first names after %.2f ms\n", kEntryCount,
                double(total.nsecsElapsed()) / 1e6);
    finishScan(model, total);
    std::printf("  %d files listed\n", model.rowCount());
}

} // namespace

int runFolderBenchmark()
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QString folders = dir.filePath(QStringLiteral("folders"));
    const QString files = dir.filePath(QStringLiteral("files"));
    QDir().mkpath(folders);
    QDir().mkpath(files);
    for (int i = 0; i < kEntryCount; ++i) {
        const QString name =
            QStringLiteral("e%1").arg((i * 7919) % kEntryCount, 6, 10, QChar(u'0'));
        QDir().mkdir(folders + u'/' + name);
        QFile file(files + u'/' + name + (i % (kEntryCount / 10) == 0 ? ".spf" : ".txt"));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
    }
    measureFolders(folders);
    measureFiles(files);
    std::printf("  peak resident memory %.1f MB\n", megabytes(peakResidentBytes()));
    return 0;
}

} // namespace card::bench
