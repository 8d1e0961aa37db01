// The cases in the windows: Ctrl+B from a result list puts the selected swipe into a case that
// is still there when the program starts again, on SQLite and on a PostgreSQL server the test
// starts; the cases window opens a case's swipe in the inspection window.
#include "core/cases/case_store.h"
#include "core/records/record_table_model.h"
#include "support/modal_script.h"
#include "support/postgres_server.h"
#include "support/record_table_text.h"
#include "support/settle.h"
#include "support/temp_site.h"
#include "ui/common/case_desk.h"
#include "ui/main_window/card_image_window.h"
#include "ui/main_window/record_list_view.h"

#include <QApplication>
#include <QComboBox>
#include <QListView>
#include <QPlainTextEdit>
#include <QTest>

#include <memory>

using card::CardImageWindow;

namespace {

const QByteArray kRows = QByteArrayLiteral("02:47:10,\"00012345\",\"陳怡君\",\"進\"\r\n");

} // namespace

class TestCasesWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void ctrlBAddsTheSwipeToACase_data();
    void ctrlBAddsTheSwipeToACase();
    void casesWindowOpensASwipe();

private:
    card::test::TempSite m_folder;
    std::unique_ptr<card::test::PostgresServer> m_postgres;
};

void TestCasesWindows::initTestCase()
{
    m_postgres = std::make_unique<card::test::PostgresServer>();
    QVERIFY2(m_postgres->error().isEmpty(), qPrintable(m_postgres->error()));
}

void TestCasesWindows::ctrlBAddsTheSwipeToACase_data()
{
    QTest::addColumn<QString>("store");
    QTest::newRow("sqlite") << m_folder.filePath(QStringLiteral("cases.sqlite"));
    QTest::newRow("postgresql") << m_postgres->newDatabase();
}

void TestCasesWindows::ctrlBAddsTheSwipeToACase()
{
    QFETCH(QString, store);
    card::CaseDesk::instance().setLocationText(store);
    {
        CardImageWindow window;
        window.records().setTable(card::test::recordTableFromText(kRows));
        window.state().queriedDay = QDate(2007, 5, 3);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        card::RecordListView* list = window.controls().resultLists[2];
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(0, 0)).center());
        QVERIFY(card::test::settled(window));
        card::test::ModalScript script;
        script.then([](QWidget* dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("case_add"));
            dialog->findChild<QComboBox*>(QStringLiteral("case_add_name"))
                ->setEditText(QStringLiteral("夜班"));
            dialog->findChild<QPlainTextEdit*>(QStringLiteral("case_add_note"))
                ->setPlainText(QStringLiteral("不是持卡人"));
            card::test::pressButton(dialog, QStringLiteral("case_add_ok"));
        });
        QTest::keyClick(list, Qt::Key_B, Qt::ControlModifier);
        QTRY_COMPARE(
            card::CaseDesk::instance().store(&window)->swipesOf(QStringLiteral("夜班")).size(), 1);
    }
    // As after a restart: a store opened anew.
    card::CaseDesk::instance().setLocationText(store);
    QString error;
    const std::unique_ptr<card::CaseStore> reopened =
        card::CaseStore::open(card::parseStoreLocation(store), card::currentOperator(), error);
    QVERIFY2(reopened, qPrintable(error));
    const QList<card::CaseSwipe> swipes = reopened->swipesOf(QStringLiteral("夜班"));
    QCOMPARE(swipes.size(), 1);
    QCOMPARE(card::swipeLine(swipes[0]), QStringLiteral("2007-05-03 02:47:10 00012345 陳怡君 進"));
    QCOMPARE(swipes[0].note, QStringLiteral("不是持卡人"));
}

void TestCasesWindows::casesWindowOpensASwipe()
{
    card::CaseDesk::instance().setLocationText(m_folder.filePath(QStringLiteral("open.sqlite")));
    CardImageWindow window;
    card::CaseSwipe swipe;
    swipe.day = QDate(2007, 5, 3);
    swipe.time = QStringLiteral("08:15:30");
    swipe.card = QStringLiteral("00012345");
    swipe.name = QStringLiteral("陳怡君");
    swipe.direction = QStringLiteral("進");
    swipe.sitePath = m_folder.filePath(QStringLiteral("site.spf"));
    swipe.photoFolder = m_folder.makeFolder(QStringLiteral("photos"));
    QVERIFY(card::CaseDesk::instance().store(&window)->addSwipe(QStringLiteral("後門"), swipe));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_K, Qt::ControlModifier);
    auto* cases = window.findChild<QWidget*>(QStringLiteral("cases"));
    QVERIFY(cases && cases->isVisible());
    auto* items = cases->findChild<QListView*>(QStringLiteral("cases_items"));
    QCOMPARE(items->model()->rowCount(), 1);
    items->setFocus();
    items->setCurrentIndex(items->model()->index(0, 0));
    QTest::keyClick(items, Qt::Key_Return);
    QWidget* inspection = window.findChild<QWidget*>(QStringLiteral("photo_view"));
    QVERIFY(inspection && inspection->isVisible());
    QVERIFY(inspection->windowTitle().contains(QStringLiteral("08:15:30 00012345")));
    QVERIFY(inspection->windowTitle().endsWith(QStringLiteral("案件：後門")));
    // Ctrl+B in the inspection window puts the shown swipe into another case, which its title
    // then names too.
    card::test::ModalScript script;
    script.then([](QWidget* dialog) {
        dialog->findChild<QComboBox*>(QStringLiteral("case_add_name"))
            ->setEditText(QStringLiteral("門禁"));
        card::test::pressButton(dialog, QStringLiteral("case_add_ok"));
    });
    QApplication::setActiveWindow(inspection);
    QTest::keyClick(inspection, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(script.pending(), 0);
    QTRY_VERIFY2(inspection->windowTitle().endsWith(QStringLiteral("案件：後門、門禁")),
                 qPrintable(inspection->windowTitle()));
}

QTEST_MAIN(TestCasesWindows)
#include "tst_cases_windows.moc"
