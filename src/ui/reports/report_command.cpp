#include "ui/reports/report_command.h"

#include "core/cases/case_store.h"
#include "core/cases/trail_actions.h"
#include "core/parameters/parameter_table.h"
#include "core/platform/file_exists.h"
#include "core/platform/safe_write.h"
#include "core/platform/site_folders.h"
#include "core/records/day_file_words.h"
#include "core/records/exception_export.h"
#include "core/records/presence.h"
#include "core/records/record_export.h"
#include "core/records/record_file.h"
#include "core/records/record_reader.h"
#include "ui/common/folder_mapping_texts.h"
#include "ui/common/results_export.h"
#include "ui/common/swipe_pictures/swipe_picture_work.h"
#include "ui/reports/case_report.h"
#include "ui/reports/day_list_report.h"
#include "ui/reports/exceptions_report.h"
#include "ui/reports/history_report.h"
#include "ui/reports/report_output.h"
#include "ui/reports/report_texts.h"
#include "ui/reports/roll_call_report.h"

#include <QDir>

namespace card {

ReportCommandOutcome commandFailed(const QString& problem)
{
    QString line = QStringLiteral("card_image: ") + problem;
    line.replace(u'\n', u' ').replace(u'\r', u' ');
    return {kReportFailedExitStatus, line + u'\n'};
}

QString withPath(const QString& message, const QString& path)
{
    return message + report_texts::kFieldSeparator + QDir::toNativeSeparators(path);
}

QString withDayFile(const QString& message, const QString& recordsFolder, QDate day)
{
    return message + report_texts::kFieldSeparator +
           siteFileText(recordsFolder, recordFileName(day));
}

std::optional<ReportCommandOutcome> readCommandSite(const QString& parameterFile,
                                                    ParameterTable& parameters)
{
    if (!readParameterFile(parameterFile, parameters))
        return commandFailed(withPath(report_texts::kParameterFileUnreadable, parameterFile));
    // Nobody is there to ask which local folder stands for a Windows folder.
    const QStringList unmapped =
        unmappedWindowsFolders({parameters[kRecordsFolderSlot], parameters[kPhotoFolderSlot]});
    if (!unmapped.isEmpty())
        return commandFailed(mapping_texts::unmappedLine(unmapped));
    return std::nullopt;
}

namespace {

RecordCriteria criteriaOf(const StartupOptions& options)
{
    RecordCriteria criteria;
    criteria.cardFilterOn = options.card.has_value();
    criteria.cardText = options.card.value_or(QString());
    criteria.direction = options.direction.value_or(DirectionChoice::All);
    return criteria;
}

ReportCommandOutcome written(const SafeWriteResult& result)
{
    if (result.ok())
        return {};
    return commandFailed(safeWriteMessage(result));
}

ReportCommandOutcome writeDayList(const ParameterTable& parameters, const StartupOptions& options,
                                  const QString& target)
{
    DayListRequest request;
    request.day = options.date.value_or(QDate::currentDate());
    request.criteria = criteriaOf(options);
    request.parameterFile = options.parameterFile;
    const QString& records = parameters[kRecordsFolderSlot];
    request.recordsFolder = records;
    const QString path = recordFilePath(records, request.day);
    if (!fileExists(path))
        return commandFailed(withDayFile(day_file_words::kMissing, records, request.day));
    auto table = std::make_shared<RecordTable>();
    if (readRecordFile(path, request.criteria, *table) != FileReadStatus::Ok)
        return commandFailed(withDayFile(day_file_words::kUnreadable, records, request.day));
    request.table = table;
    const QStringList folders{parameters[kRecordsFolderSlot], parameters[kPhotoFolderSlot],
                              options.parameterFile};
    if (target.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        return written(exportRecordsCsv(*table, request.day, target, folders));
    return written(writeReportPdf(dayListReport(request), target, folders));
}

// The card's history of the days ending on the given date; days without a file are listed as
// such, so only the target can fail.
ReportCommandOutcome writeHistory(const ParameterTable& parameters, const StartupOptions& options,
                                  const ReportOptions& report)
{
    HistoryQuery query;
    query.text = options.card.value_or(QString());
    query.end = options.date.value_or(QDate::currentDate());
    query.dayCount = options.days.value_or(kDefaultHistoryDays);
    query.recordsFolder = parameters[kRecordsFolderSlot];
    query.photoFolder = parameters[kPhotoFolderSlot];
    query.parameterFile = options.parameterFile;
    return written(writeReportPdf(historyReport(query, readCardHistory(query)), report.file,
                                  {query.recordsFolder, query.photoFolder, query.parameterFile}));
}

// The exceptions of the days ending on the given date (one day, today, unless given); days
// without a file are said in the hits that needed them, so only the target can fail.
ReportCommandOutcome writeExceptions(const ParameterTable& parameters,
                                     const StartupOptions& options, const QString& target)
{
    ExceptionQuery query;
    query.end = options.date.value_or(QDate::currentDate());
    query.dayCount = options.days.value_or(1);
    query.recordsFolder = parameters[kRecordsFolderSlot];
    query.photoFolder = parameters[kPhotoFolderSlot];
    query.parameterFile = options.parameterFile;
    const QList<ExceptionHit> hits = readExceptions(query);
    const QStringList folders{query.recordsFolder, query.photoFolder, query.parameterFile};
    if (target.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        return written(exportExceptionsCsv(hits, target, folders));
    const SwipePicture picture = [](const Swipe& swipe) {
        return swipeThumbnail(swipe, kHistoryPictureSize);
    };
    return written(writeReportPdf(exceptionsReport(query, hits, picture), target, folders));
}

// The moment of --present: --date's day at --time, the end of the day without --time, today at
// --time without --date, now without either.
QDateTime presenceMoment(const StartupOptions& options, const ReportOptions& report)
{
    if (!options.date && !report.time)
        return QDateTime::currentDateTime();
    return {options.date.value_or(QDate::currentDate()), report.time.value_or(QTime(23, 59, 59))};
}

// The people inside as CSV or as the roll call; a day file that is there but cannot be read,
// or no file of either day, writes nothing.
ReportCommandOutcome writePresence(const ParameterTable& parameters, const StartupOptions& options,
                                   const ReportOptions& report)
{
    const RollCall rollCall{
        presenceMoment(options, report),
        {parameters[kRecordsFolderSlot], parameters[kPhotoFolderSlot], options.parameterFile},
        {}};
    const QDate day = rollCall.moment.date();
    const QString path = recordFilePath(rollCall.site.recordsFolder, day);
    const QString dayBefore = recordFilePath(rollCall.site.recordsFolder, day.addDays(-1));
    if (!fileExists(path) && !fileExists(dayBefore))
        return commandFailed(withPath(day_file_words::kMissing, path));
    FileReadStatus status = FileReadStatus::Ok;
    QList<PresentPerson> people =
        readPresence(rollCall.site, rollCall.moment, &status).presentAt(rollCall.moment);
    if (status != FileReadStatus::Ok && fileExists(path))
        return commandFailed(withPath(day_file_words::kUnreadable, path));
    sortPresent(people, PresenceOrder::NewestEntryFirst);
    const QStringList places{rollCall.site.recordsFolder, rollCall.site.photoFolder,
                             rollCall.site.parameterFile};
    if (report.file.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        return written(exportPresenceCsv(people, report.file, places));
    return written(writeReportPdf(rollCallReport({rollCall.moment, rollCall.site, people}),
                                  report.file, places));
}

} // namespace

ReportCommandOutcome runReportCommand(const StartupOptions& options, const ReportOptions& report)
{
    ParameterTable parameters;
    if (std::optional<ReportCommandOutcome> ended =
            readCommandSite(options.parameterFile, parameters))
        return *ended;
    if (options.exceptions)
        return writeExceptions(parameters, options, report.file);
    if (report.present)
        return writePresence(parameters, options, report);
    if (options.days || options.history)
        return writeHistory(parameters, options, report);
    return writeDayList(parameters, options, report.file);
}

} // namespace card

namespace card {

ReportCommandOutcome runCaseReportCommand(const QString& casesDatabase, const ReportOptions& report)
{
    QString error;
    const std::unique_ptr<CaseStore> store =
        CaseStore::open(chosenStoreLocation(casesDatabase), currentOperator(), error);
    if (!store)
        return commandFailed(error);
    CaseReportRequest request;
    const std::optional<CaseSummary> found = store->caseNamed(report.caseName);
    if (!found)
        return commandFailed(report_texts::kNoSuchCase + report.caseName);
    request.summary = *found;
    request.swipes = store->swipesOf(report.caseName);
    const QStringList places = caseReportJob(request).protectedPlaces;
    const bool csv = report.file.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
    const SafeWriteResult result =
        csv ? writeFileSafely(
                  report.file, places,
                  [&request](QIODevice& file) { return writeCaseCsv(request.swipes, file); })
            : writeReportPdf(caseReport(request), report.file, places);
    if (result.ok()) {
        store->record(csv ? trail::kExported : trail::kPdfWritten,
                      withPath(request.summary.name, result.path), report.caseName);
    }
    return written(result);
}

} // namespace card
