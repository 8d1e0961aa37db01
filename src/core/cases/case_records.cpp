#include "core/cases/case_records.h"

#include <QDir>
#include <QSysInfo>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace card {

namespace {

// The account the process runs as, for a scheduled job or a service that sets no USER.
QString accountName()
{
#ifdef Q_OS_UNIX
    if (const passwd* account = getpwuid(geteuid()))
        return QString::fromLocal8Bit(account->pw_name);
#endif
    return {};
}

} // namespace

StoreOperator currentOperator()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    if (user.isEmpty())
        user = qEnvironmentVariable("LOGNAME");
    if (user.isEmpty())
        user = accountName();
    // A bare shell may set none of them and name no account; the home folder is the user's own.
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
