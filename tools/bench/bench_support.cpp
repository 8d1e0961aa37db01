#include "bench_support.h"

#include "core/text/text_decoding.h"
#include "ui/main_window/card_image_window.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>

#include <array>
#include <cstdio>
#include <random>
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
