// The main window's tools: copy, the day keys, the jump to a time and the inspection window.
#include "ui/main_window/card_image_window.h"

#include "core/layout/window_placement.h"
#include "core/parameters/parameter_table.h"
#include "core/records/record_table_model.h"
#include "support/modal_script.h"
#include "support/record_table_text.h"
#include "support/settle.h"
#include "ui/main_window/record_list_view.h"
#include "ui/photo_view/photo_view_window.h"

#include <QAction>
#include <QClipboard>
#include <QDateEdit>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>

using card::CardImageWindow;

namespace {

const QByteArray kRows = QByteArrayLiteral("08:15:30,\"00012345\",\"陳怡君\",\"進\"\r\n"
                                           "09:00:00,\"00067890\",\"林志明\",\"出\"\r\n");

// A window listing two swipes, shown and laid out.
struct ListedWindow {
    CardImageWindow window;

    ListedWindow()
    {
        window.records().setTable(card::test::recordTableFromText(kRows));
        window.state().queriedDay = QDate(2007, 5, 3);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the window was not shown");
    }

    card::RecordListView* list(int k) const
    {
        return window.controls().resultLists[static_cast<size_t>(k)];
    }

    void press(int k, int row)
    {
        const QPoint centre = list(k)->visualRect(list(k)->model()->index(row, 0)).center();
        QTest::mouseClick(list(k)->viewport(), Qt::LeftButton, {}, centre);
        if (!card::test::settled(window))
            qFatal("the photo work did not end");
    }

    QWidget* photoView() const { return window.findChild<QWidget*>(QStringLiteral("photo_view")); }
};

} // namespace

class TestMainWindowTools : public QObject {
    Q_OBJECT
private slots:
    void copyPutsTheSelectedSwipeOnOneLine();
    void menusOfTheListsAndThePhotoBox();
    void dayKeysStepAcrossMonthEnds_data();
    void dayKeysStepAcrossMonthEnds();
    void photoViewOpensAndFollows_data();
    void photoViewOpensAndFollows();
    void releaseWithoutItsPressInTheList_data();
    void releaseWithoutItsPressInTheList();
    void firstDownAfterAQuerySelectsTheFirstRow();
    void photoViewPlaceAndTitle();
    void jumpToTime();
};

void TestMainWindowTools::copyPutsTheSelectedSwipeOnOneLine()
{
    ListedWindow listed;
    listed.press(2, 1);
    listed.list(2)->setFocus();
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(listed.list(2), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("2007-05-03\t09:00:00\t00067890\t林志明\t出"));
}

void TestMainWindowTools::menusOfTheListsAndThePhotoBox()
{
    ListedWindow listed;
    const auto texts = [](QWidget* widget) {
        QStringList list;
        for (QAction* action : widget->actions())
            list << action->text();
        return list;
    };
    for (int k = 0; k < 4; ++k) {
        QCOMPARE(listed.list(k)->contextMenuPolicy(), Qt::ActionsContextMenu);
        QCOMPARE(texts(listed.list(k)),
                 (QStringList{"複製", "匯出清單…", "列印清單…", "匯出 PDF…", "跳至時間…",
                              "本卡歷史…", "即時刷卡…", "異常刷卡…", "在場人員…", "路徑對應…",
                              "最近的參數檔", "加入案件…", "案件…"}));
    }
    QCOMPARE(texts(listed.window.controls().photoBox), (QStringList{"影像檢視", "另存影像…"}));
}

void TestMainWindowTools::dayKeysStepAcrossMonthEnds_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QDate>("to");
    QTest::newRow("forward over May's end")
        << QDate(2007, 5, 31) << int(Qt::Key_PageDown) << QDate(2007, 6, 1);
    QTest::newRow("back over February's end")
        << QDate(2007, 3, 1) << int(Qt::Key_PageUp) << QDate(2007, 2, 28);
    QTest::newRow("back into a leap day")
        << QDate(2008, 3, 1) << int(Qt::Key_PageUp) << QDate(2008, 2, 29);
    QTest::newRow("forward over the year's end")
        << QDate(2007, 12, 31) << int(Qt::Key_PageDown) << QDate(2008, 1, 1);
}

void TestMainWindowTools::dayKeysStepAcrossMonthEnds()
{
    QFETCH(QDate, from);
    QFETCH(int, key);
    QFETCH(QDate, to);
    ListedWindow listed;
    listed.window.controls().datePicker->setDate(from);
    listed.list(0)->setFocus();
    QTest::keyClick(&listed.window, Qt::Key(key), Qt::ControlModifier);
    QVERIFY(card::test::settled(listed.window));
    QCOMPARE(listed.window.controls().datePicker->date(), to);
    // The query ran for the new day: no records folder here, so nothing is listed.
    QCOMPARE(listed.window.state().currentRecord.day, to.toString(QStringLiteral("yyMMdd")));
    QCOMPARE(listed.window.controls().statusLine->text(), QStringLiteral("紀錄不存在"));
}

