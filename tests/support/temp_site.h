// A temporary folder for tests, with helpers to write files into it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace card::test {

class TempSite {
public:
    TempSite();

    QString path() const { return m_dir.path(); }
    // Absolute path of a name inside the folder.
    QString filePath(const QString& name) const;
    // Writes bytes to name (creating parent folders) and returns its absolute path.
    QString write(const QString& name, const QByteArray& bytes) const;
    QString makeFolder(const QString& name) const;

private:
    QTemporaryDir m_dir;
};

// Encodes text in code page 950, as the card readers write their files.
QByteArray big5(const QString& text);

} // namespace card::test
