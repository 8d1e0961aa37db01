// The fields every report heads its pages with, said the same way on each.
#pragma once

#include "core/records/record_filter.h"

#include <QString>

namespace card {

// The filters as the controls show them: the card number or 全部, and 進, 出 or 全選.
QString cardFilterText(const RecordCriteria& criteria);
QString directionText(DirectionChoice direction);

// The site's name on every report: the parameter file's name.
QString siteName(const QString& parameterFile);

} // namespace card
