#include "core/records/live_follower.h"

#include "core/records/record_reader.h"
#include "support/controlled_file_access.h"
#include "support/temp_site.h"

#include <QFile>
#include <QTest>

using card::DayFileFollower;
using card::LivePoll;

namespace {

const QDate kDay(2007, 5, 3);

// One record as the card readers write it: code page 950, CR LF.
QByteArray record(int second, const QString& card = QStringLiteral("00012345"),
                  const QString& name = QStringLiteral("陳怡君"))
{
    return card::test::big5(QStringLiteral("08:00:%1,\"%2\",\"%3\",\"進\"\r\n")
                                .arg(second, 2, 10, QLatin1Char('0'))
                                .arg(card, name));
}

QStringList texts(const QList<card::Swipe>& swipes)
{
    QStringList result;
    for (const card::Swipe& s : swipes)
        result << s.time + u'|' + s.card + u'|' + s.name + u'|' + s.direction;
    return result;
}

// What the query lists for bytes.
QStringList listed(const QByteArray& bytes)
{
    const card::RecordTable table = card::readRecords(bytes, {});
    QStringList rows;
    for (qsizetype row = 0; row < table.rowCount(); ++row) {
        QStringList fields;
        for (int field = 0; field < card::kRecordFieldCount; ++field)
            fields << table.text(row, field);
        rows << fields.join(u'|');
    }
    return rows;
}

void append(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    QCOMPARE(file.write(bytes), bytes.size());
}

QDateTime at(QDate day, const char* time)
{
    return QDateTime(day, QTime::fromString(QString::fromLatin1(time)));
}

} // namespace

class TestLiveFollower : public QObject {
    Q_OBJECT
private slots:
    void appendedByteByByte();
    void lastRecordsAtStart_data();
    void lastRecordsAtStart();
    void rewrittenFile_data();
    void rewrittenFile();
    void changeOfDay();
    void unreachableShare();
    void unopenedFile_data();
    void unopenedFile();
    void quotedLineEndInTheLastValue();
    void silenceLimit();
};

// A writer appends three records one byte at a time, so every record is cut inside a value,
// inside a Big5 character and between CR and LF; each look shows only whole records, and in
// the end every record once, with the query's values.
void TestLiveFollower::appendedByteByByte()
{
    const QByteArray whole = record(1) +
                             card::test::big5(QStringLiteral("08:00:02,12345,林志明,\"出\"\r\n")) +
                             record(3, QStringLiteral("777"), QStringLiteral("王小明"));
    const card::test::TempSite site;
    const QString path = site.write(QStringLiteral("2007-5-3.txt"), {});
    const card::test::ControlledFileAccess seam;
    DayFileFollower follower(site.path(), {});
    QStringList shown = texts(follower.poll(at(kDay, "08:00:00")).swipes);
    for (qsizetype cut = 1; cut <= whole.size(); ++cut) {
        append(path, whole.sliced(cut - 1, 1));
        const LivePoll poll = follower.poll(at(kDay, "08:00:10"));
        QCOMPARE(poll.state, LivePoll::State::Following);
        shown << texts(poll.swipes);
        QCOMPARE(shown, listed(whole.first(whole.lastIndexOf('\n', cut - 1) + 1)));
    }
    QVERIFY(seam.reads(path) > whole.size());
}

void TestLiveFollower::lastRecordsAtStart_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("expected"); // the records shown first
    const auto records = [](int from, int to) {
        QByteArray bytes;
        for (int i = from; i < to; ++i)
            bytes += record(i % 60, QString::number(i));
        return bytes;
    };
    const QByteArray many = records(0, 3000), lastTwenty = records(2980, 3000);
    QTest::newRow("a long day") << many << lastTwenty;
    QTest::newRow("a long day with a record being written")
        << many + record(9).first(12) << lastTwenty;
    QTest::newRow("UTF-8 with a byte order mark")
        << QByteArray("\xEF\xBB\xBF") + QStringLiteral("8:1,\"1\",\"王\",\"出\"\n").toUtf8()
        << QStringLiteral("8:1,\"1\",\"王\",\"出\"\n").toUtf8();
    QTest::newRow("a short line early shifts every later record by a value")
        << "1,a,b\r\n" + many << records(2979, 3000).sliced(9); // from the 2979th card on
}

