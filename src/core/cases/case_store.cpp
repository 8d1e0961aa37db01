#include "core/cases/case_store.h"

#include "core/cases/store_schema.h"
#include "core/cases/store_transaction.h"
#include "core/cases/trail_actions.h"

#include <QAtomicInt>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace card {

namespace {

const QString kSqliteDriver = QStringLiteral("QSQLITE");
const QString kPostgresDriver = QStringLiteral("QPSQL");
const QChar kPhotoSeparator = u'\n';

QString driverOf(const StoreLocation& location)
{
    return location.engine == StoreLocation::Engine::Sqlite ? kSqliteDriver : kPostgresDriver;
}

QString driverPackageOf(const StoreLocation& location)
{
    return location.engine == StoreLocation::Engine::Sqlite ? QStringLiteral("libqt6sql6-sqlite")
                                                            : QStringLiteral("libqt6sql6-psql");
}

QString newConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("case-store-%1").arg(counter.fetchAndAddRelaxed(1));
}

// A null text would be bound as SQL NULL; the store keeps empty texts instead.
QVariant bindable(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString && value.toString().isNull())
        return QStringLiteral("");
    return value;
}

// Runs statement with values bound in order; the query is active when it ran.
QSqlQuery runBound(const QSqlDatabase& database, const QString& statement,
                   const QVariantList& values)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (query.prepare(statement)) {
        for (const QVariant& value : values)
            query.addBindValue(bindable(value));
        query.exec();
    }
    return query;
}

QString errorOf(const QSqlQuery& query)
{
    return query.isActive() ? QString() : query.lastError().text();
}

// Now as the trail keeps it: the local time and its offset from UTC, written out even when it
// is zero (2026-12-08T02:47:10+00:00).
QString nowText()
{
    const QDateTime now = QDateTime::currentDateTime();
    const int offset = now.offsetFromUtc();
    const int minutes = qAbs(offset) / 60;
    return now.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) +
           QStringLiteral("%1%2:%3")
               .arg(offset < 0 ? u'-' : u'+')
               .arg(minutes / 60, 2, 10, QChar(u'0'))
               .arg(minutes % 60, 2, 10, QChar(u'0'));
}

QDateTime timeOf(const QVariant& text)
{
    return QDateTime::fromString(text.toString(), Qt::ISODate);
}

// The LIKE pattern that finds text anywhere, its wildcards taken as themselves.
QString containsPattern(const QString& text)
{
    QString escaped = text.toLower();
    escaped.replace(u'\\', QStringLiteral("\\\\"));
    escaped.replace(u'%', QStringLiteral("\\%"));
    escaped.replace(u'_', QStringLiteral("\\_"));
    return u'%' + escaped + u'%';
}

CaseSwipe swipeOf(const QSqlQuery& query)
{
    CaseSwipe swipe;
    swipe.id = query.value(0).toLongLong();
    swipe.sitePath = query.value(1).toString();
    swipe.siteCaption = query.value(2).toString();
    swipe.day = QDate::fromString(query.value(3).toString(), Qt::ISODate);
    swipe.time = query.value(4).toString();
    swipe.card = query.value(5).toString();
    swipe.name = query.value(6).toString();
    swipe.direction = query.value(7).toString();
    const QString photos = query.value(8).toString();
    swipe.photos = photos.isEmpty() ? QStringList() : photos.split(kPhotoSeparator);
    swipe.note = query.value(9).toString();
    swipe.addedBy = query.value(10).toString();
    swipe.addedAt = timeOf(query.value(11));
    swipe.recordsFolder = query.value(12).toString();
    swipe.photoFolder = query.value(13).toString();
    return swipe;
}

const QString kSwipeColumns =
    QStringLiteral("s.id, s.site_path, s.site_caption, s.day, s.time, s.card, s.name, "
                   "s.direction, s.photos, s.note, s.added_by, s.added_at, s.records_folder, "
                   "s.photo_folder");

// The swipe of swipeId, its case's name after the swipe's columns.
constexpr int kCaseNameAfterSwipe = 14;
QSqlQuery selectSwipeWithCase(const QSqlDatabase& database, qint64 swipeId)
{
    return runBound(database,
                    QStringLiteral("SELECT %1, c.name FROM case_swipes s JOIN cases c ON c.id = "
                                   "s.case_id WHERE s.id = ?")
                        .arg(kSwipeColumns),
                    {swipeId});
}

const QString kReferenceColumns =
    QStringLiteral("site_path, card, name, day, time, file_name, image, sha256, pinned_by, "
                   "pinned_at");

