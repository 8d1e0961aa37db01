#include "bench_support.h"

#include "ui/main_window/card_image_window.h"

#include <QCoreApplication>

#include <QFile>

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

double megabytes(qint64 bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

void waitForWindowWork(const CardImageWindow& window)
{
    while (window.isWorking())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace card::bench