void TestLiveFollower::lastRecordsAtStart()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, expected);
    const card::test::TempSite site;
    site.write(QStringLiteral("2007-5-3.txt"), bytes);
    DayFileFollower follower(site.path(), {});
    QCOMPARE(texts(follower.poll(at(kDay, "09:00:00")).swipes), listed(expected));
}

void TestLiveFollower::rewrittenFile_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("between"); // the file at a look between: deleted or emptied
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QByteArray>("expected"); // the records shown after the rewrite
    const QByteArray r1 = record(1), r2 = record(2), r3 = record(3);
    const QByteArray r4 = record(4, QStringLiteral("9")), r5 = record(5, QStringLiteral("55"));
    const QString none, deleted = QStringLiteral("deleted"), emptied = QStringLiteral("emptied");
    QTest::newRow("replaced by a shorter one") << r1 + r2 + r3 << none << r2 + r4 << r4;
    QTest::newRow("same size, last record changed")
        << r1 + r2 + r3 << none << r1 + r2 + record(3, QStringLiteral("00054321"))
        << record(3, QStringLiteral("00054321"));
    QTest::newRow("another file") << r1 + r2 << none << r5 + r4 << r5 + r4;
    QTest::newRow("deleted, back with one more") << r1 + r2 << deleted << r1 + r2 + r3 << r3;
    QTest::newRow("caught empty, back with one more") << r1 + r2 << emptied << r1 + r2 + r3 << r3;
    QTest::newRow("a double swipe in one second") << r1 + r2 << none << r1 + r1 + r3 << r1 + r3;
}

void TestLiveFollower::rewrittenFile()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, between);
    QFETCH(QByteArray, after);
    QFETCH(QByteArray, expected);
    const card::test::TempSite site;
    const QString path = site.write(QStringLiteral("2007-5-3.txt"), before);
    DayFileFollower follower(site.path(), {});
    QCOMPARE(texts(follower.poll(at(kDay, "09:00:00")).swipes), listed(before));
    if (!between.isEmpty()) {
        QVERIFY(between == u"deleted" ? QFile::remove(path) : QFile(path).resize(0));
        const LivePoll poll = follower.poll(at(kDay, "09:00:01"));
        QCOMPARE(poll.state,
                 between == u"deleted" ? LivePoll::State::Waiting : LivePoll::State::Following);
        QVERIFY(poll.swipes.isEmpty());
    }
    const QString replacement = site.write(QStringLiteral("new.txt"), after);
    QFile::remove(path);
    QVERIFY(QFile::rename(replacement, path));
    QCOMPARE(texts(follower.poll(at(kDay, "09:00:02")).swipes), listed(expected));
    append(path, record(7));
    QCOMPARE(texts(follower.poll(at(kDay, "09:00:03")).swipes), listed(record(7)));
}

// Records written to the old file just before midnight still come, then the new day's file is
// waited for.
void TestLiveFollower::changeOfDay()
{
    const card::test::TempSite site;
    const QString oldPath = site.write(QStringLiteral("2007-5-3.txt"), record(1));
    DayFileFollower follower(site.path(), {});
    QCOMPARE(follower.poll(at(kDay, "23:59:58")).swipes.size(), 1);
    append(oldPath, record(2));
    const LivePoll midnight = follower.poll(at(kDay.addDays(1), "00:00:01"));
    QCOMPARE(midnight.state, LivePoll::State::Waiting);
    QCOMPARE(midnight.day, kDay.addDays(1));
    QCOMPARE(texts(midnight.swipes), listed(record(2)));
    QCOMPARE(midnight.swipes.first().day, kDay);
    site.write(QStringLiteral("2007-5-4.txt"), record(3));
    const LivePoll next = follower.poll(at(kDay.addDays(1), "00:00:02"));
    QCOMPARE(texts(next.swipes), listed(record(3)));
    QCOMPARE(next.swipes.first().day, kDay.addDays(1));
}

