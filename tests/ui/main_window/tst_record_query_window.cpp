#include "ui/main_window/card_image_window.h"

#include "core/parameters/parameter_table.h"
#include "core/records/record_table.h"
#include "support/model_texts.h"
#include "support/settle.h"
#include "support/temp_site.h"
#include "ui/main_window/record_list_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using card::CardImageWindow;

namespace {

const QDate kDay(2007, 5, 3);

QString dayRecords()
{
    return QStringLiteral("08:15:30,\"00012345\",\"陳怡君\",\"進\"\r\n"
                          "08:16:02,0012345,\"林志明\",\"出\"\r\n"
                          "09:01:45,\"00012345\",\"陳怡君\",\"出\"\r\n");
}

// A window whose records folder holds the day file of kDay.
class QuerySite {
public:
    QuerySite()
    {
        m_site.write(QStringLiteral("2007-5-3.txt"), card::test::big5(dayRecords()));
        m_window.state().parameters[card::kRecordsFolderSlot] = m_site.path();
        m_window.controls().datePicker->setDate(kDay);
        m_window.controls().directionOptions[2]->setChecked(true);
    }

    CardImageWindow& window() { return m_window; }
    const card::test::TempSite& site() const { return m_site; }

private:
    card::test::TempSite m_site;
    CardImageWindow m_window;
};

// Column k as list k shows it, one entry a row.
QStringList listed(const CardImageWindow& window, int k)
{
    const card::RecordListView* list = window.controls().resultLists[static_cast<size_t>(k)];
    return card::test::columnTexts(*list->model(), list->modelColumn());
}

QList<QStringList> allLists(const CardImageWindow& window)
{
    QList<QStringList> lists;
    for (int k = 0; k < card::kRecordFieldCount; ++k)
        lists << listed(window, k);
    return lists;
}

struct SeenMessage {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool busyCursor = false;
    bool shown = false;
};

// Answers the next message box with OK and reports what it showed.
// Answers the next message box as soon as it appears (the query's result arrives later).
void answerNextMessage(SeenMessage& seen)
{
    auto* poll = new QTimer(QCoreApplication::instance());
    QObject::connect(poll, &QTimer::timeout, poll, [&seen, poll] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = {box->windowTitle(), box->text(), box->icon(),
                QApplication::overrideCursor() != nullptr, true};
        box->accept();
        poll->deleteLater();
    });
    poll->start(10);
}

} // namespace

class TestRecordQueryWindow : public QObject {
    Q_OBJECT
private slots:
    void queryButtonListsTheDayInFourColumns();
    void queryTwiceGivesTheSameRows();
    void filtersReadFromTheControls_data();
    void filtersReadFromTheControls();
    void missingDayAfterAGoodQuery_data();
    void missingDayAfterAGoodQuery();
    void clearCommandEmptiesOnlyTheLists_data();
    void clearCommandEmptiesOnlyTheLists();
    void unreadableFileIsReported();
};

