// The case store on both engines: SQLite in a temporary folder and a PostgreSQL server the test
// starts itself.
#include "core/cases/case_store.h"
#include "core/cases/safety_ticks.h"
#include "core/cases/store_schema.h"
#include "core/cases/trail_actions.h"
#include "support/postgres_server.h"
#include "support/temp_site.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QThread>
#include <QTimeZone>

#include <memory>

using card::CaseStore;
using card::CaseSwipe;
using card::TrailEntry;
using card::TrailFilter;
namespace trail = card::trail;

namespace {

const card::StoreOperator kNightGuard{QStringLiteral("guard"), QStringLiteral("desk-1")};
const card::StoreOperator kManager{QStringLiteral("manager"), QStringLiteral("desk-2")};

CaseSwipe swipeAt(const QString& time, const QString& card, const QString& note = {})
{
    CaseSwipe swipe;
    swipe.sitePath = QStringLiteral("/sites/north/para.txt");
    swipe.siteCaption = QStringLiteral("北區");
    swipe.photoFolder = QStringLiteral("/sites/north/photos");
    swipe.day = QDate(2026, 12, 7);
    swipe.time = time;
    swipe.card = card;
    swipe.name = QStringLiteral("王小明");
    swipe.direction = QStringLiteral("進");
    swipe.photos = {QStringLiteral("/photos/%1.jpg").arg(card)};
    swipe.note = note;
    return swipe;
}

QStringList actionsOf(const QList<TrailEntry>& entries)
{
    QStringList actions;
    for (const TrailEntry& entry : entries)
        actions.prepend(entry.action); // oldest first
    return actions;
}

} // namespace

class TestCaseStore : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void addKeepsTheSwipeAcrossOpens_data() { engines(); }
    void addKeepsTheSwipeAcrossOpens();
    void noteEditIsKeptInTheTrail_data() { engines(); }
    void noteEditIsKeptInTheTrail();
    void removedSwipeAndClosedCase_data() { engines(); }
    void removedSwipeAndClosedCase();
    void referencePinnedReplacedRemoved_data() { engines(); }
    void referencePinnedReplacedRemoved();
    void searchFindsText_data();
    void searchFindsText();
    void trailFilters_data();
    void trailFilters();
    void safetyTicksStandAfterTheTrail_data();
    void safetyTicksStandAfterTheTrail();
    void twoWritersAtOnceBothLand_data() { engines(); }
    void twoWritersAtOnceBothLand();
    void upgradeFromVersion1_data() { engines(); }
    void upgradeFromVersion1();
    void storeLocations_data();
    void storeLocations();
    void shareIsRefused_data();
    void shareIsRefused();

private:
    void engines();
    // A new, empty store of the row's engine.
    QString newStore();
    std::unique_ptr<CaseStore> open(const QString& location,
                                    const card::StoreOperator& who = kNightGuard);

    card::test::TempSite m_folder;
    std::unique_ptr<card::test::PostgresServer> m_postgres;
    int m_stores = 0;
};

void TestCaseStore::initTestCase()
{
    m_postgres = std::make_unique<card::test::PostgresServer>();
    QVERIFY2(m_postgres->error().isEmpty(), qPrintable(m_postgres->error()));
}

void TestCaseStore::engines()
{
    QTest::addColumn<bool>("postgres");
    QTest::newRow("sqlite") << false;
    QTest::newRow("postgresql") << true;
}

QString TestCaseStore::newStore()
{
    QFETCH(bool, postgres);
    if (postgres)
        return m_postgres->newDatabase();
    return m_folder.filePath(QStringLiteral("store%1/cases.sqlite").arg(++m_stores));
}

std::unique_ptr<CaseStore> TestCaseStore::open(const QString& location,
                                               const card::StoreOperator& who)
{
    QString error;
    std::unique_ptr<CaseStore> store =
        CaseStore::open(card::parseStoreLocation(location), who, error);
    if (!store)
        qWarning() << "store did not open:" << error;
    return store;
}

