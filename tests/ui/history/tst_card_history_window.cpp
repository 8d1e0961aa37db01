// The card history window's wiring: opened from a result list on the selected card, a day
// chosen, a swipe of it shown in the inspection window.
#include "ui/main_window/card_image_window.h"

#include "core/cases/case_records.h"
#include "core/parameters/parameter_table.h"
#include "core/platform/site_io_pool.h"
#include "core/records/record_file.h"
#include "core/records/record_table_model.h"
#include "support/controlled_file_access.h"
#include "support/record_table_text.h"
#include "support/settle.h"
#include "support/temp_site.h"
#include "ui/common/case_desk.h"
#include "ui/history/card_history_window.h"
#include "ui/history/history_heat_map.h"
#include "ui/main_window/record_list_view.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

class TestCardHistoryWindow : public QObject {
    Q_OBJECT
private slots:
    void fromAListToTheInspectionWindow();
    void readingAroundTheOperator();
    void searchesBesideHungReads();
    void pictureFollowsTheDaysAndTheRange();
    void referenceTickAndComparison();
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
    auto* heat = history->findChild<card::HistoryHeatMap*>(QStringLiteral("card_history_heat"));
    int row = 0, hour = 0;
    QVERIFY(heat->cellAt(heat->cellCentre(2, 8), row, hour)); // beside the list's row
    QCOMPARE(row, 2);
    auto* swipes = history->findChild<QListView*>(QStringLiteral("card_history_swipes"));
    QCOMPARE(swipes->model()->rowCount(), 2);

    swipes->setFocus();
    swipes->setCurrentIndex(swipes->model()->index(1, 0));
    QTest::keyClick(swipes, Qt::Key_Return);
    auto* photoView = window.findChild<QWidget*>(QStringLiteral("photo_view"));
    QVERIFY(photoView && photoView->isVisible());
    QVERIFY(photoView->windowTitle().contains(QStringLiteral("17:02:00 00012345")));

    // 在主視窗顯示 on that swipe: the main window's day, card filter and direction set, the day
    // queried, the swipe selected.
    const QList<QAction*> swipeActions = swipes->actions();
    const auto mainWindow = std::find_if(swipeActions.begin(), swipeActions.end(), [](QAction* a) {
        return a->text() == QStringLiteral("在主視窗顯示");
    });
    QVERIFY(mainWindow != swipeActions.end());
    (*mainWindow)->trigger();
    QTRY_COMPARE(window.controls().resultLists[0]->selectedText(), QStringLiteral("17:02:00"));
    QCOMPARE(window.controls().datePicker->date(), day.addDays(-2));
    QVERIFY(window.controls().cardFilterCheck->isChecked());
    QCOMPARE(window.controls().cardNumberEdit->text(), QStringLiteral("00012345"));
    QVERIFY(window.controls().directionOptions[2]->isChecked());
    QCOMPARE(window.records().rowCount(), 2);

    // The window's own 查詢 follows a parameter file loaded later, and says so.
    const card::test::TempSite other;
    other.write(card::recordFileName(day), "08:00:00,\"00012345\",a,in\r\n");
    const QByteArray x("x\r\n");
    const QString spf =
        other.write(QStringLiteral("other.spf"),
                    x.repeated(17) + other.path().toUtf8() + "\r\n" + x.repeated(8));
    window.loadParameterFile(spf);
    QVERIFY(card::test::settled(window));
    QVERIFY(history->findChild<QLabel*>(QStringLiteral("card_history_site"))
                ->text()
                .endsWith(u"other.spf"));
    history->findChild<QPushButton*>(QStringLiteral("card_history_query"))->click();
    QTRY_COMPARE(progress->value(), 30);
    QCOMPARE(days->model()->index(0, 6).data().toString(), QStringLiteral("1"));
}

// While later days are still read the operator's day stays selected; closing the window reads
// no further day.
void TestCardHistoryWindow::readingAroundTheOperator()
{
    const QDate day(2007, 5, 3);
    const card::test::TempSite site;
    for (int back = 0; back < 7; ++back)
        site.write(card::recordFileName(day.addDays(-back)), "08:00:00,7,a,in\r\n");
    card::test::ControlledFileAccess access;
    access.hang(card::recordFileName(day.addDays(-6)));
    card::CardHistoryWindow history(nullptr);
    history.show();
    history.search({card::HistoryField::Card, QStringLiteral("7"), day, 7, site.path(), {}, {}});
    auto* days = history.findChild<QTableView*>(QStringLiteral("card_history_days"));
    QTRY_COMPARE(days->model()->rowCount(), 6);
    days->setCurrentIndex(days->model()->index(2, 0));
    access.release();
    QTRY_COMPARE(days->model()->rowCount(), 7);
    QCOMPARE(days->currentIndex().row(), 2);

    access.hang(QStringLiteral(".txt"));
    history.startSearch();
    QTRY_COMPARE(access.held(), card::SiteIoBudget::historyDays());
    const int reads = access.reads(QStringLiteral(".txt")) + access.held();
    history.close();
    access.release();
    QTRY_COMPARE(access.reads(QStringLiteral(".txt")), reads);
    QVERIFY(!QTest::qWaitFor([&] { return access.reads(QStringLiteral(".txt")) > reads; }, 1000));
}

// Searches started again while the share hangs add no read beside the hung ones.
void TestCardHistoryWindow::searchesBesideHungReads()
{
    const card::test::TempSite site;
    card::test::ControlledFileAccess access;
    access.hang(QStringLiteral(".txt"));
    card::CardHistoryWindow history(nullptr);
    history.search(
        {card::HistoryField::Card, QStringLiteral("7"), {2007, 5, 3}, 7, site.path(), {}, {}});
    const int budget = card::SiteIoBudget::historyDays();
    QTRY_COMPARE(access.held(), budget);
    history.startSearch();
    history.startSearch();
    QVERIFY(!QTest::qWaitFor([&] { return access.held() > budget; }, 1500));
}

