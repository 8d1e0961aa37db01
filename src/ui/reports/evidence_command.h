// card_image --evidence: an evidence package written without a window, for a card's day.
#pragma once

#include "core/evidence/evidence_package.h"
#include "core/startup/command_line.h"
#include "ui/reports/report_command.h"

namespace card {

// Reads the parameter file and the card's swipes of the day (or the one at evidence.time), or
// with evidence.caseName the case's swipes from the case store (casesDatabase, or the settings'
// or the default one when empty), writes their package and records it in the trail. Needs a
// QGuiApplication (the report's fonts), on any platform.
ReportCommandOutcome runEvidenceCommand(const StartupOptions& options,
                                        const EvidenceOptions& evidence,
                                        const QString& casesDatabase);

// The one line that says why a package was not written.
QString packageFailureText(const PackageOutcome& outcome);

} // namespace card
