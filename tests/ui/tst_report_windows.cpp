// The reports' entry points in the windows, each followed to the PDF it makes.
#include "core/parameters/parameter_table.h"
#include "support/modal_script.h"
#include "support/pdf_reading.h"
#include "support/settle.h"
#include "support/temp_site.h"
#include "support/test_photos.h"
#include "ui/common/swipe_pictures/swipe_picture_work.h"
#include "ui/main_window/card_image_window.h"
#include "ui/main_window/record_list_view.h"
#include "ui/reports/history_report.h"
#include "ui/reports/report_output.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRadioButton>
#include <QTest>

using card::test::ModalScript;

namespace {

// Answers the save dialog with target, typed as an operator would.
ModalScript::Step saveAs(const QString& target)
{
    return [target](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(target);
        static_cast<QDialog*>(dialog)->accept();
    };
}

// Prints from the preview to a PDF file, as the preview's print button does with a PDF printer.
ModalScript::Step printTo(const QString& target)
{
    return [target](QWidget* modal) {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(modal);
        QVERIFY(preview);
        preview->printer()->setOutputFileName(target);
        preview->findChild<QPrintPreviewWidget*>()->print();
        preview->accept();
    };
}

void triggerAction(QWidget* owner, const QString& text)
{
    const QList<QAction*> actions = owner->actions();
    const auto found = std::find_if(actions.begin(), actions.end(),
                                    [&text](QAction* action) { return action->text() == text; });
    QVERIFY(found != actions.end());
    (*found)->trigger();
}

// A table of rows under its heading, alone in a report.
card::ReportPages tableReport(qsizetype rows)
{
    card::ReportPages report(QStringLiteral("表"));
    report.addTable({QStringLiteral("時間")}, {1}, rows,
                    [](qsizetype row) { return QStringList{QString::number(row)}; });
    return report;
}

} // namespace

class TestReportWindows : public QObject {
    Q_OBJECT
private slots:
    void entryPoints_data();
    void entryPoints();
    void overTwoThousandPagesAsksFirst();
    void pagesAskedAbout_data();
    void pagesAskedAbout();
    void pageCountIsThePagesPainted_data();
    void pageCountIsThePagesPainted();
    void secondRowOfPicturesStartsAtTheMargin();
    void headingGoesWithWhatFollows_data();
    void headingGoesWithWhatFollows();
    void historyJobPrintsWithPictures();
};

void TestReportWindows::entryPoints_data()
{
    QTest::addColumn<bool>("inPhotoView");
    QTest::addColumn<QString>("action"); // its text, or a key sequence that triggers it
    QTest::addColumn<bool>("prints");    // through the preview; else saved as PDF
    QTest::addColumn<QStringList>("texts");
    // The photo's width and height in the PDF: a photo larger than the page prints is embedded at
    // 300 dpi of its drawn size.
    QTest::addColumn<QString>("image");

    const QStringList list{"刷卡紀錄清單", "日期：2007-05-03", "卡號：全部", "進出：全選",
                           "筆數：3",      "林志明",           "site.spf",   "紀錄資料夾：/"};
    const QStringList sheet{"刷卡影像證據單", "卡號：00012345",   "姓名：陳怡君",
                            "時間：08:15:30", "本卡當日其他刷卡", "09:01:45 出",
                            "site.spf",       "製表時間 ",        "影像不存在"};
    QTest::newRow("list menu, print") << false << "列印清單…" << true << list << QString();
    QTest::newRow("list menu, PDF") << false << "匯出 PDF…" << false << list << QString();
    QTest::newRow("inspection window, Ctrl+P")
        << true << "Ctrl+P" << true << sheet << "212\\d\\s+159\\d";
    QTest::newRow("inspection window, PDF")
        << true << "匯出 PDF…" << false << sheet << "212\\d\\s+159\\d";
}

