#include "ui/main_window/card_image_window.h"

#include "core/dialog/folder_list_model.h"
#include "core/parameters/parameter_table.h"
#include "core/platform/site_io_pool.h"
#include "core/records/record_table_model.h"
#include "support/controlled_file_access.h"
#include "support/modal_script.h"
#include "support/settle.h"
#include "support/temp_site.h"
#include "support/test_photos.h"
#include "ui/main_window/record_list_view.h"

#include <QDateEdit>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

using card::CardImageWindow;
using card::test::ControlledFileAccess;

namespace {

const QDate kFirstDay(2007, 5, 15);
const QDate kSecondDay(2007, 5, 16);
const QString kFirstDayFile = QStringLiteral("2007-5-15.txt");
const QString kParameterFile = QStringLiteral("site.spf");

// Rows of the first day and the photos of each swipe.
const QString kFirstDayRecords =
    QStringLiteral("\"08:00:00\",\"00000001\",\"王小明\",\"進\"\r\n"   // still
                   "\"08:01:00\",\"00000002\",\"李大華\",\"出\"\r\n"   // still
                   "\"08:02:00\",\"00000003\",\"陳美玲\",\"進\"\r\n"   // none
                   "\"08:03:00\",\"00000004\",\"林志明\",\"出\"\r\n"); // frames 5 to 1
const QString kFirstPressed = QStringLiteral("00000001-070515-080000");
const QString kSequence = QStringLiteral("00000004-070515-080300");

enum class Action { Query, Press, Load };

// A site on a share that answers when the test lets it, and the window on it. A read wrongly run
// on the interface thread would block the test for good: a watchdog thread lets the held reads go
// after a while, so that the test fails instead of hanging.
class SlowSite {
public:
    SlowSite()
        : m_watchdog([this](std::stop_token stop) {
            std::unique_lock lock(m_watchdogMutex);
            m_watchdogWake.wait_for(lock, stop, std::chrono::seconds(10), [] { return false; });
            access.release();
        })
    {
        site.write(kFirstDayFile, card::test::big5(kFirstDayRecords));
        site.write(
            QStringLiteral("2007-5-16.txt"),
            card::test::big5(QStringLiteral("\"09:00:00\",\"00000005\",\"張惠妹\",\"進\"\r\n")));
        site.write(kParameterFile, "\"a\",\"b\"\r\n");
        photo(kFirstPressed + "-C.jpg", Qt::red);
        photo(QStringLiteral("00000002-070515-080100-C.jpg"), Qt::blue);
        for (int frame = 1; frame <= 5; ++frame)
            photo(kSequence + QStringLiteral("-%1.jpg").arg(frame), Qt::green);
        window.state().parameters[card::kRecordsFolderSlot] = site.path();
        window.state().parameters[card::kPhotoFolderSlot] = site.filePath(QStringLiteral("photos"));
        c().datePicker->setDate(kFirstDay);
        c().directionOptions[2]->setChecked(true);
        // Only the ticks the test makes.
        c().playbackTimer->setInterval(std::chrono::hours(1));
        window.show();
    }
    ~SlowSite()
    {
        access.release();
        card::siteIoPool().waitForDone(10000);
    }
    SlowSite(const SlowSite&) = delete;
    SlowSite& operator=(const SlowSite&) = delete;

    const card::MainControls& c() const { return window.controls(); }

    void photo(const QString& name, const QColor& colour) const
    {
        site.write(QStringLiteral("photos/") + name, card::test::jpegBytes(colour));
    }

    void press(int row) const
    {
        card::RecordListView* list = c().resultLists[0];
        const QPoint centre = list->visualRect(list->model()->index(row, 0)).center();
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, centre);
    }

    QStringList times()
    {
        QStringList texts;
        for (int row = 0; row < window.records().rowCount(); ++row)
            texts << window.records().index(row, 0).data().toString();
        return texts;
    }

    // Lets the held work end and waits until the window has taken every result in.
    bool releaseAndSettle()
    {
        access.release();
        if (!card::siteIoPool().waitForDone(10000))
            return false;
        QCoreApplication::processEvents();
        return card::test::settled(window);
    }

    // What the photo box shows, not which pixmap: a loaded machine may draw the same photo
    // again (a late layout), which is no late photo.
    QImage shownPicture() const { return c().photoBox->pixmap().toImage(); }

