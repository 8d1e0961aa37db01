// The live view's wiring: its opening, the rows and photo it follows, pause, filter, the
// inspection window and the status of a share that stops answering.
#include "ui/live_view/live_view_window.h"

#include "core/parameters/parameter_table.h"
#include "core/records/record_file.h"
#include "support/controlled_file_access.h"
#include "support/temp_site.h"
#include "support/test_photos.h"
#include "ui/main_window/card_image_window.h"

#include <QAbstractItemView>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using card::CardImageWindow;

namespace {

QByteArray record(const char* time, const char* card)
{
    return card::test::big5(QStringLiteral("%1,\"%2\",\"陳怡君\",\"進\"\r\n")
                                .arg(QLatin1String(time), QLatin1String(card)));
}

// A main window on a site whose file of today holds two swipes, with the live view opened by
// Ctrl+L.
struct LiveSite {
    card::test::TempSite site;
    QDate today = QDate::currentDate();
    QString dayFile = site.write(QStringLiteral("records/") + card::recordFileName(today),
                                 record("08:59:01", "11") + record("08:59:02", "22"));
    CardImageWindow window;
    QWidget* live = nullptr;

    LiveSite()
    {
        window.state().parameters[card::kRecordsFolderSlot] = site.filePath("records");
        window.state().parameters[card::kPhotoFolderSlot] = site.makeFolder("photos");
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qFatal("the main window did not become active");
        QTest::keyClick(&window, Qt::Key_L, Qt::ControlModifier);
        live = window.findChild<QWidget*>(QStringLiteral("live_view"));
    }
    template <typename T> T* part(const char* name) const
    {
        return live->findChild<T*>(QString::fromLatin1(name));
    }
    QStringList cards() const
    {
        QStringList result;
        const QAbstractItemModel* rows = part<QAbstractItemView>("live_view_rows")->model();
        for (int row = 0; row < rows->rowCount(); ++row)
            result << rows->index(row, 1).data().toString();
        return result;
    }
    void append(const QByteArray& bytes) const
    {
        QFile file(dayFile);
        if (!file.open(QIODevice::Append) || file.write(bytes) != bytes.size())
            qFatal("cannot append to the day file");
    }
};

} // namespace

class TestLiveView : public QObject {
    Q_OBJECT
private slots:
    void opensAndFollowsTheFile();
    void pauseHoldsTheRows();
    void cardFilter();
    void enterInspectsTheRow();
    void photoComesLate();
    void statusOfAShareThatStopsAnswering();
    void latePhotoThenAnotherSite();
};

void TestLiveView::opensAndFollowsTheFile()
{
    LiveSite s;
    QVERIFY(s.live && s.live->isVisible());
    QTRY_COMPARE(s.cards(), (QStringList{"22", "11"}));
    s.append(record("09:00:05", "33"));
    QTRY_COMPARE_WITH_TIMEOUT(s.cards().value(0), QStringLiteral("33"), 3000);
    QTest::keyClick(s.live, Qt::Key_Escape);
    QVERIFY(!s.live->isVisible());
}

void TestLiveView::pauseHoldsTheRows()
{
    LiveSite s;
    QTRY_COMPARE(s.cards().size(), 2);
    s.part<QWidget>("live_view_rows")->setFocus();
    QTest::keyClick(s.part<QWidget>("live_view_rows"), Qt::Key_Space);
    s.append(record("09:00:05", "33"));
    QTRY_VERIFY_WITH_TIMEOUT(
        s.part<QLabel>("live_view_status")->text().contains(QStringLiteral("1 筆新刷卡待顯示")),
        2500);
    QCOMPARE(s.cards().size(), 2);
    QTest::keyClick(s.part<QWidget>("live_view_rows"), Qt::Key_Space);
    QCOMPARE(s.cards(), (QStringList{"33", "22", "11"}));
}

void TestLiveView::cardFilter()
{
    LiveSite s;
    QTRY_COMPARE(s.cards().size(), 2);
    QTest::keyClicks(s.part<QLineEdit>("live_view_card"), QStringLiteral("11"));
    QCOMPARE(s.cards(), QStringList{"11"});
}