void TestMainWindowTools::photoViewOpensAndFollows_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("double-click on the photo box") << "double-click";
    QTest::newRow("the photo box's menu") << "menu";
    QTest::newRow("Enter in a list") << "enter";
}

void TestMainWindowTools::photoViewOpensAndFollows()
{
    QFETCH(QString, how);
    ListedWindow listed;
    listed.press(0, 0);
    QVERIFY(!listed.photoView());
    QLabel* box = listed.window.controls().photoBox;
    if (how == u"double-click") {
        QTest::mouseDClick(box, Qt::LeftButton, {}, box->rect().center());
    } else if (how == u"menu") {
        box->actions().first()->trigger();
    } else {
        listed.list(1)->setFocus();
        QTest::keyClick(listed.list(1), Qt::Key_Return);
    }
    QWidget* view = listed.photoView();
    QVERIFY(view && view->isVisible());
    QVERIFY(view->isWindow());
    QCOMPARE(view->windowTitle(), QStringLiteral("影像檢視：2007-05-03 08:15:30 00012345 陳怡君"));
    // It follows the record the main window shows.
    listed.press(3, 1);
    QCOMPARE(view->windowTitle(), QStringLiteral("影像檢視：2007-05-03 09:00:00 00067890 林志明"));
}

// The inspection window opens beside the main window as the placement rule says, names the
// swipe's day in its title, and keeps the place the operator gave it when opened again.
void TestMainWindowTools::photoViewPlaceAndTitle()
{
    ListedWindow listed;
    listed.press(0, 1);
    const QRect mainFrame = listed.window.frameGeometry();
    listed.window.openPhotoView();
    QWidget* view = listed.photoView();
    QVERIFY(view);
    const QRect expected =
        card::placeBeside(mainFrame, view->frameGeometry().size(),
                          card::smallestUsefulSize(*static_cast<card::PhotoViewWindow*>(view)) +
                              (mainFrame.size() - listed.window.size()),
                          listed.window.screen()->availableGeometry());
    QCOMPARE(view->frameGeometry(), expected);
    QCOMPARE(view->windowTitle(), QStringLiteral("影像檢視：2007-05-03 09:00:00 00067890 林志明"));

    const QRect moved = view->geometry().adjusted(10, 20, -30, -40);
    view->setGeometry(moved);
    view->close();
    listed.window.openPhotoView();
    QCOMPARE(view->geometry(), moved);
}

// Ctrl+G asks for a time and shows the first listed swipe at or after it, as a press does.
void TestMainWindowTools::jumpToTime()
{
    ListedWindow listed;
    listed.press(0, 0);
    card::test::ModalScript modals;
    modals.enter(QStringLiteral("08:30"), QStringLiteral("確定"));
    QTest::keyClick(&listed.window, Qt::Key_G, Qt::ControlModifier);
    QVERIFY(card::test::settled(listed.window));
    QCOMPARE(modals.seen().size(), 1);
    QCOMPARE(listed.list(3)->selectedRow(), 1);
    QCOMPARE(listed.window.state().currentRecord.time, QStringLiteral("090000"));
}

void TestMainWindowTools::releaseWithoutItsPressInTheList_data()
{
    QTest::addColumn<bool>("dayStep");
    QTest::addColumn<QString>("status");
    QTest::newRow("Ctrl+PageDown taken by the day step") << true << QStringLiteral("紀錄不存在");
    QTest::newRow("Enter pressed in another window") << false << QStringLiteral("影像不存在");
}

void TestMainWindowTools::releaseWithoutItsPressInTheList()
{
    QFETCH(bool, dayStep);
    QFETCH(QString, status);
    ListedWindow listed;
    listed.press(0, 0);
    listed.list(0)->setFocus();
    if (dayStep)
        QTest::keyClick(listed.list(0), Qt::Key_PageDown, Qt::ControlModifier);
    else
        QTest::keyRelease(listed.list(0), Qt::Key_Return);
    QVERIFY(card::test::settled(listed.window));
    QCOMPARE(listed.window.controls().statusLine->text(), status);
    QVERIFY(!listed.photoView());
}

void TestMainWindowTools::firstDownAfterAQuerySelectsTheFirstRow()
{
    ListedWindow listed;
    listed.list(0)->setFocus();
    QTest::keyClick(listed.list(0), Qt::Key_Down);
    QVERIFY(card::test::settled(listed.window));
    QCOMPARE(listed.list(3)->selectedRow(), 0);
}

QTEST_MAIN(TestMainWindowTools)
#include "tst_main_window_tools.moc"