    // A parameter file of count values, each of them, records and photo folder too, naming
    // folder.
    QString parameterFile(const QString& name, const QString& folder,
                          int count = card::kParameterCount) const
    {
        const QStringList values(count, site.filePath(folder));
        return site.write(name, values.join("\r\n").toUtf8() + "\r\n");
    }

    card::test::TempSite site;
    ControlledFileAccess access;
    CardImageWindow window;

private:
    std::mutex m_watchdogMutex;
    std::condition_variable_any m_watchdogWake;
    std::jthread m_watchdog;
};

// Counts the window's paint events.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

class TestSlowShare : public QObject {
    Q_OBJECT
private slots:
    void lateQueryResultIsDropped_data();
    void lateQueryResultIsDropped();
    void latePhotoOfAnEarlierPressIsDropped_data();
    void latePhotoOfAnEarlierPressIsDropped();
    void tickWaitsForTheFrameStillLoading();
    void interfaceTurnsWhileAReadHangs_data();
    void interfaceTurnsWhileAReadHangs();
    void queryWaitsForAPendingLoad();
    void pressPhotoOutlivesTheClearCommand_data();
    void pressPhotoOutlivesTheClearCommand();
    void pressEndsThoughALoadStarts();
    void hungReadsLeaveTheDialogItsListing();
    void lateFrameOfAnEarlierPressIsDropped();
    void lateLoadOfAnEarlierFileIsDropped_data();
    void lateLoadOfAnEarlierFileIsDropped();
    void lateDecodingForAnEarlierPressIsDropped();
};

void TestSlowShare::lateQueryResultIsDropped_data()
{
    QTest::addColumn<bool>("queryAgain");
    QTest::addColumn<QStringList>("times");
    QTest::newRow("second query of another day") << true << QStringList{"09:00:00"};
    QTest::newRow("clear command") << false << QStringList{};
}

void TestSlowShare::lateQueryResultIsDropped()
{
    QFETCH(bool, queryAgain);
    QFETCH(QStringList, times);
    SlowSite slow;
    QList<QStringList> everListed;
    connect(&slow.window.records(), &QAbstractItemModel::modelReset, this,
            [&] { everListed << slow.times(); });
    slow.access.hang(kFirstDayFile);
    QTest::mouseClick(slow.c().queryButton, Qt::LeftButton);
    QTRY_COMPARE(slow.access.held(), 1);
    if (queryAgain) {
        slow.c().datePicker->setDate(kSecondDay);
        QTest::mouseClick(slow.c().queryButton, Qt::LeftButton);
    } else {
        QTest::mouseClick(slow.c().clearButton, Qt::LeftButton);
    }
    QVERIFY(card::test::settled(slow.window));
    QCOMPARE(slow.times(), times);
    QVERIFY(slow.releaseAndSettle());
    QCOMPARE(slow.access.reads(kFirstDayFile), 1);
    QCOMPARE(slow.times(), times);
    for (const QStringList& listed : everListed)
        QVERIFY2(!listed.contains("08:00:00"), "the first query's rows were listed");
}

void TestSlowShare::latePhotoOfAnEarlierPressIsDropped_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("status");
    QTest::newRow("later row with a photo") << 1 << "00000002"
                                            << "";
    QTest::newRow("later row without a photo") << 2 << ""
                                               << "影像不存在";
}

void TestSlowShare::latePhotoOfAnEarlierPressIsDropped()
{
    QFETCH(int, row);
    QFETCH(QString, card);
    QFETCH(QString, status);
    SlowSite slow;
    slow.window.runQuery();
    QVERIFY(card::test::settled(slow.window));
    slow.access.hang(kFirstPressed);
    slow.press(0);
    QTRY_COMPARE(slow.access.held(), 1);
    const QImage before = slow.shownPicture();
    slow.press(row);
    QTRY_VERIFY(slow.shownPicture() != before);
    const QImage later = slow.shownPicture();
    QCOMPARE(slow.c().detailValues[1]->text(), card);
    QCOMPARE(slow.c().statusLine->text(), status);
    QVERIFY(slow.releaseAndSettle());
    QCOMPARE(slow.access.reads(kFirstPressed), 1);
    QCOMPARE(slow.shownPicture(), later);
    QCOMPARE(slow.c().detailValues[1]->text(), card);
    QCOMPARE(slow.c().statusLine->text(), status);
}

