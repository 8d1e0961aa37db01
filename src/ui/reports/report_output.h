// Writing a report as a PDF file the safe way, on any thread.
#pragma once

#include "core/platform/safe_write.h"
#include "ui/reports/report_pages.h"

#include <QString>
#include <QStringList>

namespace card {

// Writes report to target as PDF through the safe writer (refusing the protected places);
// a stop asked by progress counts as a failed write and leaves an existing file as it was.
SafeWriteResult writeReportPdf(const ReportPages& report, const QString& target,
                               const QStringList& protectedPlaces,
                               const PageProgress& progress = {});

// Writes the report into file as PDF/A-1b (fonts embedded, no transparency), for archives that
// must stay readable; false when it could not be painted.
bool writeArchivalPdf(const ReportPages& report, QIODevice& file);

} // namespace card