void TestCaseStore::addKeepsTheSwipeAcrossOpens()
{
    const QString location = newStore();
    QVERIFY(open(location)->addSwipe(QStringLiteral("夜班 02:47"),
                                     swipeAt(QStringLiteral("02:47:10"), QStringLiteral("0001234"),
                                             QStringLiteral("不是持卡人"))));
    const std::unique_ptr<CaseStore> reopened = open(location, kManager);
    QVERIFY(reopened);
    const QList<card::CaseSummary> cases = reopened->cases();
    QCOMPARE(cases.size(), 1);
    QCOMPARE(cases[0].name, QStringLiteral("夜班 02:47"));
    QCOMPARE(cases[0].swipeCount, 1);
    QCOMPARE(cases[0].madeBy, kNightGuard.user);
    QCOMPARE(reopened->openCaseNames(), QStringList{QStringLiteral("夜班 02:47")});
    const QList<CaseSwipe> swipes = reopened->swipesOf(QStringLiteral("夜班 02:47"));
    QCOMPARE(swipes.size(), 1);
    const CaseSwipe expected = swipeAt(QStringLiteral("02:47:10"), QStringLiteral("0001234"));
    QCOMPARE(card::swipeLine(swipes[0]), card::swipeLine(expected));
    QCOMPARE(swipes[0].photos, expected.photos);
    QCOMPARE(swipes[0].photoFolder, expected.photoFolder);
    QCOMPARE(swipes[0].siteCaption, expected.siteCaption);
    QCOMPARE(swipes[0].note, QStringLiteral("不是持卡人"));
    QCOMPARE(swipes[0].addedBy, kNightGuard.user);
    const QList<TrailEntry> entries = reopened->trail();
    QCOMPARE(actionsOf(entries), (QStringList{trail::kCaseMade, trail::kSwipeAdded}));
    QCOMPARE(entries[0].machine, kNightGuard.machine);
    QCOMPARE(entries[0].time.offsetFromUtc(), QDateTime::currentDateTime().offsetFromUtc());
    QVERIFY(qAbs(entries[0].time.secsTo(QDateTime::currentDateTime())) < 60);
    QVERIFY(entries[0].details.contains(QStringLiteral("不是持卡人")));
    const QString marked = card::swipeKey(expected.day, expected.time, expected.card);
    QCOMPARE(reopened->casesBySwipe(expected.sitePath).value(marked),
             QStringList{QStringLiteral("夜班 02:47")});
    QVERIFY(!reopened->addSwipe(QStringLiteral("夜班 02:47"), expected));
    QVERIFY(reopened->errorText().contains(QStringLiteral("已在案件")));
}

void TestCaseStore::noteEditIsKeptInTheTrail()
{
    const std::unique_ptr<CaseStore> store = open(newStore());
    QVERIFY(store->addSwipe(
        QStringLiteral("A"),
        swipeAt(QStringLiteral("08:00:00"), QStringLiteral("77"), QStringLiteral("舊的附註"))));
    const qint64 id = store->swipesOf(QStringLiteral("A"))[0].id;
    QVERIFY(store->editNote(id, QStringLiteral("新的附註")));
    QCOMPARE(store->swipesOf(QStringLiteral("A"))[0].note, QStringLiteral("新的附註"));
    const QList<TrailEntry> edits = store->trail({{}, {}, trail::kNoteEdited, {}});
    QCOMPARE(edits.size(), 1);
    QVERIFY(edits[0].details.contains(QStringLiteral("舊的附註")));
    QVERIFY(edits[0].details.contains(QStringLiteral("新的附註")));
    QCOMPARE(edits[0].caseName, QStringLiteral("A"));
}