void TestSlowShare::tickWaitsForTheFrameStillLoading()
{
    SlowSite slow;
    slow.window.runQuery();
    QVERIFY(card::test::settled(slow.window));
    slow.press(3);
    QVERIFY(card::test::settled(slow.window));
    QVERIFY(slow.c().playbackTimer->isActive());
    slow.access.hang(kSequence + "-4.jpg");
    slow.window.stepPlayback();
    QTRY_COMPARE(slow.access.held(), 1);
    // Two more ticks while frame 4 loads: they wait for it and then step once, to frame 3.
    slow.window.stepPlayback();
    slow.window.stepPlayback();
    QVERIFY(slow.releaseAndSettle());
    QCOMPARE(slow.access.reads(kSequence + "-4.jpg"), 1);
    QCOMPARE(slow.access.reads(kSequence + "-3.jpg"), 1);
    QCOMPARE(slow.access.reads(kSequence + "-2.jpg"), 0);
    QCOMPARE(slow.window.state().currentRecord.photoPath,
             slow.site.filePath("photos/" + kSequence + "-3.jpg"));
}

void TestSlowShare::interfaceTurnsWhileAReadHangs_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("heldPath");
    QTest::newRow("query's day file") << Action::Query << kFirstDayFile;
    QTest::newRow("pressed row's photo") << Action::Press << kFirstPressed;
    QTest::newRow("parameter file") << Action::Load << kParameterFile;
}

void TestSlowShare::interfaceTurnsWhileAReadHangs()
{
    QFETCH(Action, action);
    QFETCH(QString, heldPath);
    SlowSite slow;
    QVERIFY(QTest::qWaitForWindowExposed(&slow.window));
    slow.window.runQuery();
    QVERIFY(card::test::settled(slow.window));
    slow.access.hang(heldPath);
    switch (action) {
    case Action::Query:
        QTest::mouseClick(slow.c().queryButton, Qt::LeftButton);
        break;
    case Action::Press:
        slow.press(0);
        break;
    case Action::Load:
        slow.window.loadParameterFile(slow.site.filePath(kParameterFile));
        break;
    }
    QTRY_COMPARE(slow.access.held(), 1);
    bool fired = false;
    QTimer::singleShot(0, this, [&fired] { fired = true; });
    QTRY_VERIFY(fired);
    PaintCounter counter;
    slow.window.installEventFilter(&counter);
    slow.window.update();
    QTRY_VERIFY(counter.paints > 0);
    slow.window.removeEventFilter(&counter);
    QCOMPARE(slow.access.held(), 1);
    QVERIFY(slow.window.isWorking());
}

void TestSlowShare::queryWaitsForAPendingLoad()
{
    SlowSite slow;
    slow.site.write("other/2007-5-15.txt",
                    card::test::big5("\"10:00:00\",\"9\",\"新\",\"進\"\r\n"));
    slow.access.delay("other.spf", std::chrono::milliseconds(500));
    slow.window.loadParameterFile(slow.parameterFile("other.spf", "other"));
    QTest::mouseClick(slow.c().queryButton, Qt::LeftButton);
    QVERIFY(card::test::settled(slow.window));
    QCOMPARE(slow.times(), QStringList{"10:00:00"});
}

void TestSlowShare::pressPhotoOutlivesTheClearCommand_data()
{
    QTest::addColumn<bool>("duringLoad"); // of a site with the same photo folder; else the photo
    QTest::addColumn<bool>("query");      // else the clear command
    QTest::newRow("photo on its way, clear command") << false << false;
    QTest::newRow("site being loaded, clear command") << true << false;
    QTest::newRow("site being loaded, query") << true << true;
}

// Until the photo lands, the box shows that it waits for it.
void TestSlowShare::pressPhotoOutlivesTheClearCommand()
{
    QFETCH(bool, duringLoad);
    QFETCH(bool, query);
    SlowSite slow;
    slow.window.runQuery();
    QVERIFY(card::test::settled(slow.window));
    if (duringLoad) {
        slow.access.hang("same.spf");
        slow.window.loadParameterFile(slow.parameterFile("same.spf", "photos"));
        QTRY_COMPARE(slow.access.held(), 1);
    } else {
        slow.access.hang(kFirstPressed);
    }
    slow.press(0);
    QTRY_COMPARE(slow.c().photoBox->cursor().shape(), Qt::BusyCursor);
    QTest::mouseClick(query ? slow.c().queryButton : slow.c().clearButton, Qt::LeftButton);
    QVERIFY(slow.releaseAndSettle());
    QCOMPARE(slow.c().detailValues[1]->text(), "00000001");
    QVERIFY(!slow.c().photoBox->graphicsEffect());
}

