#include "core/records/record_reader.h"

#include "core/platform/file_exists.h"
#include "core/records/card_history.h"
#include "core/records/day_swipes.h"
#include "core/records/live_follower.h"
#include "core/records/record_export.h"
#include "core/records/record_table.h"
#include "support/controlled_file_access.h"
#include "support/temp_site.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

#include <optional>

using card::DirectionChoice;
using card::RecordCriteria;

Q_DECLARE_METATYPE(DirectionChoice)
Q_DECLARE_METATYPE(card::FileReadStatus)

namespace {

// Every row of the table, its four texts joined by '|'.
QStringList rows(const card::RecordTable& table)
{
    QStringList result;
    for (qsizetype row = 0; row < table.rowCount(); ++row) {
        QStringList fields;
        for (int column = 0; column < card::kRecordFieldCount; ++column)
            fields << table.text(row, column);
        result << fields.join(u'|');
    }
    return result;
}

QStringList read(const QByteArray& bytes, const RecordCriteria& criteria = {})
{
    return rows(card::readRecords(bytes, criteria));
}

RecordCriteria criteria(bool cardFilterOn, const QString& cardText, DirectionChoice direction)
{
    RecordCriteria result;
    result.cardFilterOn = cardFilterOn;
    result.cardText = cardText;
    result.direction = direction;
    return result;
}

// A small day in code page 950: mixed quoting, numbers, an empty card, a blank in a direction.
QString sampleDay()
{
    return QStringLiteral("08:00:01,\"00012345\",\"陳怡君\",\"進\"\r\n"
                          "08:00:02,0012345,林志明,\"出\"\r\n"
                          "08:00:03,\"\",\"訪客\",\"出\"\r\n"
                          "08:00:04,\"777\",\"王小明\",\" 出\"\r\n"
                          "08:00:05,777,\"王小明\",\"進\"\r\n"
                          "08:00:06,-0012.50,\"李\",\"進\"\r\n"
                          "08:00:07,\"0012345\",\"林志明\",出\r\n"
                          "08:00:08,#777#,\"王小明\",\"進\"\r\n");
}

} // namespace

class TestRecordReader : public QObject {
    Q_OBJECT
private slots:
    void recordsInFileOrder_data();
    void recordsInFileOrder();
    void filters_data();
    void filters();
    void utf8FileFiltersLikeBig5_data();
    void utf8FileFiltersLikeBig5();
    void everyReaderReadsARecordAlike_data();
    void everyReaderReadsARecordAlike();
    void cardWithTwoCodesMatchesByText();
    void manyCardsEachSwipeKeepsItsCard();
    void swipesOfACardComeInTimeOrder();
    void undecodableTextIsShownNotFatal();
    void directionChoiceFirstMatchWins_data();
    void directionChoiceFirstMatchWins();
    void readCutShortKeepsEndedLines_data();
    void readCutShortKeepsEndedLines();
    void readErrorKeepsEndedLines_data();
    void readErrorKeepsEndedLines();
    void unreadableFileGivesNoRows_data();
    void unreadableFileGivesNoRows();
    void longValueIsCut_data();
    void longValueIsCut();
    void splitReadGivesOnePassRows_data();
    void splitReadGivesOnePassRows();
    void largeDayReadInPartsGivesOnePassRows_data();
    void largeDayReadInPartsGivesOnePassRows();
};

