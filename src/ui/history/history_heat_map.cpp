#include "ui/history/history_heat_map.h"

#include "core/records/day_file_words.h"
#include "core/text/day_text.h"
#include "ui/history/card_history_texts.h"
#include "ui/history/history_days_model.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>
#include <QToolTip>

#include <algorithm>

namespace card {

namespace {

constexpr int kHours = 24;
constexpr int kPreferredCellWidth = 22;
constexpr int kSmallestCellWidth = 8;
constexpr int kLabelMargin = 8;

} // namespace

QColor heat_colours::shade(const QColor& colour, int count, int busiest)
{
    QColor shaded = colour;
    shaded.setAlphaF(0.25f + 0.75f * static_cast<float>(count) / static_cast<float>(busiest));
    return shaded;
}

HistoryHeatMap::HistoryHeatMap(QTableView* days, HistoryDaysModel* model, QWidget* parent)
    : QWidget(parent)
    , m_days(days)
    , m_model(model)
{
    setAccessibleName(history_texts::kHeatName);
    setFocusPolicy(Qt::StrongFocus);
    const auto repaint = [this] {
        update();
    };
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { measureLabels(first, last); });
    connect(model, &QAbstractItemModel::modelReset, this, &HistoryHeatMap::resetLabels);
    connect(days->verticalScrollBar(), &QScrollBar::valueChanged, this, repaint);
    connect(days->verticalScrollBar(), &QScrollBar::rangeChanged, this, repaint);
    connect(days->verticalHeader(), &QHeaderView::sectionResized, this, repaint);
    connect(days->selectionModel(), &QItemSelectionModel::currentRowChanged, this, repaint);
    days->viewport()->installEventFilter(this);
    resetLabels();
}

void HistoryHeatMap::resetLabels()
{
    m_labelsWithCards = false;
    m_labelWidth = fontMetrics().horizontalAdvance(QStringLiteral("00-00"));
    measureLabels(0, m_model->rowCount() - 1);
}

// Labels are measured as rows arrive, all of them again once the rows hold several cards.
void HistoryHeatMap::measureLabels(int first, int last)
{
    const int before = m_labelWidth;
    if (m_model->severalCards() != m_labelsWithCards) {
        m_labelsWithCards = m_model->severalCards();
        first = 0;
        last = m_model->rowCount() - 1;
    }
    for (int row = first; row <= last; ++row)
        m_labelWidth = std::max(m_labelWidth, fontMetrics().horizontalAdvance(hourMapLabel(
                                                  m_model->day(row), m_labelsWithCards)));
    if (m_labelWidth != before)
        updateGeometry();
    update();
}

QSize HistoryHeatMap::sizeHint() const
{
    return {m_labelWidth + kLabelMargin + kHours * kPreferredCellWidth, 300};
}

QSize HistoryHeatMap::minimumSizeHint() const
{
    return {m_labelWidth + kLabelMargin + kHours * kSmallestCellWidth, 100};
}

// The list's rows start at its viewport's top, below its column headings.
int HistoryHeatMap::rowsTop() const
{
    return mapFrom(window(), m_days->viewport()->mapTo(window(), QPoint(0, 0))).y();
}

int HistoryHeatMap::rowsBottom() const
{
    return rowsTop() + m_days->viewport()->height();
}

int HistoryHeatMap::rowTop(int row) const
{
    return rowsTop() + m_days->rowViewportPosition(row);
}

double HistoryHeatMap::cellWidth() const
{
    return std::max(1.0, static_cast<double>(width() - m_labelWidth - kLabelMargin) / kHours);
}

QRectF HistoryHeatMap::cellRect(int row, int hour) const
{
    return {m_labelWidth + kLabelMargin + hour * cellWidth(), static_cast<qreal>(rowTop(row)),
            cellWidth(), static_cast<qreal>(m_days->rowHeight(row))};
}

bool HistoryHeatMap::cellAt(const QPoint& point, int& row, int& hour) const
{
    if (point.x() < m_labelWidth + kLabelMargin || point.y() < rowsTop() ||
        point.y() >= rowsBottom())
        return false;
    row = m_days->rowAt(point.y() - rowsTop());
    hour = static_cast<int>((point.x() - m_labelWidth - kLabelMargin) / cellWidth());
    return row >= 0 && hour < kHours;
}

