// Where the case store lives: a SQLite file on this machine, or a team's PostgreSQL server.
#pragma once

#include <QByteArray>
#include <QString>

namespace card {

struct StoreLocation {
    enum class Engine { Sqlite, Postgres };
    Engine engine = Engine::Sqlite;
    QString file; // the SQLite file
    // The PostgreSQL server; an empty password leaves it to the client's own means (~/.pgpass).
    QString user;
    QString password;
    QString host;
    int port = 5432;
    QString database;
    QString error; // why the text names no store; empty when it does

    bool valid() const { return error.isEmpty(); }
    // How the store is named to the operator: the file, or the server without its password.
    QString shown() const;
};

// The store of this machine when nothing else is chosen: cases.sqlite in the user's data folder.
QString defaultStoreFile();

// Reads the text given with --cases-db or kept in the settings: postgresql://user@host[:port]/
// database for the team store, a file path for a SQLite file, empty for the default file.
StoreLocation parseStoreLocation(const QString& text);

// The text kept in the settings for the case store (cases/database); empty when none is kept.
QString storeLocationSetting();

// The store given on the command line, else the one in the settings, else the default file.
StoreLocation chosenStoreLocation(const QString& given);

// The plain message that refuses a SQLite file on a network share (its locks are not reliable
// there), or an empty text when the file's folder is on a local file system. mountTable is the
// text of /proc/self/mounts; the mount with the longest folder holding the file decides.
QString networkShareRefusal(const QString& file, const QByteArray& mountTable);

// The same against this machine's mount table.
QString networkShareRefusal(const QString& file);

} // namespace card
