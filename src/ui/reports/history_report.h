// A card's history on paper: the card or searched name, the range, one row a day (first in,
// last out, count, span), the days without a file, the hour-by-day map and, if asked, each
// swipe's small picture.
#pragma once

#include "core/records/card_history.h"
#include "ui/reports/report_actions.h"
#include "ui/reports/report_pages.h"

#include <QImage>
#include <QList>
#include <QSize>

#include <functional>

namespace card {

// The small picture of a swipe's photo (a null image without one); reads the site's files.
using SwipePicture = std::function<QImage(const Swipe& swipe)>;
// The size the pictures are decoded to: sharp at their printed size, small enough for hundreds.
inline constexpr QSize kHistoryPictureSize(200, 150);

// The report of days read for query. With picture, every swipe's small picture is added.
ReportPages historyReport(const HistoryQuery& query, const QList<HistoryDay>& days,
                          const SwipePicture& picture = {});

// What the card history window prints and exports: the days it has read, made into the
// report off the interface thread.
ReportJob historyReportJob(const HistoryQuery& query, const QList<HistoryDay>& days,
                           const SwipePicture& picture = {});

} // namespace card
