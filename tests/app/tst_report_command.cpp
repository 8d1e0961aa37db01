// card_image --report run as a process with no display, its PDF read back with poppler's tools.
#include "core/cases/case_store.h"
#include "core/cases/trail_actions.h"
#include "core/parameters/parameter_table.h"
#include "support/pdf_reading.h"
#include "support/temp_site.h"

#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

QByteArray parameterFile(const QString& records, const QString& photos)
{
    QByteArray bytes;
    for (int i = 0; i < card::kParameterCount; ++i) {
        const QString value = i == card::kRecordsFolderSlot ? records
                              : i == card::kPhotoFolderSlot ? photos
                                                            : QStringLiteral("p%1").arg(i);
        bytes += '"' + value.toUtf8() + "\"\r\n";
    }
    return bytes;
}

struct Run {
    int status = -1;
    QString error;
    QString output;
};

// The program with neither a display nor a platform named, unless extra names one.
Run runProgram(const QStringList& arguments, const QStringList& extra = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    for (const QString& pair : extra)
        environment.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(CARD_IMAGE_PROGRAM), arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError()),
            QString::fromUtf8(process.readAllStandardOutput())};
}

} // namespace

class TestReportCommand : public QObject {
    Q_OBJECT
private slots:
    void init();
    void outcomes_data();
    void outcomes();
    void dayListPdf_data();
    void dayListPdf();
    void historyPdf_data();
    void historyPdf();
    void windowsFolders_data();
    void windowsFolders();
    void exceptionsCsv();
    void caseCsvIsRecordedInTheTrail();
    void evidencePackage();
    void casePackageIsReadAtTheGivenSite();

private:
    QString dayFile(int rows) const;
    std::unique_ptr<card::test::TempSite> m_site;
    QString m_spf;
};

void TestReportCommand::init()
{
    m_site = std::make_unique<card::test::TempSite>();
    const QString records = m_site->makeFolder(QStringLiteral("records"));
    m_spf = m_site->write(QStringLiteral("site.spf"),
                          parameterFile(records, m_site->makeFolder(QStringLiteral("photos"))));
    m_site->write(QStringLiteral("records/2007-5-3.txt"), card::test::big5(dayFile(3)));
}

// rows swipes of one card, then one of another: 00012345 陳怡君 in and out, 00067890 林志明.
QString TestReportCommand::dayFile(int rows) const
{
    QString text;
    for (int i = 0; i < rows; ++i)
        text += QStringLiteral("08:%1:%2,\"00012345\",\"陳怡君\",\"%3\"\r\n")
                    .arg(i / 60 % 60, 2, 10, QChar(u'0'))
                    .arg(i % 60, 2, 10, QChar(u'0'))
                    .arg(i % 2 == 0 ? QStringLiteral("進") : QStringLiteral("出"));
    return text + QStringLiteral("17:00:00,\"00067890\",\"林志明\",\"出\"\r\n");
}

void TestReportCommand::outcomes_data()
{
    QTest::addColumn<QString>("target"); // inside the site's folder
    QTest::addColumn<QString>("date");
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("parameterFile"); // in the site's folder; empty: the site's own
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error"); // in the one line on standard error; empty: none

    const QStringList none;
    QTest::newRow("written as PDF") << "out.pdf"
                                    << "2007-05-03" << none << QString() << 0 << QString();
    QTest::newRow("written as CSV") << "out.csv"
                                    << "2007-05-03" << none << QString() << 0 << QString();
    QTest::newRow("written though a missing display is asked for")
        << "out.pdf"
        << "2007-05-03" << QStringList{"QT_QPA_PLATFORM=xcb", "DISPLAY=:99"} << QString() << 0
        << QString();
    QTest::newRow("target in the records folder refused")
        << "records/out.pdf"
        << "2007-05-03" << none << QString() << 1 << "不可寫入紀錄資料夾";
    QTest::newRow("missing day") << "out.pdf"
                                 << "2007-05-04" << none << QString() << 1 << "紀錄不存在";
    QTest::newRow("parameter file missing")
        << "out.pdf"
        << "2007-05-03" << none << "none.spf" << 1 << "參數檔無法讀取";
}

