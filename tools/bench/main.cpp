// card_bench [records [N]] [photos] [photo_view] [folders]: with no argument, every benchmark.
#include <QApplication>
#include <QStringList>

#include <cstdio>

namespace card::bench {
int runRecordBenchmark(qint64 recordCount);
int runPhotoBenchmark();
int runPhotoViewBenchmark();
int runFolderBenchmark();
} // namespace card::bench

int main(int argc, char* argv[])
{
    // The whole query is measured through the real main window, on the offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
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
    return status;
}
