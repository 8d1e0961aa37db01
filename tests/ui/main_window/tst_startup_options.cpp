// Starting with the command line's options: the parameter file is loaded without the dialog and
// --date, --card and --direction run the query once.
#include "ui/main_window/card_image_window.h"

#include "core/parameters/parameter_table.h"
#include "core/records/record_table_model.h"
#include "core/startup/command_line.h"
#include "support/modal_script.h"
#include "support/model_texts.h"
#include "support/settle.h"
#include "support/temp_site.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QWindow>

using card::CardImageWindow;
using card::DirectionChoice;
using card::StartupOptions;
using card::test::ModalScript;

namespace {

const QDate kDay(2007, 5, 3);

QByteArray parameterFile(const QString& records, const QString& photos)
{
    QByteArray bytes;
    for (int i = 0; i < card::kParameterCount; ++i) {
        if (i == card::kRecordsFolderSlot)
            bytes += '"' + records.toUtf8() + '"';
        else if (i == card::kPhotoFolderSlot)
            bytes += '"' + photos.toUtf8() + '"';
        else
            bytes += "\"p" + QByteArray::number(i) + '"';
        bytes += "\r\n";
    }
    return bytes;
}

// Column k as list k shows it.
QStringList listed(CardImageWindow& window, int k)
{
    return card::test::columnTexts(window.records(), k);
}

} // namespace

class TestStartupOptions : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void dateAndCardListThatDaysRows();
    void directionAlone();
    void fileAloneLoadsWithoutQuery();
    void badFileIsReportedAndNotQueried();
    void liveViewOpensOnceTheFileIsRead();
    void recentFileLoadsAgain();

private:
    std::unique_ptr<card::test::TempSite> m_site;
    QString m_spf;
};

void TestStartupOptions::init()
{
    m_site = std::make_unique<card::test::TempSite>();
    const QString records = m_site->makeFolder("records");
    const QString photos = m_site->makeFolder("photos");
    m_site->write("records/2007-5-3.txt",
                  card::test::big5(QStringLiteral("08:15:30,\"00012345\",\"陳怡君\",\"進\"\r\n"
                                                  "08:16:02,\"00067890\",\"林志明\",\"出\"\r\n"
                                                  "09:01:45,\"00012345\",\"陳怡君\",\"出\"\r\n")));
    m_spf = m_site->write("site.spf", parameterFile(records, photos));
}

void TestStartupOptions::cleanup()
{
    m_site.reset();
}

void TestStartupOptions::dateAndCardListThatDaysRows()
{
    CardImageWindow window;
    window.createWinId();
    ModalScript modals; // no dialog may open
    StartupOptions options;
    options.parameterFile = m_spf;
    options.date = kDay;
    options.card = QStringLiteral("00012345");
    window.runStartup(options);
    QVERIFY(card::test::settled(window));
    QVERIFY(modals.seen().isEmpty());
    QCOMPARE(window.windowHandle()->title(), QStringLiteral("刷卡影像資料查詢：") + m_spf);
    QCOMPARE(window.controls().datePicker->date(), kDay);
    QVERIFY(window.controls().cardFilterCheck->isChecked());
    QCOMPARE(window.controls().cardNumberEdit->text(), QStringLiteral("00012345"));
    QVERIFY(window.controls().directionOptions[2]->isChecked());
    QCOMPARE(listed(window, 0), (QStringList{"08:15:30", "09:01:45"}));
    QCOMPARE(listed(window, 1), (QStringList{"00012345", "00012345"}));
    QCOMPARE(listed(window, 2), (QStringList{"陳怡君", "陳怡君"}));
    QCOMPARE(listed(window, 3), (QStringList{"進", "出"}));
    QCOMPARE(window.state().currentRecord.day, QStringLiteral("070503"));
}

