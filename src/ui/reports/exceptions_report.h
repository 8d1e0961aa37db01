// The exceptions of a range of days on paper: the site, the range, the count of each rule, the
// table of hits and each hit with its two small photos (the flagged swipe and the swipe it is
// judged against).
#pragma once

#include "core/records/exception_rules.h"
#include "ui/reports/history_report.h"
#include "ui/reports/report_actions.h"
#include "ui/reports/report_pages.h"

namespace card {

// The report of hits found for query; with picture, each hit's two small pictures.
ReportPages exceptionsReport(const ExceptionQuery& query, const QList<ExceptionHit>& hits,
                             const SwipePicture& picture = {});

// What the exceptions window prints and exports, made off the interface thread.
ReportJob exceptionsReportJob(const ExceptionQuery& query, const QList<ExceptionHit>& hits,
                              const SwipePicture& picture);

} // namespace card
