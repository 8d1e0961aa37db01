// card_bench photos [--keep-photo-folder]: the time from a press on a result row to the picture
// set in the photo box, in a photo folder of a million files and in an empty one.
#include "bench_support.h"

#include "core/photos/photo_find.h"
#include "core/platform/file_exists.h"
#include "core/platform/path_join.h"
#include "core/records/record_reader.h"
#include "core/records/record_table_model.h"
#include "ui/main_window/card_image_window.h"
#include "ui/main_window/record_list_view.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <vector>

namespace card::bench {

namespace {

constexpr int kFillerCount = 1'000'000;
constexpr int kRounds = 15;
constexpr int kLookupRepeats = 20'000;
constexpr int kPhotoWidth = 2592;
constexpr int kPhotoHeight = 1944;
const char* const kKeepFlag = "--keep-photo-folder";

// The three swipes of the benchmark: a still photo, a sequence of five frames, no photo.
const QByteArray kRecords = "\"8:00:00\",\"00000001\",\"王小明\",\"進\"\r\n"
                            "\"8:01:00\",\"00000002\",\"李大華\",\"出\"\r\n"
                            "\"8:02:00\",\"00000003\",\"陳美玲\",\"進\"\r\n";
const QString kDate = QStringLiteral("070515");

struct Case {
    const char* name;
    int row;
    const char* expectedType; // the photo type shown after the press, as a check that the case ran
};

const Case kCases[] = {
    {"still photo", 0, "刷卡照相"}, {"sequence", 1, "動態播放"}, {"no photo", 2, ""}};

QString bigFolderPath()
{
    return QDir::temp().filePath(QStringLiteral("card_bench_photo_folder_1m"));
}

// Other swipes' photos, on another day, so that none of them is ever looked up.
QString fillerName(int index)
{
    return QStringLiteral("%1-070514-120000-C.jpg").arg(index, 8, 10, QLatin1Char('0'));
}

QStringList photoNames()
{
    QStringList names = {QStringLiteral("00000001-070515-080000-C.jpg")};
    for (int frame = 1; frame <= 5; ++frame)
        names.append(QStringLiteral("00000002-070515-080100-%1.jpg").arg(frame));
    return names;
}

bool writePhotos(const QString& folder, const QByteArray& jpeg)
{
    for (const QString& name : photoNames()) {
        QFile file(joinPath(folder, name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(jpeg) != jpeg.size())
            return false;
    }
    return true;
}

bool createEmptyFile(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

// Creates the million files once; a folder left by an earlier run is used again.
bool fillBigFolder(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return false;
    if (fileExists(joinPath(folder, fillerName(kFillerCount - 1)))) {
        std::printf("using the existing folder %s\n", qPrintable(folder));
        return true;
    }
    std::printf("creating %d files in %s ...\n", kFillerCount, qPrintable(folder));
    std::fflush(stdout);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kFillerCount; ++i) {
        if (!createEmptyFile(QFile::encodeName(joinPath(folder, fillerName(i)))))
            return false;
    }
    std::printf("  created in %.1f s\n", static_cast<double>(timer.elapsed()) / 1000.0);
    return true;
}

void removeBigFolder(const QString& folder)
{
    for (int i = 0; i < kFillerCount; ++i)
        ::unlink(QFile::encodeName(joinPath(folder, fillerName(i))).constData());
    for (const QString& name : photoNames())
        QFile::remove(joinPath(folder, name));
    QDir().rmdir(folder);
}

void pressRow(RecordListView* list, int row, QEvent::Type type)
{
    const QPointF centre =
        list->visualRect(list->model()->index(row, list->modelColumn())).center();
    QMouseEvent event(type, centre, list->viewport()->mapToGlobal(centre), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &event);
}

struct Figures {
    double median = 0;
    double min = 0;
    double max = 0;
};

Figures figuresOf(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples.front(), samples.back()};
}

void printFigures(const char* what, const Figures& f)
{
    std::printf("  %-34s median %7.2f ms   min %7.2f ms   max %7.2f ms\n", what, f.median, f.min,
                f.max);
}

// Press to picture for each case, the cases taking turns so that every press moves the selection.
bool measurePresses(CardImageWindow& window)
{
    RecordListView* list = window.controls().resultLists[0];
    std::vector<std::vector<double>> samples(std::size(kCases));
    std::vector<double> ticks;
    QElapsedTimer timer;
    for (int round = 0; round < kRounds; ++round) {
        for (size_t i = 0; i < std::size(kCases); ++i) {
            timer.start();
            pressRow(list, kCases[i].row, QEvent::MouseButtonPress);
            waitForWindowWork(window);
            samples[i].push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            pressRow(list, kCases[i].row, QEvent::MouseButtonRelease);
            if (window.controls().detailValues[3]->text() !=
                QString::fromUtf8(kCases[i].expectedType)) {
                std::printf("  %s: the press did not show the expected outcome\n", kCases[i].name);
                return false;
            }
            if (kCases[i].row == 1) {
                timer.start();
                window.stepPlayback();
                waitForWindowWork(window);
                ticks.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            }
        }
    }
    for (size_t i = 0; i < std::size(kCases); ++i)
        printFigures(
            qPrintable(QStringLiteral("press to picture, %1").arg(QLatin1String(kCases[i].name))),
            figuresOf(samples[i]));
    printFigures("playback tick (next frame)", figuresOf(ticks));
    return true;
}

// The lookup alone: six existence tests for a swipe without photo.
void measureLookup(const QString& folder)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kLookupRepeats; ++i)
        findPhoto(folder, QStringLiteral("00000003"), kDate, QStringLiteral("080200"), fileExists);
    std::printf("  %-34s %7.2f us per lookup (6 existence tests)\n", "findPhoto, no photo",
                static_cast<double>(timer.nsecsElapsed()) / 1e3 / kLookupRepeats);
}

