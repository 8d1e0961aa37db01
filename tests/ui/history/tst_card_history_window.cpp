// The card history window's wiring: opened from a result list on the selected card, a day
// chosen, a swipe of it shown in the inspection window.
#include "ui/main_window/card_image_window.h"

#include "core/parameters/parameter_table.h"
#include "core/records/record_file.h"
#include "core/records/record_table_model.h"
#include "support/record_table_text.h"
#include "support/settle.h"
#include "support/temp_site.h"
#include "ui/main_window/record_list_view.h"

#include <QListView>
#include <QProgressBar>
#include <QTableView>
#include <QTest>

class TestCardHistoryWindow : public QObject {
    Q_OBJECT
private slots:
    void fromAListToTheInspectionWindow();
};

void TestCardHistoryWindow::fromAListToTheInspectionWindow()
{
    const QDate day(2007, 5, 3);
    const QByteArray listed = "08:15:30,\"00012345\",\"陳怡君\",\"進\"\r\n"
                              "09:00:00,\"00067890\",\"林志明\",\"出\"\r\n";
    const card::test::TempSite site;
    site.write(card::recordFileName(day), card::test::big5(QString::fromUtf8(listed)));
    site.write(card::recordFileName(day.addDays(-2)),
               card::test::big5(QStringLiteral("07:01:00,\"00012345\",\"陳怡君\",\"進\"\r\n"
                                               "07:30:00,\"00067890\",\"林志明\",\"進\"\r\n"
                                               "17:02:00,\"00012345\",\"陳怡君\",\"出\"\r\n")));

    card::CardImageWindow window;
    window.state().parameters[card::kRecordsFolderSlot] = site.path();
    window.records().setTable(card::test::recordTableFromText(listed));
    window.state().queriedDay = day;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    card::RecordListView* list = window.controls().resultLists[1];
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(0, 0)).center());
    QVERIFY(card::test::settled(window));
    QTest::keyClick(list, Qt::Key_H, Qt::ControlModifier);

    auto* history = window.findChild<QWidget*>(QStringLiteral("card_history"));
    QVERIFY(history && history->isVisible());
    auto* progress = history->findChild<QProgressBar*>(QStringLiteral("card_history_progress"));
    QTRY_COMPARE(progress->value(), 30);
    QCOMPARE(progress->maximum(), 30);
    QVERIFY(history->windowTitle().contains(QStringLiteral("00012345")));

    auto* days = history->findChild<QTableView*>(QStringLiteral("card_history_days"));
    QCOMPARE(days->model()->rowCount(), 30);
    const QModelIndex twoDaysBack = days->model()->index(2, 0);
    QCOMPARE(twoDaysBack.data().toString(), QStringLiteral("2007-05-01"));
    QTest::mouseClick(days->viewport(), Qt::LeftButton, {}, days->visualRect(twoDaysBack).center());
    auto* swipes = history->findChild<QListView*>(QStringLiteral("card_history_swipes"));
    QCOMPARE(swipes->model()->rowCount(), 2);

    swipes->setFocus();
    swipes->setCurrentIndex(swipes->model()->index(1, 0));
    QTest::keyClick(swipes, Qt::Key_Return);
    auto* photoView = window.findChild<QWidget*>(QStringLiteral("photo_view"));
    QVERIFY(photoView && photoView->isVisible());
    QVERIFY(photoView->windowTitle().contains(QStringLiteral("17:02:00 00012345")));
}

QTEST_MAIN(TestCardHistoryWindow)
#include "tst_card_history_window.moc"
