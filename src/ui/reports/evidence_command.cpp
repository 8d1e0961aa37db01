#include "ui/reports/evidence_command.h"

#include "core/parameters/parameter_table.h"
#include "core/platform/file_exists.h"
#include "core/platform/product.h"
#include "core/records/card_day.h"
#include "core/records/record_file.h"
#include "core/text/time_of_day.h"
#include "ui/reports/evidence_package_report.h"
#include "ui/reports/report_texts.h"

#include <QDir>

namespace card {

namespace {

QString withPath(const QString& message, const QString& path)
{
    return message + report_texts::kFieldSeparator + QDir::toNativeSeparators(path);
}

ReportCommandOutcome failed(const QString& problem)
{
    QString line = QStringLiteral("card_image: ") + problem;
    line.replace(u'\n', u' ').replace(u'\r', u' ');
    return {kReportFailedExitStatus, line + u'\n'};
}

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
    if (!readParameterFile(options.parameterFile, parameters))
        return failed(withPath(report_texts::kParameterFileUnreadable, options.parameterFile));
    Swipe card;
    card.card = options.card.value_or(QString());
    card.day = options.date.value_or(QDate::currentDate());
    card.recordsFolder = parameters[kRecordsFolderSlot];
    card.photoFolder = parameters[kPhotoFolderSlot];
    card.parameterFile = options.parameterFile;
    const QString dayFile = recordFilePath(card.recordsFolder, card.day);
    if (!fileExists(dayFile))
        return failed(withPath(report_texts::kNoDayFile, dayFile));

    PackageRequest request;
    request.swipes = cardSwipes(card, kProductTitle + QStringLiteral("：") + options.parameterFile,
                                evidence.time);
    if (request.swipes.isEmpty())
        return failed(report_texts::noSwipesOfCard(card.card, card.day));
    request.withDayFiles = evidence.withDayFiles;
    request.origin = report_texts::cardDayOrigin(card.card, card.day, evidence.time);
    request.who = currentOperator();
    request.made = QDateTime::currentDateTime();
    const PackageOutcome outcome =
        writeEvidencePackage(request, evidence.package, evidencePackagePdf);
    if (outcome.status != PackageStatus::Ok)
        return failed(packageFailureText(outcome));
    return {};
}

} // namespace card
