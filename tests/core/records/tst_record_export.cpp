// Taking the listed rows out: the copy line, the CSV file, and the safe writing of files.
#include "core/records/record_export.h"

#include "core/platform/safe_write.h"
#include "support/controlled_file_access.h"
#include "support/record_table_text.h"
#include "support/temp_site.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

using card::SafeWriteStatus;
using namespace Qt::StringLiterals;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

// The files in a folder, to see that no temporary file was left behind.
QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

const QByteArray kBom = "\xEF\xBB\xBF";
const QDate kDay(2007, 5, 3);
constexpr qint64 kMaxCopy = 64 * 1024 * 1024;

} // namespace

class TestRecordExport : public QObject {
    Q_OBJECT
private slots:
    void copyLineIsTheShownValuesWithTabs();
    void csvField_data();
    void csvField();
    void csvFileHasBomHeaderAndCrLf();
    void csvOfBig5FileIsUtf8();
    void csvOfEmptyTable();
    void csvValuesAreTheShownTexts_data();
    void csvValuesAreTheShownTexts();
    void csvOfManyRowsSpansChunks();
    void csvValueRules_data();
    void csvValueRules();
    void historyCsvQuotesTheCard();
    void proposedName();
    void exportWritesTheFile();
    void exportReplacesAnExistingFile();
    void refusedTargets_data();
    void refusedTargets();
    void emptyFolderSettingsRefuseNothing();
    void failedWriteLeavesTheTargetAndNoTemporary();
    void missingFolderCannotBeCreated();
    void photoCopyIsByteExact();
    void missingPhotoIsReported();
    void photoReadFailingPartwayIsReported();
};

void TestRecordExport::copyLineIsTheShownValuesWithTabs()
{
    const card::RecordTable table = card::test::recordTableFromText(
        "08:15:30,\"00012345\",\"陳怡君\",\"進\"\r\n08:16:02,0012345,\"林, 志明\",\"出\"\r\n");
    QCOMPARE(card::recordCopyLine(table, kDay, 0),
             QStringLiteral("2007-05-03\t08:15:30\t00012345\t陳怡君\t進"));
    QCOMPARE(card::recordCopyLine(table, kDay, 1),
             QStringLiteral("2007-05-03\t08:16:02\t12345\t林, 志明\t出"));
}

void TestRecordExport::csvField_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("field");
    QTest::newRow("plain") << "00012345"
                           << "00012345";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("chinese") << "陳怡君"
                             << "陳怡君";
    QTest::newRow("spaces kept") << " a b "
                                 << " a b ";
    QTest::newRow("comma") << "林, 志明"
                           << "\"林, 志明\"";
    QTest::newRow("quote") << "a\"b"
                           << "\"a\"\"b\"";
    QTest::newRow("only a quote") << "\""
                                  << "\"\"\"\"";
    QTest::newRow("CR") << "a\rb"
                        << "\"a\rb\"";
    QTest::newRow("LF") << "a\nb"
                        << "\"a\nb\"";
    QTest::newRow("tab is plain") << "a\tb"
                                  << "a\tb";
}

void TestRecordExport::csvField()
{
    QFETCH(QString, value);
    QFETCH(QString, field);
    QCOMPARE(card::csvField(value), field);
}

void TestRecordExport::csvFileHasBomHeaderAndCrLf()
{
    const card::RecordTable table =
        card::test::recordTableFromText("08:15:30,\"00012345\",\"陳怡君\",\"進\"\n"
                                        "08:16:02,0012345,\"林, 志明\",\"出\"\n");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(card::writeRecordsCsv(table, kDay, buffer));
    const QByteArray expected =
        kBom + QStringLiteral("日期,時間,卡號,姓名,進出\r\n"
                              "2007-05-03,08:15:30,\"00012345\",陳怡君,進\r\n"
                              "2007-05-03,08:16:02,\"12345\",\"林, 志明\",出\r\n")
                   .toUtf8();
    QCOMPARE(buffer.data(), expected);
}

void TestRecordExport::csvOfBig5FileIsUtf8()
{
    const card::RecordTable table = card::test::recordTableFromText(
        card::test::big5("09:01:45,\"00012345\",\"陳怡君\",\"出\""));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(card::writeRecordsCsv(table, kDay, buffer));
    QCOMPARE(buffer.data(),
             kBom +
                 QStringLiteral(
                     "日期,時間,卡號,姓名,進出\r\n2007-05-03,09:01:45,\"00012345\",陳怡君,出\r\n")
                     .toUtf8());
}

void TestRecordExport::csvOfEmptyTable()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(card::writeRecordsCsv(card::RecordTable(), kDay, buffer));
    QCOMPARE(buffer.data(), kBom + QStringLiteral("日期,時間,卡號,姓名,進出\r\n").toUtf8());
}

