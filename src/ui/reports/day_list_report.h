// The listed day on paper: the queried day, the filters, every listed row and their number.
#pragma once

#include "core/records/record_filter.h"
#include "core/records/record_table.h"
#include "ui/reports/report_pages.h"

#include <QDate>
#include <QString>

#include <memory>

namespace card {

struct DayListRequest {
    std::shared_ptr<const RecordTable> table; // the listed rows, read by the report only
    QDate day;
    RecordCriteria criteria; // the filters the rows were listed with
    QString parameterFile;   // names the site
    QString recordsFolder;   // where the day's file was read
};

ReportPages dayListReport(const DayListRequest& request);

// The proposed file name of the day's PDF: 刷卡紀錄-2007-05-03.pdf.
QString dayListPdfName(QDate day);

} // namespace card
