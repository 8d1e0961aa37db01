// A PostgreSQL server of the test's own: made in a temporary folder, listening on a private
// socket folder and a loopback port, stopped when the object goes.
#pragma once

#include <QString>
#include <QTemporaryDir>

namespace card::test {

class PostgresServer {
public:
    PostgresServer();
    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    // Empty when the server runs, else the one line that says why it does not.
    QString error() const { return m_error; }
    int port() const { return m_port; }
    // Makes an empty database and returns the store location that names it.
    QString newDatabase();

private:
    bool runTool(const QString& tool, const QStringList& arguments);

    QTemporaryDir m_folder;
    QString m_binaries;
    int m_port = 0;
    bool m_running = false;
    int m_databases = 0;
    QString m_error;
};

} // namespace card::test
