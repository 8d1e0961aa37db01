#include "bench_support.h"

#include "core/text/text_decoding.h"
#include "ui/main_window/card_image_window.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <limits>
#include <malloc.h>
#include <random>
#include <sys/resource.h>
#include <vector>

namespace card::bench {

namespace {

qint64 statusField(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLongLong() * 1024;
    }
    return -1;
}

} // namespace

qint64 peakResidentBytes()
{
    return statusField("VmHWM");
}

qint64 residentBytes()
{
    return statusField("VmRSS");
}

bool resetPeakResident()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

double megabytes(qint64 bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

double processorMs()
{
    rusage self{};
    rusage children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    const auto ms = [](const timeval& t) {
        return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
    };
    return ms(self.ru_utime) + ms(self.ru_stime) + ms(children.ru_utime) + ms(children.ru_stime);
}

double threadProcessorMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

RunTimes timeRuns(int runs, const std::function<void()>& work, const std::function<void()>& prepare)
{
    RunTimes times;
    times.processor = times.thread = std::numeric_limits<double>::max();
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        prepare();
        malloc_trim(0);
        const bool peakKnown = resetPeakResident();
        const qint64 residentBefore = residentBytes();
        const double processorBefore = processorMs();
        const double threadBefore = threadProcessorMs();
        QElapsedTimer timer;
        timer.start();
        work();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        times.thread = std::min(times.thread, threadProcessorMs() - threadBefore);
        times.processor = std::min(times.processor, processorMs() - processorBefore);
        if (peakKnown)
            times.peakAdded = std::max(times.peakAdded, peakResidentBytes() - residentBefore);
    }
    std::sort(ms.begin(), ms.end());
    times.best = ms.front();
    times.median = ms[ms.size() / 2];
    return times;
}

QByteArray cameraJpeg(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator noise(7);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int grain = static_cast<int>(noise.bounded(24));
            line[x] =
                qRgb((x * 255 / size.width() + grain) % 256,
                     (y * 255 / size.height() + grain) % 256, ((x + y) / 24 % 2) * 120 + grain);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

void waitForWindowWork(const CardImageWindow& window)
{
    while (window.isWorking())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

namespace {

QByteArray big5(const QString& text)
{
    return card::encodeCodePage950(text).value();
}

// Names of two or three characters from common surnames and given-name characters.
std::vector<QByteArray> holderNames(std::mt19937& random, int count)
{
    const QString surnames = QStringLiteral("陳林黃張李王吳劉蔡楊許鄭謝郭洪曾邱廖賴徐");
    const QString given = QStringLiteral("志明怡君淑芬家豪雅婷俊傑美玲建宏宗翰欣怡冠宇佳穎承恩");
    std::vector<QByteArray> names;
    for (int i = 0; i < count; ++i) {
        QString name = surnames.at(static_cast<qsizetype>(random() % surnames.size()));
        const int givenLength = random() % 4 == 0 ? 1 : 2;
        for (int k = 0; k < givenLength; ++k)
            name += given.at(static_cast<qsizetype>(random() % given.size()));
        names.push_back(big5(name));
    }
    return names;
}

// A day of swipes in time order: 08:15:30,"00012345","陳怡君","進" and CR LF, as card readers
// write them, about 35 bytes a record.
} // namespace

namespace {

struct TimedSwipe {
    int second = 0;
    int card = 0;
    bool in = true;
};

// One card's working day: in in the morning, out and in again around lunch, out in the
// evening; now and then (one card in 25, about one swipe in a hundred) something odd.
void addWorkingDay(std::mt19937& random, int card, std::vector<TimedSwipe>& swipes)
{
    const auto within = [&random](int from, int span) {
        return from + static_cast<int>(random() % static_cast<unsigned>(span));
    };
    const int arrival = within(7 * 3600 + 1800, 5400);
    const int lunch = within(12 * 3600, 1800);
    const int back = lunch + within(1200, 2400);
    const int leaving = within(17 * 3600, 7200);
    swipes.push_back({arrival, card, true});
    swipes.push_back({lunch, card, false});
    swipes.push_back({back, card, true});
    if (random() % 25 != 0) {
        swipes.push_back({leaving, card, false});
        return;
    }
    switch (random() % 4) {
    case 0: // forgot to swipe out
        break;
    case 1: // swiped in twice
        swipes.push_back({arrival + within(60, 600), card, true});
        swipes.push_back({leaving, card, false});
        break;
    case 2: // the reader did not answer at once
        swipes.push_back({arrival + within(5, 20), card, true});
        swipes.push_back({arrival + within(25, 30), card, true});
        swipes.push_back({leaving, card, false});
        break;
    default: // came back at night
        swipes.push_back({leaving, card, false});
        swipes.push_back({within(22 * 3600 + 600, 3000), card, true});
        swipes.push_back({within(23 * 3600 + 1200, 600), card, false});
        break;
    }
}

} // namespace

QByteArray workingDayFile(qint64 recordCount, unsigned variant)
{
    const auto cards = static_cast<int>(std::max<qint64>(recordCount / 4, 1));
    std::mt19937 random(20070503 + variant);
    std::mt19937 naming(20070503);
    const std::vector<QByteArray> names = holderNames(naming, std::min(cards, 5000));
    std::vector<TimedSwipe> swipes;
    swipes.reserve(static_cast<size_t>(recordCount) + static_cast<size_t>(cards));
    for (int card = 0; card < cards; ++card)
        addWorkingDay(random, card, swipes);
    std::stable_sort(swipes.begin(), swipes.end(),
                     [](const TimedSwipe& a, const TimedSwipe& b) { return a.second < b.second; });
    const std::array<QByteArray, 2> directions = {big5(QStringLiteral("出")),
                                                  big5(QStringLiteral("進"))};
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(swipes.size()) * 40);
    char line[64];
    for (const TimedSwipe& swipe : swipes) {
        const int length =
            std::snprintf(line, sizeof line, "%02d:%02d:%02d,\"%08d\",\"", swipe.second / 3600,
                          swipe.second / 60 % 60, swipe.second % 60, 100000 + swipe.card * 37);
        bytes.append(line, length);
        bytes += names[static_cast<size_t>(swipe.card) % names.size()];
        bytes += "\",\"";
        bytes += directions[swipe.in ? 1 : 0];
        bytes += "\"\r\n";
    }
    return bytes;
}

QByteArray dayFile(qint64 recordCount)
{
    constexpr int kCards = 5000;
    std::mt19937 random(20070503);
    const std::vector<QByteArray> names = holderNames(random, kCards);
    const std::array<QByteArray, 2> directions = {big5(QStringLiteral("進")),
                                                  big5(QStringLiteral("出"))};
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

} // namespace card::bench
