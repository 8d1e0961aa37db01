// "匯出證據包…": an evidence package made from a window, with its options, the shared save
// question, progress with cancel, and the package's honesty question for an unreadable photo.
#pragma once

#include "core/evidence/evidence_package.h"

#include <QString>

class QWidget;

namespace card {

struct PackageJob {
    PackageRequest request;   // the swipes; who and when are filled in when it is made
    QString proposedFileName; // of the ZIP file
    // Offers a tick to add the card's other swipes of the first swipe's day.
    bool offerCardDay = false;
};

// Asks for the options and the target, makes the package off the interface thread and says
// how it went; called with the window that asks.
void exportEvidencePackage(QWidget* parent, const PackageJob& job);

// The proposed names: 證據包-00012345-2007-05-03.zip, 證據包-<case>.zip.
QString evidencePackageName(const QString& card, QDate day);
QString casePackageName(const QString& caseName);

} // namespace card