RecordTable benchRecords()
{
    return readRecords(kRecords, RecordCriteria{});
}

bool benchFolder(const char* title, const QString& folder, const QByteArray& jpeg)
{
    if (!writePhotos(folder, jpeg)) {
        std::printf("cannot write the photos into %s\n", qPrintable(folder));
        return false;
    }
    CardImageWindow window;
    window.records().setTable(benchRecords());
    window.state().currentRecord.day = kDate;
    window.state().parameters[kPhotoFolderSlot] = folder;
    window.show();
    QApplication::processEvents();
    const QSize box = window.controls().photoBox->contentsRect().size();
    std::printf("%s: %s (photo box %d x %d)\n", title, qPrintable(folder), box.width(),
                box.height());
    const bool measured = measurePresses(window);
    measureLookup(folder);
    return measured;
}

} // namespace

int runPhotoBenchmark()
{
    const bool keep = QCoreApplication::arguments().contains(QLatin1String(kKeepFlag));
    const QByteArray jpeg = cameraJpeg(QSize(kPhotoWidth, kPhotoHeight));
    std::printf("photo benchmark: %d x %d JPEG of %.2f MB, %d presses per case\n", kPhotoWidth,
                kPhotoHeight, megabytes(jpeg.size()), kRounds);

    QTemporaryDir emptyFolder;
    const QString bigFolder = bigFolderPath();
    if (!emptyFolder.isValid() || !fillBigFolder(bigFolder)) {
        std::printf("cannot prepare the photo folders\n");
        return 1;
    }
    bool ok = benchFolder("photo folder of 1,000,000 files", bigFolder, jpeg);
    ok = benchFolder("photo folder with only these photos", emptyFolder.path(), jpeg) && ok;
    if (keep) {
        std::printf("kept %s for the next run\n", qPrintable(bigFolder));
    } else {
        removeBigFolder(bigFolder);
        std::printf("removed %s (%s keeps it)\n", qPrintable(bigFolder), kKeepFlag);
    }
    return ok ? 0 : 1;
}

} // namespace card::bench
