// card_image --evidence: an evidence package written without a window, for a card's day.
#pragma once

#include "core/evidence/evidence_package.h"
#include "core/startup/command_line.h"
#include "ui/reports/report_command.h"

namespace card {

// Reads the parameter file and the card's swipes of the day (or the one at evidence.time) and
// writes their package. Needs a QGuiApplication (the report's fonts), on any platform.
ReportCommandOutcome runEvidenceCommand(const StartupOptions& options,
                                        const EvidenceOptions& evidence);

// The one line that says why a package was not written.
QString packageFailureText(const PackageOutcome& outcome);

} // namespace card
