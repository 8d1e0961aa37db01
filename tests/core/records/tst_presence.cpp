#include "core/records/presence.h"

#include "core/records/record_file.h"
#include "support/temp_site.h"

#include <QFile>
#include <QTest>

using card::PresenceSite;

namespace {

const QDate kDay(2007, 5, 3);

// Records as "time,card,name,direction" lines, written as the card readers write them.
QByteArray dayFile(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines) {
        const QStringList v = line.split(u',');
        text += QStringLiteral("%1,\"%2\",\"%3\",\"%4\"\r\n").arg(v[0], v[1], v[2], v[3]);
    }
    return card::test::big5(text);
}

// The people inside as "card entered-at" texts, in order of card.
QStringList inside(QList<card::PresentPerson> people)
{
    std::sort(people.begin(), people.end(),
              [](const auto& a, const auto& b) { return a.entry.card < b.entry.card; });
    QStringList result;
    for (const card::PresentPerson& person : people)
        result << person.entry.card + u' ' + person.entered.toString(u"MM-dd hh:mm:ss");
    return result;
}

PresenceSite siteIn(const card::test::TempSite& site)
{
    return {
        site.makeFolder(QStringLiteral("records")), site.makeFolder(QStringLiteral("photos")), {}};
}

void append(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestPresence : public QObject {
    Q_OBJECT
private slots:
    void presentAt_data();
    void presentAt();
    void followsWrittenSwipes();
};

void TestPresence::presentAt_data()
{
    QTest::addColumn<QStringList>("dayBefore");
    QTest::addColumn<QStringList>("day");
    QTest::addColumn<QString>("moment");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("came in yesterday evening")
        << QStringList{"19:45:10,00000001,王大明,進"} << QStringList{} << "08:00:00"
        << QStringList{"00000001 05-02 19:45:10"};
    QTest::newRow("last swipe 24 hours or more before T")
        << QStringList{"07:59:59,00000001,王大明,進", "08:00:00,00000002,林小華,進"}
        << QStringList{} << "08:00:00" << QStringList{};
    QTest::newRow("in and out in the same second")
        << QStringList{}
        << QStringList{"07:00:00,00000001,王大明,進", "07:00:00,00000001,王大明,出"} << "08:00:00"
        << QStringList{};
    QTest::newRow("out and in in the same second")
        << QStringList{}
        << QStringList{"07:00:00,00000001,王大明,出", "07:00:00,00000001,王大明,進"} << "08:00:00"
        << QStringList{"00000001 05-03 07:00:00"};
    QTest::newRow("two ins: the later is the entry")
        << QStringList{"22:00:00,00000001,王大明,進"} << QStringList{"07:30:00,00000001,王大明,進"}
        << "08:00:00" << QStringList{"00000001 05-03 07:30:00"};
    QTest::newRow("a blank direction is no last swipe")
        << QStringList{} << QStringList{"07:00:00,00000001,王大明,進", "07:10:00,00000001,王大明,"}
        << "08:00:00" << QStringList{"00000001 05-03 07:00:00"};
    QTest::newRow("a direction not exactly 進 is no last swipe")
        << QStringList{}
        << QStringList{"7:00:00,00000001,王大明,進", "07:10:00,00000001,王大明,出 "} << "08:00:00"
        << QStringList{"00000001 05-03 07:00:00"};
    QTest::newRow("T exactly at an entry")
        << QStringList{} << QStringList{"08:00:00,00000001,王大明,進"} << "08:00:00"
        << QStringList{"00000001 05-03 08:00:00"};
    QTest::newRow("T exactly at an exit")
        << QStringList{}
        << QStringList{"07:00:00,00000001,王大明,進", "08:00:00,00000001,王大明,出"} << "08:00:00"
        << QStringList{};
    QTest::newRow("a swipe after T does not count")
        << QStringList{}
        << QStringList{"07:00:00,00000001,王大明,進", "08:00:01,00000001,王大明,出"} << "08:00:00"
        << QStringList{"00000001 05-03 07:00:00"};
}

void TestPresence::presentAt()
{
    QFETCH(QStringList, dayBefore);
    QFETCH(QStringList, day);
    QFETCH(QString, moment);
    QFETCH(QStringList, expected);
    const card::test::TempSite temp;
    const PresenceSite site = siteIn(temp);
    temp.write(QStringLiteral("records/") + card::recordFileName(kDay.addDays(-1)),
               dayFile(dayBefore));
    temp.write(QStringLiteral("records/") + card::recordFileName(kDay), dayFile(day));
    const QDateTime at(kDay, QTime::fromString(moment));

    QCOMPARE(inside(card::readPresence(site, at).presentAt(at)), expected);
}

// The first look reads both days; each later one takes in what the card readers wrote since,
// a swipe written late included, by its own time.
void TestPresence::followsWrittenSwipes()
{
    const card::test::TempSite temp;
    const PresenceSite site = siteIn(temp);
    temp.write(QStringLiteral("records/") + card::recordFileName(kDay.addDays(-1)),
               dayFile({"20:00:00,00000001,王大明,進"}));
    const QString today = temp.write(QStringLiteral("records/") + card::recordFileName(kDay),
                                     dayFile({"07:00:00,00000002,林小華,進"}));
    card::PresenceFollower follower(site);
    const QDateTime now(kDay, QTime(8, 0));
    QCOMPARE(inside(follower.look(now).present),
             (QStringList{"00000001 05-02 20:00:00", "00000002 05-03 07:00:00"}));

    append(today, dayFile({"08:00:01,00000002,林小華,出"}));
    QCOMPARE(inside(follower.look(now.addSecs(1)).present), QStringList{"00000001 05-02 20:00:00"});

    append(today, dayFile({"06:00:00,00000001,王大明,出", "05:00:00,00000002,林小華,進",
                           "08:00:02,00000003,陳怡君,進"}));
    QCOMPARE(inside(follower.look(now.addSecs(2)).present), QStringList{"00000003 05-03 08:00:02"});
}

QTEST_GUILESS_MAIN(TestPresence)
#include "tst_presence.moc"
