#include "core/text/file_names.h"

namespace card {

namespace {

QString safePart(QString part)
{
    static const QString notInNames = QStringLiteral("\\/:*?\"<>|");
    for (QChar& c : part) {
        if (notInNames.contains(c) || c.unicode() < 0x20)
            c = u'_';
    }
    return part;
}

} // namespace

QString proposedFileName(const QString& kind, const QStringList& parts, const QString& extension)
{
    QStringList pieces{safePart(kind)};
    for (const QString& part : parts)
        pieces.append(safePart(part));
    return pieces.join(u'-') + u'.' + extension;
}

} // namespace card