void TestCaseStore::removedSwipeAndClosedCase()
{
    const std::unique_ptr<CaseStore> store = open(newStore());
    QVERIFY(store->addSwipe(
        QStringLiteral("A"),
        swipeAt(QStringLiteral("08:00:00"), QStringLiteral("77"), QStringLiteral("留下的附註"))));
    QVERIFY(store->removeSwipe(store->swipesOf(QStringLiteral("A"))[0].id));
    QVERIFY(store->swipesOf(QStringLiteral("A")).isEmpty());
    const QList<TrailEntry> removals = store->trail({{}, {}, trail::kSwipeRemoved, {}});
    QCOMPARE(removals.size(), 1);
    QVERIFY(removals[0].details.contains(QStringLiteral("留下的附註")));
    QVERIFY(store->setClosed(QStringLiteral("A"), true));
    QVERIFY(store->openCaseNames().isEmpty());
    QVERIFY(!store->addSwipe(QStringLiteral("A"),
                             swipeAt(QStringLiteral("09:00:00"), QStringLiteral("77"))));
    QVERIFY(store->setClosed(QStringLiteral("A"), false));
    QVERIFY(store->addSwipe(QStringLiteral("A"),
                            swipeAt(QStringLiteral("09:00:00"), QStringLiteral("77"))));
    QCOMPARE(actionsOf(store->trail({QStringLiteral("A"), {}, {}, {}})),
             (QStringList{trail::kCaseMade, trail::kSwipeAdded, trail::kSwipeRemoved,
                          trail::kCaseClosed, trail::kCaseReopened, trail::kSwipeAdded}));
}

void TestCaseStore::referencePinnedReplacedRemoved()
{
    const QString location = newStore();
    card::CardReference first{QStringLiteral("/sites/north/para.txt"),
                              QStringLiteral("0001234"),
                              QStringLiteral("王小明"),
                              QDate(2026, 12, 7),
                              QStringLiteral("08:00:00"),
                              QStringLiteral("0001234-20261207-080000-C.jpg"),
                              QByteArray("\xff\xd8 first photo\0 bytes", 21),
                              {},
                              {},
                              {}};
    QVERIFY(open(location)->pinReference(first));
    card::CardReference second = first;
    second.time = QStringLiteral("09:30:00");
    second.fileName = QStringLiteral("0001234-20261207-093000-C.jpg");
    second.image = QByteArray("\xff\xd8 second photo");
    const std::unique_ptr<CaseStore> store = open(location, kManager);
    QVERIFY(store->pinReference(second));
    const std::optional<card::CardReference> kept = store->reference(first.sitePath, first.card);
    QVERIFY(kept);
    QCOMPARE(kept->image, second.image);
    QCOMPARE(kept->fileName, second.fileName);
    QCOMPARE(kept->sha256.toLatin1(),
             QCryptographicHash::hash(second.image, QCryptographicHash::Sha256).toHex());
    QCOMPARE(kept->pinnedBy, kManager.user);
    QVERIFY(qAbs(kept->pinnedAt.secsTo(QDateTime::currentDateTime())) < 60);
    QVERIFY(store->removeReference(first.sitePath, first.card));
    QVERIFY(!store->reference(first.sitePath, first.card));
    const QList<TrailEntry> entries = store->trail();
    QCOMPARE(actionsOf(entries), (QStringList{trail::kReferencePinned, trail::kReferenceReplaced,
                                              trail::kReferenceRemoved}));
    QVERIFY(entries[1].details.contains(first.fileName));
    QVERIFY(entries[1].details.contains(kept->sha256));
    QVERIFY(entries[0].details.contains(second.fileName));
}

void TestCaseStore::searchFindsText_data()
{
    QTest::addColumn<bool>("postgres");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QStringList>("found");
    const QStringList both{QStringLiteral("Night 50%"), QStringLiteral("後門")}; // newest first
    for (const bool postgres : {false, true}) {
        const char* engine = postgres ? "postgresql" : "sqlite";
        QTest::addRow("%s: nothing finds every case, newest first", engine)
            << postgres << QString() << both;
        QTest::addRow("%s: in a name, without case", engine)
            << postgres << QStringLiteral("NIGHT") << QStringList{both[0]};
        QTest::addRow("%s: a percent sign is itself", engine)
            << postgres << QStringLiteral("0%") << QStringList{both[0]};
        QTest::addRow("%s: in a description", engine)
            << postgres << QStringLiteral("監視器") << QStringList{both[1]};
        QTest::addRow("%s: in a note", engine)
            << postgres << QStringLiteral("陌生") << QStringList{both[1]};
        QTest::addRow("%s: a card number", engine)
            << postgres << QStringLiteral("0099") << QStringList{both[0]};
        QTest::addRow("%s: a cardholder", engine) << postgres << QStringLiteral("小明") << both;
        QTest::addRow("%s: no match", engine)
            << postgres << QStringLiteral("無此字") << QStringList();
    }
}

