#include "core/parameters/parameter_table.h"

#include "support/temp_site.h"

#include <QTest>

namespace {

// n values v0, v1, ... one per line.
QByteArray numberedValues(int count, bool finalLineEnd = true)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        bytes += "v" + QByteArray::number(i);
        if (i + 1 < count || finalLineEnd)
            bytes += "\r\n";
    }
    return bytes;
}

card::ParameterTable filledWith(const QString& text)
{
    card::ParameterTable para;
    para.fill(text);
    return para;
}

} // namespace

class TestParameterTable : public QObject {
    Q_OBJECT
private slots:
    void wholeFilesLoad_data();
    void wholeFilesLoad();
    void shortFileKeepsLaterSlots();
    void missingFileLeavesTableUnchanged();
    void folderIsNotAParameterFile();
    void slotValues();
    void secondLoadOverwrites();
    void encodingsGiveTheSameValues();
    void badContent_data();
    void badContent();
    void startOfALongerFile_data();
    void startOfALongerFile();
    void hugeFileWithGoodValuesLoads();
};

void TestParameterTable::wholeFilesLoad_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("26 values with final line end") << numberedValues(26);
    QTest::newRow("26 values without final line end") << numberedValues(26, false);
    QTest::newRow("27 values") << numberedValues(27);
    QTest::newRow("all on one line") << numberedValues(26).replace("\r\n", ",");
}

void TestParameterTable::wholeFilesLoad()
{
    QFETCH(QByteArray, bytes);
    card::test::TempSite site;
    card::ParameterTable para = filledWith("old");
    QVERIFY(card::readParameterFile(site.write("a.spf", bytes), para));
    for (int i = 0; i < card::kParameterCount; ++i)
        QCOMPARE(para[static_cast<size_t>(i)], QStringLiteral("v%1").arg(i));
}

void TestParameterTable::shortFileKeepsLaterSlots()
{
    card::test::TempSite site;
    card::ParameterTable para = filledWith("old");
    QVERIFY(!card::readParameterFile(site.write("a.spf", numberedValues(25)), para));
    QCOMPARE(para[24], QStringLiteral("v24"));
    QCOMPARE(para[25], QStringLiteral("old"));

    QVERIFY(!card::readParameterFile(site.write("b.spf", numberedValues(10)), para));
    QCOMPARE(para[9], QStringLiteral("v9"));
    QCOMPARE(para[10], QStringLiteral("v10")); // from the 25-value file
}

void TestParameterTable::missingFileLeavesTableUnchanged()
{
    card::test::TempSite site;
    card::ParameterTable para = filledWith("old");
    QVERIFY(!card::readParameterFile(site.filePath("missing.spf"), para));
    QCOMPARE(para, filledWith("old"));
    QVERIFY(!card::readParameterFile(QString(), para));
    QCOMPARE(para, filledWith("old"));
}

void TestParameterTable::folderIsNotAParameterFile()
{
    card::test::TempSite site;
    card::ParameterTable para = filledWith("old");
    QVERIFY(!card::readParameterFile(site.makeFolder("dir.spf"), para));
    QCOMPARE(para, filledWith("old"));
}

void TestParameterTable::slotValues()
{
    QByteArray bytes;
    for (int i = 0; i < 26; ++i) {
        if (i == 3)
            bytes += "\"a, b c\"";
        else if (i == 5)
            bytes += "0017";
        else if (i == 17)
            bytes += "D:\\Records";
        else if (i == 19)
            bytes += "";
        else if (i == 20)
            bytes += "#2007-05-15#";
        else
            bytes += "x";
        bytes += i % 2 ? "\r\n" : ",";
    }
    card::test::TempSite site;
    card::ParameterTable para;
    QVERIFY(card::readParameterFile(site.write("a.spf", bytes), para));
    QCOMPARE(para[3], QStringLiteral("a, b c"));
    QCOMPARE(para[5], QStringLiteral("17"));
    QCOMPARE(para[card::kRecordsFolderSlot], QStringLiteral("D:\\Records"));
    QCOMPARE(para[card::kPhotoFolderSlot], QString());
    QCOMPARE(para[20], QStringLiteral("2007-05-15"));
}

void TestParameterTable::secondLoadOverwrites()
{
    card::test::TempSite site;
    card::ParameterTable para;
    QVERIFY(card::readParameterFile(site.write("a.spf", numberedValues(26)), para));
    QVERIFY(card::readParameterFile(
        site.write("b.spf", QByteArray(numberedValues(26)).replace('v', 'w')), para));
    QCOMPARE(para[0], QStringLiteral("w0"));
    QCOMPARE(para[25], QStringLiteral("w25"));
}

