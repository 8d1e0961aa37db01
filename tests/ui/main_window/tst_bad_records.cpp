// The query over day files that are broken, odd or still being written: the window lists what
// can be read, keeps the four lists in step and stays usable.
#include "ui/main_window/card_image_window.h"

#include "core/platform/path_join.h"
#include "core/records/record_table_model.h"
#include "support/modal_script.h"
#include "support/model_texts.h"
#include "support/settle.h"
#include "support/temp_site.h"
#include "ui/main_window/record_list_view.h"

#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

using card::CardImageWindow;

namespace {

const QDate kDay(2007, 5, 3);
const QString kDayFile = QStringLiteral("2007-5-3.txt");
const QByteArray kGoodDay = "08:00:00,\"1\",\"A\",\"\xB6\x69\"\r\n";

QStringList listedTimes(const CardImageWindow& window)
{
    return card::test::columnTexts(*window.controls().resultLists[0]->model());
}

void query(CardImageWindow& window, const QString& recordsFolder, const QDate& day = kDay)
{
    window.state().parameters[card::kRecordsFolderSlot] = recordsFolder;
    window.controls().datePicker->setDate(day);
    window.controls().directionOptions[2]->setChecked(true);
    window.runQuery();
    QVERIFY(card::test::settled(window));
}

// Row r of each list lies beside row r of the others, whatever its values hold.
void expectRowsInStep(const CardImageWindow& window)
{
    const auto& lists = window.controls().resultLists;
    for (int row = 0; row < lists[0]->model()->rowCount(); ++row) {
        const QRect first = lists[0]->visualRect(lists[0]->model()->index(row, 0));
        for (card::RecordListView* list : lists)
            QCOMPARE(list->visualRect(list->model()->index(row, 0)).y(), first.y());
    }
}

// After any bad file a good day still lists normally.
void expectUsable(CardImageWindow& window, const card::test::TempSite& site)
{
    site.write("good/" + kDayFile, kGoodDay);
    query(window, site.filePath("good"));
    QCOMPARE(listedTimes(window), QStringList{"08:00:00"});
    QVERIFY(window.controls().statusLine->text().isEmpty());
}

} // namespace

class TestBadRecords : public QObject {
    Q_OBJECT
private slots:
    void content_data();
    void content();
    void hugeLineWithoutSeparator();
    void hugeValueInsideARecordIsShownCutOff();
    void folderWhereTheFileShouldBe();
    void longFolderValue();
    void growingFileShowsWhatWasWritten();
};

void TestBadRecords::content_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("times");
    QTest::addColumn<QString>("firstCard");

    QByteArray garbage(64 * 1024, '\0');
    quint32 state = 12345;
    for (char& byte : garbage) {
        state = state * 1103515245 + 12345;
        byte = static_cast<char>(state >> 24);
    }
    garbage.replace(',', ';').replace('\r', '.').replace('\n', '.').replace('"', '\'');

    QTest::newRow("empty") << QByteArray() << QStringList{} << QString();
    QTest::newRow("binary garbage without separators") << garbage << QStringList{} << QString();
    QTest::newRow("nul bytes inside values")
        << QByteArray("08:00:00,\"1") + '\0' + "2\",\"A\",\"\xB6\x69\"\r\n"
        << QStringList{"08:00:00"} << QString::fromLatin1("1\0002", 3);
    QTest::newRow("unterminated quote runs to the next quote")
        << QByteArray("08:00:00,\"1\",\"A\",\"\xB6\x69\"\r\n"
                      "08:00:01,\"2,B,\xA5\x58\r\n"
                      "08:00:02,\"3\",\"C\",\"\xB6\x69\"\r\n")
        << QStringList{"08:00:00", "08:00:01"} << "1";
    QTest::newRow("unterminated quote at the end")
        << QByteArray("08:00:00,\"1\",\"A\",\"\xB6\x69\"\r\n08:00:01,\"2,B")
        << QStringList{"08:00:00"} << "1";
    QTest::newRow("cr only line ends")
        << QByteArray("08:00:00,\"1\",\"A\",\"\xB6\x69\"\r08:00:01,\"2\",\"B\",\"\xA5\x58\"\r")
        << QStringList{"08:00:00", "08:00:01"} << "1";
    QTest::newRow("mixed line ends")
        << QByteArray("08:00:00,\"1\",\"A\",\"\xB6\x69\"\n08:00:01,\"2\",\"B\",\"\xA5\x58\"\r\n"
                      "08:00:02,\"3\",\"C\",\"\xA5\x58\"\r")
        << QStringList{"08:00:00", "08:00:01", "08:00:02"} << "1";
    QTest::newRow("utf-8 byte order mark")
        << QByteArray("\xEF\xBB\xBF"
                      "08:00:00,\"1\",\"\xE9\x99\xB3\",\"\xE9\x80\xB2\"\r\n")
        << QStringList{"08:00:00"} << "1";
    QTest::newRow("invalid big5 pairs still list")
        << QByteArray("08:00:00,\"1\",\"\xFF\xFF\x81\",\"\xB6\x69\"\r\n08:00:01,\"\xA1\",\"B\","
                      "\"\xA5\x58\"\r\n")
        << QStringList{"08:00:00", "08:00:01"} << "1";
}

