#include "core/records/exception_rules.h"

#include "core/records/record_file.h"
#include "core/records/record_reader.h"
#include "core/text/time_of_day.h"
#include "support/temp_site.h"

#include <QMap>
#include <QRandomGenerator>
#include <QTest>

using card::ExceptionHit;
using card::ExceptionQuery;

namespace {

const QDate kEnd(2026, 5, 10);
const QDateTime kLongAfter(QDate(2026, 6, 1), QTime(12, 0));

// "D HH:MM:SS CARD DIRECTION [SHAPE]": D days from the range's last day; a direction of _
// stands for a blank inside the quotes; SHAPE picks one of the record shapes below, the card
// readers' own by default.
struct PlannedSwipe {
    int day;
    QString line;
};

const QStringList kRecordShapes{
    QStringLiteral("%1,\"%2\",\"持卡人\",\"%3\"\r\n"),
    QStringLiteral("%1,\"%2\",\"持卡人\",\"%3\"\n"),
    QStringLiteral("%1,\"%2\",\"持卡人\",\"%3\","),
    QStringLiteral(" %1, \"%2\",\"持卡人\",\"%3\"\r\n"),
    QStringLiteral("\"%1\",\"%2\",\"持卡人\",\"%3\"\r\n"),
    QStringLiteral("%1,\"%2\",\"持\"\"卡人\",\"%3\"\r\n"),
    QStringLiteral("%1,%2,\"持卡人\",\"%3\"\r\n"),
    QStringLiteral("%1,\"%2\"\r\n\"持卡人\",\"%3\"\r\n"),
};

PlannedSwipe planned(const QString& text)
{
    const QStringList parts = text.split(u' ');
    const QString direction = parts[3] == u"_" ? QStringLiteral(" ") : parts[3];
    const QString& shape = kRecordShapes[parts.value(4, QStringLiteral("0")).toInt()];
    return {parts[0].toInt(), shape.arg(parts[1], parts[2], direction)};
}

// A card's working days: in at 09:00:00, out at 17:00:00.
QStringList workDays(const QString& card, int from, int to)
{
    QStringList lines;
    for (int day = from; day <= to; ++day)
        lines << QStringLiteral("%1 09:00:00 %2 進").arg(day).arg(card)
              << QStringLiteral("%1 17:00:00 %2 出").arg(day).arg(card);
    return lines;
}

// Every day the query reads gets a file (empty when it has no swipe) unless it is missing.
void writeDays(const card::test::TempSite& site, const ExceptionQuery& query,
               const QStringList& swipes, const QList<int>& missing)
{
    QMap<int, QByteArray> files;
    for (const QDate date : card::exceptionReadDates(query))
        files.insert(static_cast<int>(kEnd.daysTo(date)), {});
    for (const QString& text : swipes) {
        const PlannedSwipe swipe = planned(text);
        files[swipe.day] += card::test::big5(swipe.line);
    }
    for (auto file = files.cbegin(); file != files.cend(); ++file) {
        if (!missing.contains(file.key()))
            site.write(card::recordFileName(kEnd.addDays(file.key())), file.value());
    }
}

// A hit as the table writes it: "D HH:MM:SS CARD RULE", then " missing D" when it needed a
// missing day, then " after HH:MM:SS" with the swipe it was judged against.
QString hitText(const ExceptionHit& hit)
{
    QString text = QStringLiteral("%1 %2 %3 %4")
                       .arg(kEnd.daysTo(hit.swipe.day))
                       .arg(hit.swipe.time, hit.swipe.card, card::exceptionRuleName(hit.rule));
    if (hit.missingDay.isValid())
        text += QStringLiteral(" missing %1").arg(kEnd.daysTo(hit.missingDay));
    if (hit.reference)
        text += QStringLiteral(" after ") + hit.reference->time;
    return text;
}

QStringList hitTexts(const QList<ExceptionHit>& hits)
{
    QStringList texts;
    for (const ExceptionHit& hit : hits)
        texts << hitText(hit);
    texts.sort();
    return texts;
}

} // namespace