void TestParameterTable::encodingsGiveTheSameValues()
{
    QString text;
    for (int i = 0; i < 26; ++i)
        text += QStringLiteral("\"總公司%1\"\r\n").arg(i);
    card::test::TempSite site;
    card::ParameterTable fromBig5;
    card::ParameterTable fromUtf8;
    card::ParameterTable fromBom;
    card::ParameterTable fromUtf8ThenBig5;
    QVERIFY(card::readParameterFile(site.write("big5.spf", card::test::big5(text)), fromBig5));
    QVERIFY(card::readParameterFile(site.write("utf8.spf", text.toUtf8()), fromUtf8));
    QVERIFY(
        card::readParameterFile(site.write("bom.spf", "\xEF\xBB\xBF" + text.toUtf8()), fromBom));
    // What follows the 26th value does not decide how the values read.
    QVERIFY(card::readParameterFile(
        site.write("mixed.spf", text.toUtf8() + card::test::big5(QStringLiteral("備註"))),
        fromUtf8ThenBig5));
    QCOMPARE(fromBig5[7], QStringLiteral("總公司7"));
    QCOMPARE(fromUtf8, fromBig5);
    QCOMPARE(fromBom, fromBig5);
    QCOMPARE(fromUtf8ThenBig5, fromBig5);
}

void TestParameterTable::badContent_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<QString>("slot0");
    const QByteArray values = numberedValues(26);
    QTest::newRow("empty") << QByteArray() << false << "old";
    QTest::newRow("binary garbage")
        << QByteArray("\x01\x02\x81", 3) << false << QString::fromUtf16(u"\u0001\u0002\uFFFD");
    QTest::newRow("unterminated quote swallows the rest")
        << QByteArray("\"" + values) << false << QString::fromLatin1(values);
    QTest::newRow("one long line without separator")
        << QByteArray(10 * 1024 * 1024, 'x') << false << QString(10 * 1024 * 1024, u'x');
    QTest::newRow("cr only line ends") << QByteArray(values).replace("\r\n", "\r") << true << "v0";
    QTest::newRow("utf8 bom") << "\xEF\xBB\xBF" + values << true << "v0";
    QTest::newRow("nul bytes are not separators")
        << QByteArray(values).replace("\r\n", QByteArray(1, '\0')) << false
        << QString::fromLatin1(QByteArray(values).replace("\r\n", QByteArray(1, '\0')));
}

void TestParameterTable::badContent()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, loads);
    QFETCH(QString, slot0);
    card::ParameterTable para = filledWith("old");
    QCOMPARE(card::readParameterValues(bytes, para), loads);
    QCOMPARE(para[0], slot0);
    QCOMPARE(para[25], loads ? QStringLiteral("v25") : QStringLiteral("old"));
}

void TestParameterTable::startOfALongerFile_data()
{
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<QString>("slot24");
    QTest::newRow("26 values, then more") << numberedValues(26) + "v26" << true << "v24";
    QTest::newRow("ends inside the 26th value") << numberedValues(25) + "v2" << false << "v24";
    QTest::newRow("ends inside the quoted 26th value") << numberedValues(25) + "\"v25\r\n"
                                                       << false << "v24";
    QTest::newRow("ends inside the 25th value") << numberedValues(24) + "v2" << false << "old";
}

void TestParameterTable::startOfALongerFile()
{
    QFETCH(QByteArray, start);
    QFETCH(bool, loads);
    QFETCH(QString, slot24);
    card::ParameterTable para = filledWith("old");
    QCOMPARE(card::readParameterValues(start, para, true), loads);
    QCOMPARE(para[23], QStringLiteral("v23"));
    QCOMPARE(para[24], slot24);
    QCOMPARE(para[25], loads ? QStringLiteral("v25") : QStringLiteral("old"));
}

void TestParameterTable::hugeFileWithGoodValuesLoads()
{
    card::test::TempSite site;
    const QByteArray tail(card::kParameterFileReadLimit, 'x');
    const QString path = site.write("huge.spf", numberedValues(26) + tail);
    card::ParameterTable para = filledWith("old");
    QVERIFY(card::readParameterFile(path, para));
    QCOMPARE(para[0], QStringLiteral("v0"));
    QCOMPARE(para[25], QStringLiteral("v25"));
}

QTEST_GUILESS_MAIN(TestParameterTable)
#include "tst_parameter_table.moc"
