#include "core/platform/file_exists.h"

#include "support/temp_site.h"

#include <QFile>
#include <QTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

class TestFileExists : public QObject {
    Q_OBJECT
private slots:
    void ordinaryFilesOnly_data();
    void ordinaryFilesOnly();
    void wildcardsAreLiteral();
};

void TestFileExists::ordinaryFilesOnly_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("expected");
    QTest::newRow("ordinary file") << "a-C.jpg" << true;
    QTest::newRow("empty file") << "empty.spf" << true;
    QTest::newRow("missing file") << "b-C.jpg" << false;
    QTest::newRow("folder") << "folder.spf" << false;
    QTest::newRow("hidden file") << ".hidden.spf" << false;
    QTest::newRow("file in hidden folder") << ".cache/x.spf" << true;
    QTest::newRow("link to a file") << "link.jpg" << true;
    QTest::newRow("link to a folder") << "dirlink.jpg" << false;
    QTest::newRow("empty path") << "" << false;
#ifndef Q_OS_WIN
    QTest::newRow("named pipe") << "pipe.spf" << false;
    QTest::newRow("device file") << "/dev/null" << false;
#endif
}

void TestFileExists::ordinaryFilesOnly()
{
    QFETCH(QString, name);
    QFETCH(bool, expected);
    card::test::TempSite site;
    site.write("a-C.jpg", "x");
    site.write("empty.spf", "");
    site.makeFolder("folder.spf");
    site.write(".hidden.spf", "x");
    site.write(".cache/x.spf", "x");
    QVERIFY(QFile::link(site.filePath("a-C.jpg"), site.filePath("link.jpg")));
    QVERIFY(QFile::link(site.filePath("folder.spf"), site.filePath("dirlink.jpg")));
#ifndef Q_OS_WIN
    QCOMPARE(::mkfifo(QFile::encodeName(site.filePath("pipe.spf")).constData(), 0600), 0);
#endif
    QString path = name.isEmpty() ? QString() : site.filePath(name);
    if (name.startsWith(u'/'))
        path = name; // a file outside the site
    QCOMPARE(card::fileExists(path), expected);
}

void TestFileExists::wildcardsAreLiteral()
{
    card::test::TempSite site;
    site.write("a.spf", "x");
    QVERIFY(!card::fileExists(site.filePath("*.spf")));
    QVERIFY(!card::fileExists(site.filePath("?.spf")));
    site.write("*.spf", "x");
    QVERIFY(card::fileExists(site.filePath("*.spf")));
}

QTEST_GUILESS_MAIN(TestFileExists)
#include "tst_file_exists.moc"
