#include "ui/reports/evidence_package_report.h"

#include "core/platform/product.h"
#include "core/startup/command_line.h"
#include "core/text/day_text.h"
#include "ui/reports/evidence_report.h"
#include "ui/reports/report_output.h"
#include "ui/reports/report_texts.h"

#include <cstdlib>

namespace card {

namespace {

// The time with the offset from UTC its clock had: 2026-12-08 09:15:00 (UTC+08:00).
QString withOffset(const QDateTime& time)
{
    const int minutes = time.offsetFromUtc() / 60;
    return momentText(time) + QStringLiteral(" (UTC%1%2:%3)")
                                  .arg(QChar(minutes < 0 ? u'-' : u'+'))
                                  .arg(std::abs(minutes) / 60, 2, 10, QLatin1Char('0'))
                                  .arg(std::abs(minutes) % 60, 2, 10, QLatin1Char('0'));
}

void addPackageFields(ReportPages& report, const PackageFacts& facts)
{
    using namespace report_texts;
    const PackageRequest& request = facts.request;
    QList<std::pair<QString, QString>> fields;
    QStringList sites;
    for (const PackageSwipe& item : request.swipes) {
        if (sites.contains(item.swipe.parameterFile))
            continue;
        sites.append(item.swipe.parameterFile);
        fields.append({kParameterFileLabel, item.swipe.parameterFile});
        fields.append({kSiteCaptionLabel, item.siteCaption});
    }
    fields.append({kOperatorLabel, request.who.user});
    fields.append({kMachineLabel, request.who.machine});
    fields.append({kProgramLabel, kProductTitle + u' ' + programVersion()});
    fields.append({kPackageMadeLabel, withOffset(request.made)});
    if (!request.caseName.isEmpty())
        fields.append({kCaseLabel, request.caseName});
    if (!request.origin.isEmpty())
        fields.append({kOriginLabel, request.origin});
    report.addFields(fields);
}

void addDayFiles(ReportPages& report, const PackageFacts& facts)
{
    using namespace report_texts;
    report.addHeading(kDayFilesHeading);
    for (const DayFileFacts& day : facts.dayFiles) {
        report.addFields({{kFileLabel, day.path},
                          {kFileSizeLabel, sizeText(day.size)},
                          {kModifiedLabel, withOffset(day.modified)},
                          {kSha256Label, QString::fromLatin1(day.sha256)}});
    }
}

void addPackedFiles(ReportPages& report, const PackageFacts& facts)
{
    using namespace report_texts;
    report.addHeading(kPackedFilesHeading);
    for (const PackedFile& file : facts.files) {
        if (!file.unreadable.isEmpty()) {
            report.addFields({{file.path, kUnreadableLabel + u'（' + file.unreadable + u'）'}});
            continue;
        }
        report.addFields(
            {{file.path, sizeText(file.size)}, {kSha256Label, QString::fromLatin1(file.sha256)}});
    }
}

} // namespace

bool evidencePackagePdf(const PackageFacts& facts, QIODevice& pdf)
{
    const PackageRequest& request = facts.request;
    ReportPages report(report_texts::kPackageTitle,
                       {request.made, request.who.user, request.who.machine});
    addPackageFields(report, facts);
    report.addSpace(6);
    addDayFiles(report, facts);
    report.addSpace(6);
    addPackedFiles(report, facts);
    for (const PackageSwipe& item : request.swipes) {
        report.addSpace(12);
        report.addHeading(report_texts::kSwipeTitle);
        if (!item.note.isEmpty())
            report.addFields({{report_texts::kNoteLabel, item.note}});
        addEvidenceSheet(report, {item.swipe, request.made});
    }
    return writeArchivalPdf(report, pdf);
}

} // namespace card
