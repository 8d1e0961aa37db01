#include "core/photos/photo_find.h"

#include "core/platform/path_join.h"
#include "core/text/time_of_day.h"
#include "support/probe_log.h"

#include <QTest>

using card::PhotoOutcome;
using card::test::ProbeLog;

Q_DECLARE_METATYPE(card::PhotoOutcome)

namespace {

const QString kFolder = QStringLiteral("/photos");
const QString kCard = QStringLiteral("00012345");
const QString kDate = QStringLiteral("070515");
const QString kTime = QStringLiteral("081530");

QString sep()
{
    return QString(card::pathSeparator());
}

// The photo of the test swipe with this suffix ("C", "1" to "5").
QString photo(const QString& suffix)
{
    return kFolder + sep() + kCard + u'-' + kDate + u'-' + kTime + u'-' + suffix + ".jpg";
}

QSet<QString> photos(const QStringList& suffixes)
{
    QSet<QString> paths;
    for (const QString& suffix : suffixes)
        paths.insert(photo(suffix));
    return paths;
}

} // namespace

class TestPhotoFind : public QObject {
    Q_OBJECT
private slots:
    void firstPresentInOrder_data();
    void firstPresentInOrder();
    void probedNames_data();
    void probedNames();
    void swipeWithoutTimeFindsNothing();
};

void TestPhotoFind::firstPresentInOrder_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("expectedSuffix");
    QTest::addColumn<PhotoOutcome>("expectedOutcome");
    QTest::addColumn<QStringList>("expectedProbes");
    const QStringList allProbes = {"C", "5", "4", "3", "2", "1"};
    QTest::newRow("still photo and frames 3 and 1")
        << QStringList{"C", "3", "1"} << "C" << PhotoOutcome::StillPhoto << QStringList{"C"};
    QTest::newRow("only frames 3 and 1") << QStringList{"3", "1"} << "3" << PhotoOutcome::Sequence
                                         << QStringList{"C", "5", "4", "3", "3", "3"};
    QTest::newRow("only frame 1") << QStringList{"1"} << "1" << PhotoOutcome::Sequence << allProbes;
    QTest::newRow("only frame 5") << QStringList{"5"} << "5" << PhotoOutcome::Sequence
                                  << QStringList{"C", "5", "5", "5", "5", "5"};
    QTest::newRow("all five frames")
        << QStringList{"5", "4", "3", "2", "1"} << "5" << PhotoOutcome::Sequence
        << QStringList{"C", "5", "5", "5", "5", "5"};
    QTest::newRow("frames 4 and 2") << QStringList{"4", "2"} << "4" << PhotoOutcome::Sequence
                                    << QStringList{"C", "5", "4", "4", "4", "4"};
    QTest::newRow("no photo") << QStringList{} << "1" << PhotoOutcome::None << allProbes;
}

void TestPhotoFind::firstPresentInOrder()
{
    QFETCH(QStringList, present);
    QFETCH(QString, expectedSuffix);
    QFETCH(PhotoOutcome, expectedOutcome);
    QFETCH(QStringList, expectedProbes);
    ProbeLog files(photos(present));
    const card::PhotoLookup found = card::findPhoto(kFolder, kCard, kDate, kTime, files.test());
    QCOMPARE(found.path, photo(expectedSuffix));
    QCOMPARE(found.outcome, expectedOutcome);
    QStringList probes;
    for (const QString& suffix : expectedProbes)
        probes.append(photo(suffix));
    QCOMPARE(files.probed(), probes);
}

void TestPhotoFind::probedNames_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("listedTime");
    QTest::addColumn<QString>("firstProbe");
    QTest::newRow("listed 8:05:07") << "/photos"
                                    << "00012345"
                                    << "8:05:07"
                                    << "/photos" + sep() + "00012345-070515-080507-C.jpg";
    QTest::newRow("folder with a trailing separator")
        << "/photos" + sep() << "00012345"
        << "17:30:00"
        << "/photos" + sep() + sep() + "00012345-070515-173000-C.jpg";
    QTest::newRow("no photo folder loaded") << ""
                                            << "00012345"
                                            << "17:30:00" << sep() + "00012345-070515-173000-C.jpg";
    QTest::newRow("no card number") << "/photos"
                                    << ""
                                    << "17:30:00"
                                    << "/photos" + sep() + "-070515-173000-C.jpg";
}

void TestPhotoFind::probedNames()
{
    QFETCH(QString, folder);
    QFETCH(QString, card);
    QFETCH(QString, listedTime);
    QFETCH(QString, firstProbe);
    ProbeLog files;
    const card::PhotoLookup found =
        card::findPhoto(folder, card, kDate, card::timeOfDayDigits(listedTime), files.test());
    QCOMPARE(files.probed().first(), firstProbe);
    const QString stem = firstProbe.chopped(QStringLiteral("-C.jpg").size());
    QCOMPARE(files.probed().last(), stem + "-1.jpg");
    QCOMPARE(found.path, stem + "-1.jpg");
}

void TestPhotoFind::swipeWithoutTimeFindsNothing()
{
    // Even a file whose name has an empty time is no photo of a swipe without a time of day.
    const QString emptyTimeStill = kFolder + sep() + kCard + "-070515--C.jpg";
    ProbeLog files({emptyTimeStill});
    const card::PhotoLookup found = card::findPhoto(kFolder, kCard, kDate, QString(), files.test());
    QCOMPARE(found.outcome, PhotoOutcome::None);
    QCOMPARE(found.path, kFolder + sep() + kCard + "-070515--1.jpg");
    QVERIFY(files.probed().isEmpty());
}

QTEST_GUILESS_MAIN(TestPhotoFind)
#include "tst_photo_find.moc"
