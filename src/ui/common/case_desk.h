// The program's one case store, opened on first use from --cases-db, the settings or the default
// file, and the trail every window records into.
#pragma once

#include "core/cases/case_store.h"
#include "core/records/swipe.h"

#include <QObject>
#include <QString>

#include <memory>

class QWidget;

namespace card {

class CaseDesk : public QObject {
    Q_OBJECT
public:
    static CaseDesk& instance();

    // The store's text as --cases-db gives it; empty leaves the choice to the settings.
    void setLocationText(const QString& text);
    // The store, opened when first asked for; null when it cannot be used, which is said in a
    // message box over parent (the open is tried again next time: a server may come back).
    CaseStore* store(QWidget* parent);
    // The store for reading what it keeps on the side: null, and nothing said, when it cannot
    // be used.
    CaseStore* quietStore() { return open(nullptr, false); }
    // Records what was done in the trail. A store that cannot be used records nothing and says
    // so only the first time, so that exporting and printing go on without it.
    void record(QWidget* parent, const QString& action, const QString& details,
                const QString& caseName = {});
    // Tells the windows that cases, their swipes or the trail changed.
    void announceChange() { emit changed(); }

signals:
    void changed();

private:
    CaseDesk();

    CaseStore* open(QWidget* parent, bool sayWhy);

    QString m_locationText;
    std::unique_ptr<CaseStore> m_store;
    bool m_failureShown = false;
};

// The names of the cases that hold the swipe, for marking it in a window; none when the store
// cannot be used.
QStringList casesOf(const Swipe& swipe);
// "案件：A、B" for a swipe in cases, empty for one in none.
QString caseMark(const Swipe& swipe);

// Records a file written by a window (an export, a PDF, a saved photo): what it was and where.
void recordWritten(QWidget* parent, const QString& action, const QString& what,
                   const QString& path);

} // namespace card
