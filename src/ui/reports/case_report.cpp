#include "ui/reports/case_report.h"

#include "core/records/record_export.h"
#include "core/text/file_names.h"
#include "ui/common/case_texts.h"
#include "ui/reports/report_fields.h"
#include "ui/reports/report_photo.h"
#include "ui/reports/report_texts.h"

#include <QDir>
#include <QFileInfo>

namespace card {

namespace {

const QString kCsvLineEnd = QStringLiteral("\r\n");
constexpr qreal kNoPhotoWidth = 160;

QStringList caseSwipeValues(const CaseSwipe& swipe)
{
    return {swipe.day.toString(Qt::ISODate),
            swipe.time,
            swipe.card,
            swipe.name,
            swipe.direction,
            swipe.note,
            swipe.siteCaption,
            swipe.addedBy,
            swipe.addedAt.toString(Qt::ISODate)};
}

void addSwipe(ReportPages& report, const CaseSwipe& swipe)
{
    report.setSubject(swipeLine(swipe));
    report.addHeading(swipeLine(swipe));
    report.addFields(
        QList<std::pair<QString, QString>>{{case_texts::kSiteHeading, swipe.siteCaption}} +
        siteFields(swipe.sitePath, swipe.recordsFolder) +
        QList<std::pair<QString, QString>>{
            {case_texts::kNoteHeading, swipe.note},
            {case_texts::kOperatorHeading,
             swipe.addedBy + u' ' + swipe.addedAt.toString(Qt::ISODate)}});
    // The photo as it was found when the swipe was added: the still photo or the last frame.
    const QString photo = swipe.photos.isEmpty() ? QString() : swipe.photos.constLast();
    const ReportPicture picture = photo.isEmpty() ? ReportPicture() : reportPhoto(photo);
    if (picture.isNull())
        report.addPictureRows({{{}, QDir::toNativeSeparators(photo)}}, kNoPhotoWidth);
    else
        report.addPicture(picture, QFileInfo(photo).fileName());
    report.addSpace(12);
}

} // namespace

ReportPages caseReport(const CaseReportRequest& request)
{
    const CaseSummary& summary = request.summary;
    ReportPages report(case_texts::kWindowTitle + u' ' + summary.name);
    report.addFields(
        {{case_texts::kNameHeading, summary.name},
         {case_texts::kDescriptionHeading, summary.description},
         {case_texts::kStateHeading,
          summary.closed ? case_texts::kClosedState : case_texts::kOpenState},
         {case_texts::kMadeByHeading, summary.madeBy + u' ' + summary.madeAt.toString(Qt::ISODate)},
         {case_texts::kCountHeading, QString::number(request.swipes.size())}});
    report.addSpace(12);
    for (const CaseSwipe& swipe : request.swipes)
        addSwipe(report, swipe);
    return report;
}

ReportJob caseReportJob(const CaseReportRequest& request)
{
    QStringList sites;
    for (const CaseSwipe& swipe : request.swipes)
        sites << swipe.recordsFolder << swipe.photoFolder << swipe.sitePath;
    sites.removeAll(QString());
    return {caseFileName(request.summary.name, QStringLiteral("pdf")), sites, [request] {
                return caseReport(request);
            }};
}

QString caseFileName(const QString& caseName, const QString& extension)
{
    return proposedFileName(QStringLiteral("案件"), {caseName}, extension);
}

bool writeCaseCsv(const QList<CaseSwipe>& swipes, QIODevice& device)
{
    QString text = QStringLiteral("\uFEFF") + kCsvHeader + u',' +
                   QStringList{case_texts::kNoteHeading, case_texts::kSiteHeading,
                               case_texts::kOperatorHeading, case_texts::kTimeHeading}
                       .join(u',') +
                   kCsvLineEnd;
    for (const CaseSwipe& swipe : swipes) {
        QStringList fields;
        const QStringList values = caseSwipeValues(swipe);
        for (qsizetype i = 0; i < values.size(); ++i)
            fields.append(csvField(values[i], i == 2)); // the card number always quoted
        text += fields.join(u',') + kCsvLineEnd;
    }
    const QByteArray bytes = text.toUtf8();
    return device.write(bytes) == bytes.size();
}

QString caseCopyLine(const CaseSwipe& swipe)
{
    return caseSwipeValues(swipe).mid(0, 6).join(u'\t');
}

} // namespace card