void TestCaseStore::searchFindsText()
{
    QFETCH(QString, search);
    QFETCH(QStringList, found);
    const std::unique_ptr<CaseStore> store = open(newStore());
    QVERIFY(store->addSwipe(
        QStringLiteral("後門"),
        swipeAt(QStringLiteral("02:47:00"), QStringLiteral("0001"), QStringLiteral("陌生的臉"))));
    QVERIFY(store->setDescription(QStringLiteral("後門"), QStringLiteral("調閱監視器")));
    QVERIFY(store->addSwipe(QStringLiteral("Night 50%"),
                            swipeAt(QStringLiteral("03:00:00"), QStringLiteral("0099"))));
    QStringList names;
    for (const card::CaseSummary& summary : store->cases(search))
        names.append(summary.name);
    QCOMPARE(names, found);
}

void TestCaseStore::trailFilters_data()
{
    QTest::addColumn<bool>("postgres");
    QTest::addColumn<TrailFilter>("filter");
    QTest::addColumn<int>("count");
    const QDate today = QDate::currentDate();
    for (const bool postgres : {false, true}) {
        const char* engine = postgres ? "postgresql" : "sqlite";
        QTest::addRow("%s: all", engine) << postgres << TrailFilter{} << 5;
        QTest::addRow("%s: one case", engine)
            << postgres << TrailFilter{QStringLiteral("B"), {}, {}, {}} << 2;
        QTest::addRow("%s: one operator", engine)
            << postgres << TrailFilter{{}, kManager.user, {}, {}} << 1;
        QTest::addRow("%s: one action", engine)
            << postgres << TrailFilter{{}, {}, trail::kCaseMade, {}} << 2;
        QTest::addRow("%s: today", engine) << postgres << TrailFilter{{}, {}, {}, today} << 5;
        QTest::addRow("%s: another day", engine)
            << postgres << TrailFilter{{}, {}, {}, today.addDays(-2)} << 0;
    }
}

void TestCaseStore::trailFilters()
{
    QFETCH(TrailFilter, filter);
    QFETCH(int, count);
    const QString location = newStore();
    QVERIFY(open(location)->addSwipe(QStringLiteral("A"),
                                     swipeAt(QStringLiteral("01:00:00"), QStringLiteral("1"))));
    QVERIFY(open(location)->addSwipe(QStringLiteral("B"),
                                     swipeAt(QStringLiteral("01:00:00"), QStringLiteral("1"))));
    const std::unique_ptr<CaseStore> manager = open(location, kManager);
    QVERIFY(manager->record(trail::kExported, QStringLiteral("/tmp/list.csv")));
    QCOMPARE(manager->trail(filter).size(), count);
    QCOMPARE(manager->trailOperators(), (QStringList{kNightGuard.user, kManager.user}));
}

void TestCaseStore::safetyTicksStandAfterTheTrail_data()
{
    QTest::addColumn<QStringList>("steps"); // + ticks, - takes back; @ marks another site
    QTest::addColumn<QString>("name");      // the person's name on the entry swipe
    QTest::addColumn<bool>("standing");
    QTest::newRow("ticked") << QStringList{"+"} << "王小明" << true;
    QTest::newRow("taken back") << QStringList{"+", "-"} << "王小明" << false;
    QTest::newRow("ticked again") << QStringList{"+", "-", "+"} << "王小明" << true;
    QTest::newRow("taken back at another site") << QStringList{"+", "-@"} << "王小明" << true;
    QTest::newRow("only at another site") << QStringList{"+@"} << "王小明" << false;
    QTest::newRow("a comma in the name") << QStringList{"+"} << "王，小明" << true;
}

