#include "ui/reports/day_list_report.h"

#include "core/text/day_text.h"
#include "core/text/file_names.h"
#include "ui/reports/report_fields.h"
#include "ui/reports/report_texts.h"

namespace card {

namespace {

const QList<qreal> kColumnShares{1.2, 1.5, 2.0, 0.8};

} // namespace

QString dayListPdfName(QDate day)
{
    return proposedFileName(QStringLiteral("刷卡紀錄"), {dayText(day)}, QStringLiteral("pdf"));
}

ReportPages dayListReport(const DayListRequest& request)
{
    using namespace report_texts;
    ReportPages report(kDayListTitle);
    const QList<std::pair<QString, QString>> subject{
        {kDateLabel, dayText(request.day)},
        {kCardLabel, cardFilterText(request.criteria)},
        {kDirectionLabel, directionText(request.criteria.direction)}};
    report.setSubject(fieldsLine(subject));
    report.addFields(siteFields(request.parameterFile, request.recordsFolder) + subject +
                     QList<std::pair<QString, QString>>{
                         {kRowCountLabel, QString::number(request.table->rowCount())}});
    report.addSpace(6);
    const std::shared_ptr<const RecordTable> table = request.table;
    report.addTable({kTimeLabel, kCardLabel, kNameLabel, kDirectionLabel}, kColumnShares,
                    table->rowCount(), [table](qsizetype row) {
                        QStringList cells;
                        for (int column = 0; column < kRecordFieldCount; ++column)
                            cells << table->text(row, column);
                        return cells;
                    });
    return report;
}

} // namespace card
