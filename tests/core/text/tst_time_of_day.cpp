#include "core/text/time_of_day.h"

#include <QTest>

class TestTimeOfDay : public QObject {
    Q_OBJECT
private slots:
    void listedTimeAsDigits_data();
    void listedTimeAsDigits();
};

void TestTimeOfDay::listedTimeAsDigits_data()
{
    QTest::addColumn<QString>("listed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("H:MM:SS") << "8:05:07"
                             << "080507";
    QTest::newRow("HH:MM:SS") << "17:30:00"
                              << "173000";
    QTest::newRow("midnight") << "0:00:00"
                              << "000000";
    QTest::newRow("last second of the day") << "23:59:59"
                                            << "235959";
    QTest::newRow("H:MM gives seconds 00") << "8:05"
                                           << "080500";
    QTest::newRow("PM after") << "5:30:00 PM"
                              << "173000";
    QTest::newRow("AM after") << "8:05:07 AM"
                              << "080507";
    QTest::newRow("pm after, lower case, no blank") << "5:30:00pm"
                                                    << "173000";
    QTest::newRow("12 AM is midnight") << "12:10:00 AM"
                                       << "001000";
    QTest::newRow("12 PM is noon") << "12:10:00 PM"
                                   << "121000";
    QTest::newRow("下午 before") << "下午 05:30:00"
                                 << "173000";
    QTest::newRow("上午 before, no blank") << "上午08:05:07"
                                           << "080507";
    QTest::newRow("下午 after") << "5:30 下午"
                                << "173000";
    QTest::newRow("上午 12 is midnight") << "上午 12:00:01"
                                         << "000001";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("name text") << "王小明"
                               << "";
    QTest::newRow("digits only") << "080507"
                                 << "";
    QTest::newRow("hour 24") << "24:00:00"
                             << "";
    QTest::newRow("second 60") << "8:05:60"
                               << "";
    QTest::newRow("three-digit hour") << "008:05:07"
                                      << "";
    QTest::newRow("13 with PM") << "13:00:00 PM"
                                << "";
    QTest::newRow("0 with AM") << "0:30:00 AM"
                               << "";
    QTest::newRow("two markers") << "上午 8:05:07 AM"
                                 << "";
    QTest::newRow("date and time") << "2007/5/15 8:05:07"
                                   << "";
}

void TestTimeOfDay::listedTimeAsDigits()
{
    QFETCH(QString, listed);
    QFETCH(QString, expected);
    QCOMPARE(card::timeOfDayDigits(listed), expected);
}

QTEST_GUILESS_MAIN(TestTimeOfDay)
#include "tst_time_of_day.moc"
