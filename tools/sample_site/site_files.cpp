#include "site_files.h"

namespace card {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString quoted(const QString& text)
{
    return u'"' + text + u'"';
}

QString timeText(const PlannedSwipe& swipe)
{
    return swipe.time.toString(swipe.shortHour ? u"H:mm:ss" : u"HH:mm:ss");
}

QString directionText(Direction direction)
{
    return direction == Direction::In ? QStringLiteral("進") : QStringLiteral("出");
}

} // namespace

QString recordFileName(const QDate& date)
{
    return QStringLiteral("%1-%2-%3.txt")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month())
        .arg(date.day());
}

QString recordLine(const PlannedSwipe& swipe)
{
    const CardHolder& holder = cardHolders().at(swipe.holder);
    const QString card = swipe.cardQuoted ? quoted(holder.cardNumber) : holder.cardNumber;
    return timeText(swipe) + u',' + card + u',' + quoted(holder.name) + u',' +
           quoted(directionText(swipe.direction));
}

QString recordFileText(const DayPlan& plan)
{
    QString text;
    for (const PlannedSwipe& swipe : plan.swipes)
        text += recordLine(swipe) + kCrLf;
    return text;
}

QStringList siteParameters(const QString& recordsFolder, const QString& photoFolder)
{
    QStringList values = {
        quoted(QStringLiteral("CARDSRV01")),            // 0 card server name
        QStringLiteral("4001"),                         // 1 reader port
        QStringLiteral("4002"),                         // 2 camera port
        QStringLiteral("8"),                            // 3 readers
        QStringLiteral("4"),                            // 4 cameras
        quoted(QStringLiteral("COM1")),                 // 5 serial line of the master reader
        QStringLiteral("9600"),                         // 6 baud rate
        quoted(QStringLiteral("CardAccess")),           // 7 database name
        quoted(QStringLiteral("新竹科學園區辦公大樓")), // 8 site name
        QStringLiteral("30"),                           // 9 polling interval, seconds
        quoted(QStringLiteral("D:\\CardBackup")),       // 10 backup folder
        QStringLiteral("90"),                           // 11 days kept in the backup
        QStringLiteral("1"),                            // 12 cameras enabled
        QStringLiteral("5"),                            // 13 frames per swipe
        QStringLiteral("320"),                          // 14 photo width
        QStringLiteral("240"),                          // 15 photo height
        QStringLiteral("75"),                           // 16 photo quality
        quoted(recordsFolder),                          // 17
        QStringLiteral("0"),                            // 18 records shared over the network
        quoted(photoFolder),                            // 19
        quoted(QStringLiteral("07:00")),                // 20 opening time
        quoted(QStringLiteral("20:00")),                // 21 closing time
        quoted(QStringLiteral("192.168.1.20")),         // 22 server address
        QStringLiteral("3"),                            // 23 swipe retry count
        quoted(QStringLiteral("管理員")),               // 24 operator
        QStringLiteral("1.2"),                          // 25 file version
    };
    return values;
}

QString parameterFileText(const QStringList& values)
{
    return values.join(kCrLf) + kCrLf;
}

} // namespace card