void TestReportCommand::outcomes()
{
    QFETCH(QString, target);
    QFETCH(QString, date);
    QFETCH(QStringList, environment);
    QFETCH(QString, parameterFile);
    QFETCH(int, status);
    QFETCH(QString, error);

    const QString path = m_site->filePath(target);
    const Run run = runProgram({QStringLiteral("--report"), path, QStringLiteral("--date"), date,
                                parameterFile.isEmpty() ? m_spf : m_site->filePath(parameterFile)},
                               environment);
    QCOMPARE(run.status, status);
    QCOMPARE(QFileInfo::exists(path), status == 0);
    if (error.isEmpty()) {
        QCOMPARE(run.error, QString());
    } else {
        QCOMPARE(run.error.count(u'\n'), 1);
        QVERIFY2(run.error.contains(error), qPrintable(run.error));
    }
}

void TestReportCommand::dayListPdf_data()
{
    QTest::addColumn<int>("rows"); // of the filtered card, in the day file
    QTest::addColumn<QString>("direction");
    QTest::addColumn<QString>("directionShown");
    QTest::addColumn<int>("listed");

    QTest::newRow("one page, in only") << 4 << "in"
                                       << "進" << 2;
    QTest::newRow("several pages, all") << 300 << "all"
                                        << "全選" << 300;
}

void TestReportCommand::dayListPdf()
{
    QFETCH(int, rows);
    QFETCH(QString, direction);
    QFETCH(QString, directionShown);
    QFETCH(int, listed);

    m_site->write(QStringLiteral("records/2007-5-3.txt"), card::test::big5(dayFile(rows)));
    const QString pdf = m_site->filePath(QStringLiteral("list.pdf"));
    QCOMPARE(
        runProgram({QStringLiteral("--report"), pdf, QStringLiteral("--date"),
                    QStringLiteral("2007-05-03"), QStringLiteral("--card"),
                    QStringLiteral("00012345"), QStringLiteral("--direction"), direction, m_spf})
            .status,
        0);

    const QString first = card::test::pdfText(pdf, 1);
    for (const QString& expected :
         {QStringLiteral("刷卡紀錄清單"), "參數檔：" + m_spf,
          "紀錄資料夾：" + m_site->filePath(QStringLiteral("records")),
          QStringLiteral("日期：2007-05-03"), QStringLiteral("卡號：00012345"),
          QStringLiteral("進出：") + directionShown, QStringLiteral("筆數：%1").arg(listed),
          QStringLiteral("08:00:00"), QStringLiteral("陳怡君")})
        QVERIFY2(first.contains(expected), qPrintable(expected + u'\n' + first));
    const int pages = card::test::pdfPageCount(pdf);
    QString all;
    for (int page = 1; page <= pages; ++page) {
        const QString text = card::test::pdfText(pdf, page);
        QVERIFY2(text.contains(QStringLiteral("刷卡影像資料查詢")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("第 %1 頁，共 %2 頁").arg(page).arg(pages)),
                 qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("姓名")), qPrintable(text)); // the heading, again
        QVERIFY2(text.contains(QStringLiteral("製表時間 ")), qPrintable(text));
        // Every page names the day; the continuation pages repeat the filters under the title.
        QVERIFY2(text.contains(QStringLiteral("日期：2007-05-03")), qPrintable(text));
        QVERIFY2(text.contains("進出：" + directionShown + "（續）") == (page > 1),
                 qPrintable(text));
        all += text;
    }
    QCOMPARE(all.count(QStringLiteral("陳怡君")), listed);
    QVERIFY(!all.contains(QStringLiteral("林志明")));
    QCOMPARE(pages > 1, rows > 100);
    const QStringList fonts = card::test::popplerRows(QStringLiteral("pdffonts"), {pdf});
    QVERIFY(!fonts.isEmpty());
    for (const QString& font : fonts) // name, type, encoding, then embedded: yes
        QVERIFY2(font.contains(QRegularExpression(QStringLiteral("\\syes\\s"))), qPrintable(font));
}

