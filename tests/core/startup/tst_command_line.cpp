// The command line: every valid form and the one error line of every malformed one.
#include "core/startup/command_line.h"

#include <QTest>

using card::CommandLine;
using card::DirectionChoice;

Q_DECLARE_METATYPE(CommandLine::Kind)

namespace {

// The options as one comparable line: file|date|card|direction, "-" for an option not given,
// then |history and its days when the card history was asked for, and |live when the live
// view was.
QString describe(const card::StartupOptions& options)
{
    const QString direction = !options.direction                           ? "-"
                              : *options.direction == DirectionChoice::In  ? "in"
                              : *options.direction == DirectionChoice::Out ? "out"
                                                                           : "all";
    return options.parameterFile + u'|' +
           (options.date ? options.date->toString(Qt::ISODate) : QStringLiteral("-")) + u'|' +
           options.card.value_or(QStringLiteral("-")) + u'|' + direction +
           (options.history ? QStringLiteral("|history %1").arg(options.days.value_or(0))
                            : QString()) +
           (options.live ? QStringLiteral("|live") : QString()) +
           (options.exceptions ? QStringLiteral("|exceptions") : QString());
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void forms_data();
    void forms();
    void helpNamesEveryOption();
    void versionIsTheBuildsVersion();
};

void TestCommandLine::forms_data()
{
    QTest::addColumn<QStringList>("arguments"); // after the program's name
    QTest::addColumn<CommandLine::Kind>("kind");
    QTest::addColumn<QString>("result"); // describe(options), or the error line

    const auto run = CommandLine::Kind::Run;
    const auto error = CommandLine::Kind::Error;
    QTest::newRow("nothing") << QStringList{} << run << "|-|-|-";
    QTest::newRow("file") << QStringList{"/srv/site/site.spf"} << run << "/srv/site/site.spf|-|-|-";
    QTest::newRow("relative file") << QStringList{"site.spf"} << run << "site.spf|-|-|-";
    QTest::newRow("everything") << QStringList{"--date", "2007-05-03", "--card", "00012345",
                                               "/srv/site/site.spf"}
                                << run << "/srv/site/site.spf|2007-05-03|00012345|-";
    QTest::newRow("file first, = form")
        << QStringList{"/srv/site/site.spf", "--date=2007-05-03", "--direction=out"} << run
        << "/srv/site/site.spf|2007-05-03|-|out";
    QTest::newRow("direction in") << QStringList{"--direction", "in", "a.spf"} << run
                                  << "a.spf|-|-|in";
    QTest::newRow("direction all")
        << QStringList{"--direction", "all", "a.spf"} << run << "a.spf|-|-|all";
    QTest::newRow("leap day") << QStringList{"--date", "2008-02-29", "a.spf"} << run
                              << "a.spf|2008-02-29|-|-";
    QTest::newRow("card with spaces")
        << QStringList{"--card", "A 12", "a.spf"} << run << "a.spf|-|A 12|-";
    QTest::newRow("live, the file from the dialog")
        << QStringList{"--live"} << run << "|-|-|-|live";
    QTest::newRow("file after --") << QStringList{"--", "--odd.spf"} << run << "--odd.spf|-|-|-";

    QTest::newRow("history of a card")
        << QStringList{"--history", "--card", "7", "a.spf"} << run << "a.spf|-|7|-|history 0";
    QTest::newRow("history of a year up to a day")
        << QStringList{"--history", "--card", "7", "--date", "2007-05-03", "--days", "365", "a.spf"}
        << run << "a.spf|2007-05-03|7|-|history 365";

    QTest::newRow("history without a card")
        << QStringList{"--history", "a.spf"} << error << "card_image: --history 需要 --card\n";
    QTest::newRow("days without history")
        << QStringList{"--card", "7", "--days", "7", "a.spf"} << error
        << "card_image: --days 需要 --history、--exceptions 或 --report\n";
    QTest::newRow("zero days") << QStringList{"--history", "--card", "7", "--days", "0", "a.spf"}
                               << error << "card_image: --days：天數須是 1 到 3660 的整數：0\n";
    QTest::newRow("month 13") << QStringList{"--date", "2007-13-40", "a.spf"} << error
                              << "card_image: --date：不是 YYYY-MM-DD 形式的日期：2007-13-40\n";
    QTest::newRow("no such day") << QStringList{"--date", "2007-02-29", "a.spf"} << error
                                 << "card_image: --date：不是 YYYY-MM-DD 形式的日期：2007-02-29\n";
    QTest::newRow("short form") << QStringList{"--date", "2007-5-3", "a.spf"} << error
                                << "card_image: --date：不是 YYYY-MM-DD 形式的日期：2007-5-3\n";
    QTest::newRow("slashes") << QStringList{"--date", "2007/05/03", "a.spf"} << error
                             << "card_image: --date：不是 YYYY-MM-DD 形式的日期：2007/05/03\n";
    QTest::newRow("date with trailing text")
        << QStringList{"--date", "2007-05-03x", "a.spf"} << error
        << "card_image: --date：不是 YYYY-MM-DD 形式的日期：2007-05-03x\n";
    QTest::newRow("date value missing")
        << QStringList{"a.spf", "--date"} << error << "card_image: --date 後面少了值\n";
    QTest::newRow("unknown option")
        << QStringList{"--colour", "a.spf"} << error << "card_image: 不認識的選項：--colour\n";
    QTest::newRow("sideways") << QStringList{"--direction", "sideways", "a.spf"} << error
                              << "card_image: --direction：只能是 in、out 或 all：sideways\n";
    QTest::newRow("capital IN") << QStringList{"--direction", "IN", "a.spf"} << error
                                << "card_image: --direction：只能是 in、out 或 all：IN\n";
    QTest::newRow("empty card") << QStringList{"--card", "", "a.spf"} << error
                                << "card_image: --card：卡號是空的\n";
    QTest::newRow("date twice") << QStringList{"--date", "2007-05-03", "--date", "2007-05-04",
                                               "a.spf"}
                                << error << "card_image: --date 只能給一次\n";
    QTest::newRow("date without file") << QStringList{"--date", "2007-05-03"} << error
                                       << "card_image: --date、--card、--direction 與 --report "
                                          "需要參數檔 PARAMETER_FILE\n";
    QTest::newRow("card without file") << QStringList{"--card", "1"} << error
                                       << "card_image: --date、--card、--direction 與 --report "
                                          "需要參數檔 PARAMETER_FILE\n";
    QTest::newRow("two files") << QStringList{"a.spf", "b.spf"} << error
                               << "card_image: 只能給一個參數檔 PARAMETER_FILE：a.spf, b.spf\n";
    QTest::newRow("empty file") << QStringList{""} << error
                                << "card_image: 參數檔 PARAMETER_FILE 是空的\n";
    const auto report = CommandLine::Kind::Report;
    QTest::newRow("day report") << QStringList{"--report", "a.pdf", "--date", "2007-05-03", "a.spf"}
                                << report << "a.spf|2007-05-03|-|-|a.pdf|-";
    QTest::newRow("history report")
        << QStringList{"--report", "h.PDF", "--card", "7", "--days", "30", "a.spf"} << report
        << "a.spf|-|7|-|h.PDF|30";
    QTest::newRow("report as text") << QStringList{"--report", "a.txt", "a.spf"} << error
                                    << "card_image: --report：檔名須以 .pdf 或 .csv 結尾：a.txt\n";
    QTest::newRow("days without card") << QStringList{"--report", "h.pdf", "--days", "3", "a.spf"}
                                       << error << "card_image: --days 需要 --card\n";
    QTest::newRow("history as CSV")
        << QStringList{"--report", "h.csv", "--card", "7", "--days", "3", "a.spf"} << error
        << "card_image: --days：卡片歷史只寫成 .pdf\n";
    QTest::newRow("exceptions of a week as CSV")
        << QStringList{"--report", "e.csv", "--exceptions", "--days", "7", "a.spf"} << report
        << "a.spf|-|-|-|exceptions|e.csv|7";
    QTest::newRow("exceptions beside a history")
        << QStringList{"--exceptions", "--history", "--card", "7", "a.spf"} << error
        << "card_image: --exceptions 與 --history 不能一起用\n";
    QTest::newRow("people inside at a moment")
        << QStringList{"--report",   "r.csv",  "--present", "--date",
                       "2007-05-03", "--time", "08:00:00",  "a.spf"}
        << report << "a.spf|2007-05-03|-|-|r.csv|-|present 08:00:00";
    QTest::newRow("present without report")
        << QStringList{"--present", "a.spf"} << error << "card_image: --present 需要 --report\n";
    QTest::newRow("time not hh:mm:ss")
        << QStringList{"--report", "r.csv", "--present", "--time", "8:00", "a.spf"} << error
        << "card_image: --time：不是 hh:mm:ss 形式的時間：8:00\n";
    QTest::newRow("present of one card")
        << QStringList{"--report", "r.csv", "--present", "--card", "7", "a.spf"} << error
        << "card_image: --present 列出在場的每個人：--card、--direction、--days 與 "
           "--history 不適用\n";
    QTest::newRow("case report, no site needed")
        << QStringList{"--report", "c.csv", "--case", "夜班", "--cases-db", "postgresql://a@h/d"}
        << report << "|-|-|-|c.csv|-|case 夜班 in postgresql://a@h/d";
    QTest::newRow("case without report") << QStringList{"--case", "夜班"} << error
                                         << "card_image: --case 需要 --report 或 --evidence\n";
    const auto evidence = CommandLine::Kind::Evidence;
    QTest::newRow("package of a case, no site")
        << QStringList{"--evidence", "p.zip", "--case", "夜班"} << evidence << "|-|-|-|p.zip|夜班";
    QTest::newRow("package of a case, a fallback site")
        << QStringList{"--evidence", "p.zip", "--case", "夜班", "a.spf"} << evidence
        << "a.spf|-|-|-|p.zip|夜班";
    QTest::newRow("package of a case with a card")
        << QStringList{"--evidence", "p.zip", "--case", "夜班", "--card", "7", "a.spf"} << error
        << "card_image: --evidence --case 不取日期、卡號、方向或時間\n";
    QTest::newRow("case report with a day")
        << QStringList{"--report", "c.pdf", "--case", "夜班", "--date", "2007-05-03"} << error
        << "card_image: --case：案件的報表不取參數檔、日期、卡號或方向\n";
    QTest::newRow("ten years of history")
        << QStringList{"--history", "--card", "7", "--days", "3660", "a.spf"} << run
        << "a.spf|-|7|-|history 3660";
    QTest::newRow("line break in a value")
        << QStringList{"--direction", "up\ndown", "a.spf"} << error
        << "card_image: --direction：只能是 in、out 或 all：up down\n";
}

void TestCommandLine::forms()
{
    QFETCH(QStringList, arguments);
    QFETCH(CommandLine::Kind, kind);
    QFETCH(QString, result);
    const CommandLine line = card::parseCommandLine(QStringList{"card_image"} + arguments);
    QCOMPARE(line.kind, kind);
    if (kind == CommandLine::Kind::Run) {
        QCOMPARE(describe(line.options), result);
        QVERIFY(line.text.isEmpty());
    } else if (kind == CommandLine::Kind::Report) {
        const QString days = line.options.days ? QString::number(*line.options.days) : "-";
        const QString present =
            line.report.present
                ? QStringLiteral("|present ") + line.report.time.value_or(QTime()).toString()
                : QString();
        const QString caseReport =
            line.report.caseName.isEmpty()
                ? QString()
                : "|case " + line.report.caseName + " in " + line.casesDatabase;
        QCOMPARE(describe(line.options) + u'|' + line.report.file + u'|' + days + present +
                     caseReport,
                 result);
        QVERIFY(line.text.isEmpty());
    } else if (kind == CommandLine::Kind::Evidence) {
        QCOMPARE(describe(line.options) + u'|' + line.evidence.package + u'|' +
                     line.evidence.caseName,
                 result);
    } else {
        QCOMPARE(line.text, result);
        QCOMPARE(line.text.count(u'\n'), 1);
    }
}

void TestCommandLine::helpNamesEveryOption()
{
    for (const char* option : {"--help", "-h"}) {
        const CommandLine line =
            card::parseCommandLine({"card_image", QString::fromLatin1(option)});
        QCOMPARE(line.kind, CommandLine::Kind::Help);
        QVERIFY(line.text.startsWith("Usage: card_image [options] [PARAMETER_FILE]\n"));
        for (const char* name : {"--date", "--card", "--direction", "--history", "--days", "--live",
                                 "--report", "--present", "--time", "--case", "--cases-db",
                                 "--evidence", "--verify", "--version", "PARAMETER_FILE"})
            QVERIFY2(line.text.contains(QLatin1String(name)), name);
    }
    // Help wins over a malformed value: the operator asked how it is written.
    QCOMPARE(card::parseCommandLine({"card_image", "--date", "x", "--help"}).kind,
             CommandLine::Kind::Help);
}

void TestCommandLine::versionIsTheBuildsVersion()
{
    const CommandLine line = card::parseCommandLine({"card_image", "--version"});
    QCOMPARE(line.kind, CommandLine::Kind::Version);
    QCOMPARE(line.text, QStringLiteral("card_image " CARD_IMAGE_VERSION "\n"));
    QCOMPARE(card::programVersion(), QStringLiteral(CARD_IMAGE_VERSION));
    QVERIFY(!card::programVersion().isEmpty());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
