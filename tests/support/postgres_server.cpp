#include "support/postgres_server.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <pwd.h>
#include <unistd.h>

namespace card::test {

namespace {

const QString kServerUser = QStringLiteral("postgres");

// The server's programs of the newest PostgreSQL installed, as Debian lays them out.
QString serverBinaries()
{
    const QStringList versions =
        QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (qsizetype i = versions.size() - 1; i >= 0; --i) {
        const QString bin = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(versions[i]);
        if (QFile::exists(bin + QStringLiteral("/pg_ctl")))
            return bin;
    }
    return {};
}

} // namespace

PostgresServer::PostgresServer()
    : m_binaries(serverBinaries())
{
    if (m_binaries.isEmpty()) {
        m_error = QStringLiteral("PostgreSQL is not installed: install the package postgresql "
                                 "(bash scripts/setup.sh --tests)");
        return;
    }
    // The server refuses to run as root: as root, its folder belongs to the postgres user and
    // its programs run as that user.
    if (geteuid() == 0) {
        const passwd* serverUser = getpwnam("postgres");
        if (!serverUser || ::chown(QFile::encodeName(m_folder.path()).constData(),
                                   serverUser->pw_uid, serverUser->pw_gid) != 0) {
            m_error = QStringLiteral("PostgreSQL's system user postgres is missing: install the "
                                     "package postgresql (bash scripts/setup.sh --tests)");
            return;
        }
    }
    const QString data = m_folder.path() + QStringLiteral("/data");
    if (!runTool(m_binaries + QStringLiteral("/initdb"),
                 {QStringLiteral("-D"), data, QStringLiteral("-U"), kServerUser,
                  QStringLiteral("--auth=trust"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                  QStringLiteral("--no-locale")}))
        return;
    // A loopback port of this process's own; another run's server may hold the first pick.
    for (int attempt = 0; attempt < 5 && !m_running; ++attempt) {
        m_port = 20000 + (getpid() * 7 + attempt * 131) % 20000;
        m_error.clear();
        m_running = runTool(m_binaries + QStringLiteral("/pg_ctl"),
                            {QStringLiteral("-D"), data, QStringLiteral("-l"),
                             m_folder.path() + QStringLiteral("/server.log"), QStringLiteral("-w"),
                             QStringLiteral("-o"),
                             QStringLiteral("-k %1 -p %2 -c listen_addresses=127.0.0.1")
                                 .arg(m_folder.path())
                                 .arg(m_port),
                             QStringLiteral("start")});
    }
}

PostgresServer::~PostgresServer()
{
    if (m_running) {
        runTool(m_binaries + QStringLiteral("/pg_ctl"),
                {QStringLiteral("-D"), m_folder.path() + QStringLiteral("/data"),
                 QStringLiteral("-m"), QStringLiteral("fast"), QStringLiteral("-w"),
                 QStringLiteral("stop")});
    }
}

bool PostgresServer::runTool(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (geteuid() == 0)
        process.start(QStringLiteral("runuser"),
                      QStringList{QStringLiteral("-u"), kServerUser, QStringLiteral("--"), tool} +
                          arguments);
    else
        process.start(tool, arguments);
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit &&
        process.exitCode() == 0)
        return true;
    m_error = QStringLiteral("%1 failed: %2")
                  .arg(QDir(tool).dirName(), QString::fromLocal8Bit(process.readAll()).trimmed());
    return false;
}

QString PostgresServer::newDatabase()
{
    const QString name = QStringLiteral("cases_%1").arg(++m_databases);
    const QString connection = QStringLiteral("postgres-server-admin");
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
        admin.setHostName(QStringLiteral("127.0.0.1"));
        admin.setPort(m_port);
        admin.setUserName(kServerUser);
        admin.setDatabaseName(kServerUser);
        if (!admin.open() || !QSqlQuery(admin).exec(QStringLiteral("CREATE DATABASE ") + name))
            m_error = admin.lastError().text();
        admin.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3").arg(kServerUser).arg(m_port).arg(name);
}

} // namespace card::test