QPoint HistoryHeatMap::cellCentre(int row, int hour) const
{
    return cellRect(row, hour).center().toPoint();
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
    painter.fillRect(event->rect(), palette().window());
    paintHourHeadings(painter);
    if (m_model->rowCount() == 0)
        return;
    painter.setClipRect(QRect(0, rowsTop(), width(), m_days->viewport()->height()));
    const int busiest = busiestHour();
    // Only the rows the list shows: a year's rows are mostly scrolled away.
    const int firstRow = std::max(0, m_days->rowAt(0));
    const int lastRow = m_days->rowAt(m_days->viewport()->height() - 1);
    const int endRow = lastRow < 0 ? m_model->rowCount() : lastRow + 1;
    for (int row = firstRow; row < endRow; ++row)
        paintRow(painter, row, busiest);
}

void HistoryHeatMap::paintHourHeadings(QPainter& painter) const
{
    painter.setPen(palette().text().color());
    const double cell = cellWidth();
    for (int hour = 0; hour < kHours; hour += 3)
        painter.drawText(QRectF(m_labelWidth + kLabelMargin + hour * cell, 0, 3 * cell, rowsTop()),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::number(hour));
}

void HistoryHeatMap::paintRow(QPainter& painter, int row, int busiest) const
{
    const HistoryDay& day = m_model->day(row);
    const bool selected = row == m_days->currentIndex().row();
    const QRect label(0, rowTop(row), m_labelWidth + kLabelMargin / 2, m_days->rowHeight(row));
    if (selected)
        painter.fillRect(label, palette().highlight());
    painter.setPen(selected ? palette().highlightedText().color() : palette().text().color());
    painter.drawText(label.adjusted(0, 0, -kLabelMargin / 4, 0), Qt::AlignRight | Qt::AlignVCenter,
                     hourMapLabel(day, m_labelsWithCards));
    const HourCounts& hours = m_model->hours(row);
    for (int hour = 0; hour < kHours; ++hour) {
        const QRectF box = cellRect(row, hour);
        const auto at = static_cast<size_t>(hour);
        painter.fillRect(box, day.file == DayFileState::Read ? heat_colours::kNoSwipe
                                                             : heat_colours::kNoFile);
        const QRectF upper(box.x(), box.y(), box.width(), box.height() / 2);
        const QRectF lower(box.x(), box.center().y(), box.width(), box.height() / 2);
        if (hours.in[at] > 0)
            painter.fillRect(hours.out[at] > 0 ? upper : box,
                             heat_colours::shade(heat_colours::kIn, hours.in[at], busiest));
        if (hours.out[at] > 0)
            painter.fillRect(hours.in[at] > 0 ? lower : box,
                             heat_colours::shade(heat_colours::kOut, hours.out[at], busiest));
        painter.setPen(heat_colours::kGrid);
        painter.drawRect(box);
    }
    if (selected) {
        const QRectF first = cellRect(row, 0);
        painter.setPen(QPen(palette().highlight().color(), 2));
        painter.drawRect(first.adjusted(1, 1, first.width() * (kHours - 1) - 1, -1));
    }
}

QString HistoryHeatMap::cellToolTip(int row, int hour) const
{
    namespace texts = history_texts;
    const HistoryDay& day = m_model->day(row);
    QStringList lines{dayText(day.date) + u' ' + texts::kWeekdays[day.date.dayOfWeek() - 1] + u' ' +
                      texts::kHourOfDay.arg(hour, 2, 10, QChar(u'0'))};
    if (!day.card.isEmpty())
        lines.append(day.card + u' ' + day.name);
    if (day.file == DayFileState::Missing)
        lines.append(day_file_words::kNoDayFile);
    else if (day.file == DayFileState::Unreadable)
        lines.append(day_file_words::kUnreadable);
    else
        lines.append(texts::kHourCounts.arg(m_model->hours(row).in[static_cast<size_t>(hour)])
                         .arg(m_model->hours(row).out[static_cast<size_t>(hour)]));
    return lines.join(u'\n');
}

bool HistoryHeatMap::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    int row = 0;
    int hour = 0;
    if (cellAt(help->pos(), row, hour))
        QToolTip::showText(help->globalPos(), cellToolTip(row, hour), this,
                           cellRect(row, hour).toRect());
    else
        QToolTip::hideText();
    return true;
}

// The list's viewport changes height when its horizontal scroll bar comes and goes.
bool HistoryHeatMap::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_days->viewport() && event->type() == QEvent::Resize)
        update();
    return QWidget::eventFilter(watched, event);
}

void HistoryHeatMap::mousePressEvent(QMouseEvent* event)
{
    int row = 0;
    int hour = 0;
    if (cellAt(event->position().toPoint(), row, hour))
        emit cellClicked(row, hour);
}

// The picture scrolls with the list: the wheel over it turns the list's scroll bar.
void HistoryHeatMap::wheelEvent(QWheelEvent* event)
{
    QCoreApplication::sendEvent(m_days->verticalScrollBar(), event);
}

} // namespace card