class TestExceptionRules : public QObject {
    Q_OBJECT
private slots:
    void findsEachRuleAtItsEdges_data();
    void findsEachRuleAtItsEdges();
    void fastPathAgreesWithPlainEvaluation();
};

void TestExceptionRules::findsEachRuleAtItsEdges_data()
{
    QTest::addColumn<QStringList>("swipes");
    QTest::addColumn<QList<int>>("missing"); // days without a file
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QStringList>("hits");

    const QDateTime later = kLongAfter;
    const QString out = QStringLiteral("0 17:00:00 7 出");
    QTest::newRow("same direction exactly 24 hours after is repeated")
        << QStringList{"-1 08:00:00 7 進", "0 08:00:00 7 進", out} << QList<int>{} << later
        << QStringList{"0 08:00:00 7 重複進 after 08:00:00"};
    QTest::newRow("same direction 24 hours and a second after is not")
        << QStringList{"-1 08:00:00 7 進", "0 08:00:01 7 進", out} << QList<int>{} << later
        << QStringList{};
    QTest::newRow("two outs in a row")
        << QStringList{"0 08:00:00 7 進", "0 12:00:00 7 出", "0 13:00:00 7 出"} << QList<int>{}
        << later << QStringList{"0 13:00:00 7 重複出 after 12:00:00"};
    QTest::newRow("out 24 hours and a second after the last swipe")
        << QStringList{"-1 12:00:00 7 出", "0 12:00:01 7 出"} << QList<int>{} << later
        << QStringList{"0 12:00:01 7 無進先出 after 12:00:00"};
    QTest::newRow("out with the day before missing says so")
        << QStringList{"0 09:00:00 7 出"} << QList<int>{-1} << later
        << QStringList{"0 09:00:00 7 無進先出 missing -1"};
    QTest::newRow("in followed 24 hours and a second later")
        << QStringList{"0 09:00:00 7 進", "1 09:00:01 7 出"} << QList<int>{} << later
        << QStringList{"0 09:00:00 7 有進無出"};
    QTest::newRow("in followed exactly 24 hours later")
        << QStringList{"0 09:00:00 7 進", "1 09:00:00 7 出"} << QList<int>{} << later
        << QStringList{};
    QTest::newRow("in whose 24 hours are not over by now")
        << QStringList{"0 09:00:00 7 進"} << QList<int>{}
        << QDateTime(kEnd.addDays(1), QTime(8, 59, 59)) << QStringList{};
    QTest::newRow("in with the day after missing says so")
        << QStringList{"0 09:00:00 7 進"} << QList<int>{1} << later
        << QStringList{"0 09:00:00 7 有進無出 missing 1"};
    QTest::newRow("third swipe exactly 60 seconds after the first")
        << QStringList{"0 10:00:00 7 進", "0 10:00:30 7 出", "0 10:01:00 7 進", "0 10:05:00 7 出"}
        << QList<int>{} << later << QStringList{"0 10:01:00 7 連續刷卡 after 10:00:00"};
    QTest::newRow("third swipe 61 seconds after the first")
        << QStringList{"0 10:00:00 7 進", "0 10:00:30 7 出", "0 10:01:01 7 進", "0 10:05:00 7 出"}
        << QList<int>{} << later << QStringList{};
    QTest::newRow("night begins at 22:00:00")
        << QStringList{"0 21:59:59 7 進", "0 22:00:00 7 出"} << QList<int>{} << later
        << QStringList{"0 22:00:00 7 夜間刷卡"};
    QTest::newRow("night ends after 05:59:59")
        << QStringList{"0 05:59:59 7 進", "0 06:00:00 7 出"} << QList<int>{} << later
        << QStringList{"0 05:59:59 7 夜間刷卡"};
    QTest::newRow("new hour after 10 days of history")
        << workDays("7", -10, -1) + QStringList{"0 09:00:00 7 進", "0 12:00:00 7 出"}
        << QList<int>{} << later << QStringList{"0 12:00:00 7 罕見時段"};
    QTest::newRow("new hour after 9 days of history")
        << workDays("7", -9, -1) + QStringList{"0 09:00:00 7 進", "0 12:00:00 7 出"} << QList<int>{}
        << later << QStringList{};
    QTest::newRow("new hour with a missing day in the 30 says so")
        << workDays("7", -11, -2) + QStringList{"0 09:00:00 7 進", "0 12:00:00 7 出"}
        << QList<int>{-1} << later << QStringList{"0 12:00:00 7 罕見時段 missing -1"};
    QTest::newRow("a blank direction takes part in no direction rule")
        << QStringList{"0 08:00:00 7 進", "0 09:00:00 7 _", "0 12:00:00 7 出"} << QList<int>{}
        << later << QStringList{};
    QTest::newRow("one swipe, two rules")
        << QStringList{"0 23:00:00 7 出"} << QList<int>{} << later
        << QStringList{"0 23:00:00 7 夜間刷卡", "0 23:00:00 7 無進先出"};
}

