#include "core/photos/photo_name.h"

#include "core/platform/path_join.h"

namespace card {

namespace {

const QString kExtension = QStringLiteral(".jpg");

} // namespace

PhotoName PhotoName::forSwipe(const QString& folder, const QString& card, const QString& day,
                              const QString& time)
{
    return {joinPath(folder, card + u'-' + day + u'-' + time + u'-'), u'C'};
}

std::optional<PhotoName> PhotoName::fromPath(const QString& path)
{
    if (path.size() <= kExtension.size() || !path.endsWith(kExtension))
        return std::nullopt;
    const qsizetype suffix = path.size() - kExtension.size() - 1;
    return PhotoName(path.first(suffix), path.at(suffix));
}

PhotoName PhotoName::frame(int number) const
{
    return {m_stem, QChar(u'0' + number)};
}

int PhotoName::frameNumber() const
{
    return m_suffix >= u'1' && m_suffix <= QChar(u'0' + kHighestFrame) ? m_suffix.digitValue() : 0;
}

QString PhotoName::path() const
{
    return m_stem + m_suffix + kExtension;
}

} // namespace card