void TestRecordReader::recordsInFileOrder_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("line end after the last record")
        << QByteArray("1,a,b,c\r\n2,d,e,f\r\n") << QStringList{"1|a|b|c", "2|d|e|f"};
    QTest::newRow("no line end after the last record")
        << QByteArray("1,a,b,c\r\n2,d,e,f") << QStringList{"1|a|b|c", "2|d|e|f"};
    QTest::newRow("extra empty line is a partial tail")
        << QByteArray("1,a,b,c\r\n\r\n") << QStringList{"1|a|b|c"};
    QTest::newRow("last record cut off while written")
        << QByteArray("1,a,b,c\r\n2,d") << QStringList{"1|a|b|c"};
    QTest::newRow("three values left")
        << QByteArray("1,a,b,c\r\n2,d,e\r\n") << QStringList{"1|a|b|c"};
    QTest::newRow("line ends only separate values")
        << QByteArray("1,a,b\r\nc,2,d,e\r\nf\r\n") << QStringList{"1|a|b|c", "2|d|e|f"};
    QTest::newRow("lone CR line ends past one block")
        << QByteArray("1,a,b,c\r").repeated(20) << QStringList(20, "1|a|b|c");
    QTest::newRow("missing value shifts the next record")
        << QByteArray("1,a,b\r\n2,d,e,f\r\n") << QStringList{"1|a|b|2"};
    QTest::newRow("numbers in shortest form, quoted kept")
        << QByteArray("0800,0012345,\"0012345\",-2.50\r\n")
        << QStringList{"800|12345|0012345|-2.5"};
    QTest::newRow("empty values") << QByteArray(",,,\r\n") << QStringList{"|||"};
    QTest::newRow("quoted commas read on after a quote behind a blank")
        << QByteArray("1," + QByteArray(80, 'x') + ",a,b\r\n2,c,d, \"e,f\"\r\n3,\"g,h\",i,j\r\n")
        << QStringList{"1|" + QString(80, u'x') + "|a|b", "2|c|d|e,f", "3|g,h|i|j"};
    QTest::newRow("utf-8 byte order mark skipped")
        << QByteArray("\xEF\xBB\xBF"
                      "1,a,\xE9\x99\xB3,\xE9\x80\xB2\r\n")
        << QStringList{"1|a|陳|進"};
    QTest::newRow("big5 text") << card::test::big5(
                                      QStringLiteral("08:15:30,\"00012345\",\"陳怡君\",\"進\"\r\n"))
                               << QStringList{"08:15:30|00012345|陳怡君|進"};
}

void TestRecordReader::recordsInFileOrder()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QCOMPARE(read(bytes), expected);
}

void TestRecordReader::filters_data()
{
    QTest::addColumn<RecordCriteria>("criteria");
    QTest::addColumn<QStringList>("times");
    const auto all = DirectionChoice::All;
    const QStringList everyRecord{"08:00:01", "08:00:02", "08:00:03", "08:00:04",
                                  "08:00:05", "08:00:06", "08:00:07", "08:00:08"};
    QTest::newRow("no filter") << criteria(false, "", all) << everyRecord;
    QTest::newRow("card text ignored while the switch is off")
        << criteria(false, "nobody", all) << everyRecord;
    QTest::newRow("empty card text matches only the empty card")
        << criteria(true, "", all) << QStringList{"08:00:03"};
    QTest::newRow("0012345 matches the quoted card, not the unquoted number")
        << criteria(true, "0012345", all) << QStringList{"08:00:07"};
    QTest::newRow("12345 matches the unquoted number")
        << criteria(true, "12345", all) << QStringList{"08:00:02"};
    QTest::newRow("quoted leading zeros kept")
        << criteria(true, "00012345", all) << QStringList{"08:00:01"};
    QTest::newRow("card compared without trimming") << criteria(true, "777 ", all) << QStringList{};
    QTest::newRow("card as text and as number")
        << criteria(true, "777", all) << QStringList{"08:00:04", "08:00:05", "08:00:08"};
    QTest::newRow("negative number in shortest form")
        << criteria(true, "-12.5", all) << QStringList{"08:00:06"};
    QTest::newRow("number's sign is part of its text")
        << criteria(true, "12.5", all) << QStringList{};
    QTest::newRow("out only, blank inside quotes excluded")
        << criteria(false, "", DirectionChoice::Out)
        << QStringList{"08:00:02", "08:00:03", "08:00:07"};
    QTest::newRow("in only") << criteria(false, "", DirectionChoice::In)
                             << QStringList{"08:00:01", "08:00:05", "08:00:06", "08:00:08"};
    QTest::newRow("no direction selected")
        << criteria(false, "", DirectionChoice::None) << QStringList{};
    QTest::newRow("both filters") << criteria(true, "777", DirectionChoice::In)
                                  << QStringList{"08:00:05", "08:00:08"};
}

