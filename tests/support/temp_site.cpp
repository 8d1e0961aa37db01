#include "support/temp_site.h"

#include "core/text/text_decoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace card::test {

TempSite::TempSite()
{
    if (!m_dir.isValid())
        qFatal("cannot create a temporary folder");
}

QString TempSite::filePath(const QString& name) const
{
    return m_dir.filePath(name);
}

QString TempSite::write(const QString& name, const QByteArray& bytes) const
{
    const QString path = filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write a test file");
    return path;
}

QString TempSite::makeFolder(const QString& name) const
{
    const QString path = filePath(name);
    QDir().mkpath(path);
    return path;
}

QByteArray big5(const QString& text)
{
    const std::optional<QByteArray> bytes = encodeCodePage950(text);
    if (!bytes)
        qFatal("text not representable in code page 950");
    return *bytes;
}

} // namespace card::test