// A records folder that cannot be entered, or a read that fails, counts as lost; once the
// share answers again every record written meanwhile comes once.
void TestLiveFollower::unreachableShare()
{
    const card::test::TempSite site;
    QCOMPARE(DayFileFollower(site.filePath("gone"), {}).poll(at(kDay, "09:00:00")).state,
             LivePoll::State::Lost);
    const QString path = site.write(QStringLiteral("2007-5-3.txt"), record(1));
    DayFileFollower follower(site.path(), {});
    QCOMPARE(follower.poll(at(kDay, "09:00:00")).swipes.size(), 1);
    card::test::ControlledFileAccess seam;
    seam.failReads(path, 0);
    append(path, record(2));
    const LivePoll poll = follower.poll(at(kDay, "09:00:01"));
    QCOMPARE(poll.state, LivePoll::State::Lost);
    QVERIFY(poll.swipes.isEmpty());
    seam.failReads({}, 0);
    QCOMPARE(texts(follower.poll(at(kDay, "09:00:09")).swipes), listed(record(2)));
}

// A file that cannot be opened is waited for, not ours to read, or out of reach, as the site
// says; "records" and "2007" name the part refused.
void TestLiveFollower::unopenedFile_data()
{
    QTest::addColumn<bool>("folder");
    QTest::addColumn<bool>("file");
    QTest::addColumn<QString>("denied");
    QTest::addColumn<LivePoll::State>("state");
    QTest::newRow("no folder") << false << false << QString() << LivePoll::State::Lost;
    QTest::newRow("no file yet") << true << false << QString() << LivePoll::State::Waiting;
    QTest::newRow("folder refused") << true << true << "records" << LivePoll::State::FolderDenied;
    QTest::newRow("file refused") << true << true << "2007" << LivePoll::State::FileDenied;
}

void TestLiveFollower::unopenedFile()
{
    QFETCH(bool, folder);
    QFETCH(bool, file);
    QFETCH(QString, denied);
    QFETCH(LivePoll::State, state);
    const card::test::TempSite site;
    const QString records = site.filePath("records");
    if (folder)
        site.makeFolder(QStringLiteral("records"));
    if (file)
        site.write(QStringLiteral("records/2007-5-3.txt"), record(1));
    card::test::ControlledFileAccess seam;
    seam.deny(denied);
    QCOMPARE(DayFileFollower(records, {}).poll(at(kDay, "09:00:00")).state, state);
}

// A record cut inside a quoted last value that holds a line end comes once the value is closed.
void TestLiveFollower::quotedLineEndInTheLastValue()
{
    const card::test::TempSite site;
    const QString path = site.write(QStringLiteral("2007-5-3.txt"), record(1));
    DayFileFollower follower(site.path(), {});
    QCOMPARE(follower.poll(at(kDay, "09:00:00")).swipes.size(), 1);
    append(path, "08:00:00,1,A,\"in\r\n");
    QVERIFY(follower.poll(at(kDay, "09:00:01")).swipes.isEmpty());
    append(path, "side\"\r\n" + record(2));
    QCOMPARE(texts(follower.poll(at(kDay, "09:00:02")).swipes),
             listed("08:00:00,1,A,\"in\r\nside\"\r\n" + record(2)));
}

void TestLiveFollower::silenceLimit()
{
    const QDateTime answer = at(kDay, "09:00:00");
    QVERIFY(!card::liveConnectionLost(answer, answer.addMSecs(5000)));
    QVERIFY(card::liveConnectionLost(answer, answer.addMSecs(5001)));
}

QTEST_GUILESS_MAIN(TestLiveFollower)
#include "tst_live_follower.moc"
