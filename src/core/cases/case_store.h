// The case store: cases, their swipes and notes, and the trail, in a SQLite file or on a team's
// PostgreSQL server through Qt SQL. Each change is one transaction with its trail line.
#pragma once

#include "core/cases/case_records.h"
#include "core/cases/store_location.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QSqlDatabase;

namespace card {

class CaseStore {
public:
    // Opens the store, making it on first use and upgrading its schema. Returns null with the
    // reason in error when the store cannot be used (a SQLite file on a network share, a server
    // that does not answer, a store newer than the program).
    static std::unique_ptr<CaseStore> open(const StoreLocation& location, const StoreOperator& who,
                                           QString& error);
    ~CaseStore();
    CaseStore(const CaseStore&) = delete;
    CaseStore& operator=(const CaseStore&) = delete;

    const StoreLocation& location() const { return m_location; }
    const StoreOperator& storeOperator() const { return m_operator; }
    // Why the last change did not land.
    const QString& errorText() const { return m_error; }
    int schemaVersion();

    // Records what was done (an export, a print, ...) as its own change.
    bool record(const QString& action, const QString& details, const QString& caseName = {});
    // The trail, newest first.
    QList<TrailEntry> trail(const TrailFilter& filter = {});
    // The operators the trail names, for choosing among them.
    QStringList trailOperators();

    // The cases, newest first; with a search text only those whose name or description, or one
    // of whose swipes' notes, cards or names, hold it (letters compared without case).
    QList<CaseSummary> cases(const QString& search = {});
    QStringList openCaseNames();
    // The case of exactly that name, if there is one.
    std::optional<CaseSummary> caseNamed(const QString& name);
    // Adds swipe to the case, making the case when no case has that name.
    bool addSwipe(const QString& caseName, const CaseSwipe& swipe);
    QList<CaseSwipe> swipesOf(const QString& caseName);
    bool setClosed(const QString& caseName, bool closed);
    bool setDescription(const QString& caseName, const QString& description);
    // The note's old and new text go into the trail.
    bool editNote(qint64 swipeId, const QString& note);
    // The swipe and its note go into the trail.
    bool removeSwipe(qint64 swipeId);
    // The cases that hold each swipe of the site, by swipeKey.
    QHash<QString, QStringList> casesBySwipe(const QString& sitePath);

    // Pins reference as its card's reference photo at its site, replacing the one pinned
    // before; the trail names the file and its SHA-256, and the one it replaced.
    bool pinReference(const CardReference& reference);
    // The card's reference photo at the site, if one is pinned.
    std::optional<CardReference> reference(const QString& sitePath, const QString& card);
    // The trail names the file removed; a card with none changes nothing.
    bool removeReference(const QString& sitePath, const QString& card);

    // For the store's other tables: the connection (used on this thread only), and the trail
    // line written inside the caller's StoreTransaction. Returns an empty text or the error.
    QSqlDatabase database() const;
    QString appendTrail(const QString& action, const QString& details, const QString& caseName);

private:
    CaseStore(const StoreLocation& location, const StoreOperator& who);
    QString connect();
    // Keeps error as the reason of the last change; true when there is none.
    bool landed(const QString& error);

    StoreLocation m_location;
    StoreOperator m_operator;
    QString m_connection;
    QString m_error;
};

// The key under which casesBySwipe lists a swipe: its day, time and card.
QString swipeKey(const QDate& day, const QString& time, const QString& card);

} // namespace card
