#include "ui/reports/exceptions_report.h"

#include "core/platform/site_io_pool.h"
#include "core/records/exception_export.h"
#include "core/text/day_text.h"
#include "ui/reports/report_fields.h"
#include "ui/reports/report_texts.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace card {

namespace {

constexpr qreal kPictureWidth = 150;
const QList<qreal> kColumns{0.15, 0.12, 0.15, 0.15, 0.08, 0.35};

// The two pictures of every hit, decoded on several site threads: a range's report may show
// thousands.
std::vector<QImage> picturesOf(const QList<ExceptionHit>& hits, const SwipePicture& picture)
{
    std::vector<QImage> images(static_cast<size_t>(hits.size()) * 2);
    forEachOnSiteIo(images.size(), SiteIoBudget::reportPictures(), [&](size_t i) {
        const ExceptionHit& hit = hits[static_cast<qsizetype>(i / 2)];
        if (i % 2 == 0)
            images[i] = picture(hit.swipe);
        else if (hit.reference)
            images[i] = picture(*hit.reference);
    });
    return images;
}

void addPictures(ReportPages& report, const QList<ExceptionHit>& hits, const SwipePicture& picture)
{
    report.addHeading(report_texts::kExceptionPicturesHeading);
    std::vector<QImage> images = picturesOf(hits, picture);
    for (qsizetype k = 0; k < hits.size(); ++k) {
        const ExceptionHit& hit = hits[k];
        report.addSubheading(dayText(hit.swipe.day) + u' ' + hit.swipe.time + u' ' +
                             hit.swipe.card + u' ' + hit.swipe.name + u' ' + exceptionText(hit));
        QList<CaptionedPicture> pictures{{std::move(images[static_cast<size_t>(k) * 2]),
                                          hit.swipe.time + u' ' + hit.swipe.direction}};
        if (hit.reference)
            pictures.append({std::move(images[static_cast<size_t>(k) * 2 + 1]),
                             report_texts::kJudgedAgainst + dayText(hit.reference->day) + u' ' +
                                 hit.reference->time + u' ' + hit.reference->direction});
        report.addPictureRows(pictures, kPictureWidth);
    }
}

} // namespace

ReportPages exceptionsReport(const ExceptionQuery& query, const QList<ExceptionHit>& hits,
                             const SwipePicture& picture)
{
    using namespace report_texts;
    ReportPages report(kExceptionsTitle);
    const std::pair<QString, QString> range{
        kRangeLabel, rangeText(dayText(query.first()), dayText(query.end), query.dayCount)};
    report.setSubject(fieldsLine({range}));
    QList<std::pair<QString, QString>> fields =
        siteFields(query.parameterFile, query.recordsFolder);
    fields << range << std::pair{kRowCountLabel, QString::number(hits.size())};
    for (const ExceptionRule rule : kExceptionRules) {
        const auto count =
            std::count_if(hits.cbegin(), hits.cend(),
                          [rule](const ExceptionHit& hit) { return hit.rule == rule; });
        fields.append({exceptionRuleName(rule), QString::number(count)});
    }
    report.addFields(fields);
    report.addSpace(6);
    auto shared = std::make_shared<const QList<ExceptionHit>>(hits);
    report.addTable(
        {kDateLabel, kTimeLabel, kCardLabel, kNameLabel, kDirectionLabel, kExceptionLabel},
        kColumns, shared->size(),
        [shared](qsizetype row) { return exceptionValues(shared->at(row)); });
    if (picture) {
        report.addSpace(6);
        addPictures(report, hits, picture);
    }
    return report;
}

ReportJob exceptionsReportJob(const ExceptionQuery& query, const QList<ExceptionHit>& hits,
                              const SwipePicture& picture)
{
    return {exceptionsFileName(query.end, query.dayCount, QStringLiteral("pdf")),
            {query.recordsFolder, query.photoFolder, query.parameterFile},
            [query, hits, picture] {
                return exceptionsReport(query, hits, picture);
            }};
}

} // namespace card
