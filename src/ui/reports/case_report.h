// A case on paper and in a CSV file: the case, then each swipe with its site, its note and its
// photo.
#pragma once

#include "core/cases/case_records.h"
#include "core/evidence/case_package.h"
#include "core/records/swipe.h"
#include "ui/reports/report_actions.h"
#include "ui/reports/report_pages.h"

#include <QIODevice>
#include <QList>

namespace card {

struct CaseReportRequest {
    CaseSummary summary;
    QList<CaseSwipe> swipes;
};

// Reads and decodes the swipes' photos: call it off the interface thread.
ReportPages caseReport(const CaseReportRequest& request);

// What the cases window prints and exports.
ReportJob caseReportJob(const CaseReportRequest& request);

// The proposed file name: 案件-<name>.<extension>.
QString caseFileName(const QString& caseName, const QString& extension);

// The case's swipes as CSV by the list export's rules, each with its site, note and who added
// it. False when a write failed.
bool writeCaseCsv(const QList<CaseSwipe>& swipes, QIODevice& device);

// The copy line of one swipe of a case: its values and its note, tab-separated.
QString caseCopyLine(const CaseSwipe& swipe);

} // namespace card
