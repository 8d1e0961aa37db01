#include "core/platform/save_target.h"

#include "core/platform/safe_write.h"

#include <QFileInfo>

namespace card {

QString withDefaultExtension(const QString& typed, const QString& extension)
{
    if (typed.isEmpty() || !QFileInfo(typed).suffix().isEmpty())
        return typed;
    return typed + u'.' + extension;
}

SaveTarget judgeSaveTarget(const QString& typed, const QString& extension,
                           const QStringList& protectedPlaces)
{
    SaveTarget target;
    target.path = withDefaultExtension(typed, extension);
    target.refusedBy = protectedPlaceHolding(target.path, protectedPlaces);
    // Any entry counts, hidden ones too: it is what the write would replace.
    target.exists = !target.refused() && QFileInfo::exists(target.path);
    return target;
}

} // namespace card
