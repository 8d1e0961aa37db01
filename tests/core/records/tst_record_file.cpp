#include "core/records/record_file.h"

#include "core/photos/swipe_photos.h"
#include "core/platform/path_join.h"

#include <QTest>

class TestRecordFile : public QObject {
    Q_OBJECT
private slots:
    void dayFileAndCurRec_data();
    void dayFileAndCurRec();
    void pathKeepsTheFolderAsStored_data();
    void pathKeepsTheFolderAsStored();
};

void TestRecordFile::dayFileAndCurRec_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("curRec");
    QTest::newRow("3 May 2007, no leading zeros") << QDate(2007, 5, 3) << "2007-5-3.txt"
                                                  << "070503";
    QTest::newRow("two-digit month and day") << QDate(2007, 12, 31) << "2007-12-31.txt"
                                             << "071231";
    QTest::newRow("year 2000") << QDate(2000, 1, 1) << "2000-1-1.txt"
                               << "000101";
    QTest::newRow("leap day") << QDate(2024, 2, 29) << "2024-2-29.txt"
                              << "240229";
}

void TestRecordFile::dayFileAndCurRec()
{
    QFETCH(QDate, date);
    QFETCH(QString, fileName);
    QFETCH(QString, curRec);
    QCOMPARE(card::recordFileName(date), fileName);
    QCOMPARE(card::dayDigits(date), curRec);
}

void TestRecordFile::pathKeepsTheFolderAsStored_data()
{
    const QString sep = card::pathSeparator();
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("path");
    QTest::newRow("plain folder") << "D:" + sep + "Rec"
                                  << "D:" + sep + "Rec" + sep + "2007-5-3.txt";
    QTest::newRow("trailing separator doubles")
        << "D:" + sep + "Rec" + sep << "D:" + sep + "Rec" + sep + sep + "2007-5-3.txt";
    QTest::newRow("empty folder starts with the separator") << QString() << sep + "2007-5-3.txt";
    QTest::newRow("blank kept") << "Rec "
                                << "Rec " + sep + "2007-5-3.txt";
}

void TestRecordFile::pathKeepsTheFolderAsStored()
{
    QFETCH(QString, folder);
    QFETCH(QString, path);
    QCOMPARE(card::recordFilePath(folder, QDate(2007, 5, 3)), path);
}

QTEST_GUILESS_MAIN(TestRecordFile)
#include "tst_record_file.moc"
