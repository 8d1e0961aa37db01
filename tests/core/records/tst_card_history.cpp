#include "core/records/card_history.h"

#include "core/records/history_scan.h"
#include "core/records/record_file.h"
#include "core/records/record_reader.h"
#include "support/temp_site.h"

#include <QFile>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

using card::DayFileState;
using card::HistoryField;
using card::ScanInstructions;

Q_DECLARE_METATYPE(card::DayFileState)
Q_DECLARE_METATYPE(card::HistoryField)

class TestCardHistory : public QObject {
    Q_OBJECT
private slots:
    void summarizesADay_data();
    void summarizesADay();
    void fastScanKeepsWhatTheReaderKeeps_data();
    void fastScanKeepsWhatTheReaderKeeps();
    void nearestSwipeToTheHoursMiddle();
    void cardsPastTheLimitAreLeftOut();
    void fileRewrittenWhileReadIsNoCrash();
    void fileCutShortBetweenWindowsIsAFailedRead();
};

void TestCardHistory::summarizesADay_data()
{
    QTest::addColumn<QString>("dayFile"); // null: the day has no file
    QTest::addColumn<DayFileState>("state");
    QTest::addColumn<QString>("firstIn");
    QTest::addColumn<QString>("lastOut");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("span");

    QTest::newRow("a working day") << QStringLiteral("07:55:10,\"007\",\"陳怡君\",\"出\"\r\n"
                                                     "08:02:00,\"007\",\"陳怡君\",\"進\"\r\n"
                                                     "08:03:00,\"999\",\"王小明\",\"出\"\r\n"
                                                     "12:00:00,\"007\",\"陳怡君\",\"進\"\r\n"
                                                     "17:07:12,\"007\",\"陳怡君\",\"出\"\r\n")
                                   << DayFileState::Read << QStringLiteral("08:02:00")
                                   << QStringLiteral("17:07:12") << 4 << QStringLiteral("9:12:02");
    QTest::newRow("only one swipe, no span")
        << QStringLiteral("23:10:00,\"007\",\"陳怡君\",\"進\"\n") << DayFileState::Read
        << QStringLiteral("23:10:00") << QString() << 1 << QString();
    QTest::newRow("times out of order, marker form")
        << QStringLiteral("下午 1:00,\"007\",\"A\",\"出\"\n上午 9:30,\"007\",\"A\",\"出\"\n")
        << DayFileState::Read << QString() << QStringLiteral("上午 9:30") << 2
        << QStringLiteral("3:30:00");
    QTest::newRow("file without the card")
        << QStringLiteral("08:03:00,\"999\",\"王小明\",\"出\"\n") << DayFileState::Read << QString()
        << QString() << 0 << QString();
    const QString longSwipe =
        QStringLiteral("08:00:00,\"007\",\"%1\",\"進\"\r\n").arg(QString(999, u'x'));
    QTest::newRow("a day of several reading windows, Big5 only in the last")
        << longSwipe.repeated(5000) + QStringLiteral("17:00:00,\"007\",\"陳怡君\",\"出\"\r\n")
        << DayFileState::Read << QStringLiteral("08:00:00") << QStringLiteral("17:00:00") << 5001
        << QStringLiteral("9:00:00");
    QTest::newRow("no day file") << QString() << DayFileState::Missing << QString() << QString()
                                 << 0 << QString();
}

void TestCardHistory::summarizesADay()
{
    QFETCH(QString, dayFile);
    QFETCH(DayFileState, state);
    QFETCH(QString, firstIn);
    QFETCH(QString, lastOut);
    QFETCH(int, count);
    QFETCH(QString, span);

    const card::test::TempSite site;
    const QDate date(2007, 5, 3);
    if (!dayFile.isNull())
        site.write(card::recordFileName(date), card::test::big5(dayFile));
    card::HistoryQuery query;
    query.text = QStringLiteral("007");
    query.recordsFolder = site.path();
    const QList<card::HistoryDay> entries = card::readHistoryDay(query, date);

    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].file, state);
    const card::DaySummary summary = card::summarizeDay(entries[0]);
    QCOMPARE(summary.firstIn, firstIn);
    QCOMPARE(summary.lastOut, lastOut);
    QCOMPARE(summary.swipeCount, count);
    QCOMPARE(summary.span, span);
}

