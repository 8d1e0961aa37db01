// Site photos for a report, decoded when their page is painted. The functions here read the
// photo files' headers: call them where the report is made, off the interface thread.
#pragma once

#include "core/photos/picture_tone.h"
#include "core/records/swipe.h"
#include "ui/reports/report_pages.h"

namespace card {

// The photo at path, with tone applied when there is one; null when its header cannot be read.
ReportPicture reportPhoto(const QString& path, const PictureTone& tone = {});

// The still photo or the highest frame of swipe; null without one.
ReportPicture swipeReportPhoto(const Swipe& swipe);

} // namespace card
