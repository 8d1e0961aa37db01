// Taking results out through the save dialogs: the proposed name, the file written, a refused
// target reported in a message box, Cancel writing nothing.
#include "ui/common/results_export.h"

#include "support/modal_script.h"
#include "support/record_table_text.h"
#include "support/temp_site.h"
#include "ui/common/export_texts.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>

#include <algorithm>

using card::test::ModalScript;

namespace {

const QDate kDay(2007, 5, 3);

// Checks the save dialog's title and proposed name, then answers it with target (or Cancel when
// target is empty).
ModalScript::Step answerSaveDialog(const QString& title, const QString& proposed,
                                   const QString& target)
{
    return [title, proposed, target](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), title);
        QCOMPARE(QFileInfo(dialog->selectedFiles().value(0)).fileName(), proposed);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        QCOMPARE(name->text(), proposed); // the bare name, in the dialog's own folder
        if (target.isEmpty()) {
            dialog->reject();
            return;
        }
        // Typed into the name box as an operator would; selectFile would race with the
        // dialog's folder listing, which puts the proposed name back.
        name->setText(target);
        static_cast<QDialog*>(dialog)->accept(); // as the Save button does
    };
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestResultsExport : public QObject {
    Q_OBJECT
private slots:
    void listedRows_data();
    void listedRows();
    void shownPhoto_data();
    void shownPhoto();
};

void TestResultsExport::listedRows_data()
{
    QTest::addColumn<QString>("target");  // typed, in the site; empty for Cancel
    QTest::addColumn<bool>("exists");     // a file is already where the target is written
    QTest::addColumn<bool>("refused");    // said at once, then the dialog again (cancelled)
    QTest::addColumn<bool>("asked");      // the replace question, answered Yes
    QTest::addColumn<QString>("written"); // the file written; empty for none
    QTest::addColumn<bool>("failed");     // a folder at the target: said, the same name asked again
    QTest::newRow("chosen file") << "out/day.csv" << false << false << false << "out/day.csv"
                                 << false;
    QTest::newRow("extension added")
        << "out/noext" << false << false << false << "out/noext.csv" << false;
    QTest::newRow("cancel") << "" << false << false << false << "" << false;
    QTest::newRow("records folder") << "records/day.csv" << false << true << false << "" << false;
    QTest::newRow("parameter file") << "site.spf" << true << true << false << "" << false;
    QTest::newRow("photo folder before the question")
        << "photos/old.csv" << true << true << false << "" << false;
    QTest::newRow("existing file asked")
        << "out/old.csv" << true << false << true << "out/old.csv" << false;
    QTest::newRow("existing file typed without extension asked")
        << "out/old" << true << false << true << "out/old.csv" << false;
    QTest::newRow("write fails, same name again")
        << "out/dir" << false << false << true << "" << true;
}

void TestResultsExport::listedRows()
{
    QFETCH(QString, target);
    QFETCH(bool, exists);
    QFETCH(bool, refused);
    QFETCH(bool, asked);
    QFETCH(QString, written);
    QFETCH(bool, failed);
    const card::test::TempSite site;
    site.makeFolder("out");
    const QStringList places{site.makeFolder("records"), site.makeFolder("photos"),
                             site.filePath("site.spf")};
    const QString path = target.isEmpty() ? QString() : site.filePath(target);
    const QString existing = QFileInfo(target).suffix().isEmpty() ? target + ".csv" : target;
    if (exists)
        site.write(existing, "the earlier file");
    if (failed)
        site.makeFolder(existing);
    const card::RecordTable table =
        card::test::recordTableFromText("08:15:30,\"00012345\",\"陳怡君\",\"進\"\r\n");

    using namespace card::export_texts;
    ModalScript modals;
    modals.then(
        answerSaveDialog(kExportDialogTitle, QStringLiteral("刷卡紀錄-2007-05-03.csv"), path));
    if (refused)
        modals.press(QStringLiteral("確定"))
            .then(answerSaveDialog(kExportDialogTitle, QFileInfo(path).fileName(), {}));
    if (asked)
        modals.press(QStringLiteral("是"));
    if (failed)
        modals.press(QStringLiteral("確定"))
            .then(answerSaveDialog(kExportDialogTitle, QFileInfo(existing).fileName(), {}));
    QCOMPARE(card::exportListedRows(nullptr, table, kDay, places), !written.isEmpty());
    QCOMPARE(modals.pending(), 0);
    QCOMPARE(modals.seen().size(), 1 + (refused || failed ? 2 : 0) + (asked ? 1 : 0));
    if (failed)
        QVERIFY2(modals.seen()[2].text.contains(QStringLiteral("這個名稱是資料夾，不是檔案")),
                 qPrintable(modals.seen()[2].text));
    const auto questions = std::count_if(
        modals.seen().begin(), modals.seen().end(),
        [](const card::test::SeenModal& seen) { return seen.text.endsWith(kReplaceQuestion); });
    QCOMPARE(questions, asked ? 1 : 0);
    if (refused) {
        QCOMPARE(modals.seen()[1].title, QStringLiteral("刷卡影像資料查詢"));
        QCOMPARE(modals.seen()[1].text.section(u'\n', 0, 1), kRefused + u'\n' + path);
    }
    if (!written.isEmpty())
        QVERIFY(fileBytes(site.filePath(written)).startsWith("\xEF\xBB\xBF"));
    else if (!path.isEmpty())
        QCOMPARE(fileBytes(path),
                 exists ? QByteArray("the earlier file") : QByteArray("<missing>"));
}

void TestResultsExport::shownPhoto_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("written");
    QTest::newRow("chosen file") << "saved.jpg" << true;
    QTest::newRow("photo folder") << "photos/copy.jpg" << false;
}

void TestResultsExport::shownPhoto()
{
    QFETCH(QString, target);
    QFETCH(bool, written);
    const card::test::TempSite site;
    const QByteArray photo("\xFF\xD8\xFF\xE0 not really a photo \x00\x01\xFF\xD9", 28);
    const QString source = site.write("photos/00012345-070503-081530-C.jpg", photo);
    const QString path = site.filePath(target);

    ModalScript modals;
    modals.then(answerSaveDialog(card::export_texts::kPhotoDialogTitle,
                                 QStringLiteral("00012345-070503-081530-C.jpg"), path));
    if (!written)
        modals.press(QStringLiteral("確定"))
            .then(answerSaveDialog(card::export_texts::kPhotoDialogTitle,
                                   QFileInfo(path).fileName(), {}));
    std::optional<bool> done;
    card::saveShownPhoto(nullptr, source, {site.filePath("records"), site.filePath("photos")},
                         [&done](bool ok) { done = ok; });
    QTRY_VERIFY(done.has_value());
    QCOMPARE(*done, written);
    QCOMPARE(modals.pending(), 0);
    QCOMPARE(fileBytes(path), written ? photo : QByteArray("<missing>"));
    QCOMPARE(fileBytes(source), photo);
}

QTEST_MAIN(TestResultsExport)
#include "tst_results_export.moc"