void TestCardHistory::fastScanKeepsWhatTheReaderKeeps_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<HistoryField>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kept");

    const QByteArray day =
        card::test::big5(QStringLiteral("08:00:01,\"00012345\",\"陳怡君\",\"進\"\r\n"
                                        "08:00:02,0012345,\"林志明\",\"出\"\r\n"
                                        "08:05:00,\"12345\",\"Lin Zhiming\",\"進\"\r\n"));
    QTest::newRow("unquoted number in its shortest form")
        << day << HistoryField::Card << QStringLiteral("12345") << 2;
    QTest::newRow("quoted leading zeros")
        << day << HistoryField::Card << QStringLiteral("00012345") << 1;
    QTest::newRow("Big5 name part") << day << HistoryField::Name << QStringLiteral("志明") << 1;
    QTest::newRow("Latin name without case")
        << day << HistoryField::Name << QStringLiteral("lin Z") << 1;
    QTest::newRow("lower-case search for a capital")
        << day << HistoryField::Name << QStringLiteral("lin z") << 1;
    QTest::newRow("card digits also in the time")
        << QByteArray("08:12:30,\"12\",a,in\n") << HistoryField::Card << QStringLiteral("12") << 1;
    QTest::newRow("a name in the second code of 十")
        << QByteArray("1,7,\"\xA2\xCC\",in\n") << HistoryField::Name << QStringLiteral("十") << 1;
    QTest::newRow("a missing value shifts the later records")
        << QByteArray("1,\"7\",\"a\"\n2,\"7\",\"b\",\"in\"\n3,\"7\",\"c\",\"in\"\n")
        << HistoryField::Card << QStringLiteral("7") << 1;
    QTest::newRow("comma and line end inside quotes")
        << QByteArray("1,\"7\",\"a,\nb\",\"in\"\r\n2,\"8\",\"c\",\"7\"\r\n3,7,\"d\",\"in\"")
        << HistoryField::Card << QStringLiteral("7") << 2;
    QTest::newRow("a quote inside a value is an ordinary byte")
        << QByteArray("1,x\"7,\"a\",\"in\"\n2,\"7\",\"b\",\"in\"\n") << HistoryField::Card
        << QStringLiteral("7") << 1;
    QTest::newRow("negative number")
        << QByteArray("1,-007,\"a\",\"in\"\n") << HistoryField::Card << QStringLiteral("-7") << 1;
    QTest::newRow("a day over many blocks")
        << day.repeated(40) << HistoryField::Card << QStringLiteral("12345") << 80;
    QTest::newRow("Latin name over many blocks")
        << day.repeated(40) << HistoryField::Name << QStringLiteral("ZHIMING") << 40;
    QTest::newRow("UTF-8 with a byte order mark")
        << QStringLiteral("\uFEFF1,\"7\",\"陳怡君\",\"進\"\n").toUtf8() << HistoryField::Name
        << QStringLiteral("怡") << 1;
}

void TestCardHistory::fastScanKeepsWhatTheReaderKeeps()
{
    QFETCH(QByteArray, file);
    QFETCH(HistoryField, field);
    QFETCH(QString, text);
    QFETCH(int, kept);

    const qsizetype bom = card::utf8BomLength(file);
    const card::HistoryRecordTest test(field, text);
    const std::vector<qsizetype> full = card::readHistoryRecords(file, bom, test);
    QCOMPARE(qsizetype(full.size()), qsizetype(kept));
    QByteArray fullRecords;
    for (const qsizetype start : full) {
        card::ValueReader reader(file, start);
        card::RecordSlices record;
        card::readRecord(reader, record);
        fullRecords += file.sliced(start, reader.position() - start);
    }
    // Each instruction set, over the whole day and over windows of every size up to a block.
    for (const auto instructions : {ScanInstructions::Sse2, ScanInstructions::Avx2}) {
        QCOMPARE(card::scanHistoryWindow(file, bom, true, test, instructions).starts, full);
        for (qsizetype windowBytes = 1; windowBytes <= 64; ++windowBytes) {
            card::MemoryWindows windows(file, windowBytes);
            card::KeptRecords kept;
            QVERIFY(card::keepHistoryRecords(windows, test, kept, instructions));
            QCOMPARE(kept.bytes, fullRecords);
            QCOMPARE(kept.starts.size(), full.size());
        }
    }
}