void TestExceptionRules::findsEachRuleAtItsEdges()
{
    QFETCH(QStringList, swipes);
    QFETCH(QList<int>, missing);
    QFETCH(QDateTime, now);
    QFETCH(QStringList, hits);

    card::test::TempSite site;
    ExceptionQuery query;
    query.end = kEnd;
    query.recordsFolder = site.path();
    query.now = now;
    writeDays(site, query, swipes, missing);
    hits.sort();
    QCOMPARE(hitTexts(card::readExceptions(query)), hits);
}

namespace {

struct PlainSwipe {
    qint64 when;
    QDate day;
    QString time;
    QString card;
    QString direction;
};

// The rules read straight from their wording, one swipe at a time against all of its card's
// swipes, over the plain record reader's rows.
QStringList plainHits(const ExceptionQuery& query, const QSet<int>& missing)
{
    constexpr qint64 kDay = 86400;
    const card::ExceptionSettings& rules = query.settings;
    QMap<QString, QList<PlainSwipe>> byCard;
    for (const QDate date : card::exceptionReadDates(query)) {
        card::RecordTable table;
        card::readRecordFile(card::recordFilePath(query.recordsFolder, date), {}, table);
        for (qsizetype row = 0; row < table.rowCount(); ++row) {
            const std::optional<int> second = card::timeOfDaySeconds(table.text(row, 0));
            if (second)
                byCard[table.text(row, 1)].append({date.toJulianDay() * kDay + *second, date,
                                                   table.text(row, 0), table.text(row, 1),
                                                   table.text(row, 3)});
        }
    }
    const qint64 now =
        query.now.date().toJulianDay() * kDay + query.now.time().msecsSinceStartOfDay() / 1000;
    const auto isMissing = [&](QDate day) {
        return missing.contains(static_cast<int>(kEnd.daysTo(day)));
    };
    QStringList hits;
    for (QList<PlainSwipe>& swipes : byCard) {
        std::stable_sort(swipes.begin(), swipes.end(),
                         [](const PlainSwipe& a, const PlainSwipe& b) { return a.when < b.when; });
        for (qsizetype k = 0; k < swipes.size(); ++k) {
            const PlainSwipe& s = swipes[k];
            if (s.day < query.first() || s.day > query.end)
                continue;
            const QString head =
                QStringLiteral("%1 %2 %3 ").arg(kEnd.daysTo(s.day)).arg(s.time, s.card);
            const bool turn = s.direction == u"進" || s.direction == u"出";
            qsizetype previous = k - 1;
            while (previous >= 0 && swipes[previous].direction != u"進" &&
                   swipes[previous].direction != u"出")
                --previous;
            const bool within = previous >= 0 && s.when - swipes[previous].when <= kDay;
            if (turn && within && swipes[previous].direction == s.direction)
                hits << head + (s.direction == u"進" ? "重複進" : "重複出") + " after " +
                            swipes[previous].time;
            const QString after = previous >= 0 ? " after " + swipes[previous].time : QString();
            if (s.direction == u"出" && !within)
                hits << head + "無進先出" +
                            (isMissing(s.day.addDays(-1))
                                 ? QStringLiteral(" missing %1").arg(kEnd.daysTo(s.day) - 1)
                                 : QString()) +
                            after;
            if (s.direction == u"進" && s.when + kDay <= now) {
                qsizetype next = k + 1;
                while (next < swipes.size() && swipes[next].direction != u"進" &&
                       swipes[next].direction != u"出")
                    ++next;
                if (next == swipes.size() || swipes[next].when - s.when > kDay)
                    hits << head + "有進無出" +
                                (isMissing(s.day.addDays(1))
                                     ? QStringLiteral(" missing %1").arg(kEnd.daysTo(s.day) + 1)
                                     : QString()) +
                                after;
            }
            if (k >= rules.burstCount - 1 &&
                s.when - swipes[k - rules.burstCount + 1].when <= rules.burstSeconds)
                hits << head + "連續刷卡 after " + swipes[k - rules.burstCount + 1].time;
            const int hour = static_cast<int>(s.when % kDay / 3600);
            if (hour >= rules.nightFromHour || hour < rules.nightUntilHour)
                hits << head + "夜間刷卡";
            QSet<QDate> days;
            bool hourSeen = false;
            for (const PlainSwipe& other : swipes) {
                if (other.day < s.day.addDays(-rules.rareDays) || other.day >= s.day)
                    continue;
                days.insert(other.day);
                hourSeen |= other.when % kDay / 3600 == hour;
            }
            if (days.size() >= rules.rareMinimumDays && !hourSeen) {
                QString note;
                for (int back = 1; back <= rules.rareDays && note.isEmpty(); ++back) {
                    if (isMissing(s.day.addDays(-back)))
                        note = QStringLiteral(" missing %1").arg(kEnd.daysTo(s.day.addDays(-back)));
                }
                hits << head + "罕見時段" + note;
            }
        }
    }
    hits.sort();
    return hits;
}

} // namespace

