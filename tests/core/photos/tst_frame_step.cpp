#include "core/photos/frame_step.h"

#include "core/platform/path_join.h"
#include "support/probe_log.h"

#include <QTest>

using card::test::ProbeLog;

namespace {

const QString kName = QStringLiteral("00012345-070515-081530");

QString frame(const QString& folder, int number)
{
    return card::joinPath(folder, kName) + QStringLiteral("-%1.jpg").arg(number);
}

// One tick as text: the frame shown ("-" when none), then "end" when the playback ends.
QString tickText(const card::FrameStep& step)
{
    QString text = step.load ? step.path.right(5).left(1) : QStringLiteral("-");
    if (step.ends)
        text += QStringLiteral(" end");
    return text;
}

} // namespace

class TestFrameStep : public QObject {
    Q_OBJECT
private slots:
    void playback_data();
    void playback();
    void deletedCurrentFrameWaits();
    void onlyTheFrameSuffixSteps_data();
    void onlyTheFrameSuffixSteps();
};

void TestFrameStep::playback_data()
{
    QTest::addColumn<QList<int>>("present");
    QTest::addColumn<QStringList>("expectedTicks");
    QTest::addColumn<QList<int>>("expectedTests");
    QTest::newRow("5-4-3-2-1") << QList<int>{5, 4, 3, 2, 1} << QStringList{"4", "3", "2", "1 end"}
                               << QList<int>{2, 2, 2, 2};
    QTest::newRow("5-3-1") << QList<int>{5, 3, 1} << QStringList{"3", "1 end"} << QList<int>{3, 3};
    QTest::newRow("4-2") << QList<int>{4, 2} << QStringList{"2", "- end"} << QList<int>{3, 2};
    QTest::newRow("only 1") << QList<int>{1} << QStringList{"1 end"} << QList<int>{2};
    QTest::newRow("5 and 2") << QList<int>{5, 2} << QStringList{"2", "- end"} << QList<int>{4, 2};
    QTest::newRow("5 and 1: five tests in one tick")
        << QList<int>{5, 1} << QStringList{"1 end"} << QList<int>{5};
}

void TestFrameStep::playback()
{
    QFETCH(QList<int>, present);
    QFETCH(QStringList, expectedTicks);
    QFETCH(QList<int>, expectedTests);
    const QString folder = QStringLiteral("/photos");
    ProbeLog files;
    for (int number : present)
        files.add(frame(folder, number));
    // The playback starts at the highest frame present.
    QString path = frame(folder, present.first());
    QStringList ticks;
    QList<int> tests;
    for (int tick = 0; tick < 10; ++tick) {
        files.clearLog();
        const card::FrameStep step = card::stepFrame(path, files.test());
        path = step.path;
        ticks.append(tickText(step));
        tests.append(static_cast<int>(files.probed().size()));
        if (step.ends)
            break;
    }
    QCOMPARE(ticks, expectedTicks);
    QCOMPARE(tests, expectedTests);
    QCOMPARE(path, frame(folder, 1));
}

void TestFrameStep::deletedCurrentFrameWaits()
{
    const QString folder = QStringLiteral("/photos");
    ProbeLog files;
    for (int number = 1; number <= 5; ++number)
        files.add(frame(folder, number));
    card::FrameStep step = card::stepFrame(frame(folder, 5), files.test());
    QCOMPARE(step.path, frame(folder, 4));

    files.remove(frame(folder, 4));
    for (int tick = 0; tick < 2; ++tick) {
        files.clearLog();
        step = card::stepFrame(step.path, files.test());
        QCOMPARE(step.path, frame(folder, 4));
        QVERIFY(!step.load);
        QVERIFY(!step.ends);
        QCOMPARE(files.probed(), QStringList{frame(folder, 4)});
    }

    files.add(frame(folder, 4));
    step = card::stepFrame(step.path, files.test());
    QCOMPARE(step.path, frame(folder, 3));
    QVERIFY(step.load);
}

void TestFrameStep::onlyTheFrameSuffixSteps_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("folder named 3.jpg")
        << card::joinPath(QStringLiteral("/photos"), QStringLiteral("3.jpg"));
    QTest::newRow("folder named 5.jpg")
        << card::joinPath(QStringLiteral("/photos"), QStringLiteral("5.jpg"));
    QTest::newRow("folder with a trailing separator")
        << QStringLiteral("/photos") + card::pathSeparator();
}

void TestFrameStep::onlyTheFrameSuffixSteps()
{
    QFETCH(QString, folder);
    ProbeLog files;
    files.add(frame(folder, 5));
    files.add(frame(folder, 3));
    files.add(frame(folder, 1));
    card::FrameStep step = card::stepFrame(frame(folder, 5), files.test());
    QCOMPARE(step.path, frame(folder, 3));
    QVERIFY(step.load);
    step = card::stepFrame(step.path, files.test());
    QCOMPARE(step.path, frame(folder, 1));
    QVERIFY(step.ends && step.load);
    for (const QString& probed : files.probed())
        QVERIFY2(probed.startsWith(card::joinPath(folder, kName)), qPrintable(probed));
}

QTEST_GUILESS_MAIN(TestFrameStep)
#include "tst_frame_step.moc"
