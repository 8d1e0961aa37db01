// One change to the case store as one transaction: all of it lands, or none of it.
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace card {

class StoreTransaction {
public:
    // Schema changes also hold the store's schema lock, so two programs opening a store at once
    // upgrade it one after the other.
    enum class Kind { Change, Schema };

    // Begins at once: on SQLite with the write lock taken (waiting while another writer holds
    // it), so that two writers never deadlock on upgrading a read lock.
    explicit StoreTransaction(const QSqlDatabase& database, Kind kind = Kind::Change);
    // Rolls back what was not committed.
    ~StoreTransaction();
    StoreTransaction(const StoreTransaction&) = delete;
    StoreTransaction& operator=(const StoreTransaction&) = delete;

    bool begun() const { return m_open; }
    QString error() const { return m_error; }
    // Returns an empty text, or why the change did not land.
    QString commit();

private:
    bool exec(const QString& statement);

    QSqlDatabase m_database;
    bool m_open = false;
    QString m_error;
};

} // namespace card