void TestReportWindows::entryPoints()
{
    QFETCH(bool, inPhotoView);
    QFETCH(QString, action);
    QFETCH(bool, prints);
    QFETCH(QStringList, texts);
    QFETCH(QString, image);

    card::test::TempSite site;
    site.write(QStringLiteral("records/2007-5-3.txt"),
               card::test::big5(QStringLiteral("08:15:30,\"00012345\",\"陳怡君\",\"進\"\r\n"
                                               "09:00:00,\"00067890\",\"林志明\",\"出\"\r\n"
                                               "09:01:45,\"00012345\",\"陳怡君\",\"出\"\r\n")));
    site.write(QStringLiteral("photos/00012345-070503-081530-C.jpg"),
               card::test::jpegBytes(Qt::darkCyan, QSize(2400, 1800)));
    card::CardImageWindow window;
    window.state().parameters[card::kRecordsFolderSlot] = site.filePath(QStringLiteral("records"));
    window.state().parameters[card::kPhotoFolderSlot] = site.filePath(QStringLiteral("photos"));
    window.state().parameterFile = site.filePath(QStringLiteral("site.spf"));
    window.controls().datePicker->setDate(QDate(2007, 5, 3));
    window.controls().directionOptions[2]->setChecked(true); // 全選
    window.show();
    window.runQuery();
    QVERIFY(card::test::settled(window));

    QWidget* menuOwner = window.controls().resultLists[2];
    if (inPhotoView) {
        card::RecordListView* list = window.controls().resultLists[0];
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(0, 0)).center());
        QVERIFY(card::test::settled(window));
        window.openPhotoView();
        menuOwner = window.findChild<QWidget*>(QStringLiteral("photo_view_image"));
        QVERIFY(menuOwner);
        QApplication::setActiveWindow(menuOwner->window()); // where Ctrl+P is pressed
    }
    // Another site loaded after the query: the listed rows are still the first site's.
    window.loadParameterFile(
        site.write(QStringLiteral("other.spf"),
                   QStringList(card::kParameterCount, site.filePath(QStringLiteral("records")))
                       .join(QStringLiteral("\r\n"))
                       .toUtf8()));
    QVERIFY(card::test::settled(window));
    const QString pdf = site.filePath(QStringLiteral("report.pdf"));
    ModalScript script;
    script.then(prints ? printTo(pdf) : saveAs(pdf));
    const QKeySequence keys(action);
    if (keys == QKeySequence::Print) {
        QTest::keySequence(menuOwner, keys);
    } else {
        triggerAction(menuOwner, action);
    }
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(pdf).size() > 0 && script.pending() == 0, 20000);
    QVERIFY(script.seen().size() == 1 && script.seen().first().expected);

    const QString text = card::test::pdfText(pdf);
    for (const QString& expected : texts)
        QVERIFY2(text.contains(expected), qPrintable(expected + u'\n' + text));
    const QString images =
        card::test::popplerOutput(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    if (!image.isEmpty())
        QVERIFY2(images.contains(QRegularExpression(QStringLiteral("image\\s+") + image)),
                 qPrintable(images));
}

void TestReportWindows::overTwoThousandPagesAsksFirst()
{
    card::test::TempSite site;
    QByteArray day;
    for (int second = 0; second < 150'000; ++second) // some 3,000 pages
        day += QStringLiteral("%1,\"00012345\",\"x\",\"in\"\r\n").arg(second).toLatin1();
    site.write(QStringLiteral("records/2007-5-3.txt"), day);
    card::CardImageWindow window;
    window.state().parameters[card::kRecordsFolderSlot] = site.filePath(QStringLiteral("records"));
    window.controls().datePicker->setDate(QDate(2007, 5, 3));
    window.controls().directionOptions[2]->setChecked(true);
    window.runQuery();
    QVERIFY(card::test::settled(window));

    const QString pdf = site.filePath(QStringLiteral("big.pdf"));
    ModalScript script;
    script.then(saveAs(pdf)).press(QStringLiteral("否"));
    triggerAction(window.controls().resultLists[0], QStringLiteral("匯出 PDF…"));
    QTRY_VERIFY_WITH_TIMEOUT(script.pending() == 0, 20000);
    QVERIFY2(script.seen().value(1).text.startsWith(QStringLiteral("這份報表共")),
             qPrintable(script.seen().value(1).text));
    QTest::qWait(200);
    QVERIFY(!QFileInfo::exists(pdf));
}

void TestReportWindows::pagesAskedAbout_data()
{
    QTest::addColumn<int>("pages");
    QTest::addColumn<bool>("asked"); // and answered No
    QTest::newRow("2,000 pages written without a question") << 2000 << false;
    QTest::newRow("2,001 pages asked about") << 2001 << true;
}

void TestReportWindows::pagesAskedAbout()
{
    QFETCH(int, pages);
    QFETCH(bool, asked);
    card::test::TempSite site;
    const QString pdf = site.filePath(QStringLiteral("pages.pdf"));
    const card::ReportJob job{QStringLiteral("pages.pdf"), {}, [pages] {
                                  card::ReportPages report(QStringLiteral("頁"));
                                  for (int page = 0; page < pages; ++page)
                                      report.addSpace(10'000); // taller than a page: one each
                                  return report;
                              }};
    QWidget window;
    ModalScript script;
    script.then(saveAs(pdf));
    if (asked)
        script.press(QStringLiteral("否"));
    card::exportReportPdf(&window, job);
    // Two thousand pages under the sanitizers, beside other tests, take about a minute.
    QTRY_VERIFY_WITH_TIMEOUT(script.pending() == 0 && (asked || QFileInfo(pdf).size() > 0), 240000);
    QCOMPARE(script.seen().size(), asked ? 2 : 1);
    QTest::qWait(200);
    QCOMPARE(card::test::pdfPageCount(pdf), asked ? 0 : pages);
}

void TestReportWindows::pageCountIsThePagesPainted_data()
{
    QTest::addColumn<int>("fullPages"); // of as many rows as fill a page under the heading
    QTest::addColumn<int>("moreRows");
    QTest::addColumn<int>("pages");
    QTest::newRow("two full pages, the heading again on the second") << 2 << 0 << 2;
    QTest::newRow("one row more") << 2 << 1 << 3;
}

// The count the 2,000-page question is asked with is the count of pages written.
void TestReportWindows::pageCountIsThePagesPainted()
{
    QFETCH(int, fullPages);
    QFETCH(int, moreRows);
    QFETCH(int, pages);
    qsizetype perPage = 1;
    while (tableReport(perPage + 1).a4PageCount() == 1)
        ++perPage;
    const card::ReportPages report = tableReport(fullPages * perPage + moreRows);
    QCOMPARE(report.a4PageCount(), pages);
    card::test::TempSite site;
    const QString pdf = site.filePath(QStringLiteral("pages.pdf"));
    QVERIFY(card::writeReportPdf(report, pdf, {}).ok());
    QCOMPARE(card::test::pdfPageCount(pdf), pages);
}

void TestReportWindows::secondRowOfPicturesStartsAtTheMargin()
{
    card::ReportPages report(QStringLiteral("影像"));
    // Wider than half the page: one picture a row.
    report.addPictureRows({{QImage(), QStringLiteral("P0")}, {QImage(), QStringLiteral("P1")}},
                          400);
    card::test::TempSite site;
    const QString pdf = site.filePath(QStringLiteral("pictures.pdf"));
    QVERIFY(card::writeReportPdf(report, pdf, {}).ok());
    const QString words =
        card::test::popplerOutput(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, "-"});
    const auto left = [&words](const QString& caption) {
        return QRegularExpression(QStringLiteral("xMin=\"([\\d.]+)\"[^>]*>") + caption + u'<')
            .match(words)
            .captured(1);
    };
    QVERIFY2(!left(QStringLiteral("P0")).isEmpty(), qPrintable(words));
    QCOMPARE(left(QStringLiteral("P1")), left(QStringLiteral("P0")));
}

void TestReportWindows::headingGoesWithWhatFollows_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("section heading") << 0;
    QTest::newRow("day heading") << 1;
    QTest::newRow("table heading") << 2;
}