void TestRecordReader::filters()
{
    QFETCH(RecordCriteria, criteria);
    QFETCH(QStringList, times);
    const card::RecordTable table = card::readRecords(card::test::big5(sampleDay()), criteria);
    QStringList listed;
    for (qsizetype row = 0; row < table.rowCount(); ++row)
        listed << table.text(row, 0);
    QCOMPARE(listed, times);
}

void TestRecordReader::utf8FileFiltersLikeBig5_data()
{
    QTest::addColumn<RecordCriteria>("criteria");
    QTest::newRow("out") << criteria(false, "", DirectionChoice::Out);
    QTest::newRow("in") << criteria(false, "", DirectionChoice::In);
    QTest::newRow("card 777 in") << criteria(true, "777", DirectionChoice::In);
}

void TestRecordReader::utf8FileFiltersLikeBig5()
{
    QFETCH(RecordCriteria, criteria);
    const QStringList fromUtf8 = read(sampleDay().toUtf8(), criteria);
    QVERIFY(!fromUtf8.isEmpty());
    QCOMPARE(fromUtf8, read(card::test::big5(sampleDay()), criteria));
}

void TestRecordReader::everyReaderReadsARecordAlike_data()
{
    QTest::addColumn<QByteArray>("file");
    const QString first = QStringLiteral("08:00:01,\"7\",\"陳怡君\",\"進\"\r\n");
    const QString second = QStringLiteral("08:00:02,\"7\",\"林志明\",\"進\"\r\n");
    QTest::newRow("code page 950") << card::test::big5(first + second);
    QTest::newRow("utf-8 appended to code page 950") << card::test::big5(first) + second.toUtf8();
    QTest::newRow("code page 950 appended to utf-8") << first.toUtf8() + card::test::big5(second);
}

// The query, its direction filter, the live view, the card history, the day's swipes (the
// exceptions and the presence) and the CSV export read each record of a day file alike.
void TestRecordReader::everyReaderReadsARecordAlike()
{
    QFETCH(QByteArray, file);
    const QStringList names{QStringLiteral("陳怡君"), QStringLiteral("林志明")};
    const QDate day(2007, 5, 3);
    const card::test::TempSite site;
    site.write(QStringLiteral("2007-5-3.txt"), file);

    const card::RecordTable listed = card::readRecords(file, {});
    const card::RecordTable in = card::readRecords(file, criteria(false, "", DirectionChoice::In));
    card::DayFileFollower follower(site.path(), {});
    const card::HistoryQuery query{
        card::HistoryField::Name, QStringLiteral("君"), day, 1, site.path(), {}, {}};
    const card::SwipeDay swipes = card::readSwipeDay(site.path(), day);
    QBuffer csv;
    QVERIFY(csv.open(QIODevice::WriteOnly) && card::writeRecordsCsv(listed, day, csv));
    const QList<card::Swipe> live = follower.poll(QDateTime(day, QTime(9, 0))).swipes;
    const QList<card::HistoryDay> history = card::readHistoryDay(query, day);
    QCOMPARE(in.rowCount(), 2);
    QCOMPARE(swipes.swipes.size(), size_t(2));
    QCOMPARE(history.value(0).swipes.size(), 1);
    QCOMPARE(history.value(0).name, names[0]);
    for (qsizetype row = 0; row < 2; ++row) {
        QCOMPARE(listed.text(row, card::NameField), names[row]);
        QCOMPARE(live.value(row).name, names[row]);
        QVERIFY(swipes.swipes[size_t(row)].direction == card::SwipeDirection::In);
        QCOMPARE(swipes.swipe(swipes.swipes[size_t(row)].row, {}, {}, {}).name, names[row]);
        QVERIFY(QString::fromUtf8(csv.data()).contains(names[row]));
    }
}