void TestCardHistory::nearestSwipeToTheHoursMiddle()
{
    card::HistoryDay day;
    day.swipes.resize(2);
    day.swipes[0].time = QStringLiteral("08:05:00");
    day.swipes[1].time = QStringLiteral("08:50:00");
    QCOMPARE(card::nearestSwipe(day, 8), 1);
}

// A name matching more cards than a search shows: a day keeps one card more than the limit, and
// over the days only the first cards met are admitted, a day without a card always.
void TestCardHistory::cardsPastTheLimitAreLeftOut()
{
    const card::test::TempSite site;
    const QDate date(2007, 5, 3);
    QByteArray file;
    for (int card = 1; card <= card::kHistoryCardLimit + 50; ++card)
        file += "08:00:00," + QByteArray::number(card) + ",Chen Yi,in\r\n";
    site.write(card::recordFileName(date), file);
    card::HistoryQuery query{
        HistoryField::Name, QStringLiteral("chen"), date, 1, site.path(), {}, {}};
    const QList<card::HistoryDay> entries = card::readHistoryDay(query, date);
    QCOMPARE(entries.size(), card::kHistoryCardLimit + 1);

    card::HistoryCards cards;
    QCOMPARE(cards.admit(entries.mid(1, 1)).size(), 1);
    QVERIFY(!cards.several());
    QCOMPARE(cards.admit(entries).size(), card::kHistoryCardLimit);
    QVERIFY(cards.several() && cards.limitPassed());
    QCOMPARE(cards.admit(entries.mid(1, 1)).size(), 1); // a card already shown stays shown
    QCOMPARE(
        cards.admit({card::HistoryDay{date.addDays(-1), DayFileState::Missing, {}, {}, {}}}).size(),
        1);
}

// A past day's file cut short and grown again while a child process reads it: the child ends
// normally.
void TestCardHistory::fileRewrittenWhileReadIsNoCrash()
{
    const card::test::TempSite site;
    const QDate date(2007, 5, 3);
    const QByteArray day = ("08:00:00,7,\"" + QByteArray(200, 'x') + "\",in\r\n").repeated(5000);
    const QString path = site.write(card::recordFileName(date), day);
    card::HistoryQuery query;
    query.text = QStringLiteral("7");
    query.recordsFolder = site.path();
    const pid_t child = fork();
    if (child == 0) {
        for (int k = 0; k < 300; ++k)
            card::readHistoryDay(query, date);
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0)
        QVERIFY(QFile::resize(path, day.size() / 2) && QFile::resize(path, day.size()));
    QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, qPrintable(QString::number(status)));
}

// The file stays open from one window to the next: a cut between them is still seen.
void TestCardHistory::fileCutShortBetweenWindowsIsAFailedRead()
{
    const card::test::TempSite site;
    const QByteArray day = QByteArray("08:00:00,7,x,in\r\n").repeated(100);
    const QString path = site.write(QStringLiteral("day.txt"), day);
    card::FileWindows windows(path, 256);
    QVERIFY(windows.next());
    QCOMPARE(windows.bytes(), day.first(256));
    QVERIFY(QFile::resize(path, 300));
    while (windows.next(windows.bytes().size())) {
    }
    QCOMPARE(windows.status(), card::FileReadStatus::ReadError);
}

QTEST_GUILESS_MAIN(TestCardHistory)
#include "tst_card_history.moc"
