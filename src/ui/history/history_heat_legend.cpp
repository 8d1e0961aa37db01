#include "ui/history/history_heat_legend.h"

#include "ui/history/card_history_texts.h"
#include "ui/history/history_heat_map.h"

#include <QPainter>

namespace card {

namespace {

constexpr int kGap = 6;
constexpr int kShadeSteps = 4;

} // namespace

HistoryHeatLegend::HistoryHeatLegend(QWidget* parent)
    : QWidget(parent)
{
    QStringList texts;
    for (const Entry& entry : entries())
        texts.append(entry.text);
    setAccessibleName(history_texts::kLegendName);
    setAccessibleDescription(texts.join(u'，'));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

const QList<HistoryHeatLegend::Entry>& HistoryHeatLegend::entries()
{
    namespace texts = history_texts;
    static const QList<Entry> list{{heat_colours::kIn, true, texts::kLegendIn},
                                   {heat_colours::kOut, true, texts::kLegendOut},
                                   {{}, false, texts::kLegendShade},
                                   {heat_colours::kNoSwipe, false, texts::kLegendNoSwipe},
                                   {heat_colours::kNoFile, false, texts::kLegendNoFile}};
    return list;
}

QSize HistoryHeatLegend::swatchSize() const
{
    const int height = fontMetrics().height();
    return {height * kShadeSteps / 2, height};
}

QSize HistoryHeatLegend::sizeHint() const
{
    int width = 0;
    for (const Entry& entry : entries())
        width += (entry.colour.isValid() ? swatchSize().width() + kGap : 0) +
                 fontMetrics().horizontalAdvance(entry.text) + 2 * kGap;
    return {width, fontMetrics().height() + kGap};
}

void HistoryHeatLegend::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const QSize swatch = swatchSize();
    const int top = (height() - swatch.height()) / 2;
    int left = 0;
    for (const Entry& entry : entries()) {
        const QRect box(QPoint(left, top), entry.colour.isValid() ? swatch : QSize(0, 0));
        if (entry.colour.isValid())
            paintSwatch(painter, box, entry);
        painter.setPen(palette().text().color());
        const QRect text(box.right() + kGap, 0, fontMetrics().horizontalAdvance(entry.text),
                         height());
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, entry.text);
        left = text.right() + 2 * kGap;
    }
}

void HistoryHeatLegend::paintSwatch(QPainter& painter, const QRect& box, const Entry& entry)
{
    const int steps = entry.shaded ? kShadeSteps : 1;
    // Shades lie over an hour without swipes, as in the picture.
    painter.fillRect(box, heat_colours::kNoSwipe);
    for (int step = 0; step < steps; ++step) {
        const QColor colour =
            entry.shaded ? heat_colours::shade(entry.colour, step + 1, steps) : entry.colour;
        painter.fillRect(QRect(box.left() + box.width() * step / steps, box.top(),
                               box.width() / steps, box.height()),
                         colour);
    }
    painter.setPen(heat_colours::kGrid.darker(130));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
}

} // namespace card
