// Windows folders read under local folders: the mapping rule, the mounts found, and a site read
// through a mounted share.
#include "core/platform/file_exists.h"
#include "core/platform/folder_mapping.h"
#include "core/platform/share_mounts.h"
#include "core/platform/site_folders.h"
#include "core/records/record_file.h"
#include "support/temp_site.h"

#include <QTest>

using card::FolderMapping;
using card::MappingSource;

namespace {

QList<FolderMapping> mappings(const QStringList& pairs)
{
    QList<FolderMapping> list;
    for (const QString& pair : pairs)
        list << FolderMapping{pair.section(u'=', 0, 0), pair.section(u'=', 1),
                              MappingSource::Saved};
    return list;
}

} // namespace

class TestFolderMapping : public QObject {
    Q_OBJECT
private slots:
    void mappedFolder_data();
    void mappedFolder();
    void mountInfo_data();
    void mountInfo();
    void siteOnMountedShare();
};

void TestFolderMapping::mappedFolder_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("mappings"); // WINDOWS=LOCAL, in order
    QTest::addColumn<QString>("local");        // "-" when no mapping covers the folder

    const QStringList drive{"D:\\=/mnt/d"};
    QTest::newRow("drive letter") << "D:\\Rec" << drive << "/mnt/d/Rec";
    QTest::newRow("drive letter with /") << "D:/CardData/Rec" << drive << "/mnt/d/CardData/Rec";
    QTest::newRow("network path") << "\\\\CARDSRV01\\Card\\Records"
                                  << QStringList{"\\\\cardsrv01\\card=/mnt/card"}
                                  << "/mnt/card/Records";
    QTest::newRow("longest prefix wins")
        << "D:\\CardData\\Photos\\Gate1" << QStringList{"D:\\=/mnt/d", "D:\\CardData\\Photos=/p"}
        << "/p/Gate1";
    QTest::newRow("letter case ignored") << "d:\\rec" << QStringList{"D:\\REC=/r"} << "/r";
    QTest::newRow("mixed separators")
        << "D:/CardData\\Rec" << QStringList{"d:\\carddata/=/c"} << "/c/Rec";
    QTest::newRow("trailing separator kept") << "D:\\Rec\\" << drive << "/mnt/d/Rec/";
    QTest::newRow("whole components only") << "D:\\Records" << QStringList{"D:\\Rec=/r"} << "-";
    QTest::newRow("local path untouched") << "/srv/rec" << drive << "/srv/rec";
    QTest::newRow("no match") << "E:\\Rec" << drive << "-";
    QTest::newRow("other server") << "\\\\OTHER\\Card" << QStringList{"\\\\CARDSRV01\\Card=/c"}
                                  << "-";
}

void TestFolderMapping::mappedFolder()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, mappings);
    QFETCH(QString, local);
    QCOMPARE(card::mappedFolder(folder, ::mappings(mappings)).value_or(QStringLiteral("-")), local);
}

void TestFolderMapping::mountInfo_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("windowsFolder"); // empty: not a share
    QTest::addColumn<QString>("localFolder");

    QTest::newRow("cifs") << "61 28 0:52 / /mnt/card rw,relatime shared:30 - cifs //CARDSRV01/Card "
                             "rw,vers=3.1.1"
                          << "\\\\CARDSRV01\\Card"
                          << "/mnt/card";
    QTest::newRow("smb3 without optional fields") << "62 28 0:53 / /mnt/s rw - smb3 //srv/share rw"
                                                  << "\\\\srv\\share"
                                                  << "/mnt/s";
    QTest::newRow("names with \\040 escapes")
        << "63 28 0:54 / /mnt/card\\040data rw - cifs //srv/card\\040share rw"
        << "\\\\srv\\card share"
        << "/mnt/card data";
    QTest::newRow("subfolder of a share") << "64 28 0:55 /Records /mnt/rec rw - cifs //srv/card rw"
                                          << "\\\\srv\\card\\Records"
                                          << "/mnt/rec";
    QTest::newRow("ext4 ignored") << "25 1 8:1 / / rw - ext4 /dev/sda1 rw" << QString()
                                  << QString();
    QTest::newRow("nfs ignored") << "65 28 0:56 / /mnt/n rw - nfs4 srv:/x rw" << QString()
                                 << QString();
}

void TestFolderMapping::mountInfo()
{
    QFETCH(QString, line);
    QFETCH(QString, windowsFolder);
    QFETCH(QString, localFolder);
    const QList<FolderMapping> shares = card::sharesOfMountInfo(line + u'\n');
    QCOMPARE(shares.size(), windowsFolder.isEmpty() ? 0 : 1);
    if (!shares.isEmpty()) {
        QCOMPARE(shares.first().windowsFolder, windowsFolder);
        QCOMPARE(shares.first().localFolder, localFolder);
    }
}

// A share mounted at a folder of this machine, as mountinfo tells it: the parameter file's
// folders, written in another case than the copy on disk has, read from it.
void TestFolderMapping::siteOnMountedShare()
{
    const card::test::TempSite mount;
    mount.write(QStringLiteral("carddata/records/2007-5-3.txt"), "08:00:00\r\n");
    const QString line = QStringLiteral("70 28 0:60 / %1 rw - cifs //CardSrv01/Card rw")
                             .arg(QString(mount.path()).replace(u' ', QStringLiteral("\\040")));
    card::setFolderMappings(MappingSource::Mounted, card::sharesOfMountInfo(line));

    const QString records = QStringLiteral("\\\\CARDSRV01\\card\\CardData\\Records");
    QCOMPARE(card::localFolder(records), mount.path() + QStringLiteral("/carddata/records"));
    QVERIFY(card::fileExists(card::recordFilePath(records, QDate(2007, 5, 3))));
    QVERIFY(!card::fileExists(card::recordFilePath(records, QDate(2007, 5, 4))));
    QCOMPARE(card::siteFileText(records, QStringLiteral("2007-5-4.txt")),
             records + QStringLiteral("\\2007-5-4.txt（本機：") + mount.path() +
                 QStringLiteral("/carddata/records/2007-5-4.txt）"));
    QVERIFY(card::unmappedWindowsFolders({records, QStringLiteral("E:\\Photos")}) ==
            QStringList{QStringLiteral("E:\\Photos")});
}

QTEST_GUILESS_MAIN(TestFolderMapping)
#include "tst_folder_mapping.moc"