void TestBadRecords::content()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, times);
    QFETCH(QString, firstCard);
    card::test::TempSite site;
    site.write("rec/" + kDayFile, bytes);
    CardImageWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    query(window, site.filePath("rec"));
    QCOMPARE(listedTimes(window), times);
    QVERIFY(window.controls().statusLine->text().isEmpty());
    if (!times.isEmpty())
        QCOMPARE(window.records().index(0, 1).data().toString(), firstCard);
    expectRowsInStep(window);
    expectUsable(window, site);
}

void TestBadRecords::hugeLineWithoutSeparator()
{
    card::test::TempSite site;
    site.write("rec/" + kDayFile, QByteArray(100 * 1024 * 1024, 'x'));
    CardImageWindow window;
    query(window, site.filePath("rec"));
    QCOMPARE(window.records().rowCount(), 0);
    QVERIFY(window.controls().statusLine->text().isEmpty());
    expectUsable(window, site);
}

void TestBadRecords::hugeValueInsideARecordIsShownCutOff()
{
    card::test::TempSite site;
    site.write("rec/" + kDayFile,
               QByteArray(20 * 1024 * 1024, '8') + ":00,\"1\",\"A\",\"\xB6\x69\"\r\n" + kGoodDay);
    CardImageWindow window;
    window.show();
    query(window, site.filePath("rec"));
    QCOMPARE(window.records().rowCount(), 2);
    const QString shown = window.records().index(0, 0).data().toString();
    QCOMPARE(shown.size(), card::kMaxShownValueBytes + 1);
    QVERIFY(shown.endsWith(QChar(u'…')));
    QCOMPARE(window.records().index(0, 3).data().toString(), QStringLiteral("進"));
    window.controls().resultLists[0]->setSelectedRow(0);
    window.showRecord(0);
    QVERIFY(card::test::settled(window));
    QCOMPARE(window.controls().statusLine->text(), QStringLiteral("影像不存在"));
    QCOMPARE(window.records().index(1, 0).data().toString(), QStringLiteral("08:00:00"));
}

void TestBadRecords::folderWhereTheFileShouldBe()
{
    card::test::TempSite site;
    site.makeFolder("rec/" + kDayFile);
    CardImageWindow window;
    query(window, site.filePath("rec"));
    QCOMPARE(window.records().rowCount(), 0);
    QCOMPARE(window.controls().statusLine->text(), QStringLiteral("紀錄不存在"));
    expectUsable(window, site);
}

void TestBadRecords::longFolderValue()
{
    card::test::TempSite site;
    CardImageWindow window;
    query(window, QString(10'000, u'a'));
    QCOMPARE(window.controls().statusLine->text(), QStringLiteral("紀錄不存在"));
    query(window, site.path() + QString(10'000, u'/') + "rec");
    QCOMPARE(window.controls().statusLine->text(), QStringLiteral("紀錄不存在"));
    expectUsable(window, site);
}

void TestBadRecords::growingFileShowsWhatWasWritten()
{
    card::test::TempSite site;
    const QByteArray first = "08:00:00,\"1\",\"A\",\"\xB6\x69\"\r\n";
    const QByteArray second = "08:00:01,\"2\",\"B\",\"\xA5\x58\"\r\n";
    // Caught in the middle of writing the second record.
    const QString path = site.write("rec/" + kDayFile, first + second.left(14));
    CardImageWindow window;
    query(window, site.filePath("rec"));
    QCOMPARE(listedTimes(window), QStringList{"08:00:00"});

    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write(second.mid(14));
    file.close();
    query(window, site.filePath("rec"));
    QCOMPARE(listedTimes(window), (QStringList{"08:00:00", "08:00:01"}));
}

QTEST_MAIN(TestBadRecords)
#include "tst_bad_records.moc"
