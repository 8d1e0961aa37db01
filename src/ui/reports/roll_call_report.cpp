#include "ui/reports/roll_call_report.h"

#include "core/text/day_text.h"
#include "core/text/file_names.h"
#include "ui/common/swipe_pictures/swipe_picture_work.h"
#include "ui/reports/report_fields.h"
#include "ui/reports/report_texts.h"

#include <QSize>

#include <memory>

namespace card {

namespace {

const QList<qreal> kColumnShares{1.0, 1.1, 1.3, 1.5, 0.8};
// Sharp at the printed size of a line's picture, small enough for hundreds of people.
constexpr QSize kRollCallPictureSize(160, 120);

} // namespace

QString rollCallPdfName(const QDateTime& moment)
{
    return proposedFileName(QStringLiteral("在場人員點名表"),
                            {moment.toString(QStringLiteral("yyyy-MM-dd-HHmmss"))},
                            QStringLiteral("pdf"));
}

ReportPages rollCallReport(const RollCall& rollCall)
{
    using namespace report_texts;
    ReportPages report(kRollCallTitle);
    const QString moment = fieldsLine({{kRollCallTimeLabel, momentText(rollCall.moment)}});
    report.setSubject(moment);
    report.addHeading(moment);
    report.addFields(siteFields(rollCall.site.parameterFile, rollCall.site.recordsFolder) +
                     QList<std::pair<QString, QString>>{
                         {kPresentCountLabel, QString::number(rollCall.people.size())}});
    report.addSpace(6);
    // The photos are read here, where the report is made, never while a page is painted.
    auto rows = std::make_shared<QList<CheckListRow>>();
    for (const PresentPerson& person : rollCall.people)
        rows->append({swipeThumbnail(person.entry, kRollCallPictureSize),
                      {person.entry.card, person.entry.name, momentText(person.entered)}});
    report.addCheckList({kPictureLabel, kCardLabel, kNameLabel, kEnteredLabel, kSafeLabel},
                        kColumnShares, rows->size(),
                        [rows](qsizetype row) { return (*rows)[row]; });
    return report;
}

ReportJob rollCallJob(const RollCall& rollCall)
{
    return {rollCallPdfName(rollCall.moment),
            {rollCall.site.recordsFolder, rollCall.site.photoFolder, rollCall.site.parameterFile},
            [rollCall] {
                return rollCallReport(rollCall);
            }};
}

} // namespace card