void TestCaseStore::safetyTicksStandAfterTheTrail()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, name);
    QFETCH(bool, standing);
    const QString location = m_folder.filePath(QStringLiteral("ticks%1.sqlite").arg(++m_stores));
    const std::unique_ptr<CaseStore> store = open(location);
    const QString site = QStringLiteral("/sites/north/para.txt");
    const card::SafetyEntry entry{site, QDate(2026, 12, 7), QStringLiteral("7:55:01"),
                                  QStringLiteral("0001234"), name};
    for (const QString& step : steps) {
        card::SafetyEntry at = entry;
        if (step.endsWith(u'@'))
            at.sitePath = QStringLiteral("/sites/south/para.txt");
        QVERIFY(store->record(step.startsWith(u'+') ? trail::kSafeConfirmed : trail::kSafeWithdrawn,
                              card::safetyLine(at)));
    }
    const QList<TrailEntry> lines = store->trail({{}, {}, trail::kSafeConfirmed, {}}) +
                                    store->trail({{}, {}, trail::kSafeWithdrawn, {}});
    const QHash<QString, card::SafetyTick> ticks = card::standingTicks(lines, site);
    const QString key = card::swipeKey(entry.day, entry.time, entry.card);
    QCOMPARE(ticks.contains(key), standing);
    QCOMPARE(ticks.value(key).who, standing ? kNightGuard.user : QString());
}

void TestCaseStore::twoWritersAtOnceBothLand()
{
    const QString location = newStore();
    constexpr int kEach = 15;
    const auto writer = [&location](const card::StoreOperator& who, const QString& cardNumber) {
        return QThread::create([&location, who, cardNumber] {
            QString error;
            const std::unique_ptr<CaseStore> store =
                CaseStore::open(card::parseStoreLocation(location), who, error);
            for (int i = 0; store && i < kEach; ++i) {
                if (!store->addSwipe(
                        QStringLiteral("同一案件"),
                        swipeAt(QStringLiteral("10:00:%1").arg(i, 2, 10, QChar(u'0')), cardNumber)))
                    qWarning() << store->errorText();
            }
        });
    };
    std::unique_ptr<QThread> first(writer(kNightGuard, QStringLiteral("1")));
    std::unique_ptr<QThread> second(writer(kManager, QStringLiteral("2")));
    first->start();
    second->start();
    QVERIFY(first->wait(120000) && second->wait(120000));
    const std::unique_ptr<CaseStore> store = open(location);
    QCOMPARE(store->swipesOf(QStringLiteral("同一案件")).size(), 2 * kEach);
    QCOMPARE(store->trail({{}, {}, trail::kCaseMade, {}}).size(), 1);
    QCOMPARE(store->trail({{}, kManager.user, trail::kSwipeAdded, {}}).size(), kEach);
    QCOMPARE(store->trail({{}, kNightGuard.user, trail::kSwipeAdded, {}}).size(), kEach);
}

void TestCaseStore::upgradeFromVersion1()
{
    const QString location = newStore();
    {
        const QString connection = QStringLiteral("version-1");
        const card::StoreLocation place = card::parseStoreLocation(location);
        QSqlDatabase old = QSqlDatabase::addDatabase(
            place.engine == card::StoreLocation::Engine::Sqlite ? QStringLiteral("QSQLITE")
                                                                : QStringLiteral("QPSQL"),
            connection);
        old.setDatabaseName(place.engine == card::StoreLocation::Engine::Sqlite ? place.file
                                                                                : place.database);
        old.setHostName(place.host);
        old.setPort(place.port);
        old.setUserName(place.user);
        if (place.engine == card::StoreLocation::Engine::Sqlite)
            QDir().mkpath(QFileInfo(place.file).path());
        QVERIFY(old.open());
        QCOMPARE(card::upgradeSchema(old, {card::schemaUpgrades().first()}), QString());
        QCOMPARE(card::schemaVersionOf(old), 1);
        QVERIFY(QSqlQuery(old).exec(QStringLiteral(
            "INSERT INTO trail (at_utc, at_text, operator, machine, action, case_name, details) "
            "VALUES (0, '2026-01-02T03:04:05+08:00', 'guard', 'desk-1', 'printed', '', 'x')")));
        old.close();
        old = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection);
    }
    const std::unique_ptr<CaseStore> store = open(location);
    QVERIFY(store);
    QCOMPARE(store->schemaVersion(), card::currentSchemaVersion());
    const QList<TrailEntry> kept = store->trail();
    QCOMPARE(kept.size(), 1);
    QCOMPARE(kept[0].time, QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), QTimeZone(8 * 3600)));
    QVERIFY(store->addSwipe(QStringLiteral("A"),
                            swipeAt(QStringLiteral("01:00:00"), QStringLiteral("1"))));
}