void TestReportCommand::historyPdf_data()
{
    QTest::addColumn<QStringList>("asked"); // what asks for the history
    QTest::addColumn<QString>("period");
    QTest::addColumn<int>("missingDays");
    QTest::addColumn<QString>("emptyDays"); // as the hour map says them, one row
    QTest::newRow("days") << QStringList{"--days", "2"} << "2007-05-02 至 2007-05-03（2 天）" << 1
                          << "05-02\\s+無紀錄檔";
    QTest::newRow("history, days by default")
        << QStringList{"--history"} << "2007-04-04 至 2007-05-03（30 天）" << 28
        << "05-02\\s+至 04-04.無刷卡（29 天，其中無紀錄檔 28 天）";
}

void TestReportCommand::historyPdf()
{
    QFETCH(QStringList, asked);
    QFETCH(QString, period);
    QFETCH(int, missingDays);
    QFETCH(QString, emptyDays);
    m_site->write(QStringLiteral("records/2007-5-3.txt"), card::test::big5(dayFile(4)));
    m_site->write(QStringLiteral("records/2007-5-1.txt"), card::test::big5(dayFile(0)));
    const QString pdf = m_site->filePath(QStringLiteral("history.pdf"));
    QCOMPARE(runProgram(QStringList{QStringLiteral("--report"), pdf, QStringLiteral("--date"),
                                    QStringLiteral("2007-05-03"), QStringLiteral("--card"),
                                    QStringLiteral("00012345"), m_spf} +
                        asked)
                 .status,
             0);
    const QString text = card::test::pdfText(pdf, 1);
    for (const QString& expected :
         {QStringLiteral("卡片刷卡歷程"), QStringLiteral("卡號：00012345"), "期間：" + period,
          QStringLiteral("無紀錄檔日數：%1").arg(missingDays), QStringLiteral("無紀錄檔"),
          QStringLiteral("陳怡君"), QStringLiteral("每小時刷卡次數"),
          QStringLiteral("第 1 頁，共")})
        QVERIFY2(text.contains(expected), qPrintable(expected));
    const QString all = card::test::popplerOutput(QStringLiteral("pdftotext"),
                                                  {QStringLiteral("-layout"), pdf, "-"});
    QVERIFY2(all.contains(QRegularExpression(emptyDays)), qPrintable(all));
    QVERIFY(!text.contains(QStringLiteral("林志明")));
}

// A site whose parameter file names its folders the Windows way, its copy here under site/Site.
void TestReportCommand::windowsFolders_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("date");
    QTest::addColumn<bool>("mapped"); // --map D:\Site=<the site's folder>
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error"); // with the site's folder as %1

    QTest::newRow("read through --map, folders found without case")
        << "out.pdf"
        << "2007-05-03" << true << 0 << QString();
    QTest::newRow("mapped records folder refused as target")
        << "site/records/out.pdf"
        << "2007-05-03" << true << 1 << "不可寫入紀錄資料夾";
    QTest::newRow("missing day names both forms")
        << "out.pdf"
        << "2007-05-04" << true << 1
        << "紀錄不存在：D:\\Site\\Records\\2007-5-4.txt（本機：%1/site/records/2007-5-4.txt）";
    QTest::newRow("unmapped folder named with --map")
        << "out.pdf"
        << "2007-05-03" << false << 1
        << "D:\\Site\\Records、D:\\Site\\Photos 沒有對應的本機資料夾；請以 --map";
}

