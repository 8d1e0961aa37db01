// card_image --report: one report written without a window, for scheduled jobs.
#pragma once

#include "core/parameters/parameter_table.h"
#include "core/startup/command_line.h"

#include <QDate>

#include <QString>

#include <optional>

namespace card {

struct ReportCommandOutcome {
    int exitStatus = 0;
    QString errorLine; // one line for standard error when the report was not written
};

// The outcome of a command that wrote nothing: one line that says why.
ReportCommandOutcome commandFailed(const QString& problem);
// A message with the file it is about, and the same for a day file named as the parameter file
// writes it and, when mapped, where it was read.
QString withPath(const QString& message, const QString& path);
QString withDayFile(const QString& message, const QString& recordsFolder, QDate day);

// Reads the parameter file of a command run without a window; the outcome that ends the command
// when the file cannot be read or names a Windows folder no mapping covers.
std::optional<ReportCommandOutcome> readCommandSite(const QString& parameterFile,
                                                    ParameterTable& parameters);

// Reads the parameter file, then the day file (or the card's history with --days), and writes
// the report. Needs a QGuiApplication (the fonts), on any platform.
ReportCommandOutcome runReportCommand(const StartupOptions& options, const ReportOptions& report);

// Writes the report of report.caseName from the case store (casesDatabase, or the settings' or
// the default one when empty) and records it in the trail.
ReportCommandOutcome runCaseReportCommand(const QString& casesDatabase,
                                          const ReportOptions& report);

} // namespace card
