#include "ui/history/history_heat_map.h"

#include "ui/history/card_history_texts.h"
#include "ui/history/history_days_model.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace card {

namespace {

constexpr int kHours = 24;
constexpr int kRowHeight = 12;
constexpr int kPreferredCellWidth = 22;
const QColor kInColour(30, 100, 220);
const QColor kOutColour(235, 120, 20);
const QColor kEmptyCell(245, 245, 245);
const QColor kNoFileCell(200, 200, 200);
const QColor kGrid(225, 225, 225);

// Faint for one swipe, full for the busiest hour of the range.
QColor shade(const QColor& colour, int count, int busiest)
{
    QColor shaded = colour;
    shaded.setAlphaF(0.25f + 0.75f * static_cast<float>(count) / static_cast<float>(busiest));
    return shaded;
}

} // namespace

HistoryHeatMap::HistoryHeatMap(HistoryDaysModel* model, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
{
    setAccessibleName(history_texts::kHeatName);
    setFocusPolicy(Qt::StrongFocus);
    const auto changed = [this] {
        updateGeometry();
        update();
    };
    connect(model, &QAbstractItemModel::rowsInserted, this, changed);
    connect(model, &QAbstractItemModel::modelReset, this, changed);
}

QSize HistoryHeatMap::sizeHint() const
{
    return {labelWidth() + kHours * kPreferredCellWidth,
            headerHeight() + std::max(m_model->rowCount(), 7) * kRowHeight};
}

int HistoryHeatMap::labelWidth() const
{
    return fontMetrics().horizontalAdvance(QStringLiteral("00-00 ")) + 4;
}

int HistoryHeatMap::headerHeight() const
{
    return fontMetrics().height() + 2;
}

double HistoryHeatMap::cellWidth() const
{
    return std::max(1.0, static_cast<double>(width() - labelWidth()) / kHours);
}

bool HistoryHeatMap::cellAt(const QPoint& point, int& row, int& hour) const
{
    if (point.x() < labelWidth() || point.y() < headerHeight())
        return false;
    row = (point.y() - headerHeight()) / kRowHeight;
    hour = static_cast<int>((point.x() - labelWidth()) / cellWidth());
    return row < m_model->rowCount() && hour < kHours;
}

QPoint HistoryHeatMap::cellCentre(int row, int hour) const
{
    return {labelWidth() + static_cast<int>((hour + 0.5) * cellWidth()),
            headerHeight() + row * kRowHeight + kRowHeight / 2};
}

int HistoryHeatMap::busiestHour() const
{
    int busiest = 1;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const HourCounts& hours = m_model->hours(row);
        busiest = std::max({busiest, *std::max_element(hours.in.cbegin(), hours.in.cend()),
                            *std::max_element(hours.out.cbegin(), hours.out.cend())});
    }
    return busiest;
}

void HistoryHeatMap::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().base());
    const double cell = cellWidth();
    const int left = labelWidth();
    painter.setPen(palette().text().color());
    for (int hour = 0; hour < kHours; hour += 3)
        painter.drawText(QRectF(left + hour * cell, 0, 3 * cell, headerHeight()),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::number(hour));
    const int busiest = busiestHour();
    QFont small = font();
    small.setPixelSize(kRowHeight - 2);
    painter.setFont(small);
    // Only the lines in the part to paint: a year's picture is mostly scrolled away.
    const int firstRow = std::max(0, (event->rect().top() - headerHeight()) / kRowHeight);
    const int endRow =
        std::min(m_model->rowCount(), (event->rect().bottom() - headerHeight()) / kRowHeight + 1);
    for (int row = firstRow; row < endRow; ++row) {
        const int top = headerHeight() + row * kRowHeight;
        const HistoryDay& day = m_model->day(row);
        painter.setPen(palette().text().color());
        painter.drawText(QRect(0, top, left - 4, kRowHeight), Qt::AlignRight | Qt::AlignVCenter,
                         day.date.toString(QStringLiteral("MM-dd")));
        const HourCounts& hours = m_model->hours(row);
        for (int hour = 0; hour < kHours; ++hour) {
            const QRectF box(left + hour * cell, top, cell, kRowHeight);
            const auto at = static_cast<size_t>(hour);
            painter.fillRect(box, day.file == DayFileState::Read ? kEmptyCell : kNoFileCell);
            const QRectF upper(box.x(), box.y(), box.width(), box.height() / 2);
            const QRectF lower(box.x(), box.center().y(), box.width(), box.height() / 2);
            if (hours.in[at] > 0)
                painter.fillRect(hours.out[at] > 0 ? upper : box,
                                 shade(kInColour, hours.in[at], busiest));
            if (hours.out[at] > 0)
                painter.fillRect(hours.in[at] > 0 ? lower : box,
                                 shade(kOutColour, hours.out[at], busiest));
            painter.setPen(kGrid);
            painter.drawRect(box);
        }
    }
}

void HistoryHeatMap::mousePressEvent(QMouseEvent* event)
{
    int row = 0;
    int hour = 0;
    if (cellAt(event->position().toPoint(), row, hour))
        emit cellClicked(row, hour);
}

} // namespace card
