#include "core/startup/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QRegularExpression>

namespace card {

using namespace Qt::StringLiterals;

namespace {

const QString kProgram = QStringLiteral("card_image");

CommandLine failure(const QString& problem)
{
    CommandLine result;
    result.kind = CommandLine::Kind::Error;
    // One line: a value holding a line break must not split it.
    QString line = kProgram + QStringLiteral(": ") + problem;
    line.replace(u'\n', u' ').replace(u'\r', u' ');
    result.text = line + u'\n';
    return result;
}

// A real date written exactly as YYYY-MM-DD.
std::optional<QDate> strictDate(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(),
                     match.captured(3).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

// A real time of day written exactly as hh:mm:ss.
std::optional<QTime> strictTime(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^\\d{2}:\\d{2}:\\d{2}$"));
    const QTime time = QTime::fromString(text, QStringLiteral("HH:mm:ss"));
    if (!form.match(text).hasMatch() || !time.isValid())
        return std::nullopt;
    return time;
}

std::optional<DirectionChoice> direction(const QString& text)
{
    if (text == u"in")
        return DirectionChoice::In;
    if (text == u"out")
        return DirectionChoice::Out;
    if (text == u"all")
        return DirectionChoice::All;
    return std::nullopt;
}

// --report FILE, and the card's history when --days or --history is given; a problem in them
// as the error line's text.
std::optional<QString> readReportOptions(const QString& file, const StartupOptions& options,
                                         ReportOptions& report)
{
    report.file = file;
    const QString suffix = file.section(u'.', -1).toLower();
    if (!file.contains(u'.') || (suffix != u"pdf" && suffix != u"csv"))
        return QStringLiteral("--report：檔名須以 .pdf 或 .csv 結尾：") + file;
    if (report.present) {
        if (options.card || options.direction || options.days || options.history)
            return QStringLiteral("--present 列出在場的每個人：--card、--direction、--days 與 "
                                  "--history 不適用");
        return std::nullopt;
    }
    if (options.exceptions || (!options.days && !options.history))
        return std::nullopt;
    if (!options.card)
        return QStringLiteral("--days 需要 --card");
    if (suffix != u"pdf")
        return QStringLiteral("--days：卡片歷史只寫成 .pdf");
    return std::nullopt;
}

// --map WINDOWS_FOLDER=LOCAL_FOLDER, split at its first '='; a problem as the error line's text.
std::optional<QString> readMapping(const QString& text, QList<FolderMapping>& mappings)
{
    const qsizetype equals = text.indexOf(u'=');
    const QString windowsFolder = text.left(equals);
    const QString local = equals < 0 ? QString() : text.mid(equals + 1);
    if (!isWindowsFolder(windowsFolder) || local.isEmpty())
        return QStringLiteral("--map：應寫成 Windows資料夾=本機資料夾"
                              "（例如 --map 'D:\\Rec=/mnt/rec'）：") +
               text;
    mappings << FolderMapping{windowsFolder, local, MappingSource::CommandLine};
    return std::nullopt;
}

// --evidence FILE with its --time and --with-day-files; a problem in them as the error line's
// text.
std::optional<QString> readEvidenceOptions(const QString& file, const StartupOptions& options,
                                           EvidenceOptions& evidence)
{
    evidence.package = file;
    if (!file.endsWith(QStringLiteral(".zip"), Qt::CaseInsensitive))
        return QStringLiteral("--evidence：檔名須以 .zip 結尾：") + file;
    if (!evidence.caseName.isEmpty()) {
        if (options.queries() || evidence.time)
            return QStringLiteral("--evidence --case 不取日期、卡號、方向或時間");
        return std::nullopt;
    }
    if (!options.card)
        return QStringLiteral("--evidence 需要 --card 或 --case");
    return std::nullopt;
}

// The parser's own complaint (an unknown option, a missing or unexpected value), said in
// Chinese. Parsed before any translation is loaded, its words are Qt's English ones.
QString parseProblem(const QCommandLineParser& parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        const QString& name = unknown.first();
        const QString dashes = name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--");
        return QStringLiteral("不認識的選項：") + dashes + name;
    }
    static const QRegularExpression quoted(QStringLiteral("'(.*)'"));
    const QString text = parser.errorText();
    const QString option = quoted.match(text).captured(1);
    if (text.startsWith(u"Missing value"))
        return option + QStringLiteral(" 後面少了值");
    if (text.startsWith(u"Unexpected value"))
        return option + QStringLiteral(" 不取值");
    return text;
}

// Qt's own options, which the application takes out of the arguments itself, and whether a
// value follows each: the platform and its theme, the first window's geometry, title and icon,
// the X display, the widget style.
struct ToolkitOption {
    QLatin1StringView name;
    bool takesValue;
};
constexpr ToolkitOption kToolkitOptions[] = {
    {"-platform"_L1, true},        {"-platformpluginpath"_L1, true},
    {"-platformtheme"_L1, true},   {"-plugin"_L1, true},
    {"-qwindowgeometry"_L1, true}, {"-geometry"_L1, true},
    {"-qwindowtitle"_L1, true},    {"-title"_L1, true},
    {"-qwindowicon"_L1, true},     {"-icon"_L1, true},
    {"-display"_L1, true},         {"-name"_L1, true},
    {"-visual"_L1, true},          {"-session"_L1, true},
    {"-style"_L1, true},           {"-stylesheet"_L1, true},
    {"-reverse"_L1, false},        {"-sync"_L1, false},
    {"-nograb"_L1, false},         {"-dograb"_L1, false},
    {"-widgetcount"_L1, false},    {"-testability"_L1, false},
};

// Qt reads "--platform" as "-platform", and some options as "-style=NAME" too.
const ToolkitOption* toolkitOption(const QString& argument)
{
    QString name = argument.startsWith(u"--") ? argument.mid(1) : argument;
    name = name.section(u'=', 0, 0);
    for (const ToolkitOption& option : kToolkitOptions) {
        if (name == option.name)
            return &option;
    }
    return nullptr;
}

QString helpText()
{
    return QStringLiteral(
        "Usage: card_image [options] [PARAMETER_FILE]\n"
        "刷卡影像資料查詢: views the card-swipe records of a day and the photos of each "
        "swipe.\n"
        "\n"
        "Without PARAMETER_FILE the program asks for the site's parameter file (*.spf).\n"
        "With it, the file is loaded at once; --date, --card and --direction then run\n"
        "one query (the date is today unless given).\n"
        "\n"
        "Options:\n"
        "  -h, --help              Shows this help and exits.\n"
        "  -v, --version           Shows the version and exits.\n"
        "  --date <YYYY-MM-DD>     The day to list.\n"
        "  --card <NUMBER>         Lists the swipes of this card number only.\n"
        "  --direction <in|out|all>  Lists swipes in (進), out (出) or all (全選).\n"
        "  --live                  Opens the live view of today's swipes once the\n"
        "                          parameter file is read.\n"
        "  --history               With --card: opens the card history (本卡歷史) over the\n"
        "                          days up to --date instead of listing one day.\n"
        "  --exceptions            Opens the exceptions (異常刷卡) of the days up to --date;\n"
        "                          with --report, writes them (CSV or PDF) instead.\n"
        "  --days <N>              The card history's number of days, 1 to 3660 (30 unless\n"
        "                          given), or the exceptions' (1 unless given).\n"
        "  --report <FILE>         Writes the day's list (with the filters) to FILE and exits\n"
        "                          without a window: FILE.pdf as PDF, FILE.csv as CSV; with\n"
        "                          --card and --days (or --history), the card's history as PDF.\n"
        "  --map <WINDOWS_FOLDER=LOCAL_FOLDER>  Reads a folder the parameter file names the\n"
        "                          Windows way (D:\\Rec, \\\\SERVER\\SHARE) under a local\n"
        "                          folder; repeatable, the longest match wins.\n"
        "  --present               With --report: the people inside (card, name, entry time) as\n"
        "                          CSV, or the roll call with photos as PDF; now, or at --date\n"
        "                          and --time (the end of --date's day without --time).\n"
        "  --time <hh:mm:ss>       With --present: the moment's time of day.\n"
        "  --case <NAME>           With --report: writes the case NAME instead (PDF with each\n"
        "                          swipe's photo and note, or CSV of its swipes and notes);\n"
        "                          with --evidence: the package of the case's swipes, each\n"
        "                          read at its own site (PARAMETER_FILE, if given, where\n"
        "                          that site lost the day).\n"
        "  --cases-db <STORE>      The case store: postgresql://user@host[:port]/database for\n"
        "                          a team's server, or a SQLite file (the default is\n"
        "                          cases.sqlite in the user's data folder).\n"
        "  --evidence <FILE.zip>   With --card: writes the evidence package of the card's\n"
        "                          swipes on --date (today unless given) and exits: the\n"
        "                          photos and record lines as they are, a report and the\n"
        "                          hashes that check them.\n"
        "  --time <hh:mm:ss>       With --evidence: only the swipe at this time.\n"
        "  --with-day-files        With --evidence: each day file whole as well.\n"
        "  --verify <FILE.zip>     Checks an evidence package's files against its hashes:\n"
        "                          prints 完整 and exits 0 when all match, names each\n"
        "                          changed, missing or added file and exits 1, exits 2\n"
        "                          when FILE is no evidence package.\n"
        "\n"
        "Arguments:\n"
        "  PARAMETER_FILE          The site's parameter file.\n"
        "\n"
        "Exit status: 0; 1 when a report could not be written; 2 for a malformed command\n"
        "line.\n");
}

} // namespace

QStringList withoutToolkitOptions(const QStringList& arguments)
{
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const ToolkitOption* option = i == 0 ? nullptr : toolkitOption(arguments[i]);
        if (!option) {
            kept << arguments[i];
            continue;
        }
        if (option->takesValue && !arguments[i].contains(u'='))
            ++i;
    }
    return kept;
}

