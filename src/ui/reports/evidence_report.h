// The evidence sheet of one swipe: who, when and where, its photo as large as the page allows
// at full resolution, every frame of a sequence, and the card's other swipes of that day.
#pragma once

#include "core/photos/picture_tone.h"
#include "core/records/swipe.h"
#include "ui/reports/report_pages.h"

#include <QDateTime>
#include <QString>

namespace card {

struct EvidenceRequest {
    Swipe swipe;    // its parameter file names the site
    QDateTime made; // when the sheet was asked for: its time of making
    // The adjustment the operator was looking through: the sheet then shows the photo as it is
    // and as adjusted, with the settings under it, and says so in its title.
    PictureTone tone = {};
};

// Reads and decodes the swipe's photos and its card's day: call it off the interface thread.
ReportPages evidenceReport(const EvidenceRequest& request);

// The same sheet added to report, for reports that hold several.
void addEvidenceSheet(ReportPages& report, const EvidenceRequest& request);

// The proposed file name: 證據單-00012345-2007-05-03-081530.pdf.
QString evidencePdfName(const Swipe& swipe);

} // namespace card
