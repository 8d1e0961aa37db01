#include "core/cases/store_location.h"

#include "core/platform/mount_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

namespace card {

namespace {

const QString kPostgresScheme = QStringLiteral("postgresql");

// File systems whose locks SQLite cannot trust: the network ones, and the user-space mounts
// through which the desktop reaches shares.
bool isNetworkFileSystem(const QByteArray& type)
{
    static const QList<QByteArray> network = {"cifs",
                                              "smb3",
                                              "smbfs",
                                              "nfs",
                                              "nfs4",
                                              "9p",
                                              "afs",
                                              "ceph",
                                              "glusterfs",
                                              "fuse.sshfs",
                                              "fuse.gvfsd-fuse",
                                              "davfs",
                                              "fuse.davfs2",
                                              "fuse.rclone"};
    return network.contains(type);
}

StoreLocation postgresLocation(const QString& text)
{
    StoreLocation location;
    location.engine = StoreLocation::Engine::Postgres;
    const QUrl url(text, QUrl::StrictMode);
    location.user = url.userName();
    location.password = url.password();
    location.host = url.host();
    location.port = url.port(5432);
    location.database = url.path().mid(1);
    if (!url.isValid() || location.user.isEmpty() || location.host.isEmpty() ||
        location.database.isEmpty() || location.database.contains(u'/')) {
        location.error = QStringLiteral("案件資料庫的位址不正確：%1（應為 "
                                        "postgresql://使用者@主機[:埠]/資料庫）")
                             .arg(text);
    }
    return location;
}

} // namespace

QString StoreLocation::shown() const
{
    if (engine == Engine::Sqlite)
        return QDir::toNativeSeparators(file);
    return QStringLiteral("postgresql://%1@%2:%3/%4").arg(user, host).arg(port).arg(database);
}

QString defaultStoreFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/cases.sqlite");
}

StoreLocation parseStoreLocation(const QString& text)
{
    if (text.startsWith(kPostgresScheme + u':', Qt::CaseInsensitive))
        return postgresLocation(text);
    StoreLocation location;
    location.file = QFileInfo(text.isEmpty() ? defaultStoreFile() : text).absoluteFilePath();
    return location;
}

QString storeLocationSetting()
{
    const QSettings settings(QStringLiteral("card_image"), QStringLiteral("card_image"));
    return settings.value(QStringLiteral("cases/database")).toString();
}

StoreLocation chosenStoreLocation(const QString& given)
{
    return parseStoreLocation(given.isEmpty() ? storeLocationSetting() : given);
}

QString networkShareRefusal(const QString& file, const QByteArray& mountTable)
{
    const QString path = QFileInfo(file).absoluteFilePath();
    const QList<MountedVolume> volumes = mountTableVolumes(mountTable);
    const MountedVolume* volume = volumeHolding(volumes, path);
    if (!volume || !isNetworkFileSystem(volume->fileSystemType))
        return {};
    return QStringLiteral("案件資料庫 %1 在網路共用資料夾上，SQLite 在那裡無法安全上鎖，"
                          "多人同時寫入會損壞資料。請改用團隊的案件資料庫："
                          "--cases-db postgresql://使用者@主機/資料庫")
        .arg(QDir::toNativeSeparators(path));
}

QString networkShareRefusal(const QString& file)
{
    QFile table(QStringLiteral("/proc/self/mounts"));
    if (!table.open(QIODevice::ReadOnly))
        return {};
    return networkShareRefusal(file, table.readAll());
}

} // namespace card
