// A stand-in file system for the photo lookup: a set of present paths that logs every test.
#pragma once

#include "core/photos/photo_find.h"

#include <QSet>
#include <QString>
#include <QStringList>

namespace card::test {

class ProbeLog {
public:
    explicit ProbeLog(QSet<QString> present = {})
        : m_present(std::move(present))
    {}

    ExistenceTest test()
    {
        return [this](const QString& path) {
            m_probed.append(path);
            return m_present.contains(path);
        };
    }

    void add(const QString& path) { m_present.insert(path); }
    void remove(const QString& path) { m_present.remove(path); }
    const QStringList& probed() const { return m_probed; }
    void clearLog() { m_probed.clear(); }

private:
    QSet<QString> m_present;
    QStringList m_probed;
};

} // namespace card::test
