#include "ui/reports/history_report.h"

#include "core/platform/site_io_pool.h"
#include "core/records/day_file_words.h"
#include "core/text/day_text.h"
#include "core/text/file_names.h"
#include "ui/reports/report_fields.h"
#include "ui/reports/report_texts.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace card {

namespace {

constexpr int kHours = 24;
constexpr qreal kPictureWidth = 80;
const QList<qreal> kDayColumns{1.3, 1.3, 1.3, 1.0, 1.0, 0.6, 1.0, 1.0};

QString fileStateText(DayFileState state)
{
    switch (state) {
    case DayFileState::Read:
        return {};
    case DayFileState::Missing:
        return day_file_words::kNoDayFile;
    case DayFileState::Unreadable:
        return report_texts::kFileUnreadable;
    }
    return {};
}

QStringList dayRow(const HistoryDay& day)
{
    const DaySummary summary = summarizeDay(day);
    return {dayText(day.date),
            day.card,
            day.name,
            summary.firstIn,
            summary.lastOut,
            day.file == DayFileState::Read ? QString::number(summary.swipeCount) : QString(),
            summary.span,
            fileStateText(day.file)};
}

QStringList hourRow(const HistoryDay& day, bool severalCards)
{
    const HourCounts counts = hourCounts(day);
    QStringList cells{hourMapLabel(day, severalCards)};
    for (int hour = 0; hour < kHours; ++hour) {
        const int swipes =
            counts.in[static_cast<size_t>(hour)] + counts.out[static_cast<size_t>(hour)];
        cells << (swipes > 0 ? QString::number(swipes) : QString());
    }
    return cells;
}

// A run of listed entries, in the order of days: one day with swipes, or days without any.
struct MapRun {
    qsizetype first = 0;
    qsizetype count = 0;
};

// The rows of the printed hour map: each day with swipes has its own, each run of days without
// any is one row that says so, so a year of few swipes does not print pages of empty rows.
std::vector<MapRun> mapRuns(const QList<HistoryDay>& days)
{
    std::vector<MapRun> runs;
    for (qsizetype i = 0; i < days.size(); ++i) {
        const bool empty = days[i].swipes.isEmpty();
        if (empty && !runs.empty() && days[runs.back().first].swipes.isEmpty())
            ++runs.back().count;
        else
            runs.push_back({i, 1});
    }
    return runs;
}

// A run of days without swipes: its newest day, then one cell across the hours that says
// down to which day none were found, and how many had no file.
QStringList emptyRunRow(const QList<HistoryDay>& days, const MapRun& run)
{
    const QString form = QStringLiteral("MM-dd");
    const auto end = days.begin() + run.first + run.count;
    const auto withoutFile =
        std::count_if(days.begin() + run.first, end,
                      [](const HistoryDay& day) { return day.file != DayFileState::Read; });
    return {days[run.first].date.toString(form),
            report_texts::daysWithoutSwipes(days[run.first + run.count - 1].date.toString(form),
                                            static_cast<int>(run.count),
                                            static_cast<int>(withoutFile))};
}

int daysWithoutFile(const HistoryQuery& query, const QList<HistoryDay>& days)
{
    int count = 0;
    for (const QDate date : historyDates(query)) {
        const bool missing = std::any_of(days.begin(), days.end(), [date](const HistoryDay& day) {
            return day.date == date && day.file != DayFileState::Read;
        });
        count += missing ? 1 : 0;
    }
    return count;
}

// With several cards each row names its card and name after the date, in a wider first column.
void addHourMap(ReportPages& report, const std::shared_ptr<const QList<HistoryDay>>& days)
{
    HistoryCards cards;
    cards.admit(*days);
    const bool several = cards.several();
    QStringList headings{report_texts::kDateLabel};
    QList<qreal> widths{several ? 7.0 : 2.2};
    int busiest = 1;
    for (int hour = 0; hour < kHours; ++hour) {
        headings << QString::number(hour);
        widths << 1.0;
    }
    for (const HistoryDay& day : *days) {
        for (const QString& cell : hourRow(day, several).mid(1))
            busiest = std::max(busiest, cell.toInt());
    }
    auto runs = std::make_shared<const std::vector<MapRun>>(mapRuns(*days));
    report.addHeading(report_texts::kHourMapHeading);
    report.addTable(
        headings, widths, static_cast<qsizetype>(runs->size()),
        [days, runs, several](qsizetype row) {
            const MapRun& run = (*runs)[static_cast<size_t>(row)];
            const HistoryDay& day = days->at(run.first);
            return day.swipes.isEmpty() ? emptyRunRow(*days, run) : hourRow(day, several);
        },
        busiest);
}

// The pictures of every swipe of days, in order, decoded on several site threads: decoding is
// the cost.
std::vector<QImage> picturesOf(const QList<HistoryDay>& days, const SwipePicture& picture)
{
    std::vector<const Swipe*> swipes;
    for (const HistoryDay& day : days) {
        for (const Swipe& swipe : day.swipes)
            swipes.push_back(&swipe);
    }
    std::vector<QImage> images(swipes.size());
    forEachOnSiteIo(swipes.size(), SiteIoBudget::reportPictures(),
                    [&](size_t i) { images[i] = picture(*swipes[i]); });
    return images;
}

void addPictures(ReportPages& report, const QList<HistoryDay>& days, const SwipePicture& picture)
{
    report.addHeading(report_texts::kPicturesHeading);
    std::vector<QImage> images = picturesOf(days, picture);
    size_t next = 0;
    for (const HistoryDay& day : days) {
        if (day.swipes.isEmpty())
            continue;
        report.addSubheading(dayText(day.date) + u' ' + day.card + u' ' + day.name);
        QList<CaptionedPicture> pictures;
        for (const Swipe& swipe : day.swipes)
            pictures.append({std::move(images[next++]), swipe.time + u' ' + swipe.direction});
        report.addPictureRows(pictures, kPictureWidth);
    }
}

} // namespace