void TestReportCommand::windowsFolders()
{
    QFETCH(QString, target);
    QFETCH(QString, date);
    QFETCH(bool, mapped);
    QFETCH(int, status);
    QFETCH(QString, error);

    m_site->write(QStringLiteral("site/records/2007-5-3.txt"), card::test::big5(dayFile(3)));
    m_site->makeFolder(QStringLiteral("site/photos"));
    const QString spf =
        m_site->write(QStringLiteral("win.spf"), parameterFile(QStringLiteral("D:\\Site\\Records"),
                                                               QStringLiteral("D:\\Site\\Photos")));
    QStringList arguments{QStringLiteral("--report"), m_site->filePath(target),
                          QStringLiteral("--date"), date, spf};
    if (mapped)
        arguments << QStringLiteral("--map")
                  << QStringLiteral("d:\\site=") + m_site->filePath(QStringLiteral("site"));
    const Run run = runProgram(arguments, {QStringLiteral("XDG_CONFIG_HOME=") + m_site->path()});
    QCOMPARE(run.status, status);
    QVERIFY2(run.error.contains(error.replace(QStringLiteral("%1"), m_site->path())),
             qPrintable(run.error));
}

void TestReportCommand::exceptionsCsv()
{
    const QString csv = m_site->filePath(QStringLiteral("exceptions.csv"));
    QCOMPARE(runProgram({QStringLiteral("--report"), csv, QStringLiteral("--exceptions"),
                         QStringLiteral("--date"), QStringLiteral("2007-05-03"), m_spf})
                 .status,
             0);
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(),
             QStringLiteral("\uFEFF日期,時間,卡號,姓名,進出,異常\r\n"
                            "2007-05-03,17:00:00,\"00067890\",林志明,出,無進先出（2007-05-02 "
                            "無紀錄檔）\r\n"
                            "2007-05-03,08:00:02,\"00012345\",陳怡君,進,有進無出（2007-05-04 "
                            "無紀錄檔）\r\n"
                            "2007-05-03,08:00:02,\"00012345\",陳怡君,進,連續刷卡\r\n")
                 .toUtf8());
}

void TestReportCommand::caseCsvIsRecordedInTheTrail()
{
    const QString store = m_site->filePath(QStringLiteral("cases.sqlite"));
    QString error;
    card::CaseSwipe swipe;
    swipe.day = QDate(2007, 5, 3);
    swipe.time = QStringLiteral("02:47:10");
    swipe.card = QStringLiteral("00012345");
    swipe.note = QStringLiteral("不是持卡人");
    QVERIFY(card::CaseStore::open(card::parseStoreLocation(store), card::currentOperator(), error)
                ->addSwipe(QStringLiteral("夜班"), swipe));
    const QString csv = m_site->filePath(QStringLiteral("case.csv"));
    QCOMPARE(runProgram({QStringLiteral("--report"), csv, QStringLiteral("--case"),
                         QStringLiteral("夜班"), QStringLiteral("--cases-db"), store})
                 .status,
             0);
    QFile written(csv);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(written.readAll())
                .contains(QStringLiteral("2007-05-03,02:47:10,\"00012345\",,,不是持卡人")));
    const QList<card::TrailEntry> exports =
        card::CaseStore::open(card::parseStoreLocation(store), card::currentOperator(), error)
            ->trail({QStringLiteral("夜班"), {}, card::trail::kExported, {}});
    QCOMPARE(exports.size(), 1);
    QVERIFY(exports[0].details.contains(csv));
    QCOMPARE(runProgram({QStringLiteral("--report"), csv, QStringLiteral("--case"),
                         QStringLiteral("無此案"), QStringLiteral("--cases-db"), store})
                 .status,
             1);
}

