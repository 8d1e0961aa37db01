#include "ui/reports/report_fields.h"

#include "ui/reports/report_texts.h"

#include <QDir>

namespace card {

QString cardFilterText(const RecordCriteria& criteria)
{
    return criteria.cardFilterOn ? criteria.cardText : report_texts::kAllCards;
}

QString directionText(DirectionChoice direction)
{
    switch (direction) {
    case DirectionChoice::In:
        return inWord().toString();
    case DirectionChoice::Out:
        return outWord().toString();
    case DirectionChoice::All:
        return QStringLiteral("全選");
    case DirectionChoice::None:
        break;
    }
    return {};
}

QString fieldsLine(const QList<std::pair<QString, QString>>& fields)
{
    QStringList parts;
    for (const auto& [label, value] : fields)
        parts << label + report_texts::kFieldSeparator + value;
    return parts.join(QStringLiteral("　"));
}

QList<std::pair<QString, QString>> siteFields(const QString& parameterFile,
                                              const QString& recordsFolder)
{
    return {{report_texts::kParameterFileLabel, QDir::toNativeSeparators(parameterFile)},
            {report_texts::kRecordsFolderLabel, QDir::toNativeSeparators(recordsFolder)}};
}

} // namespace card
