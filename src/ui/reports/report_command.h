// card_image --report: one report written without a window, for scheduled jobs.
#pragma once

#include "core/startup/command_line.h"

#include <QString>

namespace card {

struct ReportCommandOutcome {
    int exitStatus = 0;
    QString errorLine; // one line for standard error when the report was not written
};

// Reads the parameter file, then the day file (or the card's history with --days), and writes
// the report. Needs a QGuiApplication (the fonts), on any platform.
ReportCommandOutcome runReportCommand(const StartupOptions& options, const ReportOptions& report);

// Writes the report of report.caseName from the case store (casesDatabase, or the settings' or
// the default one when empty) and records it in the trail.
ReportCommandOutcome runCaseReportCommand(const QString& casesDatabase,
                                          const ReportOptions& report);

} // namespace card
