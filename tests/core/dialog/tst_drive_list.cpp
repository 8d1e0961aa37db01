#include "core/dialog/drive_list.h"

#include <QTest>

using card::Drive;
using card::MountedVolume;

class TestDriveList : public QObject {
    Q_OBJECT
private slots:
    void userDrives_data();
    void userDrives();
    void rootFirstWithoutRepeats();
    void driveOfPath_data();
    void driveOfPath();
    void machineHasTheRoot();
    void mountTable();
};

void TestDriveList::userDrives_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<QByteArray>("device");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<bool>("isFolder");
    QTest::addColumn<bool>("expected");
    QTest::newRow("root on a disk")
        << "/" << QByteArray("/dev/sda2") << QByteArray("ext4") << true << true;
    QTest::newRow("root on an overlay")
        << "/" << QByteArray("overlay") << QByteArray("overlay") << true << true;
    QTest::newRow("second disk") << "/data" << QByteArray("/dev/nvme0n1p3") << QByteArray("xfs")
                                 << true << true;
    QTest::newRow("usb stick") << "/media/ann/KINGSTON" << QByteArray("/dev/sdb1")
                               << QByteArray("vfat") << true << true;
    QTest::newRow("proc") << "/proc" << QByteArray("proc") << QByteArray("proc") << true << false;
    QTest::newRow("sysfs") << "/sys" << QByteArray("sysfs") << QByteArray("sysfs") << true << false;
    QTest::newRow("tmpfs") << "/run" << QByteArray("tmpfs") << QByteArray("tmpfs") << true << false;
    QTest::newRow("package image")
        << "/snap/core/1" << QByteArray("/dev/loop3") << QByteArray("squashfs") << true << false;
    QTest::newRow("file mounted over a file")
        << "/etc/hosts" << QByteArray("/dev/vda") << QByteArray("ext4") << false << false;
    QTest::newRow("network share")
        << "/mnt/share" << QByteArray("//server/share") << QByteArray("cifs") << true << false;
}

void TestDriveList::userDrives()
{
    QFETCH(QString, root);
    QFETCH(QByteArray, device);
    QFETCH(QByteArray, type);
    QFETCH(bool, isFolder);
    QFETCH(bool, expected);
    QCOMPARE(card::isUserDrive({root, device, type, isFolder}), expected);
}

void TestDriveList::rootFirstWithoutRepeats()
{
    const QList<MountedVolume> volumes = {
        {"/media/ann/USB", "/dev/sdb1", "vfat", true}, {"/proc", "proc", "proc", true},
        {"/data", "/dev/sda3", "ext4", true},          {"/", "/dev/sda2", "ext4", true},
        {"/data", "/dev/sda3", "ext4", true},
    };
    const QList<Drive> drives = card::drivesOf(volumes);
    QStringList roots;
    for (const Drive& drive : drives) {
        QCOMPARE(drive.name, drive.root);
        roots.append(drive.root);
    }
    QCOMPARE(roots, (QStringList{"/", "/data", "/media/ann/USB"}));
}

void TestDriveList::driveOfPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("expected");
    QTest::newRow("the root itself") << "/" << 0;
    QTest::newRow("folder on the root disk") << "/home/ann/site" << 0;
    QTest::newRow("a mount folder") << "/data" << 1;
    QTest::newRow("inside a mount") << "/data/site/a" << 1;
    QTest::newRow("name that only starts like a mount") << "/database/x" << 0;
    QTest::newRow("deeper mount wins") << "/data/usb/x" << 2;
    QTest::newRow("relative path") << "site" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestDriveList::driveOfPath()
{
    QFETCH(QString, path);
    QFETCH(int, expected);
    const QList<Drive> drives = {{"/", "/"}, {"/data", "/data"}, {"/data/usb", "/data/usb"}};
    QCOMPARE(card::driveIndexOf(drives, path), expected);
}

void TestDriveList::machineHasTheRoot()
{
    const QList<Drive> drives = card::machineDrives();
    QVERIFY(!drives.isEmpty());
#ifndef Q_OS_WIN
    QCOMPARE(drives.first().root, QStringLiteral("/"));
#endif
}

void TestDriveList::mountTable()
{
    const QByteArray table = "/dev/vda1 / ext4 rw,relatime 0 0\n"
                             "proc /proc proc rw,nosuid 0 0\n"
                             "/dev/sdb1 /media/ann/MY\\040DISK vfat rw 0 0\n"
                             "server:/photos /mnt/photos nfs rw 0 0\n"
                             "broken-line\n";
    const QList<card::MountedVolume> volumes = card::mountTableVolumes(table);
    QCOMPARE(volumes.size(), 4);
    QCOMPARE(volumes[0].rootPath, QStringLiteral("/"));
    QCOMPARE(volumes[2].rootPath, QStringLiteral("/media/ann/MY DISK"));
    QCOMPARE(volumes[2].device, QByteArray("/dev/sdb1"));
    QCOMPARE(volumes[2].fileSystemType, QByteArray("vfat"));
    const QList<Drive> drives = card::drivesOf(volumes);
    QCOMPARE(drives.size(), 2);
    QCOMPARE(drives[1].root, QStringLiteral("/media/ann/MY DISK"));
}

QTEST_GUILESS_MAIN(TestDriveList)
#include "tst_drive_list.moc"
