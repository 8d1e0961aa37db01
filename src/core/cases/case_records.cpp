#include "core/cases/case_records.h"

#include <QDir>
#include <QSysInfo>

namespace card {

StoreOperator currentOperator()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    if (user.isEmpty())
        user = qEnvironmentVariable("LOGNAME");
    // A service or a bare shell may set none of them; the home folder is the user's own.
    if (user.isEmpty())
        user = QDir::home().dirName();
    return {user, QSysInfo::machineHostName()};
}

QString swipeLine(const CaseSwipe& swipe)
{
    return QStringList{swipe.day.toString(Qt::ISODate), swipe.time, swipe.card, swipe.name,
                       swipe.direction}
        .join(u' ');
}

} // namespace card