ReportPages historyReport(const HistoryQuery& query, const QList<HistoryDay>& days,
                          const SwipePicture& picture)
{
    using namespace report_texts;
    ReportPages report(kHistoryTitle);
    const QDate first = query.end.addDays(1 - query.dayCount);
    const QList<std::pair<QString, QString>> subject{
        {query.field == HistoryField::Card ? kCardLabel : kNameSearchLabel, query.text},
        {kRangeLabel, rangeText(dayText(first), dayText(query.end), query.dayCount)}};
    report.setSubject(fieldsLine(subject));
    report.addFields(siteFields(query.parameterFile, query.recordsFolder) + subject +
                     QList<std::pair<QString, QString>>{
                         {kDaysWithoutFileLabel, QString::number(daysWithoutFile(query, days))}});
    report.addSpace(6);
    auto shared = std::make_shared<const QList<HistoryDay>>(days);
    report.addHeading(kDayTableHeading);
    report.addTable({kDateLabel, kCardLabel, kNameLabel, kFirstInLabel, kLastOutLabel, kCountLabel,
                     kSpanLabel, kFileLabel},
                    kDayColumns, shared->size(),
                    [shared](qsizetype row) { return dayRow(shared->at(row)); });
    report.addSpace(6);
    addHourMap(report, shared);
    if (picture) {
        report.addSpace(6);
        addPictures(report, days, picture);
    }
    return report;
}

ReportJob historyReportJob(const HistoryQuery& query, const QList<HistoryDay>& days,
                           const SwipePicture& picture)
{
    return {proposedFileName(QStringLiteral("刷卡歷程"), {query.text, dayText(query.end)},
                             QStringLiteral("pdf")),
            {query.recordsFolder, query.photoFolder, query.parameterFile},
            [query, days, picture] {
                return historyReport(query, days, picture);
            }};
}

} // namespace card