// A heading with room for itself alone at the foot of a page goes to the next with what follows.
void TestReportWindows::headingGoesWithWhatFollows()
{
    QFETCH(int, kind);
    const auto report = [kind](qreal space, bool follower) {
        card::ReportPages pages(QStringLiteral("頁"));
        pages.addSpace(space);
        if (kind == 0)
            pages.addHeading(QStringLiteral("HEAD"));
        else if (kind == 1)
            pages.addSubheading(QStringLiteral("HEAD"));
        pages.addTable({kind == 2 ? QStringLiteral("HEAD") : QStringLiteral("T")}, {1},
                       follower ? 1 : 0, [](qsizetype) { return QStringList{"ROW"}; });
        return pages;
    };
    qreal space = 0;
    while (report(space + 1, false).a4PageCount() == 1)
        ++space;
    card::test::TempSite site;
    const QString pdf = site.filePath(QStringLiteral("heading.pdf"));
    QVERIFY(card::writeReportPdf(report(space, true), pdf, {}).ok());
    QCOMPARE(card::test::pdfPageCount(pdf), 2);
    QVERIFY(!card::test::pdfText(pdf, 1).contains(QStringLiteral("HEAD")));
    QVERIFY(card::test::pdfText(pdf, 2).contains(QStringLiteral("HEAD")));
}

// What the card history window prints: its days, with each swipe's small picture.
void TestReportWindows::historyJobPrintsWithPictures()
{
    card::test::TempSite site;
    site.write(QStringLiteral("records/2007-5-3.txt"),
               card::test::big5(QStringLiteral("08:15:30,\"00012345\",\"陳怡君\",\"進\"\r\n"
                                               "09:01:45,\"00012345\",\"陳怡君\",\"出\"\r\n")));
    for (const char* photo : {"00012345-070503-081530-C.jpg", "00012345-070503-090145-C.jpg"})
        site.write(QStringLiteral("photos/") + QLatin1String(photo),
                   card::test::jpegBytes(Qt::darkCyan, QSize(640, 480)));
    card::HistoryQuery query;
    query.text = QStringLiteral("00012345");
    query.end = QDate(2007, 5, 3);
    query.dayCount = 7;
    query.recordsFolder = site.filePath(QStringLiteral("records"));
    query.photoFolder = site.filePath(QStringLiteral("photos"));
    const QString pdf = site.filePath(QStringLiteral("history.pdf"));
    QWidget window;
    ModalScript script;
    script.then(printTo(pdf));
    card::printReport(
        &window,
        card::historyReportJob(query, card::readCardHistory(query), [](const card::Swipe& swipe) {
            return card::swipeThumbnail(swipe, card::kHistoryPictureSize);
        }));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(pdf).size() > 0 && script.pending() == 0, 20000);
    const QString text = card::test::pdfText(pdf);
    for (const char* expected :
         {"卡片刷卡歷程", "無紀錄檔日數：6", "各次刷卡影像", "08:15:30 進", "09:01:45 出"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    QCOMPARE(
        card::test::popplerRows(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).size(),
        2);
}

QTEST_MAIN(TestReportWindows)
#include "tst_report_windows.moc"