// The hour picture shows the list's rows where the list shows them, scrolled with it; a click on
// it selects the list's row; a changed range is searched again; Home and End reach both ends.
void TestCardHistoryWindow::pictureFollowsTheDaysAndTheRange()
{
    const QDate day(2007, 5, 3);
    const card::test::TempSite site;
    site.write(card::recordFileName(day.addDays(-80)),
               card::test::big5(QStringLiteral("08:10:00,\"7\",\"陳\",\"進\"\r\n")));
    card::CardHistoryWindow history(nullptr);
    history.resize(1000, 600);
    history.show();
    history.search({card::HistoryField::Card, QStringLiteral("7"), day, 7, site.path(), {}, {}});
    auto* days = history.findChild<QTableView*>(QStringLiteral("card_history_days"));
    auto* heat = history.findChild<card::HistoryHeatMap*>(QStringLiteral("card_history_heat"));
    auto* progress = history.findChild<QProgressBar*>(QStringLiteral("card_history_progress"));
    auto* note = history.findChild<QLabel*>(QStringLiteral("card_history_note"));
    QTRY_COMPARE(progress->value(), 7);
    QCOMPARE(days->currentIndex().row(), 0); // the end day
    QVERIFY(note->isVisible());              // no swipe in the week

    auto* range = history.findChild<QComboBox*>(QStringLiteral("card_history_range"));
    range->setCurrentIndex(range->findData(90));
    QTRY_COMPARE(progress->maximum(), 90);
    QTRY_COMPARE(progress->value(), 90);
    QVERIFY(history.windowTitle().contains(QStringLiteral("2007-02-03")));
    QVERIFY(!note->isVisible());
    int row = 0, hour = 0;
    QVERIFY(!heat->cellAt(heat->cellCentre(80, 8), row, hour)); // scrolled away with the list

    QTest::keyClick(days, Qt::Key_End);
    QCOMPARE(days->currentIndex().row(), 89);
    const QPoint cell = heat->cellCentre(80, 8);
    QVERIFY(heat->cellAt(cell, row, hour));
    QCOMPARE(row, 80);
    QCOMPARE(hour, 8);
    const QRect listed = days->visualRect(days->model()->index(80, 0));
    QVERIFY(qAbs(heat->mapTo(&history, cell).y() -
                 days->viewport()->mapTo(&history, listed.center()).y()) <= 1);
    QTest::mouseClick(heat, Qt::LeftButton, {}, cell);
    QCOMPARE(days->currentIndex().row(), 80);
    QCOMPARE(
        history.findChild<QListView*>(QStringLiteral("card_history_swipes"))->currentIndex().row(),
        0);
    QTest::keyClick(days, Qt::Key_Home);
    QCOMPARE(days->currentIndex().row(), 0);
}

// The reference photo's swipe is ticked among a day's swipes; a swipe chosen on one day and
// another Ctrl+clicked on the next are compared side by side, the earlier on the left.
void TestCardHistoryWindow::referenceTickAndComparison()
{
    const QDate day(2007, 5, 3);
    const card::test::TempSite site;
    site.write(card::recordFileName(day), "08:00:00,7,a,in\r\n");
    site.write(card::recordFileName(day.addDays(-1)), "08:30:00,7,a,in\r\n09:00:00,7,a,out\r\n");
    const QString spf = site.write(QStringLiteral("site.spf"), "x\r\n");
    card::CaseDesk::instance().setLocationText(site.filePath(QStringLiteral("cases.sqlite")));
    card::CardReference reference;
    reference.sitePath = spf;
    reference.card = QStringLiteral("7");
    reference.day = day.addDays(-1);
    reference.time = QStringLiteral("09:00:00");
    reference.image = "jpeg";
    QVERIFY(card::CaseDesk::instance().quietStore()->pinReference(reference));

    card::CardHistoryWindow history(nullptr);
    history.show();
    history.search({card::HistoryField::Card, QStringLiteral("7"), day, 7, site.path(), {}, spf});
    auto* days = history.findChild<QTableView*>(QStringLiteral("card_history_days"));
    auto* swipes = history.findChild<QListView*>(QStringLiteral("card_history_swipes"));
    QTRY_COMPARE(days->model()->rowCount(), 7);
    days->setCurrentIndex(days->model()->index(1, 0));
    QCOMPARE(swipes->model()->index(1, 0).data().toString(), QStringLiteral("✓ 09:00:00\nout"));
    QCOMPARE(swipes->model()->index(0, 0).data().toString(), QStringLiteral("08:30:00\nin"));

    QTest::mouseClick(swipes->viewport(), Qt::LeftButton, {},
                      swipes->visualRect(swipes->model()->index(1, 0)).center());
    days->setCurrentIndex(days->model()->index(0, 0));
    QTest::mouseClick(swipes->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      swipes->visualRect(swipes->model()->index(0, 0)).center());
    auto* compare = history.findChild<QWidget*>(QStringLiteral("photo_view_compare"));
    QVERIFY(compare && compare->isVisible());
    QCOMPARE(
        compare->findChild<QLabel*>(QStringLiteral("photo_view_compare_first_caption"))->text(),
        QStringLiteral("2007-05-02 09:00:00 out"));
    QCOMPARE(
        compare->findChild<QLabel*>(QStringLiteral("photo_view_compare_second_caption"))->text(),
        QStringLiteral("2007-05-03 08:00:00 in"));
}

QTEST_MAIN(TestCardHistoryWindow)
#include "tst_card_history_window.moc"
