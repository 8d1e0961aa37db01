// card_bench evidence: evidence packages of a 5-frame sequence of 12-megapixel photos and of a
// 30-swipe case (one still each), with their time and the peak memory they add.
#include "bench_support.h"

#include "core/platform/path_join.h"
#include "core/records/record_file.h"
#include "ui/reports/evidence_package_report.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace card::bench {

namespace {

constexpr QSize kBigPhoto(4000, 3000);
constexpr int kCaseSwipes = 30;
const QDate kDay(2007, 5, 3);

Swipe swipeAt(const QString& folder, int second)
{
    Swipe swipe;
    swipe.time = QTime(8, 0).addSecs(second * 60).toString(QStringLiteral("HH:mm:ss"));
    swipe.card = QStringLiteral("00100037");
    swipe.direction = QStringLiteral("進");
    swipe.day = kDay;
    swipe.recordsFolder = folder;
    swipe.photoFolder = folder;
    swipe.parameterFile = joinPath(folder, QStringLiteral("site.spf"));
    return swipe;
}

QString photoPath(const Swipe& swipe, const QString& suffix)
{
    return joinPath(swipe.photoFolder, swipe.card + QStringLiteral("-070503-") +
                                           QString(swipe.time).remove(u':') + suffix);
}

// Writes the package of swipes and prints its figures.
void measure(const char* what, const QList<PackageSwipe>& swipes, const QString& target)
{
    PackageRequest request;
    request.swipes = swipes;
    request.made = QDateTime::currentDateTime();
    resetPeakResident();
    const qint64 before = residentBytes();
    QElapsedTimer timer;
    timer.start();
    const PackageOutcome outcome = writeEvidencePackage(request, target, evidencePackagePdf);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (outcome.status != PackageStatus::Ok) {
        std::fprintf(stderr, "evidence benchmark: %s: the package failed: %s\n", what,
                     qPrintable(outcome.path + u' ' + outcome.reason));
        return;
    }
    std::printf("evidence %-34s %7.2f s  package %7.1f MB  peak added %7.1f MB\n", what, seconds,
                megabytes(QFileInfo(target).size()), megabytes(peakResidentBytes() - before));
}

} // namespace

int runEvidenceBenchmark()
{
    QTemporaryDir folder;
    const QByteArray photo = cameraJpeg(kBigPhoto);
    QByteArray day;
    QList<PackageSwipe> sequence;
    QList<PackageSwipe> caseSwipes;
    for (int i = 0; i < kCaseSwipes; ++i) {
        const Swipe swipe = swipeAt(folder.path(), i);
        day += swipe.time.toLatin1() + ",\"00100037\",\"A\",\"\xB6\x69\"\r\n";
        if (i == 0) {
            for (int frame = 1; frame <= 5; ++frame)
                writeFile(photoPath(swipe, QStringLiteral("-%1.jpg").arg(frame)), photo);
            sequence.append({swipe, {}, {}});
        } else {
            writeFile(photoPath(swipe, QStringLiteral("-C.jpg")), photo);
        }
        caseSwipes.append({swipe, {}, QStringLiteral("note")});
    }
    writeFile(recordFilePath(folder.path(), kDay), day);
    std::printf("evidence: photos of %dx%d, %.1f MB each\n", kBigPhoto.width(), kBigPhoto.height(),
                megabytes(photo.size()));
    // A package is never written into the site's folders.
    QTemporaryDir packages;
    measure("5-frame sequence of 12 MP photos", sequence, packages.filePath("sequence.zip"));
    measure("case of 30 swipes of 12 MP photos", caseSwipes, packages.filePath("case.zip"));
    return 0;
}

} // namespace card::bench
