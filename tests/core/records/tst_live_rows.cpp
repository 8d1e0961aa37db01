#include "core/records/live_rows.h"

#include "core/records/live_follower.h"
#include "core/records/record_reader.h"

#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

using card::DirectionChoice;
using card::LiveRowModel;
using card::RecordCriteria;

Q_DECLARE_METATYPE(DirectionChoice)

namespace {

const QDate kDay(2007, 5, 3);

card::Swipe swipe(int n, const QString& direction = QStringLiteral("進"), QDate day = kDay)
{
    return {QString::number(n), QStringLiteral("%1").arg(n % 3), {}, direction, day, {}, {}, {}};
}

// The shown rows' first column, a separator as "|" and its day.
QStringList column(const LiveRowModel& model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QDate day = model.index(row, 0).data(LiveRowModel::SeparatorRole).toDate();
        result << (day.isValid() ? u'|' + day.toString(Qt::ISODate)
                                 : model.index(row, 0).data().toString());
    }
    return result;
}

} // namespace

class TestLiveRows : public QObject {
    Q_OBJECT
private slots:
    void filters_data();
    void filters();
    void liveFilterAgreesWithDayFilter();
    void rowsKept();
    void changeOfDay();
};

void TestLiveRows::filters_data()
{
    QTest::addColumn<bool>("cardOn");
    QTest::addColumn<QString>("card");
    QTest::addColumn<DirectionChoice>("direction");
    QTest::addColumn<QString>("swipeCard");
    QTest::addColumn<QString>("swipeDirection");
    QTest::addColumn<bool>("passes");
    QTest::newRow("card equal") << true << "007" << DirectionChoice::All << "007"
                                << "進" << true;
    QTest::newRow("card as listed, not as number") << true << "007" << DirectionChoice::All << "7"
                                                   << "進" << false;
    QTest::newRow("out only, blank inside") << false << "" << DirectionChoice::Out << "7"
                                            << " 出" << false;
    QTest::newRow("card and direction") << true << "7" << DirectionChoice::Out << "7"
                                        << "出" << true;
}

void TestLiveRows::filters()
{
    QFETCH(bool, cardOn);
    QFETCH(QString, card);
    QFETCH(DirectionChoice, direction);
    QFETCH(QString, swipeCard);
    QFETCH(QString, swipeDirection);
    QFETCH(bool, passes);
    const card::Swipe s{{}, swipeCard, {}, swipeDirection, kDay, {}, {}, {}};
    QCOMPARE(card::livePasses(RecordCriteria{cardOn, card, direction}, s), passes);
}

// The live view decides on decoded swipes what the query decides on a day file's bytes: over
// generated lines with every card and direction spelling, both keep the same records.
void TestLiveRows::liveFilterAgreesWithDayFilter()
{
    const QStringList cards{"7", "007", "\"7\"", "\" 7\"", "\"007\"", "70", "-7", "7.0"};
    const QStringList directions{"\"進\"", "\"出\"", "\" 出\"", "\"進 \"", "\"\"", "出", "\"入\""};
    QRandomGenerator random(30);
    QByteArray bytes;
    for (int line = 0; line < 2000; ++line)
        bytes += QStringLiteral("08:00:%1,%2,\"王\",%3\r\n")
                     .arg(line % 60, 2, 10, QChar(u'0'))
                     .arg(cards[random.bounded(int(cards.size()))],
                          directions[random.bounded(int(directions.size()))])
                     .toUtf8();
    const card::RecordTable all = card::readRecords(bytes, {});
    for (const bool cardOn : {false, true}) {
        for (const QString cardText : {"7", "007", " 7", "70"}) {
            for (const DirectionChoice direction : {DirectionChoice::None, DirectionChoice::In,
                                                    DirectionChoice::Out, DirectionChoice::All}) {
                const RecordCriteria criteria{cardOn, cardText, direction};
                const card::RecordTable kept = card::readRecords(bytes, criteria);
                QSet<qsizetype> keptStarts;
                for (qsizetype row = 0; row < kept.rowCount(); ++row)
                    keptStarts.insert(kept.recordStart(row));
                for (qsizetype row = 0; row < all.rowCount(); ++row) {
                    const card::Swipe s{all.text(row, 0),
                                        all.text(row, 1),
                                        all.text(row, 2),
                                        all.text(row, 3),
                                        kDay,
                                        {},
                                        {},
                                        {}};
                    QVERIFY2(card::livePasses(criteria, s) ==
                                 keptStarts.contains(all.recordStart(row)),
                             qPrintable(s.card + u'|' + s.direction + u'|' + cardText));
                }
            }
        }
    }
}

// Newest first, at most the limit; a filter applies to the rows kept and to later ones.
void TestLiveRows::rowsKept()
{
    LiveRowModel model;
    QAbstractItemModelTester tester(&model);
    QList<card::Swipe> first;
    for (int n = 0; n < card::kLiveRowLimit; ++n)
        first << swipe(n, n % 2 ? QStringLiteral("出") : QStringLiteral("進"));
    model.add(first, kDay);
    model.add({swipe(2000), swipe(2001, QStringLiteral("出"))}, kDay);
    QCOMPARE(model.rowCount(), card::kLiveRowLimit);
    QCOMPARE(column(model).first(3), (QStringList{"2001", "2000", "999"}));
    QCOMPARE(column(model).last(), QStringLiteral("2"));
    QVERIFY(model.index(1, 0).data(LiveRowModel::FreshRole).toBool());
    QVERIFY(!model.index(2, 0).data(LiveRowModel::FreshRole).toBool());

    model.setFilter(RecordCriteria{false, {}, DirectionChoice::Out});
    QCOMPARE(model.rowCount(), card::kLiveRowLimit / 2);
    model.add({swipe(3000), swipe(3001, QStringLiteral("出"))}, kDay);
    QCOMPARE(column(model).first(2), (QStringList{"3001", "2001"}));
    QCOMPARE(model.swipeAt(0)->time, QStringLiteral("3001"));

    model.setPaused(true); // all that came during a pause is fresh on resume
    model.add({swipe(4001, QStringLiteral("出"))}, kDay);
    model.add({swipe(4002), swipe(4003, QStringLiteral("出"))}, kDay);
    QCOMPARE(model.waitingCount(), 2); // the filtered-out 進 does not count
    model.setPaused(false);
    QVERIFY(model.index(1, 0).data(LiveRowModel::FreshRole).toBool());
}

// A separator row marks the change of day, even before the new day's first swipe.
void TestLiveRows::changeOfDay()
{
    LiveRowModel model;
    const QDate next = kDay.addDays(1);
    model.add({swipe(1)}, kDay);
    model.add({swipe(2)}, next);
    QCOMPARE(column(model), (QStringList{"|2007-05-04", "2", "1"}));
    model.add({swipe(3, QStringLiteral("進"), next)}, next);
    QCOMPARE(column(model), (QStringList{"3", "|2007-05-04", "2", "1"}));
    QVERIFY(model.swipeAt(1) == nullptr);
}

QTEST_GUILESS_MAIN(TestLiveRows)
#include "tst_live_rows.moc"
