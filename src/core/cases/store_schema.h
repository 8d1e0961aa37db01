// The case store's tables, built up by numbered upgrades that every store runs on open.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QSqlDatabase;

namespace card {

// One step of the schema: the statements that take a store from version - 1 to version. Write
// them once for both engines; {id} stands for the engine's own generated key column and
// {bytes} for its byte column type.
struct SchemaUpgrade {
    int version = 0;
    QStringList statements;
};

// The program's upgrades, version 1 first. A new table or column is a new entry at the end;
// an entry that has shipped never changes.
const QList<SchemaUpgrade>& schemaUpgrades();

// The version the program's upgrades reach.
int currentSchemaVersion();

// Brings the store to the last of upgrades, each step in its own transaction, while other
// programs opening the same store wait. Returns an empty text or what went wrong; a store newer
// than upgrades is refused, as this program would not know its tables.
QString upgradeSchema(const QSqlDatabase& database, const QList<SchemaUpgrade>& upgrades);

// The store's schema version; 0 for a new, empty store.
int schemaVersionOf(const QSqlDatabase& database);

} // namespace card