void TestRecordExport::csvValuesAreTheShownTexts_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("numbers") << QByteArray("007,-0,+5,2.50\r\n-12.0,0.0,1,\"007\"\r\n");
    QTest::newRow("ascii to quote") << QByteArray("\"a,b\",#x\"y#,\"c\r\nd\",e\r\n");
    QTest::newRow("big5 names again and again")
        << card::test::big5(QStringLiteral("1,陳怡君,進,x\r\n2,陳怡君,出,x\r\n3,林志明,進,x\r\n"));
    QTest::newRow("utf-8") << QStringLiteral("1,\"陳, 怡君\",進,x\r\n").toUtf8();
    QTest::newRow("cut lead byte") << QByteArray("1,\"a\x81\",\"\xA4\xA4\",x\r\n");
    QTest::newRow("longer than shown")
        << QByteArray("1,\"" + QByteArray(5000, 'a') + "\",\"" +
                      card::test::big5(QString(3000, u'陳')) + "\",x\r\n");
}

// Each value is written as the lists show it, whichever way it is encoded on the way.
void TestRecordExport::csvValuesAreTheShownTexts()
{
    QFETCH(QByteArray, text);
    const card::RecordTable table = card::test::recordTableFromText(text);
    QVERIFY(table.rowCount() > 0);
    QString expected = QChar(0xFEFF) + card::kCsvHeader + "\r\n";
    for (qsizetype row = 0; row < table.rowCount(); ++row) {
        QStringList fields{kDay.toString(Qt::ISODate)};
        for (int column = 0; column < card::kRecordFieldCount; ++column)
            fields << card::csvField(table.text(row, column), column == 1);
        expected += fields.join(u',') + "\r\n";
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(card::writeRecordsCsv(table, kDay, buffer));
    QCOMPARE(buffer.data(), expected.toUtf8());
}

void TestRecordExport::csvOfManyRowsSpansChunks()
{
    QByteArray text;
    QByteArray expected = kBom + QStringLiteral("日期,時間,卡號,姓名,進出\r\n").toUtf8();
    for (int i = 0; i < 5000; ++i) {
        const QByteArray card = QByteArray::number(10000000 + i);
        text += "08:15:30,\"" + card + "\",\"陳怡君\",\"進\"\r\n";
        expected += "2007-05-03,08:15:30,\"" + card + "\",陳怡君,進\r\n";
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(card::writeRecordsCsv(card::test::recordTableFromText(text), kDay, buffer));
    QCOMPARE(buffer.data(), expected);
}

void TestRecordExport::csvValueRules_data()
{
    QTest::addColumn<QByteArray>("records"); // a day file's lines
    QTest::addColumn<QString>("rows");       // the CSV rows after the header
    QTest::newRow("formula") << QByteArray("08:15:30,\"1\",\"=1+1\",\"進\"\r\n")
                             << "2007-05-03,08:15:30,\"1\",'=1+1,進\r\n";
    QTest::newRow("plus") << QByteArray("08:15:30,\"1\",\"+SUM(A1)\",\"進\"\r\n")
                          << "2007-05-03,08:15:30,\"1\",'+SUM(A1),進\r\n";
    QTest::newRow("minus number") << QByteArray("08:15:30,\"1\",-2,\"進\"\r\n")
                                  << "2007-05-03,08:15:30,\"1\",'-2,進\r\n";
    QTest::newRow("at") << QByteArray("08:15:30,\"1\",\"@cmd\",\"進\"\r\n")
                        << "2007-05-03,08:15:30,\"1\",'@cmd,進\r\n";
    QTest::newRow("tab first") << QByteArray("08:15:30,\"1\",\"\tx\",\"進\"\r\n")
                               << "2007-05-03,08:15:30,\"1\",'\tx,進\r\n";
    QTest::newRow("carriage return first") << QByteArray("08:15:30,\"1\",\"\rx\",\"進\"\r\n")
                                           << "2007-05-03,08:15:30,\"1\",\"'\rx\",進\r\n";
    QTest::newRow("formula in big5") << card::test::big5(u"08:15:30,\"1\",\"=陳\",\"進\"\r\n"_s)
                                     << "2007-05-03,08:15:30,\"1\",'=陳,進\r\n";
    QTest::newRow("formula in the card")
        << QByteArray("08:15:30,\"=1\",\"a\",\"進\"\r\n") << "2007-05-03,08:15:30,\"'=1\",a,進\r\n";
    QTest::newRow("inner signs kept") << QByteArray("08:15:30,\"1\",\"a=b-c+d@e\",\"進\"\r\n")
                                      << "2007-05-03,08:15:30,\"1\",a=b-c+d@e,進\r\n";
    QTest::newRow("card zeros kept as text") << QByteArray("08:15:30,\"00736696\",\"a\",\"進\"\r\n")
                                             << "2007-05-03,08:15:30,\"00736696\",a,進\r\n";
    QTest::newRow("big5 neighbours") << card::test::big5(u"08:15:30,\"1\",\"陳怡君\",\"進\"\r\n"
                                                         "08:16:00,\"2\",\"陳怡吩\",\"進\"\r\n"_s)
                                     << "2007-05-03,08:15:30,\"1\",陳怡君,進\r\n"
                                        "2007-05-03,08:16:00,\"2\",陳怡吩,進\r\n";
}

// Each row begins with its day; a value a spreadsheet would run is neutralised, the card number
// is quoted; every other value is written as shown.
void TestRecordExport::csvValueRules()
{
    QFETCH(QByteArray, records);
    QFETCH(QString, rows);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(card::writeRecordsCsv(card::test::recordTableFromText(records), kDay, buffer));
    QCOMPARE(buffer.data(), kBom + (card::kCsvHeader + "\r\n" + rows).toUtf8());
}

void TestRecordExport::historyCsvQuotesTheCard()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(card::writeSwipesCsv({{"08:15:30", "00736696", "a", "進", kDay, {}, {}}}, buffer));
    QCOMPARE(buffer.data(),
             kBom + (card::kCsvHeader + "\r\n2007-05-03,08:15:30,\"00736696\",a,進\r\n").toUtf8());
}

void TestRecordExport::proposedName()
{
    QCOMPARE(card::csvFileName(QDate(2007, 5, 3)), QStringLiteral("刷卡紀錄-2007-05-03.csv"));
}

void TestRecordExport::exportWritesTheFile()
{
    const card::test::TempSite site;
    const card::RecordTable table =
        card::test::recordTableFromText("08:15:30,\"00012345\",\"陳怡君\",\"進\"\r\n");
    const QString target = site.filePath(QStringLiteral("out/刷卡紀錄-2007-05-03.csv"));
    site.makeFolder(QStringLiteral("out"));
    const card::SafeWriteResult result = card::exportRecordsCsv(
        table, kDay, target, {site.makeFolder("records"), site.makeFolder("photos")});
    QVERIFY(result.ok());
    QCOMPARE(fileBytes(target),
             kBom +
                 QStringLiteral(
                     "日期,時間,卡號,姓名,進出\r\n2007-05-03,08:15:30,\"00012345\",陳怡君,進\r\n")
                     .toUtf8());
    QCOMPARE(entries(site.filePath("out")), QStringList{QStringLiteral("刷卡紀錄-2007-05-03.csv")});
}

void TestRecordExport::exportReplacesAnExistingFile()
{
    const card::test::TempSite site;
    const QString target = site.write(QStringLiteral("old.csv"), "older and longer content");
    QVERIFY(card::exportRecordsCsv(card::RecordTable(), kDay, target, {}).ok());
    QCOMPARE(fileBytes(target), kBom + QStringLiteral("日期,時間,卡號,姓名,進出\r\n").toUtf8());
}

void TestRecordExport::refusedTargets_data()
{
    QTest::addColumn<QString>("target"); // inside the site; "@" is the site itself
    QTest::addColumn<QString>("refusedBy");
    QTest::newRow("in the records folder") << "records/x.csv"
                                           << "records";
    QTest::newRow("in the photo folder") << "photos/x.csv"
                                         << "photos";
    QTest::newRow("over a record file") << "records/2007-5-3.txt"
                                        << "records";
    QTest::newRow("in a subfolder of it") << "photos/sub/x.csv"
                                          << "photos";
    QTest::newRow("through a linked folder") << "link-to-records/x.csv"
                                             << "records";
    QTest::newRow("through a link to a record file") << "out/link-to-day-file"
                                                     << "records";
    QTest::newRow("with dot-dot") << "out/../photos/x.csv"
                                  << "photos";
    QTest::newRow("beside the folder is allowed") << "records-copy.csv"
                                                  << "";
}

void TestRecordExport::refusedTargets()
{
    QFETCH(QString, target);
    QFETCH(QString, refusedBy);
    const card::test::TempSite site;
    const QString records = site.makeFolder("records");
    const QString photos = site.makeFolder("photos");
    site.makeFolder("photos/sub");
    site.makeFolder("out");
    const QString dayFile = site.write("records/2007-5-3.txt", "08:15:30,1,a,b\r\n");
    QVERIFY(QFile::link(records, site.filePath("link-to-records")));
    QVERIFY(QFile::link(dayFile, site.filePath("out/link-to-day-file")));

    // The settings as a parameter file may hold them: with a trailing separator, say.
    const QStringList folders{records + u'/', photos};
    const card::SafeWriteResult result =
        card::exportRecordsCsv(card::RecordTable(), kDay, site.filePath(target), folders);
    if (refusedBy.isEmpty()) {
        QVERIFY(result.ok());
        return;
    }
    QCOMPARE(result.status, SafeWriteStatus::Refused);
    QCOMPARE(result.path, site.filePath(target));
    QVERIFY(result.reason.startsWith(site.filePath(refusedBy)));
    QCOMPARE(fileBytes(dayFile), QByteArray("08:15:30,1,a,b\r\n"));
    QCOMPARE(entries(records), QStringList{"2007-5-3.txt"});
    QCOMPARE(entries(photos), QStringList{"sub"});
}

void TestRecordExport::emptyFolderSettingsRefuseNothing()
{
    const card::test::TempSite site;
    QVERIFY(
        card::exportRecordsCsv(card::RecordTable(), kDay, site.filePath("x.csv"), {"", ""}).ok());
    QVERIFY(QFile::exists(site.filePath("x.csv")));
}

void TestRecordExport::failedWriteLeavesTheTargetAndNoTemporary()
{
    const card::test::TempSite site;
    const QString target = site.write("keep.csv", "the earlier export");
    const card::SafeWriteResult result = card::writeFileSafely(target, {}, [](QIODevice& file) {
        file.write("half of a new file");
        return false;
    });
    QCOMPARE(result.status, SafeWriteStatus::WriteFailed);
    QCOMPARE(result.path, target);
    QCOMPARE(fileBytes(target), QByteArray("the earlier export"));
    QCOMPARE(entries(site.path()), QStringList{"keep.csv"});
}

void TestRecordExport::missingFolderCannotBeCreated()
{
    const card::test::TempSite site;
    const QString target = site.filePath("no/such/folder/x.csv");
    const card::SafeWriteResult result =
        card::exportRecordsCsv(card::RecordTable(), kDay, target, {});
    QCOMPARE(result.status, SafeWriteStatus::CannotCreate);
    QCOMPARE(result.path, target);
    QVERIFY(!result.reason.isEmpty());
    QVERIFY(entries(site.path()).isEmpty());
}

void TestRecordExport::photoCopyIsByteExact()
{
    const card::test::TempSite site;
    QByteArray photo;
    for (int i = 0; i < 3 * 1024 * 1024 + 17; ++i)
        photo += static_cast<char>((i * 7919) & 0xFF);
    const QString source = site.write("photos/00012345-070503-081530-C.jpg", photo);
    const QString target = site.filePath("saved.jpg");
    QVERIFY(card::copyFileSafely(source, target,
                                 {site.filePath("records"), site.filePath("photos")}, kMaxCopy)
                .ok());
    QCOMPARE(fileBytes(target), photo);
    QCOMPARE(fileBytes(source), photo);

    // Back into the photo folder, or over the photo itself: refused, the photo unchanged.
    const card::SafeWriteResult over = card::copyFileSafely(
        source, source, {site.filePath("records"), site.filePath("photos")}, kMaxCopy);
    QCOMPARE(over.status, SafeWriteStatus::Refused);
    QCOMPARE(fileBytes(source), photo);
}

void TestRecordExport::missingPhotoIsReported()
{
    const card::test::TempSite site;
    const QString source = site.filePath("photos/gone.jpg");
    const card::SafeWriteResult result =
        card::copyFileSafely(source, site.filePath("saved.jpg"), {}, kMaxCopy);
    QCOMPARE(result.status, SafeWriteStatus::SourceUnreadable);
    QCOMPARE(result.path, source);
    QVERIFY(!QFile::exists(site.filePath("saved.jpg")));
}

// The photo, not the target, is named when its read fails partway; nothing is written.
void TestRecordExport::photoReadFailingPartwayIsReported()
{
    const card::test::TempSite site;
    const QString source = site.write("photos/x-C.jpg", QByteArray(100000, 'x'));
    card::test::ControlledFileAccess files;
    files.failReads(QStringLiteral("-C.jpg"), 1000);
    const card::SafeWriteResult result =
        card::copyFileSafely(source, site.filePath("saved.jpg"), {}, kMaxCopy);
    QCOMPARE(result.status, SafeWriteStatus::SourceUnreadable);
    QCOMPARE(result.path, source);
    QVERIFY(!QFile::exists(site.filePath("saved.jpg")));
}

QTEST_GUILESS_MAIN(TestRecordExport)
#include "tst_record_export.moc"
