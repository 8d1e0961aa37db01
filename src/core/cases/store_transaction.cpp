#include "core/cases/store_transaction.h"

#include <QSqlError>
#include <QSqlQuery>

namespace card {

namespace {

// The key of the schema lock among the server's advisory locks: "CASE".
constexpr int kSchemaLockKey = 0x43415345;

} // namespace

StoreTransaction::StoreTransaction(const QSqlDatabase& database, Kind kind)
    : m_database(database)
{
    const bool postgres = database.driverName() == QStringLiteral("QPSQL");
    m_open = exec(postgres ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
    if (m_open && postgres && kind == Kind::Schema &&
        !exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kSchemaLockKey))) {
        exec(QStringLiteral("ROLLBACK"));
        m_open = false;
    }
}

StoreTransaction::~StoreTransaction()
{
    if (m_open)
        exec(QStringLiteral("ROLLBACK"));
}

QString StoreTransaction::commit()
{
    if (!m_open)
        return m_error;
    m_open = false;
    if (!exec(QStringLiteral("COMMIT"))) {
        exec(QStringLiteral("ROLLBACK"));
        return m_error;
    }
    return {};
}

bool StoreTransaction::exec(const QString& statement)
{
    QSqlQuery query(m_database);
    if (query.exec(statement))
        return true;
    m_error = query.lastError().text();
    return false;
}

} // namespace card