// A package written without a display is checked by sha256sum alone and by --verify.
void TestReportCommand::evidencePackage()
{
    m_site->write(QStringLiteral("photos/00012345-070503-080001-C.jpg"), "\xFF\xD8 a photo");
    const QString zip = m_site->filePath(QStringLiteral("evidence.zip"));
    const Run made =
        runProgram({QStringLiteral("--evidence"), zip, QStringLiteral("--date"),
                    QStringLiteral("2007-05-03"), QStringLiteral("--card"),
                    QStringLiteral("00012345"), QStringLiteral("--with-day-files"), m_spf});
    QCOMPARE(made.error, QString());
    QCOMPARE(made.status, 0);
    const QString unpacked = m_site->makeFolder(QStringLiteral("unpacked"));
    QCOMPARE(QProcess::execute(QStringLiteral("unzip"),
                               {QStringLiteral("-q"), zip, QStringLiteral("-d"), unpacked}),
             0);
    QProcess check;
    check.setWorkingDirectory(unpacked);
    check.start(QStringLiteral("sha256sum"),
                {QStringLiteral("-c"), QStringLiteral("manifest.sha256")});
    QVERIFY(check.waitForFinished());
    const QString checked = QString::fromUtf8(check.readAllStandardOutput());
    QCOMPARE(check.exitCode(), 0);
    for (const char* file :
         {"photos/00012345-070503-080001-C.jpg: OK", "records/2007-5-3-lines.txt: OK",
          "records/2007-5-3.txt: OK", "report.pdf: OK", "manifest.json: OK"})
        QVERIFY2(checked.contains(QLatin1String(file)), qPrintable(checked));
    QVERIFY(card::test::pdfText(unpacked + QStringLiteral("/report.pdf"), 1)
                .contains(QStringLiteral("證據包報表")));
    const Run verified = runProgram({QStringLiteral("--verify"), zip});
    QCOMPARE(verified.status, 0);
    QCOMPARE(verified.output, QStringLiteral("完整\n"));
}

// A case whose swipe kept no site folders is packed from the parameter file given, and the
// package is in the trail with the SHA-256 sha256sum gives for it.
void TestReportCommand::casePackageIsReadAtTheGivenSite()
{
    m_site->write(QStringLiteral("photos/00012345-070503-080001-C.jpg"), "\xFF\xD8 a photo");
    const QString store = m_site->filePath(QStringLiteral("package-cases.sqlite"));
    card::CaseSwipe swipe;
    swipe.sitePath = QStringLiteral("/gone/site.spf");
    swipe.day = QDate(2007, 5, 3);
    swipe.time = QStringLiteral("08:00:01");
    swipe.card = QStringLiteral("00012345");
    swipe.note = QStringLiteral("不是持卡人");
    QString error;
    QVERIFY(card::CaseStore::open(card::parseStoreLocation(store), card::currentOperator(), error)
                ->addSwipe(QStringLiteral("夜班"), swipe));
    const QString zip = m_site->filePath(QStringLiteral("case.zip"));
    const Run made =
        runProgram({QStringLiteral("--evidence"), zip, QStringLiteral("--case"),
                    QStringLiteral("夜班"), QStringLiteral("--cases-db"), store, m_spf});
    QCOMPARE(made.error, QString());
    QCOMPARE(made.status, 0);
    QProcess list;
    list.start(QStringLiteral("unzip"), {QStringLiteral("-l"), zip});
    QVERIFY(list.waitForFinished());
    QVERIFY(list.readAllStandardOutput().contains("photos/00012345-070503-080001-C.jpg"));
    QProcess sum;
    sum.start(QStringLiteral("sha256sum"), {zip});
    QVERIFY(sum.waitForFinished());
    const QString hash = QString::fromLatin1(sum.readAllStandardOutput().left(64));
    const QList<card::TrailEntry> packaged =
        card::CaseStore::open(card::parseStoreLocation(store), card::currentOperator(), error)
            ->trail({QStringLiteral("夜班"), {}, card::trail::kEvidencePackaged, {}});
    QCOMPARE(packaged.size(), 1);
    QVERIFY2(packaged[0].details.contains(hash), qPrintable(packaged[0].details));
}

QTEST_GUILESS_MAIN(TestReportCommand)
#include "tst_report_command.moc"
