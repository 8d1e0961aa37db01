#include "ui/reports/report_fields.h"

#include "ui/reports/report_texts.h"

#include <QFileInfo>

namespace card {

QString cardFilterText(const RecordCriteria& criteria)
{
    return criteria.cardFilterOn ? criteria.cardText : report_texts::kAllCards;
}

QString directionText(DirectionChoice direction)
{
    switch (direction) {
    case DirectionChoice::In:
        return QStringLiteral("進");
    case DirectionChoice::Out:
        return QStringLiteral("出");
    case DirectionChoice::All:
        return QStringLiteral("全選");
    case DirectionChoice::None:
        break;
    }
    return {};
}

QString siteName(const QString& parameterFile)
{
    return QFileInfo(parameterFile).fileName();
}

} // namespace card
