// The roll call of the people inside on paper: the moment in the heading, then one line per
// person with the entry swipe's photo, card, name, entry time and an empty box to tick.
#pragma once

#include "core/records/presence.h"
#include "ui/reports/report_actions.h"
#include "ui/reports/report_pages.h"

#include <QDateTime>
#include <QList>

namespace card {

struct RollCall {
    QDateTime moment;
    PresenceSite site;
    QList<PresentPerson> people; // in the order they are listed
};

// The report's PDF file name: 在場人員點名表-2007-05-03-080000.pdf.
QString rollCallPdfName(const QDateTime& moment);

// Reads each person's photo from the site (a blocking read: call it off the interface thread).
ReportPages rollCallReport(const RollCall& rollCall);

// What the presence window prints and exports.
ReportJob rollCallJob(const RollCall& rollCall);

} // namespace card