CardReference referenceOf(const QSqlQuery& query)
{
    return {query.value(0).toString(),    query.value(1).toString(),
            query.value(2).toString(),    QDate::fromString(query.value(3).toString(), Qt::ISODate),
            query.value(4).toString(),    query.value(5).toString(),
            query.value(6).toByteArray(), query.value(7).toString(),
            query.value(8).toString(),    timeOf(query.value(9))};
}

// The reference for the trail: card, file, its SHA-256 and the swipe it came from.
QString referenceLine(const CardReference& reference)
{
    return QStringLiteral("%1 %2：%3（SHA-256 %4），%5 %6 刷卡，%7")
        .arg(reference.card, reference.name, reference.fileName, reference.sha256,
             reference.day.toString(Qt::ISODate), reference.time, reference.sitePath);
}

} // namespace

QString swipeKey(const QDate& day, const QString& time, const QString& card)
{
    return day.toString(Qt::ISODate) + u'|' + time + u'|' + card;
}

CaseStore::CaseStore(const StoreLocation& location, const StoreOperator& who)
    : m_location(location)
    , m_operator(who)
    , m_connection(newConnectionName())
{
    QSqlDatabase::addDatabase(driverOf(location), m_connection);
}

CaseStore::~CaseStore()
{
    database().close();
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase CaseStore::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

std::unique_ptr<CaseStore> CaseStore::open(const StoreLocation& location, const StoreOperator& who,
                                           QString& error)
{
    if (!location.valid()) {
        error = location.error;
        return nullptr;
    }
    if (!QSqlDatabase::isDriverAvailable(driverOf(location))) {
        error = QStringLiteral("這台電腦缺少案件資料庫的驅動程式（%1），請安裝。")
                    .arg(driverPackageOf(location));
        return nullptr;
    }
    std::unique_ptr<CaseStore> store(new CaseStore(location, who));
    error = store->connect();
    if (error.isEmpty())
        error = upgradeSchema(store->database(), schemaUpgrades());
    if (!error.isEmpty())
        return nullptr;
    return store;
}

QString CaseStore::connect()
{
    QSqlDatabase connection = database();
    if (m_location.engine == StoreLocation::Engine::Sqlite) {
        if (const QString refusal = networkShareRefusal(m_location.file); !refusal.isEmpty())
            return refusal;
        if (!QDir().mkpath(QFileInfo(m_location.file).path()))
            return QStringLiteral("無法建立案件資料庫的資料夾：%1")
                .arg(QDir::toNativeSeparators(QFileInfo(m_location.file).path()));
        connection.setDatabaseName(m_location.file);
        // Another program writing the file makes this one wait instead of failing.
        connection.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=30000"));
    } else {
        connection.setHostName(m_location.host);
        connection.setPort(m_location.port);
        connection.setUserName(m_location.user);
        connection.setPassword(m_location.password);
        connection.setDatabaseName(m_location.database);
        connection.setConnectOptions(QStringLiteral("connect_timeout=10"));
    }
    if (!connection.open()) {
        return QStringLiteral("無法開啟案件資料庫 %1：%2")
            .arg(m_location.shown(), connection.lastError().text());
    }
    QSqlQuery setting(connection);
    if (m_location.engine == StoreLocation::Engine::Sqlite) {
        setting.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        setting.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
    } else {
        // The server's notes (a table that already exists, say) are not the operator's concern.
        setting.exec(QStringLiteral("SET client_min_messages TO WARNING"));
    }
    return {};
}

bool CaseStore::landed(const QString& error)
{
    m_error = error;
    return error.isEmpty();
}

int CaseStore::schemaVersion()
{
    return schemaVersionOf(database());
}

QString CaseStore::appendTrail(const QString& action, const QString& details,
                               const QString& caseName)
{
    const QDateTime now = QDateTime::currentDateTime();
    return errorOf(
        runBound(database(),
                 QStringLiteral("INSERT INTO trail (at_utc, at_text, operator, machine, action, "
                                "case_name, details) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                 {now.toMSecsSinceEpoch(), nowText(), m_operator.user, m_operator.machine, action,
                  caseName, details}));
}

bool CaseStore::record(const QString& action, const QString& details, const QString& caseName)
{
    StoreTransaction transaction(database());
    if (!transaction.begun())
        return landed(transaction.error());
    if (const QString error = appendTrail(action, details, caseName); !error.isEmpty())
        return landed(error);
    return landed(transaction.commit());
}

QList<TrailEntry> CaseStore::trail(const TrailFilter& filter)
{
    const QString day = filter.day ? filter.day->toString(Qt::ISODate) : QString();
    QSqlQuery query = runBound(
        database(),
        QStringLiteral("SELECT id, at_text, operator, machine, action, case_name, details "
                       "FROM trail WHERE (? = '' OR case_name = ?) AND (? = '' OR operator = ?) "
                       "AND (? = '' OR action = ?) AND (? = '' OR substr(at_text, 1, 10) = ?) "
                       "ORDER BY at_utc DESC, id DESC"),
        {filter.caseName, filter.caseName, filter.user, filter.user, filter.action, filter.action,
         day, day});
    landed(errorOf(query));
    QList<TrailEntry> entries;
    while (query.next()) {
        entries.append({query.value(0).toLongLong(), timeOf(query.value(1)),
                        query.value(2).toString(), query.value(3).toString(),
                        query.value(4).toString(), query.value(5).toString(),
                        query.value(6).toString()});
    }
    return entries;
}

QStringList CaseStore::trailOperators()
{
    QSqlQuery query =
        runBound(database(), QStringLiteral("SELECT DISTINCT operator FROM trail ORDER BY 1"), {});
    landed(errorOf(query));
    QStringList users;
    while (query.next())
        users.append(query.value(0).toString());
    return users;
}

QList<CaseSummary> CaseStore::cases(const QString& search)
{
    const QString pattern = search.isEmpty() ? QString() : containsPattern(search);
    QSqlQuery query = runBound(
        database(),
        QStringLiteral(
            "SELECT c.id, c.name, c.description, c.closed, c.made_by, c.made_at, "
            "(SELECT COUNT(*) FROM case_swipes n WHERE n.case_id = c.id) FROM cases c "
            "WHERE ? = '' OR lower(c.name) LIKE ? ESCAPE '\\' "
            "OR lower(c.description) LIKE ? ESCAPE '\\' OR EXISTS (SELECT 1 FROM case_swipes s "
            "WHERE s.case_id = c.id AND (lower(s.note) LIKE ? ESCAPE '\\' "
            "OR lower(s.card) LIKE ? ESCAPE '\\' OR lower(s.name) LIKE ? ESCAPE '\\')) "
            "ORDER BY c.id DESC"),
        {pattern, pattern, pattern, pattern, pattern, pattern});
    landed(errorOf(query));
    QList<CaseSummary> found;
    while (query.next()) {
        found.append({query.value(0).toLongLong(), query.value(1).toString(),
                      query.value(2).toString(), query.value(3).toInt() != 0,
                      query.value(4).toString(), timeOf(query.value(5)), query.value(6).toInt()});
    }
    return found;
}

QStringList CaseStore::openCaseNames()
{
    QSqlQuery query = runBound(
        database(), QStringLiteral("SELECT name FROM cases WHERE closed = 0 ORDER BY id DESC"), {});
    landed(errorOf(query));
    QStringList names;
    while (query.next())
        names.append(query.value(0).toString());
    return names;
}

std::optional<CaseSummary> CaseStore::caseNamed(const QString& name)
{
    // The search also finds cases that only mention the name; the one named exactly is wanted.
    for (const CaseSummary& summary : cases(name)) {
        if (summary.name == name)
            return summary;
    }
    return std::nullopt;
}

bool CaseStore::addSwipe(const QString& caseName, const CaseSwipe& swipe)
{
    const QString name = caseName.trimmed();
    if (name.isEmpty())
        return landed(QStringLiteral("請輸入案件名稱。"));
    StoreTransaction transaction(database());
    if (!transaction.begun())
        return landed(transaction.error());
    // Two operators making the same new case at once: the second finds the first's.
    QSqlQuery made = runBound(database(),
                              QStringLiteral("INSERT INTO cases (name, description, closed, "
                                             "made_by, made_at) VALUES (?, '', 0, ?, ?) "
                                             "ON CONFLICT (name) DO NOTHING"),
                              {name, m_operator.user, nowText()});
    if (!made.isActive())
        return landed(errorOf(made));
    if (made.numRowsAffected() == 1) {
        if (const QString error = appendTrail(trail::kCaseMade, QString(), name); !error.isEmpty())
            return landed(error);
    }
    QSqlQuery found =
        runBound(database(), QStringLiteral("SELECT id, closed FROM cases WHERE name = ?"), {name});
    if (!found.next())
        return landed(errorOf(found));
    const qint64 caseId = found.value(0).toLongLong();
    if (found.value(1).toInt() != 0)
        return landed(QStringLiteral("案件「%1」已結案，請先重新開啟。").arg(name));
    const QString day = swipe.day.toString(Qt::ISODate);
    QSqlQuery held =
        runBound(database(),
                 QStringLiteral("SELECT 1 FROM case_swipes WHERE case_id = ? AND site_path = ? AND "
                                "day = ? AND time = ? AND card = ? AND direction = ?"),
                 {caseId, swipe.sitePath, day, swipe.time, swipe.card, swipe.direction});
    if (held.next())
        return landed(QStringLiteral("這筆刷卡已在案件「%1」中。").arg(name));
    QSqlQuery added = runBound(
        database(),
        QStringLiteral("INSERT INTO case_swipes (case_id, site_path, site_caption, day, time, "
                       "card, name, direction, photos, note, added_by, added_at, records_folder, "
                       "photo_folder) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {caseId, swipe.sitePath, swipe.siteCaption, day, swipe.time, swipe.card, swipe.name,
         swipe.direction, swipe.photos.join(kPhotoSeparator), swipe.note, m_operator.user,
         nowText(), swipe.recordsFolder, swipe.photoFolder});
    if (!added.isActive())
        return landed(errorOf(added));
    const QString details = swipe.note.isEmpty()
                                ? swipeLine(swipe)
                                : QStringLiteral("%1；附註：%2").arg(swipeLine(swipe), swipe.note);
    if (const QString error = appendTrail(trail::kSwipeAdded, details, name); !error.isEmpty())
        return landed(error);
    return landed(transaction.commit());
}

QList<CaseSwipe> CaseStore::swipesOf(const QString& caseName)
{
    QSqlQuery query = runBound(database(),
                               QStringLiteral("SELECT %1 FROM case_swipes s JOIN cases c ON "
                                              "c.id = s.case_id WHERE c.name = ? "
                                              "ORDER BY s.day, s.time, s.id")
                                   .arg(kSwipeColumns),
                               {caseName});
    landed(errorOf(query));
    QList<CaseSwipe> swipes;
    while (query.next())
        swipes.append(swipeOf(query));
    return swipes;
}

bool CaseStore::setClosed(const QString& caseName, bool closed)
{
    StoreTransaction transaction(database());
    if (!transaction.begun())
        return landed(transaction.error());
    const int state = closed ? 1 : 0;
    QSqlQuery changed = runBound(
        database(), QStringLiteral("UPDATE cases SET closed = ? WHERE name = ? AND closed <> ?"),
        {state, caseName, state});
    if (!changed.isActive())
        return landed(errorOf(changed));
    if (changed.numRowsAffected() == 0)
        return landed(QString());
    const QString action = closed ? trail::kCaseClosed : trail::kCaseReopened;
    if (const QString error = appendTrail(action, QString(), caseName); !error.isEmpty())
        return landed(error);
    return landed(transaction.commit());
}

bool CaseStore::setDescription(const QString& caseName, const QString& description)
{
    StoreTransaction transaction(database());
    if (!transaction.begun())
        return landed(transaction.error());
    QSqlQuery old = runBound(
        database(), QStringLiteral("SELECT description FROM cases WHERE name = ?"), {caseName});
    if (!old.next())
        return landed(errorOf(old));
    const QString before = old.value(0).toString();
    if (before == description)
        return landed(QString());
    QSqlQuery changed =
        runBound(database(), QStringLiteral("UPDATE cases SET description = ? WHERE name = ?"),
                 {description, caseName});
    if (!changed.isActive())
        return landed(errorOf(changed));
    const QString details = QStringLiteral("原為「%1」，改為「%2」").arg(before, description);
    if (const QString error = appendTrail(trail::kCaseDescribed, details, caseName);
        !error.isEmpty())
        return landed(error);
    return landed(transaction.commit());
}

bool CaseStore::editNote(qint64 swipeId, const QString& note)
{
    StoreTransaction transaction(database());
    if (!transaction.begun())
        return landed(transaction.error());
    QSqlQuery old = selectSwipeWithCase(database(), swipeId);
    if (!old.next())
        return landed(errorOf(old));
    const CaseSwipe swipe = swipeOf(old);
    const QString caseName = old.value(kCaseNameAfterSwipe).toString();
    if (swipe.note == note)
        return landed(QString());
    QSqlQuery changed =
        runBound(database(), QStringLiteral("UPDATE case_swipes SET note = ? WHERE id = ?"),
                 {note, swipeId});
    if (!changed.isActive())
        return landed(errorOf(changed));
    const QString details =
        QStringLiteral("%1；附註原為「%2」，改為「%3」").arg(swipeLine(swipe), swipe.note, note);
    if (const QString error = appendTrail(trail::kNoteEdited, details, caseName); !error.isEmpty())
        return landed(error);
    return landed(transaction.commit());
}

bool CaseStore::removeSwipe(qint64 swipeId)
{
    StoreTransaction transaction(database());
    if (!transaction.begun())
        return landed(transaction.error());
    QSqlQuery old = selectSwipeWithCase(database(), swipeId);
    if (!old.next())
        return landed(errorOf(old));
    const CaseSwipe swipe = swipeOf(old);
    const QString caseName = old.value(kCaseNameAfterSwipe).toString();
    QSqlQuery removed =
        runBound(database(), QStringLiteral("DELETE FROM case_swipes WHERE id = ?"), {swipeId});
    if (!removed.isActive())
        return landed(errorOf(removed));
    const QString details = QStringLiteral("%1；附註：%2").arg(swipeLine(swipe), swipe.note);
    if (const QString error = appendTrail(trail::kSwipeRemoved, details, caseName);
        !error.isEmpty())
        return landed(error);
    return landed(transaction.commit());
}

QHash<QString, QStringList> CaseStore::casesBySwipe(const QString& sitePath)
{
    QSqlQuery query = runBound(database(),
                               QStringLiteral("SELECT s.day, s.time, s.card, c.name FROM "
                                              "case_swipes s JOIN cases c ON c.id = s.case_id "
                                              "WHERE s.site_path = ? ORDER BY c.id"),
                               {sitePath});
    landed(errorOf(query));
    QHash<QString, QStringList> marks;
    while (query.next()) {
        const QString key = swipeKey(QDate::fromString(query.value(0).toString(), Qt::ISODate),
                                     query.value(1).toString(), query.value(2).toString());
        QStringList& names = marks[key];
        if (!names.contains(query.value(3).toString()))
            names.append(query.value(3).toString());
    }
    return marks;
}

bool CaseStore::pinReference(const CardReference& reference)
{
    StoreTransaction transaction(database());
    if (!transaction.begun())
        return landed(transaction.error());
    const std::optional<CardReference> before = this->reference(reference.sitePath, reference.card);
    if (!m_error.isEmpty())
        return false;
    CardReference pinned = reference;
    pinned.sha256 = QString::fromLatin1(
        QCryptographicHash::hash(reference.image, QCryptographicHash::Sha256).toHex());
    QSqlQuery removed = runBound(
        database(), QStringLiteral("DELETE FROM card_references WHERE site_path = ? AND card = ?"),
        {reference.sitePath, reference.card});
    if (!removed.isActive())
        return landed(errorOf(removed));
    QSqlQuery added = runBound(
        database(),
        QStringLiteral("INSERT INTO card_references (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .arg(kReferenceColumns),
        {pinned.sitePath, pinned.card, pinned.name, pinned.day.toString(Qt::ISODate), pinned.time,
         pinned.fileName, pinned.image, pinned.sha256, m_operator.user, nowText()});
    if (!added.isActive())
        return landed(errorOf(added));
    const QString error =
        before ? appendTrail(trail::kReferenceReplaced,
                             referenceLine(*before) + QStringLiteral(" → ") + referenceLine(pinned),
                             {})
               : appendTrail(trail::kReferencePinned, referenceLine(pinned), {});
    if (!error.isEmpty())
        return landed(error);
    return landed(transaction.commit());
}

std::optional<CardReference> CaseStore::reference(const QString& sitePath, const QString& card)
{
    QSqlQuery query =
        runBound(database(),
                 QStringLiteral("SELECT %1 FROM card_references WHERE site_path = ? AND card = ?")
                     .arg(kReferenceColumns),
                 {sitePath, card});
    landed(errorOf(query));
    if (!query.next())
        return std::nullopt;
    return referenceOf(query);
}

bool CaseStore::removeReference(const QString& sitePath, const QString& card)
{
    StoreTransaction transaction(database());
    if (!transaction.begun())
        return landed(transaction.error());
    const std::optional<CardReference> before = reference(sitePath, card);
    if (!before)
        return m_error.isEmpty();
    QSqlQuery removed = runBound(
        database(), QStringLiteral("DELETE FROM card_references WHERE site_path = ? AND card = ?"),
        {sitePath, card});
    if (!removed.isActive())
        return landed(errorOf(removed));
    if (const QString error = appendTrail(trail::kReferenceRemoved, referenceLine(*before), {});
        !error.isEmpty())
        return landed(error);
    return landed(transaction.commit());
}

} // namespace card
