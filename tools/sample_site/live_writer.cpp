#include "live_writer.h"

#include "code_page.h"
#include "photo_drawing.h"
#include "site_files.h"
#include "site_plan.h"

#include "core/platform/path_join.h"
#include "tool_output.h"

#include <QDateTime>
#include <QFile>
#include <QImageWriter>
#include <QThread>

#include <cstdio>

namespace card {

namespace {

// The photo comes this long after its record, as a camera that saves its picture late.
constexpr int kPhotoDelayMs = 2000;
// The record's second piece comes this long after its first.
constexpr int kSecondPieceDelayMs = 300;
// One swipe in this many has no photo.
constexpr int kWithoutPhotoEvery = 5;

bool appendBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::Append) || file.write(bytes) != bytes.size()) {
        tools::fail(QStringLiteral("cannot append to %1").arg(path));
        return false;
    }
    return true;
}

PlannedSwipe swipeAt(const QTime& time, int number)
{
    PlannedSwipe swipe;
    swipe.time = QTime(time.hour(), time.minute(), time.second());
    swipe.holder = number % int(cardHolders().size());
    swipe.direction = number % 2 == 0 ? Direction::In : Direction::Out;
    swipe.photoKind =
        number % kWithoutPhotoEvery == kWithoutPhotoEvery - 1 ? PhotoKind::None : PhotoKind::Still;
    return swipe;
}

// The record, written in two pieces: the live view must wait for the second.
bool appendRecord(const QString& path, const PlannedSwipe& swipe)
{
    const auto bytes = toCodePage950(recordLine(swipe) + QStringLiteral("\r\n"));
    if (!bytes)
        return false;
    const qsizetype half = bytes->size() / 2;
    if (!appendBytes(path, bytes->first(half)))
        return false;
    QThread::msleep(kSecondPieceDelayMs);
    return appendBytes(path, bytes->sliced(half));
}

bool writePhoto(const LiveWriting& writing, const PhotoPainter& painter, const QDate& day,
                const PlannedSwipe& swipe)
{
    const QString name =
        photoFileName(cardHolders().at(swipe.holder).cardNumber, day, swipe.time, kStillFrame);
    const QString path = joinPath(writing.photoFolder, name);
    QImageWriter writer(path, "jpg");
    if (writer.write(painter.draw(swipe, day, kStillFrame)))
        return true;
    tools::fail(QStringLiteral("cannot write %1: %2").arg(path, writer.errorString()));
    return false;
}

} // namespace

bool writeLiveSwipes(const LiveWriting& writing)
{
    const PhotoPainter painter;
    for (int number = 0; writing.count == 0 || number < writing.count; ++number) {
        const QDateTime now = QDateTime::currentDateTime();
        const PlannedSwipe swipe = swipeAt(now.time(), number);
        const QString path = joinPath(writing.recordsFolder, recordFileName(now.date()));
        if (!appendRecord(path, swipe))
            return false;
        std::printf("%s %s\n", qPrintable(path), qPrintable(recordLine(swipe)));
        std::fflush(stdout);
        QThread::msleep(kPhotoDelayMs);
        if (swipe.photoKind == PhotoKind::Still && !writePhoto(writing, painter, now.date(), swipe))
            return false;
        const int rest = writing.everyMs - kPhotoDelayMs - kSecondPieceDelayMs;
        if (rest > 0 && number + 1 != writing.count)
            QThread::msleep(static_cast<unsigned long>(rest));
    }
    return true;
}

} // namespace card
