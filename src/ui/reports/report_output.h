// Writing a report as a PDF file the safe way, on any thread.
#pragma once

#include "core/platform/safe_write.h"
#include "ui/reports/report_pages.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace card {

// Writes report to target as PDF through the safe writer (refusing the protected places);
// a stop asked by progress counts as a failed write and leaves an existing file as it was.
SafeWriteResult writeReportPdf(const ReportPages& report, const QString& target,
                               const QStringList& protectedPlaces,
                               const PageProgress& progress = {});

// The report as a PDF/A-1b file's bytes (fonts embedded, no transparency), for archives that
// must stay readable; empty when it could not be painted.
QByteArray archivalPdf(const ReportPages& report);

} // namespace card
