// The fields every report heads its pages with, said the same way on each.
#pragma once

#include "core/records/record_filter.h"

#include <QList>
#include <QString>

#include <utility>

namespace card {

// The filters as the controls show them: the card number or 全部, and 進, 出 or 全選.
QString cardFilterText(const RecordCriteria& criteria);
QString directionText(DirectionChoice direction);

// Fields on one line, "label：value" each: a report's subject.
QString fieldsLine(const QList<std::pair<QString, QString>>& fields);

// The site a report's facts were read from, on its first page: the parameter file's full path
// and the records folder, as given.
QList<std::pair<QString, QString>> siteFields(const QString& parameterFile,
                                              const QString& recordsFolder);

} // namespace card