void TestRecordQueryWindow::queryButtonListsTheDayInFourColumns()
{
    QuerySite query;
    CardImageWindow& window = query.window();
    window.controls().statusLine->setText(QStringLiteral("影像不存在"));
    QTest::mouseClick(window.controls().queryButton, Qt::LeftButton);
    QVERIFY(card::test::settled(window));
    QCOMPARE(listed(window, 0), (QStringList{"08:15:30", "08:16:02", "09:01:45"}));
    QCOMPARE(listed(window, 1), (QStringList{"00012345", "12345", "00012345"}));
    QCOMPARE(listed(window, 2), (QStringList{"陳怡君", "林志明", "陳怡君"}));
    QCOMPARE(listed(window, 3), (QStringList{"進", "出", "出"}));
    QVERIFY(window.controls().statusLine->text().isEmpty());
    QCOMPARE(window.state().currentRecord.day, QStringLiteral("070503"));
    for (const card::RecordListView* list : window.controls().resultLists)
        QCOMPARE(list->selectedRow(), -1);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestRecordQueryWindow::queryTwiceGivesTheSameRows()
{
    QuerySite query;
    query.window().runQuery();
    QVERIFY(card::test::settled(query.window()));
    const QList<QStringList> first = allLists(query.window());
    query.window().runQuery();
    QVERIFY(card::test::settled(query.window()));
    QCOMPARE(allLists(query.window()), first);
    QCOMPARE(first.first().size(), 3);
}

void TestRecordQueryWindow::filtersReadFromTheControls_data()
{
    QTest::addColumn<bool>("cardFilterOn");
    QTest::addColumn<QString>("cardText");
    QTest::addColumn<int>("option");
    QTest::addColumn<QStringList>("times");
    QTest::newRow("all") << false << "" << 2 << QStringList{"08:15:30", "08:16:02", "09:01:45"};
    QTest::newRow("out") << false << "" << 1 << QStringList{"08:16:02", "09:01:45"};
    QTest::newRow("in") << false << "" << 0 << QStringList{"08:15:30"};
    QTest::newRow("card typed with zeros, quoted cards")
        << true << "00012345" << 2 << QStringList{"08:15:30", "09:01:45"};
    QTest::newRow("card and out") << true << "00012345" << 1 << QStringList{"09:01:45"};
    QTest::newRow("card switch on, empty text") << true << "" << 2 << QStringList{};
    QTest::newRow("card text, switch off")
        << false << "999" << 2 << QStringList{"08:15:30", "08:16:02", "09:01:45"};
}

void TestRecordQueryWindow::filtersReadFromTheControls()
{
    QFETCH(bool, cardFilterOn);
    QFETCH(QString, cardText);
    QFETCH(int, option);
    QFETCH(QStringList, times);
    QuerySite query;
    const card::MainControls& c = query.window().controls();
    c.cardFilterCheck->setChecked(cardFilterOn);
    c.cardNumberEdit->setText(cardText);
    c.directionOptions[static_cast<size_t>(option)]->setChecked(true);
    query.window().runQuery();
    QVERIFY(card::test::settled(query.window()));
    QCOMPARE(listed(query.window(), 0), times);
    for (int k = 1; k < card::kRecordFieldCount; ++k)
        QCOMPARE(listed(query.window(), k).size(), times.size());
}

void TestRecordQueryWindow::missingDayAfterAGoodQuery_data()
{
    QTest::addColumn<QString>("recordsFolder");
    QTest::addColumn<QDate>("date");
    QTest::newRow("another day") << QString() << QDate(2007, 5, 4);
    QTest::newRow("folder without the file") << "empty" << kDay;
    QTest::newRow("no parameter file loaded") << "unset" << kDay;
}

void TestRecordQueryWindow::missingDayAfterAGoodQuery()
{
    QFETCH(QString, recordsFolder);
    QFETCH(QDate, date);
    QuerySite query;
    CardImageWindow& window = query.window();
    window.runQuery();
    QVERIFY(card::test::settled(window));
    QCOMPARE(listed(window, 0).size(), 3);
    QString& folder = window.state().parameters[card::kRecordsFolderSlot];
    if (recordsFolder == QLatin1String("empty"))
        folder = query.site().makeFolder(QStringLiteral("empty"));
    else if (recordsFolder == QLatin1String("unset"))
        folder.clear();
    window.controls().datePicker->setDate(date);
    window.runQuery();
    QVERIFY(card::test::settled(window));
    for (const QStringList& list : allLists(window))
        QVERIFY(list.isEmpty());
    QCOMPARE(window.controls().statusLine->text(), QStringLiteral("紀錄不存在"));
    QCOMPARE(window.state().currentRecord.day, date.toString(QStringLiteral("yyMMdd")));
}

void TestRecordQueryWindow::clearCommandEmptiesOnlyTheLists_data()
{
    QTest::addColumn<bool>("queryFirst");
    QTest::newRow("empty lists") << false;
    QTest::newRow("after a query") << true;
}

void TestRecordQueryWindow::clearCommandEmptiesOnlyTheLists()
{
    QFETCH(bool, queryFirst);
    QuerySite query;
    CardImageWindow& window = query.window();
    if (queryFirst)
        window.runQuery();
    QVERIFY(card::test::settled(window));
    window.controls().statusLine->setText(QStringLiteral("紀錄不存在"));
    window.state().currentRecord.day = QStringLiteral("991231");
    QTest::mouseClick(window.controls().clearButton, Qt::LeftButton);
    QVERIFY(card::test::settled(window));
    for (const QStringList& list : allLists(window))
        QVERIFY(list.isEmpty());
    QCOMPARE(window.controls().statusLine->text(), QStringLiteral("紀錄不存在"));
    QCOMPARE(window.state().currentRecord.day, QStringLiteral("991231"));
}

void TestRecordQueryWindow::unreadableFileIsReported()
{
    QuerySite query;
    CardImageWindow& window = query.window();
    window.runQuery();
    QVERIFY(card::test::settled(window));
    QCOMPARE(listed(window, 0).size(), 3);
    // Larger than the table can address: refused before a byte is read (a sparse file).
    const QString path = query.site().filePath(QStringLiteral("2007-5-3.txt"));
    QVERIFY(QFile(path).resize(card::kMaxRecordFileSize + 1));
    SeenMessage seen;
    answerNextMessage(seen);
    window.runQuery();
    QVERIFY(card::test::settled(window));
    QVERIFY(seen.shown);
    QCOMPARE(seen.title, QStringLiteral("刷卡影像資料查詢"));
    QCOMPARE(seen.text, QStringLiteral("紀錄檔無法讀取\n") + path);
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QVERIFY(!seen.busyCursor);
    for (const QStringList& list : allLists(window))
        QVERIFY(list.isEmpty());
    QVERIFY(window.controls().statusLine->text().isEmpty());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

QTEST_MAIN(TestRecordQueryWindow)
#include "tst_record_query_window.moc"
