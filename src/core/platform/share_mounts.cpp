#include "core/platform/share_mounts.h"

#include "core/platform/site_folders.h"

#include <QDir>
#include <QFile>
#include <QUrl>

namespace card {

namespace {

// mountinfo writes a space, a tab, a line break and a backslash as \040, \011, \012, \134.
QString unescaped(QStringView field)
{
    QString text;
    text.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        bool octal = false;
        const int code =
            field[i] == u'\\' && i + 3 < field.size() ? field.mid(i + 1, 3).toInt(&octal, 8) : 0;
        if (octal) {
            text += QChar(code);
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

bool isSmbType(QStringView type)
{
    return type == u"cifs" || type == u"smb3";
}

// One mountinfo line: the mount's root within its source (field 4), its mount point (field 5)
// and, after the " - " separator, its type and source.
std::optional<FolderMapping> shareOfLine(QStringView line)
{
    const QList<QStringView> fields = line.split(u' ', Qt::SkipEmptyParts);
    const qsizetype dash = fields.indexOf(u"-");
    if (dash < 6 || dash + 2 >= fields.size() || !isSmbType(fields[dash + 1]))
        return std::nullopt;
    QString source = unescaped(fields[dash + 2]);
    const QString root = unescaped(fields[3]);
    if (!source.startsWith(QStringLiteral("//")))
        return std::nullopt;
    if (root != u"/")
        source += root;
    source.replace(u'/', u'\\');
    return FolderMapping{source, unescaped(fields[4]), MappingSource::Mounted};
}

// smb-share:server=NAME,share=SHARE[,user=…] as \\NAME\SHARE; values are URI-escaped.
std::optional<QString> shareOfDesktopFolder(const QString& name)
{
    static const QString kind = QStringLiteral("smb-share:");
    if (!name.startsWith(kind))
        return std::nullopt;
    QString server;
    QString share;
    for (const QString& pair : name.mid(kind.size()).split(u',')) {
        const QString key = pair.section(u'=', 0, 0);
        const QString value = QUrl::fromPercentEncoding(pair.section(u'=', 1).toUtf8());
        if (key == u"server")
            server = value;
        else if (key == u"share")
            share = value;
    }
    if (server.isEmpty() || share.isEmpty())
        return std::nullopt;
    return QStringLiteral("\\\\") + server + u'\\' + share;
}

} // namespace

QList<FolderMapping> sharesOfMountInfo(QStringView mountInfo)
{
    QList<FolderMapping> shares;
    for (QStringView line : mountInfo.split(u'\n')) {
        if (const std::optional<FolderMapping> share = shareOfLine(line))
            shares << *share;
    }
    return shares;
}

QList<FolderMapping> sharesOfDesktop(const QString& runtimeFolder)
{
    QList<FolderMapping> shares;
    if (runtimeFolder.isEmpty())
        return shares;
    const QDir mounts(runtimeFolder + QStringLiteral("/gvfs"));
    for (const QString& name : mounts.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (const std::optional<QString> share = shareOfDesktopFolder(name))
            shares << FolderMapping{*share, mounts.filePath(name), MappingSource::Desktop};
    }
    return shares;
}

QList<FolderMapping> mountedShares()
{
    QFile mountInfo(QStringLiteral("/proc/self/mountinfo"));
    QString text;
    if (mountInfo.open(QIODevice::ReadOnly))
        text = QString::fromUtf8(mountInfo.readAll());
    // The runtime folder only exists in a desktop session; without one there is nothing to find.
    return sharesOfMountInfo(text) + sharesOfDesktop(qEnvironmentVariable("XDG_RUNTIME_DIR"));
}

void useMountedShares()
{
    QList<FolderMapping> mounted;
    QList<FolderMapping> desktop;
    for (const FolderMapping& share : mountedShares())
        (share.source == MappingSource::Mounted ? mounted : desktop) << share;
    setFolderMappings(MappingSource::Mounted, mounted);
    setFolderMappings(MappingSource::Desktop, desktop);
}

} // namespace card
