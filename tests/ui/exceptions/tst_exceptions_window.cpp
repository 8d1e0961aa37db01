// The exceptions window's wiring: opened with Ctrl+E on the picked day, a rule unticked, a hit's
// two photos shown, Enter on a hit in the inspection window.
#include "ui/main_window/card_image_window.h"

#include "core/parameters/parameter_table.h"
#include "core/records/record_file.h"
#include "support/temp_site.h"
#include "ui/main_window/main_controls.h"

#include <QDateEdit>
#include <QListView>
#include <QPushButton>
#include <QTableView>
#include <QTest>

class TestExceptionsWindow : public QObject {
    Q_OBJECT
private slots:
    void fromTheMenuToTheInspectionWindow();
};

void TestExceptionsWindow::fromTheMenuToTheInspectionWindow()
{
    const QDate day(2007, 5, 3);
    const card::test::TempSite site;
    site.write(card::recordFileName(day.addDays(-1)),
               card::test::big5(QStringLiteral("08:00:00,\"00012345\",\"陳怡君\",\"進\"\r\n")));
    site.write(card::recordFileName(day),
               card::test::big5(QStringLiteral("07:30:00,\"00012345\",\"陳怡君\",\"進\"\r\n"
                                               "23:10:00,\"00067890\",\"林志明\",\"出\"\r\n")));

    card::CardImageWindow window;
    window.state().parameters[card::kRecordsFolderSlot] = site.path();
    window.controls().datePicker->setDate(day);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_E, Qt::ControlModifier);

    auto* exceptions = window.findChild<QWidget*>(QStringLiteral("exceptions"));
    QVERIFY(exceptions && exceptions->isVisible());
    auto* stop = exceptions->findChild<QPushButton*>(QStringLiteral("exceptions_stop"));
    QTRY_VERIFY(!stop->isEnabled());
    auto* rules = exceptions->findChild<QListView*>(QStringLiteral("exceptions_rules"));
    auto* rows = exceptions->findChild<QTableView*>(QStringLiteral("exceptions_rows"));
    // 07:30 repeats yesterday's in, and no out follows it; 23:10 is a night swipe and an out
    // without an in.
    QCOMPARE(rows->model()->rowCount(), 4);
    QCOMPARE(rules->model()->index(0, 0).data().toString(), QStringLiteral("重複進（1）"));
    QCOMPARE(rows->model()->index(0, 1).data().toString(), QStringLiteral("23:10:00"));

    rules->model()->setData(rules->model()->index(5, 0), Qt::Unchecked, Qt::CheckStateRole);
    QCOMPARE(rows->model()->rowCount(), 3);

    const QModelIndexList found = rows->model()->match(
        rows->model()->index(0, 5), Qt::DisplayRole, QStringLiteral("重複進"), 1, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    const QModelIndex repeated = found.first();
    rows->setFocus();
    rows->setCurrentIndex(repeated);
    auto* photos = exceptions->findChild<QListView*>(QStringLiteral("exceptions_photos"));
    QCOMPARE(photos->model()->rowCount(), 2);
    QVERIFY(photos->model()->index(1, 0).data().toString().contains(
        QStringLiteral("2007-05-02 08:00:00")));

    QTest::keyClick(rows, Qt::Key_Return);
    auto* photoView = window.findChild<QWidget*>(QStringLiteral("photo_view"));
    QVERIFY(photoView && photoView->isVisible());
    QVERIFY(photoView->windowTitle().contains(QStringLiteral("07:30:00 00012345")));
}

QTEST_MAIN(TestExceptionsWindow)
#include "tst_exceptions_window.moc"
