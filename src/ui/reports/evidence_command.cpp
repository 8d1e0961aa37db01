#include "ui/reports/evidence_command.h"

#include "core/cases/case_store.h"
#include "core/cases/trail_actions.h"
#include "core/evidence/case_package.h"
#include "core/evidence/evidence_texts.h"
#include "core/parameters/parameter_table.h"
#include "core/platform/file_exists.h"
#include "core/records/card_day.h"
#include "core/records/day_file_words.h"
#include "core/records/record_file.h"
#include "core/text/time_of_day.h"
#include "ui/reports/evidence_package_report.h"
#include "ui/reports/report_texts.h"

namespace card {

namespace {

// The card's swipes of the day in file order, or the one listed at the given time.
QList<PackageSwipe> cardSwipes(const Swipe& card, const QString& siteCaption,
                               const std::optional<QString>& time)
{
    QList<PackageSwipe> swipes;
    for (const Swipe& swipe : readCardDay(card).swipes) {
        if (!time || timeOfDayDigits(swipe.time) == timeOfDayDigits(*time))
            swipes.append({swipe, siteCaption, {}});
    }
    return swipes;
}

// Writes the package and records it in the case store's trail; a store that cannot be used
// does not undo a package written.
ReportCommandOutcome writePackage(const PackageRequest& request, const EvidenceOptions& evidence,
                                  const QString& casesDatabase)
{
    const PackageOutcome outcome =
        writeEvidencePackage(request, evidence.package, evidencePackagePdf);
    if (outcome.status != PackageStatus::Ok)
        return commandFailed(packageFailureText(outcome));
    QString error;
    if (const std::unique_ptr<CaseStore> store =
            CaseStore::open(chosenStoreLocation(casesDatabase), request.who, error)) {
        store->record(trail::kEvidencePackaged,
                      evidence_texts::packagedLine(evidence.package, outcome.packageSha256),
                      request.caseName);
    }
    return {};
}

// The site a case's swipe is read at when its own has lost its day file: the parameter file
// given on the command line, if any.
std::optional<ReportCommandOutcome> readFallbackSite(const QString& parameterFile, Swipe& site)
{
    if (parameterFile.isEmpty())
        return std::nullopt;
    ParameterTable parameters;
    if (std::optional<ReportCommandOutcome> ended = readCommandSite(parameterFile, parameters))
        return ended;
    site.recordsFolder = parameters[kRecordsFolderSlot];
    site.photoFolder = parameters[kPhotoFolderSlot];
    site.parameterFile = parameterFile;
    return std::nullopt;
}

ReportCommandOutcome runCaseEvidence(const StartupOptions& options, const EvidenceOptions& evidence,
                                     const QString& casesDatabase)
{
    Swipe fallback;
    if (std::optional<ReportCommandOutcome> ended =
            readFallbackSite(options.parameterFile, fallback))
        return *ended;
    QString error;
    const std::unique_ptr<CaseStore> store =
        CaseStore::open(chosenStoreLocation(casesDatabase), currentOperator(), error);
    if (!store)
        return commandFailed(error);
    const std::optional<CaseSummary> summary = store->caseNamed(evidence.caseName);
    if (!summary)
        return commandFailed(report_texts::kNoSuchCase + evidence.caseName);
    const QList<CaseSwipe> swipes = store->swipesOf(summary->name);
    if (swipes.isEmpty())
        return commandFailed(report_texts::kEmptyCase + summary->name);
    PackageRequest request = casePackageRequest(*summary, swipes, fallback);
    request.withDayFiles = evidence.withDayFiles;
    request.who = currentOperator();
    request.made = QDateTime::currentDateTime();
    return writePackage(request, evidence, casesDatabase);
}

} // namespace

QString packageFailureText(const PackageOutcome& outcome)
{
    using namespace report_texts;
    switch (outcome.status) {
    case PackageStatus::Ok:
        return {};
    case PackageStatus::Refused:
        return withPath(kPackageRefused, outcome.path);
    case PackageStatus::PhotoUnreadable:
        return withPath(kPhotoUnreadable, outcome.path) + u'（' + outcome.reason + u'）';
    case PackageStatus::DayMissing:
        return withPath(day_file_words::kMissing, outcome.path);
    case PackageStatus::DayUnreadable:
        return withPath(day_file_words::kUnreadable, outcome.path) + u'（' + outcome.reason + u'）';
    case PackageStatus::WriteFailed:
        return withPath(kPackageNotWritten, outcome.path) + u'（' + outcome.reason + u'）';
    case PackageStatus::Cancelled:
        break;
    }
    return kPackageCancelled;
}

ReportCommandOutcome runEvidenceCommand(const StartupOptions& options,
                                        const EvidenceOptions& evidence,
                                        const QString& casesDatabase)
{
    if (!evidence.caseName.isEmpty())
        return runCaseEvidence(options, evidence, casesDatabase);
    ParameterTable parameters;
    if (std::optional<ReportCommandOutcome> ended =
            readCommandSite(options.parameterFile, parameters))
        return *ended;
    Swipe card;
    card.card = options.card.value_or(QString());
    card.day = options.date.value_or(QDate::currentDate());
    card.recordsFolder = parameters[kRecordsFolderSlot];
    card.photoFolder = parameters[kPhotoFolderSlot];
    card.parameterFile = options.parameterFile;
    if (!fileExists(recordFilePath(card.recordsFolder, card.day)))
        return commandFailed(withDayFile(day_file_words::kMissing, card.recordsFolder, card.day));

    PackageRequest request;
    request.swipes = cardSwipes(card, siteCaptionOf(options.parameterFile), evidence.time);
    if (request.swipes.isEmpty())
        return commandFailed(report_texts::noSwipesOfCard(card.card, card.day));
    request.withDayFiles = evidence.withDayFiles;
    request.origin = report_texts::cardDayOrigin(card.card, card.day, evidence.time);
    request.who = currentOperator();
    request.made = QDateTime::currentDateTime();
    return writePackage(request, evidence, casesDatabase);
}

} // namespace card