// The photo of the press lands for the pressed row; the playback it stopped stays stopped.
void TestSlowShare::pressEndsThoughALoadStarts()
{
    SlowSite slow;
    slow.window.runQuery();
    QVERIFY(card::test::settled(slow.window));
    slow.press(3);
    QVERIFY(card::test::settled(slow.window));
    slow.access.hang(kFirstPressed);
    slow.press(0);
    QTRY_COMPARE(slow.access.held(), 1);
    slow.window.loadParameterFile(slow.parameterFile("same.spf", "photos"));
    QVERIFY(slow.releaseAndSettle());
    QCOMPARE(slow.c().detailValues[1]->text(), "00000001");
    QCOMPARE(slow.c().detailValues[3]->text(), "刷卡照相");
    QVERIFY(!slow.c().playbackTimer->isActive());
}

void TestSlowShare::hungReadsLeaveTheDialogItsListing()
{
    SlowSite slow;
    slow.window.runQuery();
    QVERIFY(card::test::settled(slow.window));
    slow.access.hang("photos");
    for (int row : {0, 1, 2, 3, 0})
        slow.press(row);
    QTRY_COMPARE(slow.access.held(), 5);
    card::FolderListModel folders;
    folders.open(slow.site.path());
    QTRY_VERIFY(folders.openFolder() == slow.site.path() && folders.scanComplete());
}

void TestSlowShare::lateFrameOfAnEarlierPressIsDropped()
{
    SlowSite slow;
    slow.window.runQuery();
    QVERIFY(card::test::settled(slow.window));
    slow.press(3);
    QVERIFY(card::test::settled(slow.window));
    slow.access.hang(kSequence + "-4.jpg");
    slow.window.stepPlayback();
    QTRY_COMPARE(slow.access.held(), 1);
    slow.press(1);
    QTRY_COMPARE(slow.c().detailValues[1]->text(), "00000002");
    const QImage later = slow.shownPicture();
    QVERIFY(slow.releaseAndSettle());
    QCOMPARE(slow.shownPicture(), later);
}

void TestSlowShare::lateLoadOfAnEarlierFileIsDropped_data()
{
    QTest::addColumn<int>("laterValues");  // in the file chosen while the first is read
    QTest::addColumn<QString>("lastSlot"); // the folder its last slot ends with
    QTest::newRow("whole later file, without waiting") << card::kParameterCount << "other";
    QTest::newRow("short later file over the earlier file") << 18 << "first";
}

// A slot that a short file does not reach keeps what the file chosen before it read.
void TestSlowShare::lateLoadOfAnEarlierFileIsDropped()
{
    QFETCH(int, laterValues);
    QFETCH(QString, lastSlot);
    SlowSite slow;
    card::test::ModalScript badFileMessage;
    slow.access.hang("first.spf");
    slow.window.loadParameterFile(slow.parameterFile("first.spf", "first"));
    QTRY_COMPARE(slow.access.held(), 1);
    slow.window.loadParameterFile(slow.parameterFile("other.spf", "other", laterValues));
    if (laterValues == card::kParameterCount)
        QTRY_VERIFY(!slow.window.isWorking());
    QVERIFY(slow.releaseAndSettle());
    QCOMPARE(slow.window.state().parameters[card::kRecordsFolderSlot], slow.site.filePath("other"));
    QCOMPARE(slow.window.state().parameters.back(), slow.site.filePath(lastSlot));
}

// A new decoding at a new size done while a later press still looks for its photo.
void TestSlowShare::lateDecodingForAnEarlierPressIsDropped()
{
    SlowSite slow;
    slow.window.runQuery();
    QVERIFY(card::test::settled(slow.window));
    slow.press(0);
    QVERIFY(card::test::settled(slow.window));
    slow.access.delay(kFirstPressed, std::chrono::milliseconds(300));
    slow.window.resize(slow.window.size() + QSize(80, 60));
    QTRY_COMPARE(slow.access.reads(kFirstPressed), 2);
    slow.access.hang("00000002");
    slow.press(1);
    const QImage pressed = slow.shownPicture();
    QTest::qWait(600);
    QCOMPARE(slow.shownPicture(), pressed);
}

QTEST_MAIN(TestSlowShare)
#include "tst_slow_share.moc"