void TestLiveView::enterInspectsTheRow()
{
    LiveSite s;
    QTRY_COMPARE(s.cards().size(), 2);
    auto* rows = s.part<QAbstractItemView>("live_view_rows");
    rows->setCurrentIndex(rows->model()->index(1, 0));
    QTest::keyClick(rows, Qt::Key_Return);
    QWidget* inspection = s.window.findChild<QWidget*>(QStringLiteral("photo_view"));
    QVERIFY(inspection && inspection->isVisible());
    QVERIFY(inspection->windowTitle().contains(QStringLiteral("08:59:01 11")));
}

// A photo written after its record still appears, within the time it is looked for.
void TestLiveView::photoComesLate()
{
    LiveSite s;
    auto* photo = s.part<QLabel>("live_view_photo");
    QTRY_VERIFY(!photo->pixmap().isNull());
    const qint64 noPhoto = photo->pixmap().cacheKey();
    s.site.write(QStringLiteral("photos/22-") + s.today.toString(QStringLiteral("yyMMdd")) +
                     QStringLiteral("-085902-C.jpg"),
                 card::test::jpegBytes(Qt::red));
    QTRY_VERIFY_WITH_TIMEOUT(photo->pixmap().cacheKey() != noPhoto, 3000);
    const QImage shown = photo->pixmap().toImage();
    QVERIFY(shown.pixelColor(shown.rect().center()).red() > 200);
}

void TestLiveView::statusOfAShareThatStopsAnswering()
{
    card::test::TempSite site;
    site.write(QStringLiteral("2007-5-3.txt"), record("08:59:01", "11"));
    QDateTime now(QDate(2007, 5, 3), QTime(9, 0));
    card::LiveViewWindow live(nullptr, [&now] { return now; });
    live.follow(site.path(), site.path());
    live.show();
    auto* status = live.findChild<QLabel*>(QStringLiteral("live_view_status"));
    QTRY_VERIFY(status->text().contains(u"09:00:00"));
    {
        card::test::ControlledFileAccess seam;
        seam.hang(QStringLiteral("2007-5-3.txt"));
        QTRY_COMPARE(seam.held(), 1);
        now = now.addSecs(6);
        QTRY_VERIFY(status->text().startsWith(u"連線中斷"));
        QVERIFY(status->text().contains(u"09:00:00"));
    }
    QTRY_VERIFY(status->text().startsWith(u"即時"));
    QVERIFY(status->text().contains(u"09:00:06"));
}

// A photo written five seconds after its swipe still appears; another site's folder without
// today's file then takes the photo away and is waited for, not called lost.
void TestLiveView::latePhotoThenAnotherSite()
{
    card::test::TempSite site;
    site.write(QStringLiteral("2007-5-3.txt"), record("08:59:01", "11"));
    QDateTime now(QDate(2007, 5, 3), QTime(9, 0));
    card::LiveViewWindow live(nullptr, [&now] { return now; });
    live.follow(site.path(), site.path());
    live.show();
    auto* photo = live.findChild<QLabel*>(QStringLiteral("live_view_photo"));
    auto* status = live.findChild<QLabel*>(QStringLiteral("live_view_status"));
    QTRY_COMPARE(photo->accessibleName(), QStringLiteral("影像讀取中…"));
    QCOMPARE(live.findChild<QLabel*>(QStringLiteral("live_view_photo_caption"))->text(),
             QStringLiteral("08:59:01　卡號 11　陳怡君　進"));
    now = now.addSecs(5);
    site.write(QStringLiteral("11-070503-085901-C.jpg"), card::test::jpegBytes(Qt::red));
    QTRY_COMPARE_WITH_TIMEOUT(photo->accessibleName(), QStringLiteral("刷卡影像"), 3000);
    live.follow(site.makeFolder(QStringLiteral("other")), site.path());
    QVERIFY(photo->pixmap().isNull());
    now = now.addSecs(6);
    QTRY_VERIFY(status->text().contains(u"09:00:11"));
    QVERIFY(status->text().startsWith(u"即時") && photo->pixmap().isNull());
}

QTEST_MAIN(TestLiveView)
#include "tst_live_view.moc"