void TestRecordReader::cardWithTwoCodesMatchesByText()
{
    // Code page 950 gives 十 two codes, A4 51 and A2 CC: the typed text matches both, and the
    // neighbouring A4 52 (千) matches neither.
    const QByteArray bytes("1,\"\xA4\x51\",a,b\r\n2,\"\xA2\xCC\",c,d\r\n3,\"\xA4\x52\",e,f\r\n");
    QCOMPARE(read(bytes, criteria(true, QStringLiteral("十"), DirectionChoice::All)),
             (QStringList{"1|十|a|b", "2|十|c|d"}));
}

void TestRecordReader::manyCardsEachSwipeKeepsItsCard()
{
    // Cards listed in falling order, with cards that are no number among them: the day
    // numbers its cards anew, and every swipe keeps its own.
    QByteArray bytes;
    for (int card = 3000; card > 0; --card)
        bytes += QStringLiteral("9:00:00,\"%1\",n,\"\"\r\n")
                     .arg(card % 100 == 0 ? QStringLiteral("X%1").arg(card) : QString::number(card))
                     .toLatin1();
    const card::SwipeDay day = card::swipeDayOf(QDate(2026, 5, 10), bytes);
    QCOMPARE(day.swipes.size(), size_t(3000));
    QCOMPARE(day.cardNumbers.size(), size_t(3000));
    for (const card::DaySwipe& swipe : day.swipes) {
        const QString text = day.table.text(swipe.row, card::CardField);
        const auto card = static_cast<size_t>(swipe.card);
        const quint64 number = card::packedCardNumber(text.toLatin1());
        QCOMPARE(day.cardNumbers[card], number);
        if (number == 0)
            QCOMPARE(day.otherCard(swipe.card), text);
    }
}

void TestRecordReader::swipesOfACardComeInTimeOrder()
{
    // One card's day written newest first, long enough to be sorted as a whole, with two
    // swipes in the same second that keep their file order.
    QByteArray bytes;
    for (int minute = 99; minute >= 0; --minute)
        bytes += QStringLiteral("%1:%2:00,\"7\",n,\"\"\r\n")
                     .arg(8 + minute / 60)
                     .arg(minute % 60, 2, 10, QLatin1Char('0'))
                     .toLatin1();
    bytes += "8:00:00,\"7\",last,\"\"\r\n";
    const card::SwipeDay day = card::swipeDayOf(QDate(2026, 5, 10), bytes);
    QCOMPARE(day.swipes.size(), size_t(101));
    QCOMPARE(day.table.text(day.swipes[1].row, card::NameField), QStringLiteral("last"));
    QCOMPARE(day.swipes[0].second, day.swipes[1].second);
    for (std::size_t k = 1; k + 1 < day.swipes.size(); ++k)
        QVERIFY(day.swipes[k].second < day.swipes[k + 1].second);
}

void TestRecordReader::undecodableTextIsShownNotFatal()
{
    // A lead byte cut by the closing quote, then a second record that must still be read.
    const QByteArray bytes = card::test::big5(QStringLiteral("1,\"9\",\"陳")) +
                             QByteArray("\xB3\",\"") +
                             card::test::big5(QStringLiteral("進\"\r\n2,\"8\",\"林\",\"出\"\r\n"));
    const QStringList listed = read(bytes);
    QCOMPARE(listed.size(), 2);
    QVERIFY(listed.at(0).contains(QChar::ReplacementCharacter));
    QCOMPARE(listed.at(1), QStringLiteral("2|8|林|出"));
}

