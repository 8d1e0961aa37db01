// card_bench [records [N]] [photos] [photo_view] [folders] [export [N]] [slow_share]
// [history [N]] [reports] [live] [exceptions [N]] [presence] [evidence]: with no argument, every
// benchmark.
#include <QApplication>
#include <QStringList>

#include <cstdio>

namespace card::bench {
int runRecordBenchmark(qint64 recordCount);
int runPhotoBenchmark();
int runPhotoViewBenchmark();
int runFolderBenchmark();
int runExportBenchmark(qint64 recordCount);
int runSlowShareBenchmark();
int runReportBenchmark();
int runHistoryBenchmark(qint64 recordsPerDay);
int runLiveBenchmark();
int runExceptionsBenchmark(qint64 recordsPerDay);
int runPresenceBenchmark();
int runEvidenceBenchmark();
} // namespace card::bench

int main(int argc, char* argv[])
{
    // The whole query is measured through the real main window, on the offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Each figure is seen as soon as it is measured, also through a pipe or a log file.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QStringList args = QApplication::arguments().mid(1);
    const bool all = args.isEmpty();
    int status = 0;
    if (all || args.first() == QLatin1String("records")) {
        const qint64 count = args.size() > 1 ? args.at(1).toLongLong() : 1'000'000;
        status |= card::bench::runRecordBenchmark(count > 0 ? count : 1'000'000);
    }
    if (all || args.contains(QLatin1String("photos")))
        status |= card::bench::runPhotoBenchmark();
    if (all || args.contains(QLatin1String("photo_view")))
        status |= card::bench::runPhotoViewBenchmark();
    if (all || args.contains(QLatin1String("folders")))
        status |= card::bench::runFolderBenchmark();
    const qsizetype exportAt = args.indexOf(QLatin1String("export"));
    if (all || exportAt >= 0) {
        const qint64 count =
            exportAt >= 0 && exportAt + 1 < args.size() ? args.at(exportAt + 1).toLongLong() : 0;
        status |= card::bench::runExportBenchmark(count > 0 ? count : 1'000'000);
    }
    if (all || args.contains(QLatin1String("slow_share")))
        status |= card::bench::runSlowShareBenchmark();
    if (all || args.contains(QLatin1String("reports")))
        status |= card::bench::runReportBenchmark();
    const qsizetype historyAt = args.indexOf(QLatin1String("history"));
    if (all || historyAt >= 0) {
        const qint64 count =
            historyAt >= 0 && historyAt + 1 < args.size() ? args.at(historyAt + 1).toLongLong() : 0;
        status |= card::bench::runHistoryBenchmark(count > 0 ? count : 1'000'000);
    }
    if (all || args.contains(QLatin1String("live")))
        status |= card::bench::runLiveBenchmark();
    const qsizetype exceptionsAt = args.indexOf(QLatin1String("exceptions"));
    if (all || exceptionsAt >= 0) {
        const qint64 count = exceptionsAt >= 0 && exceptionsAt + 1 < args.size()
                                 ? args.at(exceptionsAt + 1).toLongLong()
                                 : 0;
        status |= card::bench::runExceptionsBenchmark(count > 0 ? count : 1'000'000);
    }
    if (all || args.contains(QLatin1String("presence")))
        status |= card::bench::runPresenceBenchmark();
    if (all || args.contains(QLatin1String("evidence")))
        status |= card::bench::runEvidenceBenchmark();
    return status;
}
