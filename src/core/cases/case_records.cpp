#include "core/cases/case_records.h"

#include <QSysInfo>

namespace card {

StoreOperator currentOperator()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    if (user.isEmpty())
        user = qEnvironmentVariable("LOGNAME");
    return {user, QSysInfo::machineHostName()};
}

QString swipeLine(const CaseSwipe& swipe)
{
    return QStringList{swipe.day.toString(Qt::ISODate), swipe.time, swipe.card, swipe.name,
                       swipe.direction}
        .join(u' ');
}

} // namespace card