void TestStartupOptions::directionAlone()
{
    CardImageWindow window;
    ModalScript modals;
    StartupOptions options;
    options.parameterFile = m_spf;
    options.direction = DirectionChoice::Out;
    window.runStartup(options);
    QVERIFY(card::test::settled(window));
    QVERIFY(modals.seen().isEmpty());
    // Without --date the day is today, which has no record file here.
    QCOMPARE(window.controls().datePicker->date(), QDate::currentDate());
    QVERIFY(window.controls().directionOptions[1]->isChecked());
    QVERIFY(!window.controls().cardFilterCheck->isChecked());
    QCOMPARE(window.controls().statusLine->text(), QStringLiteral("紀錄不存在"));

    window.controls().datePicker->setDate(kDay);
    window.runQuery();
    QVERIFY(card::test::settled(window));
    QCOMPARE(listed(window, 1), (QStringList{"00067890", "00012345"}));
}

void TestStartupOptions::fileAloneLoadsWithoutQuery()
{
    CardImageWindow window;
    window.createWinId();
    ModalScript modals;
    StartupOptions options;
    options.parameterFile = m_spf;
    window.runStartup(options);
    QVERIFY(card::test::settled(window));
    QVERIFY(modals.seen().isEmpty());
    QCOMPARE(window.windowHandle()->title(), QStringLiteral("刷卡影像資料查詢：") + m_spf);
    QCOMPARE(window.state().parameters[card::kRecordsFolderSlot], m_site->filePath("records"));
    QVERIFY(listed(window, 0).isEmpty());
    QVERIFY(window.controls().statusLine->text().isEmpty());
    QVERIFY(window.state().currentRecord.day.isEmpty());
}

void TestStartupOptions::badFileIsReportedAndNotQueried()
{
    const QString bad = m_site->write("short.spf", "\"a\",\"b\"\r\n");
    CardImageWindow window;
    window.createWinId();
    ModalScript modals;
    modals.press(QStringLiteral("確定"));
    StartupOptions options;
    options.parameterFile = bad;
    options.date = kDay;
    window.runStartup(options);
    QVERIFY(card::test::settled(window));
    QCOMPARE(modals.seen().size(), 1);
    QCOMPARE(modals.seen().first().text, QStringLiteral("不正確參數檔"));
    QCOMPARE(window.windowHandle()->title(),
             QStringLiteral("刷卡影像資料查詢：") + bad + QStringLiteral(" 不正確參數檔"));
    QVERIFY(window.state().currentRecord.day.isEmpty());
}

// The live view opens once the parameter file is read.
void TestStartupOptions::liveViewOpensOnceTheFileIsRead()
{
    CardImageWindow window;
    StartupOptions options;
    options.parameterFile = m_spf;
    options.live = true;
    window.runStartup(options);
    QTRY_VERIFY(window.findChild<QWidget*>(QStringLiteral("live_view")));
    QVERIFY(window.findChild<QWidget*>(QStringLiteral("live_view"))->isVisible());
}

// A whole file loaded goes first in the lists' 最近的參數檔; choosing an entry loads it again.
void TestStartupOptions::recentFileLoadsAgain()
{
    const QString other = m_site->write(
        "other.spf", parameterFile(m_site->filePath("records"), m_site->filePath("photos")));
    CardImageWindow window;
    window.createWinId();
    window.loadParameterFile(m_spf);
    QVERIFY(card::test::settled(window));
    window.loadParameterFile(other);
    QVERIFY(card::test::settled(window));
    auto* recent = window.findChild<QMenu*>(QStringLiteral("recent_parameter_files"));
    QCOMPARE(recent->actions().value(0)->text(), other);
    QCOMPARE(recent->actions().value(1)->text(), m_spf);
    recent->actions()[1]->trigger();
    QVERIFY(card::test::settled(window));
    QCOMPARE(window.windowHandle()->title(), QStringLiteral("刷卡影像資料查詢：") + m_spf);
    QCOMPARE(recent->actions().value(0)->text(), m_spf);
}

QTEST_MAIN(TestStartupOptions)
#include "tst_startup_options.moc"
