#include "ui/reports/evidence_command.h"

#include "core/parameters/parameter_table.h"
#include "core/platform/file_exists.h"
#include "core/records/card_day.h"
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
        return withPath(kNoDayFile, outcome.path);
    case PackageStatus::DayUnreadable:
        return withPath(kDayFileUnreadable, outcome.path) + u'（' + outcome.reason + u'）';
    case PackageStatus::WriteFailed:
        return withPath(kPackageNotWritten, outcome.path) + u'（' + outcome.reason + u'）';
    case PackageStatus::Cancelled:
        break;
    }
    return kPackageCancelled;
}

ReportCommandOutcome runEvidenceCommand(const StartupOptions& options,
                                        const EvidenceOptions& evidence)
{
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
        return commandFailed(withDayFile(report_texts::kNoDayFile, card.recordsFolder, card.day));

    PackageRequest request;
    request.swipes = cardSwipes(card, siteCaptionOf(options.parameterFile), evidence.time);
    if (request.swipes.isEmpty())
        return commandFailed(report_texts::noSwipesOfCard(card.card, card.day));
    request.withDayFiles = evidence.withDayFiles;
    request.origin = report_texts::cardDayOrigin(card.card, card.day, evidence.time);
    request.who = currentOperator();
    request.made = QDateTime::currentDateTime();
    const PackageOutcome outcome =
        writeEvidencePackage(request, evidence.package, evidencePackagePdf);
    if (outcome.status != PackageStatus::Ok)
        return commandFailed(packageFailureText(outcome));
    return {};
}

} // namespace card