QString programVersion()
{
    return QStringLiteral(CARD_IMAGE_VERSION);
}

CommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version."));
    const QCommandLineOption date(QStringLiteral("date"), QStringLiteral("The day to list."),
                                  QStringLiteral("YYYY-MM-DD"));
    const QCommandLineOption card(QStringLiteral("card"), QStringLiteral("The card number."),
                                  QStringLiteral("NUMBER"));
    const QCommandLineOption way(QStringLiteral("direction"), QStringLiteral("in, out or all."),
                                 QStringLiteral("in|out|all"));
    const QCommandLineOption live(QStringLiteral("live"), QStringLiteral("The live view."));
    const QCommandLineOption history(QStringLiteral("history"),
                                     QStringLiteral("Opens the card history."));
    const QCommandLineOption exceptions(QStringLiteral("exceptions"),
                                        QStringLiteral("The exceptions of the days."));
    const QCommandLineOption days(QStringLiteral("days"),
                                  QStringLiteral("The card history's number of days."),
                                  QStringLiteral("N"));
    const QCommandLineOption report(QStringLiteral("report"),
                                    QStringLiteral("Writes a report to FILE."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption map(QStringLiteral("map"),
                                 QStringLiteral("Reads a Windows folder under a local folder."),
                                 QStringLiteral("WINDOWS_FOLDER=LOCAL_FOLDER"));
    const QCommandLineOption caseName(QStringLiteral("case"), QStringLiteral("The case to write."),
                                      QStringLiteral("NAME"));
    const QCommandLineOption casesDatabase(
        QStringLiteral("cases-db"), QStringLiteral("The case store."), QStringLiteral("STORE"));

    const QCommandLineOption present(QStringLiteral("present"),
                                     QStringLiteral("The people inside at a moment."));
    const QCommandLineOption time(QStringLiteral("time"),
                                  QStringLiteral("The moment's time, or the swipe's."),
                                  QStringLiteral("hh:mm:ss"));
    const QCommandLineOption evidence(QStringLiteral("evidence"),
                                      QStringLiteral("Writes an evidence package."),
                                      QStringLiteral("FILE"));
    const QCommandLineOption withDayFiles(QStringLiteral("with-day-files"),
                                          QStringLiteral("Packs the whole day files."));
    const QCommandLineOption verify(QStringLiteral("verify"),
                                    QStringLiteral("Checks an evidence package."),
                                    QStringLiteral("FILE"));
    parser.addOptions({help, version, date, card, way, live, history, exceptions, days, report, map,
                       present, time, caseName, casesDatabase, evidence, withDayFiles, verify});
    parser.addPositionalArgument(QStringLiteral("PARAMETER_FILE"),
                                 QStringLiteral("The site's parameter file."));

    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(withoutToolkitOptions(arguments)))
        return failure(parseProblem(parser));
    if (parser.isSet(help)) {
        CommandLine result;
        result.kind = CommandLine::Kind::Help;
        result.text = helpText();
        return result;
    }
    if (parser.isSet(version)) {
        CommandLine result;
        result.kind = CommandLine::Kind::Version;
        result.text = kProgram + u' ' + programVersion() + u'\n';
        return result;
    }

    CommandLine result;
    StartupOptions& options = result.options;
    if (parser.isSet(verify)) {
        result.kind = CommandLine::Kind::Verify;
        result.evidence.package = parser.value(verify);
        return result;
    }
    for (const QCommandLineOption* option :
         {&date, &card, &way, &days, &report, &time, &caseName, &casesDatabase, &evidence}) {
        const QStringList values = parser.values(*option);
        if (values.size() > 1)
            return failure(QStringLiteral("--%1 只能給一次").arg(option->names().first()));
    }
    if (parser.isSet(date)) {
        const QString text = parser.value(date);
        options.date = strictDate(text);
        if (!options.date)
            return failure(QStringLiteral("--date：不是 YYYY-MM-DD 形式的日期：") + text);
    }
    if (parser.isSet(card)) {
        const QString text = parser.value(card);
        if (text.isEmpty())
            return failure(QStringLiteral("--card：卡號是空的"));
        options.card = text;
    }
    if (parser.isSet(way)) {
        const QString text = parser.value(way);
        options.direction = direction(text);
        if (!options.direction)
            return failure(QStringLiteral("--direction：只能是 in、out 或 all：") + text);
    }
    options.history = parser.isSet(history);
    if (options.history && !options.card)
        return failure(QStringLiteral("--history 需要 --card"));
    options.exceptions = parser.isSet(exceptions);
    if (options.exceptions && options.history)
        return failure(QStringLiteral("--exceptions 與 --history 不能一起用"));
    if (parser.isSet(days)) {
        if (!options.history && !options.exceptions && !parser.isSet(report))
            return failure(QStringLiteral("--days 需要 --history、--exceptions 或 --report"));
        bool number = false;
        const int count = parser.value(days).toInt(&number);
        if (!number || count < 1 || count > kMaxDays)
            return failure(QStringLiteral("--days：天數須是 1 到 %1 的整數：").arg(kMaxDays) +
                           parser.value(days));
        options.days = count;
    }

    result.report.present = parser.isSet(present);
    if (result.report.present && !parser.isSet(report))
        return failure(QStringLiteral("--present 需要 --report"));
    if (parser.isSet(time)) {
        if (!result.report.present && !parser.isSet(evidence))
            return failure(QStringLiteral("--time 需要 --present 或 --evidence"));
        result.report.time = strictTime(parser.value(time));
        if (!result.report.time)
            return failure(QStringLiteral("--time：不是 hh:mm:ss 形式的時間：") +
                           parser.value(time));
    }
    if (parser.isSet(report)) {
        const std::optional<QString> problem =
            readReportOptions(parser.value(report), options, result.report);
        if (problem)
            return failure(*problem);
        result.kind = CommandLine::Kind::Report;
    }
    const QString caseText = parser.value(caseName).trimmed();
    if (parser.isSet(caseName) && caseText.isEmpty())
        return failure(QStringLiteral("--case：案件名稱是空的"));
    if (parser.isSet(evidence)) {
        result.evidence.caseName = caseText;
        if (parser.isSet(time))
            result.evidence.time = parser.value(time);
        result.evidence.withDayFiles = parser.isSet(withDayFiles);
        const std::optional<QString> problem =
            readEvidenceOptions(parser.value(evidence), options, result.evidence);
        if (problem)
            return failure(*problem);
        result.kind = CommandLine::Kind::Evidence;
    } else if (parser.isSet(withDayFiles)) {
        return failure(QStringLiteral("--with-day-files 需要 --evidence"));
    }
    options.live = parser.isSet(live);
    for (const QString& mapping : parser.values(map)) {
        if (const std::optional<QString> problem = readMapping(mapping, options.mappings))
            return failure(*problem);
    }
    result.casesDatabase = parser.value(casesDatabase);
    if (parser.isSet(caseName) && !parser.isSet(evidence)) {
        result.report.caseName = caseText;
        if (!parser.isSet(report))
            return failure(QStringLiteral("--case 需要 --report 或 --evidence"));
        if (options.queries() || options.live || !parser.positionalArguments().isEmpty())
            return failure(QStringLiteral("--case：案件的報表不取參數檔、日期、卡號"
                                          "或方向"));
        return result;
    }

    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return failure(QStringLiteral("只能給一個參數檔 PARAMETER_FILE：") +
                       files.join(QStringLiteral(", ")));
    if (files.size() == 1) {
        if (files.first().isEmpty())
            return failure(QStringLiteral("參數檔 PARAMETER_FILE 是空的"));
        options.parameterFile = files.first();
    } else if (options.queries() ||
               (result.kind != CommandLine::Kind::Run && result.evidence.caseName.isEmpty())) {
        return failure(
            QStringLiteral("--date、--card、--direction 與 --report 需要參數檔 PARAMETER_FILE"));
    }
    return result;
}

} // namespace card