void TestRecordReader::directionChoiceFirstMatchWins_data()
{
    QTest::addColumn<bool>("in");
    QTest::addColumn<bool>("out");
    QTest::addColumn<bool>("all");
    QTest::addColumn<DirectionChoice>("expected");
    QTest::newRow("in") << true << false << false << DirectionChoice::In;
    QTest::newRow("out") << false << true << false << DirectionChoice::Out;
    QTest::newRow("all") << false << false << true << DirectionChoice::All;
    QTest::newRow("none") << false << false << false << DirectionChoice::None;
    QTest::newRow("all wins over out") << false << true << true << DirectionChoice::All;
    QTest::newRow("out wins over in") << true << true << false << DirectionChoice::Out;
}

void TestRecordReader::directionChoiceFirstMatchWins()
{
    QFETCH(bool, in);
    QFETCH(bool, out);
    QFETCH(bool, all);
    QFETCH(DirectionChoice, expected);
    QCOMPARE(card::directionChoice(in, out, all), expected);
}

void TestRecordReader::readCutShortKeepsEndedLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("cut inside the direction")
        << QByteArray("1,a,b,\xB6\x69\r\n2,d,e,\xA5") << QStringList{"1|a|b|進"};
    QTest::newRow("cut after a line end")
        << QByteArray("1,a,b,c\r\n2,d,e,f\n") << QStringList{"1|a|b|c", "2|d|e|f"};
    QTest::newRow("cut inside the first line") << QByteArray("1,a,b,c") << QStringList{};
}

void TestRecordReader::readCutShortKeepsEndedLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QCOMPARE(rows(card::readRecords(bytes, {}, true)), expected);
}

void TestRecordReader::readErrorKeepsEndedLines_data()
{
    QTest::addColumn<int>("keptBytes"); // bytes read before the error
    QTest::addColumn<QStringList>("expected");
    // "1,a,b,c\r\n" is 9 bytes; the error strikes inside the second line's last value.
    QTest::newRow("error inside the second line") << 17 << QStringList{"1|a|b|c"};
    QTest::newRow("error after the second line's end") << 20 << QStringList{"1|a|b|c", "2|d|e|fgh"};
    QTest::newRow("error inside the first line") << 4 << QStringList{};
}

void TestRecordReader::readErrorKeepsEndedLines()
{
    QFETCH(int, keptBytes);
    QFETCH(QStringList, expected);
    const card::test::TempSite site;
    const QString path =
        site.write(QStringLiteral("2007-5-3.txt"), "1,a,b,c\r\n2,d,e,fgh\r\n3,g,h,i\r\n");
    card::test::ControlledFileAccess access;
    access.failReads(QStringLiteral("2007-5-3.txt"), keptBytes);
    card::RecordTable table;
    QCOMPARE(card::readRecordFile(path, {}, table), card::FileReadStatus::ReadError);
    QCOMPARE(rows(table), expected);
}

void TestRecordReader::unreadableFileGivesNoRows_data()
{
    QTest::addColumn<QString>("change"); // what happens to the file after its existence test
    QTest::addColumn<card::FileReadStatus>("status");
    QTest::newRow("grown past what the table can address")
        << "grow" << card::FileReadStatus::TooLarge;
    QTest::newRow("deleted") << "delete" << card::FileReadStatus::CannotOpen;
    QTest::newRow("replaced by a folder") << "folder" << card::FileReadStatus::CannotOpen;
}

void TestRecordReader::unreadableFileGivesNoRows()
{
    QFETCH(QString, change);
    QFETCH(card::FileReadStatus, status);
    const card::test::TempSite site;
    const QString path = site.write(QStringLiteral("2007-5-3.txt"), "1,a,b,c\r\n");
    QVERIFY(card::fileExists(path));
    if (change == u"grow") {
        QVERIFY(QFile(path).resize(card::kMaxRecordFileSize + 1)); // sparse: nothing is written
    } else {
        QVERIFY(QFile::remove(path));
        if (change == u"folder")
            site.makeFolder(QStringLiteral("2007-5-3.txt"));
    }
    card::RecordTable table = card::readRecords(QByteArray("1,a,b,c\r\n"), {});
    QCOMPARE(card::readRecordFile(path, {}, table), status);
    QCOMPARE(table.rowCount(), 0);
}

