#include "core/records/card_day.h"

#include "core/records/record_file.h"
#include "support/temp_site.h"

#include <QTest>

using card::Swipe;

class TestCardDay : public QObject {
    Q_OBJECT
private slots:
    void readsEverySwipeOfTheCard_data();
    void readsEverySwipeOfTheCard();
};

void TestCardDay::readsEverySwipeOfTheCard_data()
{
    QTest::addColumn<QString>("dayFile");
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("shownTime");
    QTest::addColumn<QString>("shownDirection");
    QTest::addColumn<QStringList>("expected"); // time|card|name|direction per row
    QTest::addColumn<int>("shownRow");

    const QString day = QStringLiteral("08:00:01,\"00012345\",\"陳怡君\",\"進\"\r\n"
                                       "08:00:02,0012345,\"林志明\",\"出\"\r\n"
                                       "08:05:00,\"00099999\",\"王小明\",\"進\"\r\n"
                                       "12:00:00,\"00012345\",\"陳怡君\",\"出\"\r\n"
                                       "12:30:00,\"12345\",\"林志明\",\"進\"\r\n"
                                       "13:00:00,\"00012345\",\"陳怡君\",\"進\"\r\n");
    QTest::newRow("quoted card, both directions, in file order")
        << day << QStringLiteral("00012345") << QStringLiteral("12:00:00") << QStringLiteral("出")
        << QStringList{QStringLiteral("08:00:01|00012345|陳怡君|進"),
                       QStringLiteral("12:00:00|00012345|陳怡君|出"),
                       QStringLiteral("13:00:00|00012345|陳怡君|進")}
        << 1;
    QTest::newRow("unquoted card listed as a plain number also finds the quoted text")
        << day << QStringLiteral("12345") << QStringLiteral("08:00:02") << QStringLiteral("出")
        << QStringList{QStringLiteral("08:00:02|12345|林志明|出"),
                       QStringLiteral("12:30:00|12345|林志明|進")}
        << 0;
    QTest::newRow("partial last record dropped")
        << day + QStringLiteral("17:00:00,\"00012345\",\"陳怡君\"") << QStringLiteral("00012345")
        << QStringLiteral("13:00:00") << QStringLiteral("進")
        << QStringList{QStringLiteral("08:00:01|00012345|陳怡君|進"),
                       QStringLiteral("12:00:00|00012345|陳怡君|出"),
                       QStringLiteral("13:00:00|00012345|陳怡君|進")}
        << 2;
    QTest::newRow("same time in the other direction is not the shown swipe")
        << day << QStringLiteral("00012345") << QStringLiteral("12:00:00") << QStringLiteral("進")
        << QStringList{QStringLiteral("08:00:01|00012345|陳怡君|進"),
                       QStringLiteral("12:00:00|00012345|陳怡君|出"),
                       QStringLiteral("13:00:00|00012345|陳怡君|進")}
        << -1;
    QTest::newRow("no day file") << QString() << QStringLiteral("00012345")
                                 << QStringLiteral("08:00:01") << QStringLiteral("進")
                                 << QStringList() << -1;
}

void TestCardDay::readsEverySwipeOfTheCard()
{
    QFETCH(QString, dayFile);
    QFETCH(QString, card);
    QFETCH(QString, shownTime);
    QFETCH(QString, shownDirection);
    QFETCH(QStringList, expected);
    QFETCH(int, shownRow);

    const card::test::TempSite site;
    const QDate date(2007, 5, 3);
    if (!dayFile.isNull())
        site.write(card::recordFileName(date), card::test::big5(dayFile));
    const QString name = expected.isEmpty() || shownRow < 0
                             ? QStringLiteral("陳怡君")
                             : expected[shownRow].section(u'|', 2, 2);
    const Swipe shown{
        shownTime, card, name, shownDirection, date, site.path(), QStringLiteral("/photos"), {}};

    const card::CardDay result = card::readCardDay(shown);

    QStringList rows;
    for (const Swipe& swipe : result.swipes) {
        rows << QStringList{swipe.time, swipe.card, swipe.name, swipe.direction}.join(u'|');
        QCOMPARE(swipe.day, date);
        QCOMPARE(swipe.photoFolder, QStringLiteral("/photos"));
    }
    QCOMPARE(rows, expected);
    QCOMPARE(result.shownRow, shownRow);
}

QTEST_GUILESS_MAIN(TestCardDay)
#include "tst_card_day.moc"