// Random days of a few cards in records of every shape, some days missing, with the default and
// other settings: the day-at-a-time rules give what the wording gives when read one swipe at a
// time.
void TestExceptionRules::fastPathAgreesWithPlainEvaluation()
{
    const QStringList directions{"進", "出", "進", "出", "_", "?"};
    // Numbers told apart by their leading zeros, and a card that is no number.
    const QStringList cards{"7", "007", "70", "A7"};
    for (quint32 seed = 1; seed <= 20; ++seed) {
        QRandomGenerator random(seed);
        card::test::TempSite site;
        ExceptionQuery query;
        query.end = kEnd;
        query.dayCount = 7;
        query.recordsFolder = site.path();
        query.now = QDateTime(kEnd.addDays(1), QTime(random.bounded(24), 0));
        // Every other seed with other counts and spans than the defaults.
        if (seed % 2 == 1)
            query.settings = {2 + random.bounded(3), 30 + random.bounded(60), 22, 6,
                              1 + random.bounded(9), 1 + random.bounded(4)};
        QStringList swipes;
        const int readDays = static_cast<int>(card::exceptionReadDates(query).size());
        for (int k = 0; k < 600; ++k) {
            const int day = random.bounded(2 - readDays, 2);
            // Most swipes near the start of the working day, so bursts and repeats occur.
            const int second =
                random.bounded(3) == 0 ? random.bounded(86400) : 8 * 3600 + random.bounded(120);
            // Half the records in the card readers' shape, the rest in any other.
            const int shape = random.bounded(2) == 0 ? 0 : random.bounded(kRecordShapes.size());
            swipes << QStringLiteral("%1 %2 %3 %4 %5")
                          .arg(day)
                          .arg(QTime(0, 0).addSecs(second).toString(QStringLiteral("H:mm:ss")))
                          .arg(cards[random.bounded(cards.size())],
                               directions[random.bounded(directions.size())])
                          .arg(shape);
        }
        QList<int> missing{random.bounded(-8, 2), random.bounded(-35, -8)};
        writeDays(site, query, swipes, missing);
        const QStringList plain = plainHits(query, QSet<int>(missing.cbegin(), missing.cend()));
        QVERIFY(plain.size() > 20);
        QCOMPARE(hitTexts(card::readExceptions(query)), plain);
    }
}

QTEST_GUILESS_MAIN(TestExceptionRules)
#include "tst_exception_rules.moc"