void TestRecordReader::longValueIsCut_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("shown");
    const int limit = int(card::kMaxShownValueBytes);
    QTest::newRow("exactly the limit, shown whole") << limit << QString(limit, u'n');
    QTest::newRow("one byte over, cut") << limit + 1 << QString(limit, u'n') + u'…';
}

void TestRecordReader::longValueIsCut()
{
    QFETCH(int, length);
    QFETCH(QString, shown);
    const QByteArray line = "1," + QByteArray(length, 'n') + ",b,c\r\n";
    const card::RecordTable table = card::readRecords(line, {});
    QCOMPARE(table.rowCount(), 1);
    QCOMPARE(table.text(0, 1), shown);
}

void TestRecordReader::splitReadGivesOnePassRows_data()
{
    // The day is before + after, split where after begins; rows is how many it lists.
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<int>("rows");
    const QByteArray longHalf(2500, 'x');
    QTest::newRow("quoted comma and line end at the split")
        << QByteArray("1,a,b,\"c,\n") << QByteArray("d\"\r\n2,e,f,g\r\n3,h,i,j\r\n") << 3;
    QTest::newRow("a line of three values before it")
        << QByteArray("1,a,b,c\r\n2,d,e\r\n") << QByteArray("3,f,g,h\r\n4,i,j,k\r\n") << 3;
    QTest::newRow("a line of five values before it")
        << QByteArray("1,a,b,c,x\r\n") << QByteArray("2,d,e,f\r\n3,g,h,i\r\n") << 3;
    QTest::newRow("a partial last record after it")
        << QByteArray("1,a,b,c\r\n2,d,e,f\r\n") << QByteArray("3,g\r\n") << 2;
    QTest::newRow("a value longer than the cut across it")
        << QByteArray("1,a,b,\"" + longHalf + "\n") << QByteArray(longHalf + "\"\r\n2,c,d,e\r\n")
        << 2;
    QTest::newRow("CR LF split across the parts")
        << QByteArray("1,a,b,c\r") << QByteArray("\n2,d,e,f\r\n3,g,h,i\r\n") << 3;
    QTest::newRow("lone CR line ends")
        << QByteArray("1,a,b,c\r2,d,") << QByteArray("e,f\r3,g,h,i\r") << 3;
    QTest::newRow("a record begins at the split")
        << QByteArray("1,\"a\",b,c\r\n") << QByteArray("2,\"d\",e,f\r\n3,g,h,i") << 3;
}

void TestRecordReader::splitReadGivesOnePassRows()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(int, rows);
    const QByteArray day = before + after;
    const QStringList onePass = ::rows(card::readRecordsSplitAt(day, {}, day.size()));
    QCOMPARE(onePass.size(), rows);
    QCOMPARE(::rows(card::readRecordsSplitAt(day, {}, before.size())), onePass);
}

void TestRecordReader::largeDayReadInPartsGivesOnePassRows_data()
{
    QTest::addColumn<bool>("throughSeam"); // a test seam that reads into place by copying
    QTest::newRow("file system") << false;
    QTest::newRow("test seam") << true;
}

// A day of several megabytes, its halves read into place at once: the rows of one pass.
void TestRecordReader::largeDayReadInPartsGivesOnePassRows()
{
    QFETCH(bool, throughSeam);
    const card::test::TempSite site;
    const QByteArray day = card::test::big5(sampleDay()).repeated(8000);
    const QString path = site.write(QStringLiteral("2007-5-3.txt"), day);
    std::optional<card::test::ControlledFileAccess> access;
    if (throughSeam)
        access.emplace();
    card::RecordTable table;
    QCOMPARE(card::readRecordFile(path, {}, table), card::FileReadStatus::Ok);
    QCOMPARE(rows(table), rows(card::readRecordsSplitAt(day, {}, day.size())));
}

QTEST_GUILESS_MAIN(TestRecordReader)
#include "tst_record_reader.moc"