void TestCaseStore::storeLocations_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown"); // empty when the text is refused
    const QString data = m_folder.filePath(QStringLiteral("xdg-data"));
    qputenv("XDG_DATA_HOME", data.toLocal8Bit());
    QTest::newRow("nothing: the user's data folder")
        << QString()
        << QStringLiteral("%1/%2/cases.sqlite").arg(data, QCoreApplication::applicationName());
    QTest::newRow("a file") << QStringLiteral("/srv/cases/c.sqlite")
                            << QStringLiteral("/srv/cases/c.sqlite");
    QTest::newRow("a server with its port")
        << QStringLiteral("postgresql://ann@db.example:6543/cases")
        << QStringLiteral("postgresql://ann@db.example:6543/cases");
    QTest::newRow("a server, its password not shown")
        << QStringLiteral("postgresql://ann:secret@db/cases")
        << QStringLiteral("postgresql://ann@db:5432/cases");
    QTest::newRow("no user") << QStringLiteral("postgresql://db/cases") << QString();
    QTest::newRow("no database") << QStringLiteral("postgresql://ann@db") << QString();
    QTest::newRow("a bad port") << QStringLiteral("postgresql://ann@db:port/cases") << QString();
}

void TestCaseStore::storeLocations()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    const card::StoreLocation location = card::parseStoreLocation(text);
    QCOMPARE(location.valid() ? location.shown() : QString(), shown);
    QCOMPARE(location.error.contains(QStringLiteral("postgresql://")), shown.isEmpty());
}

void TestCaseStore::shareIsRefused_data()
{
    QTest::addColumn<QByteArray>("mounts");
    QTest::addColumn<bool>("refused");
    const QByteArray root = "/dev/sda1 / ext4 rw 0 0\n";
    QTest::newRow("local disk") << root << false;
    QTest::newRow("Windows share") << root + "//server/cases /mnt/cases cifs rw 0 0\n" << true;
    QTest::newRow("NFS") << root + "nas:/cases /mnt/cases nfs4 rw 0 0\n" << true;
    QTest::newRow("the desktop's share mount")
        << root + "gvfsd-fuse /mnt/cases fuse.gvfsd-fuse rw 0 0\n"
        << true;
    QTest::newRow("a folder with a space on a share")
        << root + "//server/c /mnt/my\\040cases cifs rw 0 0\n"
        << true;
    QTest::newRow("a local disk mounted inside a share")
        << root + "//server/c /mnt cifs rw 0 0\n/dev/sdb1 /mnt/cases ext4 rw 0 0\n"
        << false;
    QTest::newRow("a share beside, not above") << root + "//s/c /mnt/case cifs rw 0 0\n" << false;
}

void TestCaseStore::shareIsRefused()
{
    QFETCH(QByteArray, mounts);
    QFETCH(bool, refused);
    const QString file = mounts.contains("my\\040") ? QStringLiteral("/mnt/my cases/cases.sqlite")
                                                    : QStringLiteral("/mnt/cases/cases.sqlite");
    const QString refusal = card::networkShareRefusal(file, mounts);
    QCOMPARE(refusal.contains(QStringLiteral("--cases-db postgresql://")), refused);
}

QTEST_GUILESS_MAIN(TestCaseStore)
#include "tst_case_store.moc"
