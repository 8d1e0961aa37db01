// After a parameter file names a Windows folder that no mapping covers, the window asks which
// local folder stands for it, keeps the answer and reads the site there.
#include "ui/main_window/card_image_window.h"

#include "core/parameters/parameter_table.h"
#include "core/platform/saved_mappings.h"
#include "core/platform/site_folders.h"
#include "core/records/record_table_model.h"
#include "support/modal_script.h"
#include "support/settle.h"
#include "support/temp_site.h"
#include "ui/main_window/record_list_view.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>

namespace {

QByteArray parameterFile()
{
    QByteArray bytes;
    for (int i = 0; i < card::kParameterCount; ++i) {
        bytes += i == card::kRecordsFolderSlot ? QByteArray("\\\\CARDSRV01\\Card\\Records")
                 : i == card::kPhotoFolderSlot ? QByteArray("\\\\CARDSRV01\\Card\\Photos")
                                               : "p" + QByteArray::number(i);
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace

class TestFolderQuestion : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void answer_data();
    void answer();
    void editorChangesOnlyTheOperatorsOwn();
};

void TestFolderQuestion::answer_data()
{
    QTest::addColumn<bool>("answered"); // the records folder's question; the photos' is cancelled
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("listed");
    QTest::addColumn<QString>("status");

    QTest::newRow("answer kept and read") << true << 2 << 1 << QString();
    QTest::newRow("cancel reads as written") << false << 1 << 0 << "紀錄不存在";
}

void TestFolderQuestion::answer()
{
    QFETCH(bool, answered);
    QFETCH(int, questions);
    QFETCH(int, listed);
    QFETCH(QString, status);

    card::saveMappings({});
    const card::test::TempSite site;
    site.write(QStringLiteral("records/2007-5-3.txt"),
               card::test::big5(QStringLiteral("08:15:30,\"00012345\",\"陳怡君\",\"進\"\r\n")));
    card::test::ModalScript modals;
    if (answered) {
        modals.then([&site](QWidget* modal) {
            auto* local = modal->findChild<QComboBox*>(QStringLiteral("folder_mapping_local"));
            QVERIFY(local);
            local->setEditText(site.filePath(QStringLiteral("records")));
            card::test::pressButton(modal, QStringLiteral("確定"));
        });
    }
    modals.press(QStringLiteral("取消"));

    card::CardImageWindow window;
    card::StartupOptions options;
    options.parameterFile = site.write(QStringLiteral("win.spf"), parameterFile());
    options.date = QDate(2007, 5, 3);
    window.runStartup(options);
    QVERIFY(card::test::settled(window));
    QCOMPARE(modals.seen().size(), questions);
    QCOMPARE(modals.seen().first().objectName, QStringLiteral("folder_mapping"));
    QCOMPARE(window.records().rowCount(), listed);
    QCOMPARE(window.controls().statusLine->text(), status);
    QCOMPARE(card::readSavedMappings().size(), answered ? 1 : 0);
}

void TestFolderQuestion::editorChangesOnlyTheOperatorsOwn()
{
    using card::test::pressButton;
    card::saveMappings({});
    card::setFolderMappings(card::MappingSource::CommandLine,
                            {{QStringLiteral("E:\\Cmd"), QStringLiteral("/cmd")}});
    card::CardImageWindow window;
    card::test::ModalScript modals;
    modals
        .then([](QWidget* editor) {
            pressButton(editor, QStringLiteral("folder_mappings_add"));
            auto* list = editor->findChild<QTableView*>(QStringLiteral("folder_mappings_list"));
            auto* remove =
                editor->findChild<QPushButton*>(QStringLiteral("folder_mappings_remove"));
            QCOMPARE(list->model()->rowCount(), 2);
            QCOMPARE(list->model()->index(1, 2).data().toString(), QStringLiteral("使用者設定"));
            list->setCurrentIndex(list->model()->index(0, 0));
            QVERIFY(!remove->isEnabled()); // the command line's
            list->setCurrentIndex(list->model()->index(1, 0));
            QCOMPARE(card::readSavedMappings().size(), 1);
            pressButton(editor, QStringLiteral("folder_mappings_remove"));
            QCOMPARE(list->model()->rowCount(), 1);
            pressButton(editor, QStringLiteral("folder_mappings_close"));
        })
        .then([](QWidget* form) {
            form->findChild<QLineEdit*>(QStringLiteral("folder_mapping_windows"))
                ->setText(QStringLiteral("D:\\Rec"));
            form->findChild<QComboBox*>(QStringLiteral("folder_mapping_local"))
                ->setEditText(QStringLiteral("/srv/rec"));
            pressButton(form, QStringLiteral("確定"));
        });
    for (QAction* entry : window.controls().resultLists[0]->actions()) {
        if (entry->text() == QStringLiteral("路徑對應…"))
            entry->trigger();
    }
    QCOMPARE(modals.seen().size(), 2);
    QVERIFY(card::readSavedMappings().isEmpty());
    card::setFolderMappings(card::MappingSource::CommandLine, {});
}

QTEST_MAIN(TestFolderQuestion)
#include "tst_folder_question.moc"
