#include "core/dialog/folder_commands.h"

#include "support/temp_site.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

class TestFolderCommands : public QObject {
    Q_OBJECT
private slots:
    void create_data();
    void create();
    void removeOnlyEmptyFolders_data();
    void removeOnlyEmptyFolders();
};

void TestFolderCommands::create_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("created");
    QTest::newRow("plain name") << "new" << true;
    QTest::newRow("name with blanks") << " a b " << true;
    QTest::newRow("chinese name") << "資料夾" << true;
    QTest::newRow("existing folder") << "old" << false;
    QTest::newRow("existing file") << "file.spf" << false;
    QTest::newRow("path separator") << "x/y" << false;
    QTest::newRow("separator to a parent") << "../escaped" << false;
    QTest::newRow("dot") << "." << false;
    QTest::newRow("dot dot") << ".." << false;
    QTest::newRow("empty") << "" << false;
}

void TestFolderCommands::create()
{
    QFETCH(QString, name);
    QFETCH(bool, created);
    card::test::TempSite site;
    const QString open = site.makeFolder("open");
    site.makeFolder("open/old");
    site.makeFolder("open/x");
    site.write("open/file.spf", "x");
    const QStringList before = QDir(open).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    QCOMPARE(card::createSubfolder(open, name), created);
    QStringList after = QDir(open).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    if (created) {
        QVERIFY(QFileInfo(open + u'/' + name).isDir());
        after.removeOne(name);
    }
    QCOMPARE(after, before);
    QVERIFY(!QFileInfo::exists(site.filePath("escaped")));
    QVERIFY(!QFileInfo::exists(site.filePath("open/x/y")));
}

void TestFolderCommands::removeOnlyEmptyFolders_data()
{
    QTest::addColumn<QStringList>("content");
    QTest::addColumn<bool>("removed");
    QTest::newRow("empty folder") << QStringList{} << true;
    QTest::newRow("folder with a file") << QStringList{"a.spf"} << false;
    QTest::newRow("folder with a hidden file") << QStringList{".keep"} << false;
    QTest::newRow("folder with an empty subfolder") << QStringList{"sub/"} << false;
    QTest::newRow("folder with a filled subfolder") << QStringList{"sub/deep/b.txt"} << false;
}

void TestFolderCommands::removeOnlyEmptyFolders()
{
    QFETCH(QStringList, content);
    QFETCH(bool, removed);
    card::test::TempSite site;
    const QString target = site.makeFolder("target");
    for (const QString& entry : content) {
        if (entry.endsWith(u'/'))
            site.makeFolder(QStringLiteral("target/") + entry);
        else
            site.write(QStringLiteral("target/") + entry, "x");
    }

    QCOMPARE(card::removeEmptyFolder(target), removed);
    QCOMPARE(QFileInfo(target).isDir(), !removed);
    for (const QString& entry : content)
        QVERIFY2(QFileInfo::exists(site.filePath(QStringLiteral("target/") + entry)),
                 qPrintable(entry));
}

QTEST_GUILESS_MAIN(TestFolderCommands)
#include "tst_folder_commands.moc"
